#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "render/pixel_area.h"
#include "render/render_budget.h"

namespace render {

// An 8-bit coverage mask over an area of its canvas; everything outside the area is masked out,
// so a mask only stores the pixels its clip or mask content reached. Every fill and stroke is
// drawn through the current one. Shared, because an element keeps the mask it replaced until it
// restores it.
class AlphaMask {
 public:
  using cover_type = uint8_t;

  // A cleared mask over area, its bytes claimed from budget (may be null); when they can't be had,
  // a mask over nothing, which masks out everything.
  static std::shared_ptr<AlphaMask> Create(const PixelArea& area, RenderBudget* budget);
  ~AlphaMask();
  AlphaMask(const AlphaMask&) = delete;
  AlphaMask& operator=(const AlphaMask&) = delete;

  const PixelArea& Area() const { return area_; }
  // Row y of the area (device coordinates); only for rows inside it.
  uint8_t* Row(int y) { return bytes_.data() + static_cast<size_t>(y - area_.top) * area_.Width(); }
  // Scales covers[0, count) of row y from x on by the mask (AGG's alpha-mask interface).
  void combine_hspan(int x, int y, cover_type* covers, int count) const;

 private:
  AlphaMask(const PixelArea& area, RenderBudget* budget);

  PixelArea area_;
  std::vector<uint8_t> bytes_;
  RenderBudget* budget_;
};

using AlphaMaskPtr = std::shared_ptr<AlphaMask>;

}  // namespace render
