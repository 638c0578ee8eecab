#include <pthread.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "commands.h"
#include "editor_folders.h"
#include "editor_server.h"
#include "editor_session.h"

namespace graphel_cli {

namespace {

struct EditorOptions {
  std::string file;
  int port = 0;
  std::vector<std::string> folders;
};

// The folders the page may open files in: the drawing's own and those named with --folder; the
// working folder when there are neither.
std::vector<std::string> FoldersToOpen(const EditorOptions& options) {
  std::vector<std::string> folders = options.folders;
  if (!options.file.empty()) {
    const std::filesystem::path parent = std::filesystem::absolute(options.file).parent_path();
    folders.push_back(parent.string());
  }
  if (folders.empty()) folders.push_back(std::filesystem::current_path().string());
  return folders;
}

// Ctrl-C and SIGTERM end the server cleanly: the signals are taken by a thread of their own, so no
// handler has to reach the server through a global.
class StopOnSignal {
 public:
  explicit StopOnSignal(EditorServer& server) {
    sigemptyset(&signals_);
    sigaddset(&signals_, SIGINT);
    sigaddset(&signals_, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals_, nullptr);
    watcher_ = std::thread([this, &server] {
      int signal = 0;
      sigwait(&signals_, &signal);
      server.Stop();
    });
  }
  ~StopOnSignal() {
    // Wakes the watcher when the server stopped for another reason; the signal stays blocked.
    pthread_kill(watcher_.native_handle(), SIGTERM);
    watcher_.join();
  }
  StopOnSignal(const StopOnSignal&) = delete;
  StopOnSignal& operator=(const StopOnSignal&) = delete;

 private:
  sigset_t signals_;
  std::thread watcher_;
};

int RunEditor(const EditorOptions& options) {
  std::signal(SIGPIPE, SIG_IGN);  // a closed browser tab is not a reason to exit
  EditorSession session{EditorFolders(FoldersToOpen(options))};
  std::string error;
  if (!session.Open(options.file, error)) {
    std::cerr << "graphel: " << error << "\n";
    return 1;
  }
  EditorServer server(session);
  const int port = server.Bind(options.port);
  if (port < 0) {
    std::cerr << "graphel: can't listen on 127.0.0.1:" << options.port << " (is it in use?)\n";
    return 1;
  }
  StopOnSignal stopper(server);
  std::cout << "graphel editor: http://127.0.0.1:" << port << "/" << std::endl;
  for (const auto& root : session.Folders().Roots()) std::cout << "  files from " << root.string() << "\n";
  std::cout.flush();
  return server.Listen() ? 0 : 1;
}

}  // namespace

void AddEditorCommand(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<EditorOptions>();
  CLI::App* command =
      app.add_subcommand("editor", "Edit a texture's panels in a web page served on 127.0.0.1 (Ctrl-C ends it)");
  command->add_option("file", options->file, "Vector file to open (.svg, .svgz, .pat, .pdf, .ai)");
  command->add_option("--port", options->port, "Port to listen on (0 picks a free one)")->check(CLI::Range(0, 65535));
  command->add_option("--folder", options->folders, "A further folder the page may open files from")
      ->check(CLI::ExistingDirectory);
  command->callback([options, &exitCode] { exitCode = RunEditor(*options); });
}

}  // namespace graphel_cli
