#include "platform/locale_guard.h"

namespace platform {

LocaleGuard::LocaleGuard()
    : classic_(newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0))),
      previous_(classic_ != static_cast<locale_t>(0) ? uselocale(classic_) : static_cast<locale_t>(0)) {}

LocaleGuard::~LocaleGuard() {
  if (classic_ == static_cast<locale_t>(0)) return;
  uselocale(previous_);
  freelocale(classic_);
}

}  // namespace platform
