#pragma once

#include <locale.h>

#include "host/zal_api.h"

namespace zal {

// Switches the calling thread to the "English" (classic) locale, all categories, for its lifetime.
class ZAL_API ZalLocaleHandler {
 public:
  ZalLocaleHandler();
  ~ZalLocaleHandler();
  ZalLocaleHandler(const ZalLocaleHandler&) = delete;
  ZalLocaleHandler& operator=(const ZalLocaleHandler&) = delete;

 private:
  locale_t english_;
  locale_t previous_;
};

}  // namespace zal
