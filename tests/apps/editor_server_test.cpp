#include <gtest/gtest.h>
#include <httplib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/test_support.h"

extern char** environ;

namespace {

// `graphel editor` running in the background for one test, stopped as Ctrl-C would stop it.
class EditorProcess {
 public:
  explicit EditorProcess(const std::string& file) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<std::string> arguments = {GRAPHEL_BINARY, "editor", file, "--port", "0"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, GRAPHEL_BINARY, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    output_ = fdopen(pipeEnds[0], "r");
    char line[256] = {};
    std::smatch match;
    const std::string first = output_ != nullptr && std::fgets(line, sizeof line, output_) != nullptr ? line : "";
    if (std::regex_search(first, match, std::regex("127\\.0\\.0\\.1:(\\d+)/"))) port_ = std::stoi(match[1]);
  }
  ~EditorProcess() {
    if (pid_ > 0) {
      kill(pid_, SIGINT);
      int status = 0;
      waitpid(pid_, &status, 0);
    }
    if (output_ != nullptr) std::fclose(output_);
  }
  EditorProcess(const EditorProcess&) = delete;
  EditorProcess& operator=(const EditorProcess&) = delete;

  int Port() const { return port_; }

 private:
  pid_t pid_ = -1;
  std::FILE* output_ = nullptr;
  int port_ = -1;
};

class EditorServer : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing_support::ScratchFolder("EditorServer");
    testing_support::WriteFile(folder_ + "/good.svg",
                               "<svg xmlns='http://www.w3.org/2000/svg' width='20' height='10'>"
                               "<rect width='20' height='10' fill='red'/></svg>");
    testing_support::WriteFile(folder_ + "/broken.svg", "<svg><rect");
    testing_support::WriteFile(folder_ + "/notes.txt", "text");
    testing_support::WriteFile(folder_ + "/two.pat", "*A,first\n0, 0,0, 0,.5\n*B,second\n90, 0,0, 0,.5\n");
    editor_ = std::make_unique<EditorProcess>(folder_ + "/good.svg");
    ASSERT_GT(editor_->Port(), 0) << "graphel editor did not announce its address";
    client_ = std::make_unique<httplib::Client>("127.0.0.1", editor_->Port());
  }

  // The answer's status and JSON body (null when the body is not JSON).
  std::pair<int, nlohmann::json> Post(const std::string& path, const std::string& body) {
    const httplib::Result result = client_->Post(path.c_str(), body, "application/json");
    if (!result) return {-1, nullptr};
    return {result->status, nlohmann::json::parse(result->body, nullptr, false)};
  }
  nlohmann::json State() {
    const httplib::Result result = client_->Get("/api/state");
    return result ? nlohmann::json::parse(result->body, nullptr, false) : nlohmann::json();
  }
  void SetParam(const std::string& name, const nlohmann::json& value) {
    ASSERT_EQ(Post("/api/param", nlohmann::json{{"name", name}, {"value", value}}.dump()).first, 200) << name;
  }

  std::string folder_;
  std::unique_ptr<EditorProcess> editor_;
  std::unique_ptr<httplib::Client> client_;
};

// Every bad request gets its status and a message saying why, and the server keeps serving.
TEST_F(EditorServer, RefusesBadRequestsAndKeepsRunning) {
  struct Case {
    const char* path;
    std::string body;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {"/api/param", "{\"name\": \"crop_u\", ", 400, "well-formed JSON"},
      {"/api/param", "{\"name\": \"crop_u\", \"value\": \"" + std::string(200000, '9') + "\"}", 413, "larger"},
      {"/api/param", R"({"name": "nonsense", "value": 1})", 400, "no parameter \"nonsense\""},
      {"/api/param", R"({"name": "crop_u", "value": [1]})", 400, "must be a number"},
      {"/api/param", R"({"name": "vectorfile", "value": "/etc/passwd"})", 400, "file chooser"},
      {"/api/file", R"({"path": "/etc/passwd"})", 403, "not inside a folder opened"},
      {"/api/file", R"({"path": ")" + folder_ + R"(/../../../../etc/hosts"})", 403, "not inside a folder opened"},
      {"/api/file", R"({"path": ")" + folder_ + R"(/notes.txt"})", 415, "This was not a (supported) vectorfile"},
      {"/api/crop", R"({"x": 0, "y": 0, "width": 5, "height": 5})", 409, "View Image"},
      {"/api/nowhere", "{}", 404, "nothing here"},
  };
  for (const Case& c : cases) {
    const auto [status, body] = Post(c.path, c.body);
    EXPECT_EQ(status, c.status) << c.path << " " << c.body.substr(0, 60);
    EXPECT_NE(body.value("error", std::string()).find(c.message), std::string::npos) << body.dump();
  }
  const httplib::Result outside = client_->Get("/api/files?dir=%2Fetc");
  ASSERT_TRUE(outside);
  EXPECT_EQ(outside->status, 403);
  // A page elsewhere reaching us through a name of its own is turned away.
  const httplib::Result rebound = client_->Get("/api/state", {{"Host", "attacker.example:80"}});
  ASSERT_TRUE(rebound);
  EXPECT_EQ(rebound->status, 403);

  const nlohmann::json state = State();
  EXPECT_EQ(state["params"]["vectorfile"], folder_ + "/good.svg");
  EXPECT_EQ(state["revision"], 1) << "a refused request changed the texture";
}

// The panels' own rules: the pattern index stays in the list, Scroll takes only even directions,
// messages are listed once until "Clear List", and the crop frame writes the crop values.
TEST_F(EditorServer, PanelRules) {
  ASSERT_EQ(Post("/api/file", R"({"path": ")" + folder_ + R"(/two.pat"})").first, 200);
  SetParam("patternname", 5);
  nlohmann::json state = State();
  EXPECT_EQ(state["patterns"], nlohmann::json({"A,first", "B,second"}));
  EXPECT_EQ(state["params"]["patternname"], 1);
  EXPECT_EQ(state["enabled"]["pattern"], true);
  EXPECT_EQ(state["enabled"]["pdf"], false);

  SetParam("transition_mode", 2);
  SetParam("transitiondir", 3);
  SetParam("transition_mode", 1);
  state = State();
  EXPECT_EQ(state["params"]["transitiondir"], 2);
  EXPECT_EQ(state["offeredDirections"], nlohmann::json({true, false, true, false, true, false, true, false}));

  ASSERT_EQ(Post("/api/file", R"({"path": ")" + folder_ + R"(/broken.svg"})").first, 200);
  ASSERT_EQ(Post("/api/reload", "").first, 200);
  EXPECT_EQ(State()["messages"].size(), 1u) << State()["messages"].dump();
  ASSERT_EQ(Post("/api/clear-messages", "").first, 200);
  EXPECT_TRUE(State()["messages"].empty());

  ASSERT_EQ(Post("/api/file", R"({"path": ")" + folder_ + R"(/good.svg"})").first, 200);
  const httplib::Result view = client_->Get("/api/view-image.png");
  ASSERT_TRUE(view);
  ASSERT_EQ(view->get_header_value("Content-Type"), "image/png");
  ASSERT_EQ(Post("/api/crop", R"({"x": 256, "y": 128, "width": 512, "height": 256})").first, 200);
  state = State();
  EXPECT_DOUBLE_EQ(state["params"]["crop_u"], 0.25);  // the 2:1 drawing is 1024 x 512
  EXPECT_DOUBLE_EQ(state["params"]["crop_v"], 0.25);
  EXPECT_DOUBLE_EQ(state["params"]["crop_w"], 0.5);
  EXPECT_DOUBLE_EQ(state["params"]["crop_h"], 0.5);
  EXPECT_EQ(state["cropFrame"]["bitmapHeight"], 512);
}

// Two tabs editing at once while previews render and a broken file loads: every edit is answered
// and counted, and the texture ends up with one of the values sent.
TEST_F(EditorServer, ConcurrentEditsAndPreviews) {
  constexpr int kEdits = 20;
  auto tab = [this](double base) {
    httplib::Client client("127.0.0.1", editor_->Port());
    int answered = 0;
    for (int i = 0; i < kEdits; ++i) {
      const nlohmann::json edit = {{"name", "crop_u"}, {"value", base + i * 0.001}};
      const httplib::Result result = client.Post("/api/param", edit.dump(), "application/json");
      answered += result && result->status == 200;
      if (i % 5 == 0) {
        const httplib::Result preview = client.Get("/api/preview.png?size=128");
        answered += preview && preview->status == 200 && preview->body.substr(1, 3) == "PNG";
      }
    }
    return answered;
  };
  int first = 0;
  int second = 0;
  std::thread one([&] { first = tab(0.1); });
  std::thread two([&] { second = tab(0.5); });
  ASSERT_EQ(Post("/api/file", R"({"path": ")" + folder_ + R"(/broken.svg"})").first, 200);
  one.join();
  two.join();
  EXPECT_EQ(first, kEdits + kEdits / 5);
  EXPECT_EQ(second, kEdits + kEdits / 5);
  const nlohmann::json state = State();
  EXPECT_EQ(state["revision"], 1 + 2 * kEdits + 1);
  const double u = state["params"]["crop_u"];
  EXPECT_TRUE(std::abs(u - (0.1 + (kEdits - 1) * 0.001)) < 1e-9 || std::abs(u - (0.5 + (kEdits - 1) * 0.001)) < 1e-9)
      << u;
  EXPECT_FALSE(state["messages"].empty()) << "the broken file's error went missing";
}

}  // namespace
