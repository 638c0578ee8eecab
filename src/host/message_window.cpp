#include "host/message_window.h"

namespace zal {

MessageWindow::~MessageWindow() = default;

}  // namespace zal
