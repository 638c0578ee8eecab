#pragma once

#include "host/zal_api.h"
#include "platform/locale_guard.h"

namespace zal {

// Switches the calling thread to the "English" (classic) locale, all categories, for its lifetime:
// the host's name for the platform's locale guard.
class ZAL_API ZalLocaleHandler {
 public:
  ZalLocaleHandler();
  ~ZalLocaleHandler();
  ZalLocaleHandler(const ZalLocaleHandler&) = delete;
  ZalLocaleHandler& operator=(const ZalLocaleHandler&) = delete;

 private:
  platform::LocaleGuard guard_;
};

}  // namespace zal
