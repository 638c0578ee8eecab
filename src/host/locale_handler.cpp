#include "host/locale_handler.h"

namespace zal {

ZalLocaleHandler::ZalLocaleHandler() = default;

ZalLocaleHandler::~ZalLocaleHandler() = default;

}  // namespace zal
