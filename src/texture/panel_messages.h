#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "host/message_window.h"

namespace graphel {

// Window messages of the advanced panel.
inline constexpr uint32_t kShowMegabytesMessage = zal::WM_USER + 1;
inline constexpr uint32_t kAddMessageMessage = zal::WM_USER + 3;

// The texture's messages for the user and its memory display: kept here, each message once, and
// posted to the panel window while one is open. Any thread may post.
class PanelMessages {
 public:
  void SetTarget(zal::MessageWindow* window);
  // Posts a copy to the panel and keeps the text unless an identical one is kept already.
  void Show(const std::u16string& text);
  void Clear();
  std::vector<std::u16string> List() const;
  // Posts the megabytes in use when they differ from the value last posted.
  void PostMemory(uint64_t bytesUsed);

 private:
  mutable std::mutex mutex_;
  zal::MessageWindow* target_ = nullptr;
  std::vector<std::u16string> messages_;
  uint64_t shownMegabytes_ = 0;
};

}  // namespace graphel
