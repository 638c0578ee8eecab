#include "editor_server.h"

#include <httplib.h>

#include <string>

#include "editor_page.h"

namespace graphel_cli {

namespace {

// Requests carry small JSON edits; anything larger is refused before it is read whole.
constexpr size_t kMaxRequestBytes = 64 * 1024;
constexpr int kPreviewSizes[] = {128, 256, 512};
constexpr size_t kWorkerThreads = 16;

void SendJson(httplib::Response& response, int status, const nlohmann::json& body) {
  response.status = status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), "application/json");
}

void SendAnswer(httplib::Response& response, const EditorAnswer& answer) { SendJson(response, answer.status, answer.body); }

void SendPng(httplib::Response& response, const std::string& png) {
  if (png.empty()) {
    SendJson(response, 500, {{"error", "the picture could not be made"}});
    return;
  }
  response.set_header("Cache-Control", "no-store");
  response.set_content(png, "image/png");
}

// The request's body as JSON, or an answer saying why it isn't.
std::optional<nlohmann::json> ReadJson(const httplib::Request& request, httplib::Response& response) {
  nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
  if (body.is_discarded()) {
    SendJson(response, 400, {{"error", "the request is not well-formed JSON"}});
    return std::nullopt;
  }
  return body;
}

SceneObject PreviewObject(const std::string& name) {
  if (name == "sphere") return SceneObject::kSphere;
  if (name == "cube") return SceneObject::kCube;
  return SceneObject::kPlane;
}

int PreviewSize(const std::string& text) {
  for (int size : kPreviewSizes) {
    if (text == std::to_string(size)) return size;
  }
  return 256;
}

std::string StatusText(int status) {
  switch (status) {
    case 400: return "the request is malformed";
    case 404: return "there is nothing here";
    case 405: return "this address does not take that method";
    case 413: return "the request is larger than the editor accepts (" + std::to_string(kMaxRequestBytes / 1024) + " KB)";
    default: return "the request failed (HTTP " + std::to_string(status) + ")";
  }
}

}  // namespace

EditorServer::EditorServer(EditorSession& session) : session_(session), server_(std::make_unique<httplib::Server>()) {
  AddRoutes();
}

EditorServer::~EditorServer() = default;

int EditorServer::Bind(int port) {
  port_ = port == 0 ? server_->bind_to_any_port("127.0.0.1") : (server_->bind_to_port("127.0.0.1", port) ? port : -1);
  return port_;
}

bool EditorServer::Listen() { return server_->listen_after_bind(); }

void EditorServer::Stop() { server_->stop(); }

void EditorServer::AddRoutes() {
  httplib::Server& server = *server_;
  server.set_payload_max_length(kMaxRequestBytes);
  server.set_read_timeout(10);
  server.set_write_timeout(10);
  // Browsers hold idle connections open; short keep-alive and a few more workers keep a second tab
  // from waiting on the first one's idle sockets.
  server.set_keep_alive_timeout(1);
  server.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };

  server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
    const std::string host = request.get_header_value("Host");
    const std::string port = ":" + std::to_string(port_);
    if (host != "127.0.0.1" + port && host != "localhost" + port) {
      SendJson(response, 403, {{"error", "the editor answers only at 127.0.0.1" + port}});
      return httplib::Server::HandlerResponse::Handled;
    }
    return httplib::Server::HandlerResponse::Unhandled;
  });
  server.set_error_handler([](const httplib::Request&, httplib::Response& response) {
    if (response.body.empty()) SendJson(response, response.status, {{"error", StatusText(response.status)}});
  });
  server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr error) {
    std::string what = "unknown failure";
    try {
      if (error) std::rethrow_exception(error);
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    SendJson(response, 500, {{"error", "the editor could not answer: " + what}});
  });

  for (const EditorPageFile& file : EditorPageFiles()) {
    server.Get(file.path, [&file](const httplib::Request&, httplib::Response& response) {
      response.set_content(file.content.data(), file.content.size(), file.contentType);
    });
  }
  server.Get("/api/state", [this](const httplib::Request&, httplib::Response& response) {
    SendJson(response, 200, session_.State());
  });
  server.Get("/api/ring", [](const httplib::Request&, httplib::Response& response) {
    SendJson(response, 200, DirectionRingMap());
  });
  server.Get("/api/files", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string folder = request.get_param_value("dir");
    if (const std::optional<nlohmann::json> listing = session_.Folders().List(folder)) {
      SendJson(response, 200, *listing);
    } else {
      SendJson(response, 403, {{"error", "\"" + folder + "\" is not a folder opened in the editor"}});
    }
  });
  server.Post("/api/param", [this](const httplib::Request& request, httplib::Response& response) {
    if (const auto body = ReadJson(request, response)) SendAnswer(response, session_.SetParam(*body));
  });
  server.Post("/api/file", [this](const httplib::Request& request, httplib::Response& response) {
    const auto body = ReadJson(request, response);
    if (!body) return;
    if (!body->is_object() || !body->contains("path") || !(*body)["path"].is_string()) {
      SendJson(response, 400, {{"error", "expected {\"path\": file}"}});
      return;
    }
    SendAnswer(response, session_.OpenFile((*body)["path"].get<std::string>()));
  });
  server.Post("/api/reload", [this](const httplib::Request&, httplib::Response& response) {
    SendAnswer(response, session_.Reload());
  });
  server.Post("/api/clear-messages", [this](const httplib::Request&, httplib::Response& response) {
    SendAnswer(response, session_.ClearMessages());
  });
  server.Post("/api/crop", [this](const httplib::Request& request, httplib::Response& response) {
    if (const auto body = ReadJson(request, response)) SendAnswer(response, session_.SetCropFrame(*body));
  });
  server.Get("/api/preview.png", [this](const httplib::Request& request, httplib::Response& response) {
    SendPng(response, session_.PreviewPng(PreviewObject(request.get_param_value("object")),
                                          PreviewSize(request.get_param_value("size"))));
  });
  server.Get("/api/view-image.png", [this](const httplib::Request&, httplib::Response& response) {
    SendPng(response, session_.ViewImagePng());
  });
}

}  // namespace graphel_cli
