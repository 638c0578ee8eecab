#include "host/locale_handler.h"

namespace zal {

ZalLocaleHandler::ZalLocaleHandler()
    : english_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))),
      previous_(english_ != static_cast<locale_t>(0) ? uselocale(english_) : static_cast<locale_t>(0)) {}

ZalLocaleHandler::~ZalLocaleHandler() {
  if (english_ == static_cast<locale_t>(0)) return;
  uselocale(previous_);
  freelocale(english_);
}

}  // namespace zal
