#pragma once

#include <cstdint>
#include <string>

#include "host/zal_api.h"

namespace zal {

inline constexpr uint32_t WM_USER = 0x0400;

// A window that takes posted messages: a panel of the host's editor. A posted text travels with the
// message and belongs to the receiver.
class ZAL_API MessageWindow {
 public:
  virtual ~MessageWindow();
  virtual void PostMessage(uint32_t message, uint64_t wParam, std::u16string text) = 0;
};

}  // namespace zal
