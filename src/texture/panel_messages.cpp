#include "texture/panel_messages.h"

#include <algorithm>

namespace graphel {

void PanelMessages::SetTarget(zal::MessageWindow* window) {
  const std::lock_guard lock(mutex_);
  target_ = window;
  if (target_ != nullptr) target_->PostMessage(kShowMegabytesMessage, shownMegabytes_, {});
}

void PanelMessages::Show(const std::u16string& text) {
  if (text.empty()) return;
  const std::lock_guard lock(mutex_);
  if (target_ != nullptr) target_->PostMessage(kAddMessageMessage, 0, text);
  if (std::find(messages_.begin(), messages_.end(), text) == messages_.end()) messages_.push_back(text);
}

void PanelMessages::Clear() {
  const std::lock_guard lock(mutex_);
  messages_.clear();
}

std::vector<std::u16string> PanelMessages::List() const {
  const std::lock_guard lock(mutex_);
  return messages_;
}

void PanelMessages::PostMemory(uint64_t bytesUsed) {
  const uint64_t megabytes = bytesUsed >> 20;
  const std::lock_guard lock(mutex_);
  if (megabytes == shownMegabytes_) return;
  shownMegabytes_ = megabytes;
  if (target_ != nullptr) target_->PostMessage(kShowMegabytesMessage, megabytes, {});
}

}  // namespace graphel
