#pragma once

#include <locale.h>

namespace platform {

// Switches the calling thread to the classic "C" (English) locale for its lifetime and restores the
// thread's previous locale afterwards. Per-thread, so render threads never race on the process locale.
class LocaleGuard {
 public:
  LocaleGuard();
  ~LocaleGuard();
  LocaleGuard(const LocaleGuard&) = delete;
  LocaleGuard& operator=(const LocaleGuard&) = delete;

 private:
  locale_t classic_;
  locale_t previous_;
};

}  // namespace platform
