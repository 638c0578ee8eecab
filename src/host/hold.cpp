#include "host/hold.h"

namespace zal {

void Hold::Begin() {
  const std::lock_guard lock(mutex_);
  ++depth_;
}

void Hold::Accept(std::u16string_view name) {
  const std::lock_guard lock(mutex_);
  if (depth_ == 0 || --depth_ > 0) return;
  if (!pending_.empty()) history_.emplace_back(name);
  pending_.clear();
}

void Hold::Cancel() {
  const std::lock_guard lock(mutex_);
  if (depth_ == 0 || --depth_ > 0) return;
  pending_.clear();
}

void Hold::Put(std::u16string_view change) {
  const std::lock_guard lock(mutex_);
  if (depth_ > 0 && suspended_ == 0) pending_.emplace_back(change);
}

bool Hold::Holding() const {
  const std::lock_guard lock(mutex_);
  return depth_ > 0 && suspended_ == 0;
}

void Hold::Suspend() {
  const std::lock_guard lock(mutex_);
  ++suspended_;
}

void Hold::Resume() {
  const std::lock_guard lock(mutex_);
  if (suspended_ > 0) --suspended_;
}

bool Hold::IsSuspended() const {
  const std::lock_guard lock(mutex_);
  return suspended_ > 0;
}

std::vector<std::u16string> Hold::History() const {
  const std::lock_guard lock(mutex_);
  return history_;
}

size_t Hold::PendingChanges() const {
  const std::lock_guard lock(mutex_);
  return pending_.size();
}

void Hold::ClearHistory() {
  const std::lock_guard lock(mutex_);
  history_.clear();
}


Hold& TheHold() {
  static Hold hold;
  return hold;
}

}  // namespace zal
