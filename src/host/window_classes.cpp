#include "host/window_classes.h"

namespace zal {

RegisterResult WindowClassRegistry::Register(const WindowClass& windowClass) {
  const std::lock_guard lock(mutex_);
  if (names_.contains(windowClass.name)) return RegisterResult::kAlreadyExists;
  if (windowClass.name.empty() || names_.size() >= capacity_) return RegisterResult::kFailed;
  names_.insert(windowClass.name);
  return RegisterResult::kRegistered;
}

bool WindowClassRegistry::IsRegistered(std::u16string_view name) const {
  const std::lock_guard lock(mutex_);
  return names_.find(name) != names_.end();
}

size_t WindowClassRegistry::Count() const {
  const std::lock_guard lock(mutex_);
  return names_.size();
}

void WindowClassRegistry::SetCapacity(size_t capacity) {
  const std::lock_guard lock(mutex_);
  capacity_ = capacity;
}

void WindowClassRegistry::Clear() {
  const std::lock_guard lock(mutex_);
  names_.clear();
}

WindowClassRegistry& TheWindowClasses() {
  static WindowClassRegistry registry;
  return registry;
}

}  // namespace zal
