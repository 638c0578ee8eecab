#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>

#include "host/zal_api.h"

namespace zal {

// What a plug-in registers for a custom control.
struct WindowClass {
  std::u16string name;
  void* instance = nullptr;
  uint32_t style = 0;
  int classExtraBytes = 0;
  int windowExtraBytes = 0;
};

enum class RegisterResult { kRegistered, kAlreadyExists, kFailed };

// The host's table of window classes. Its capacity stands for the system's class table, which can
// run full; the tests shrink it to see a module cope with a refused registration.
class ZAL_API WindowClassRegistry {
 public:
  RegisterResult Register(const WindowClass& windowClass);
  bool IsRegistered(std::u16string_view name) const;
  size_t Count() const;
  void SetCapacity(size_t capacity);
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::set<std::u16string, std::less<>> names_;
  size_t capacity_ = 4096;
};

ZAL_API WindowClassRegistry& TheWindowClasses();

}  // namespace zal
