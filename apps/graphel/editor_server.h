#pragma once

#include <functional>
#include <memory>

#include "editor_session.h"

namespace httplib {
class Server;
}

namespace graphel_cli {

// The editor page's HTTP server: the page itself, the session's state and edits as JSON, and the
// preview and "View Image" pictures as PNG. It listens on 127.0.0.1 only and answers only requests
// addressed to that host (a page elsewhere can't reach it through a name that points here).
class EditorServer {
 public:
  explicit EditorServer(EditorSession& session);
  ~EditorServer();
  EditorServer(const EditorServer&) = delete;
  EditorServer& operator=(const EditorServer&) = delete;

  // Binds 127.0.0.1:port (0 picks a free port); the bound port, or -1 when it can't bind.
  int Bind(int port);
  // Serves until Stop, from any thread.
  bool Listen();
  void Stop();

 private:
  void AddRoutes();

  EditorSession& session_;
  std::unique_ptr<httplib::Server> server_;
  int port_ = -1;
};

}  // namespace graphel_cli
