#pragma once

#include <cstdint>

namespace platform {

// Stand-in for the desktop's system colour query: returns 0x00BBGGRR for a colour index (0..30),
// using a fixed light desktop scheme, and 0 for an unknown index.
uint32_t GetSysColor(int index);

}  // namespace platform
