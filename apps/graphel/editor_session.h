#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "editor_folders.h"
#include "host/message_window.h"
#include "shade_scene.h"
#include "texture_host.h"

namespace graphel_cli {

// The "Advanced Parameters" panel as the texture sees it: the window its messages and memory
// display are posted to. Render threads post while the session's lock is held, so it has its own.
class AdvancedPanelWindow : public zal::MessageWindow {
 public:
  void PostMessage(uint32_t message, uint64_t wParam, std::u16string text) override;
  // The list box: each text once, in the order they came.
  std::vector<std::string> List() const;
  std::string MemoryText() const;
  void ClearList();

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> list_;
  std::string memoryText_ = "0 MB";
};

// The direction control's sectors for the page to draw and hit-test: {"size": 69, "sectors": [row by
// row, the sector under each pixel or -1]}.
nlohmann::json DirectionRingMap();

// What a request gets back: an HTTP status and a JSON body ({"error": ...} when it failed).
struct EditorAnswer {
  int status = 200;
  nlohmann::json body;
};

// The texture the editor page edits: one live texture in the stand-in host, its four panels as
// JSON, and the edits the page sends. Several browser tabs may edit at once; requests arrive on the
// server's threads and one lock takes them in turn, each seeing the last one's result.
class EditorSession {
 public:
  explicit EditorSession(EditorFolders folders);
  ~EditorSession();
  EditorSession(const EditorSession&) = delete;
  EditorSession& operator=(const EditorSession&) = delete;

  // Opens the texture module and, when file is not empty, loads it; false, with a message, when
  // the module can't be loaded. A file that fails to load is a message on the panel, not a failure.
  bool Open(const std::string& file, std::string& error);

  // Every panel's values, enabling, texts and lists, with a revision that grows with every change.
  nlohmann::json State();
  // {"name": parameter, "value": number, bool or text}; "vectorfile" goes through OpenFile.
  EditorAnswer SetParam(const nlohmann::json& request);
  // The file chooser: refuses files outside the opened folders and types the texture doesn't read.
  EditorAnswer OpenFile(const std::string& path);
  EditorAnswer Reload();
  EditorAnswer ClearMessages();
  // The crop editor's frame {"x", "y", "width", "height"} in pixels of the last "View Image" bitmap.
  EditorAnswer SetCropFrame(const nlohmann::json& request);
  const EditorFolders& Folders() const { return folders_; }

  // PNG pictures: the texture on an object, and the whole drawing for the crop editor ("View
  // Image"). Empty when the picture can't be made.
  std::string PreviewPng(SceneObject object, int size);
  std::string ViewImagePng();

 private:
  EditorAnswer Changed();
  EditorAnswer Fail(int status, const std::string& message);
  bool Assign(const std::string& name, const std::string& value, std::string& error);
  void UpdateTexture();
  // What the panels do after the texture changes: the pattern list's index, the direction.
  void KeepPanelRules();

  EditorFolders folders_;
  TextureHost host_;
  AdvancedPanelWindow advanced_;
  std::mutex mutex_;
  uint64_t revision_ = 0;
  int viewWidth_ = 0;   // the last "View Image" bitmap, 0 before the first
  int viewHeight_ = 0;
};

}  // namespace graphel_cli
