#include "host/host_interface.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "platform/wide_text.h"

namespace zal {

Class_ID Interface::GetCurrentRendererClassID() const {
  const std::lock_guard lock(mutex_);
  return renderer_;
}

void Interface::SetCurrentRendererClassID(Class_ID id) {
  const std::lock_guard lock(mutex_);
  renderer_ = id;
}

void Interface::MessageBox(std::u16string_view text, std::u16string_view caption, unsigned flags) {
  MessageBoxHandler handler;
  {
    const std::lock_guard lock(mutex_);
    handler = messageBox_;
  }
  if (handler) {
    handler(text, caption, flags);
    return;
  }
  std::cerr << platform::WideToUtf8(caption) << ": " << platform::WideToUtf8(text) << "\n";
}

Interface::MessageBoxHandler Interface::SetMessageBoxHandler(MessageBoxHandler handler) {
  const std::lock_guard lock(mutex_);
  std::swap(messageBox_, handler);
  return handler;
}

std::string Interface::GetDir(int which) const {
  const std::lock_guard lock(mutex_);
  if (which < 0 || which >= static_cast<int>(std::size(folders_))) return {};
  if (!folders_[which].empty()) return folders_[which];
  std::error_code error;
  const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  if (error) return {};
  return (temp / "zal3d" / std::to_string(which)).string() + "/";
}

void Interface::SetDir(int which, std::string folder) {
  const std::lock_guard lock(mutex_);
  if (which < 0 || which >= static_cast<int>(std::size(folders_))) return;
  if (!folder.empty() && folder.back() != '/') folder += '/';
  folders_[which] = std::move(folder);
}

Interface* GetCOREInterface() {
  static Interface host;
  return &host;
}

}  // namespace zal
