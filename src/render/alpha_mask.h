#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include <agg_alpha_mask_u8.h>
#include <agg_rendering_buffer.h>

namespace render {

// An 8-bit coverage mask the size of its canvas; every fill and stroke is drawn through the current
// one. Shared, because an element keeps the mask it replaced until it restores it.
class AlphaMask {
 public:
  AlphaMask(int width, int height);
  AlphaMask(const AlphaMask&) = delete;
  AlphaMask& operator=(const AlphaMask&) = delete;

  uint8_t* Row(int y) { return bytes_.data() + static_cast<size_t>(y) * width_; }
  const uint8_t* Row(int y) const { return bytes_.data() + static_cast<size_t>(y) * width_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  agg::alpha_mask_gray8& Mask() { return mask_; }

 private:
  int width_;
  int height_;
  std::vector<uint8_t> bytes_;
  agg::rendering_buffer buffer_;
  agg::alpha_mask_gray8 mask_;
};

using AlphaMaskPtr = std::shared_ptr<AlphaMask>;

}  // namespace render
