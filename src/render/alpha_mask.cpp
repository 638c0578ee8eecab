#include "render/alpha_mask.h"

namespace render {

AlphaMask::AlphaMask(int width, int height)
    : width_(width),
      height_(height),
      bytes_(static_cast<size_t>(width) * static_cast<size_t>(height)),
      buffer_(bytes_.data(), static_cast<unsigned>(width), static_cast<unsigned>(height), width),
      mask_(buffer_) {}

}  // namespace render
