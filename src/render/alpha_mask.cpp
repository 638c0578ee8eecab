#include "render/alpha_mask.h"

#include <algorithm>
#include <new>

namespace render {

std::shared_ptr<AlphaMask> AlphaMask::Create(const PixelArea& area, RenderBudget* budget) {
  const size_t bytes = area.Pixels();
  if (budget == nullptr || budget->Reserve(bytes)) {
    try {
      return std::shared_ptr<AlphaMask>(new AlphaMask(area, budget));
    } catch (const std::bad_alloc&) {
      if (budget != nullptr) {
        budget->Release(bytes);
        budget->memoryRefused = true;
      }
    }
  }
  return std::shared_ptr<AlphaMask>(new AlphaMask(PixelArea{}, nullptr));
}

AlphaMask::AlphaMask(const PixelArea& area, RenderBudget* budget)
    : area_(area.Empty() ? PixelArea{} : area), bytes_(area_.Pixels()), budget_(budget) {}

AlphaMask::~AlphaMask() {
  if (budget_ != nullptr) budget_->Release(bytes_.size());
}

void AlphaMask::combine_hspan(int x, int y, cover_type* covers, int count) const {
  if (y < area_.top || y >= area_.bottom) {
    std::fill(covers, covers + count, cover_type{0});
    return;
  }
  const int from = std::clamp(area_.left - x, 0, count);
  const int to = std::clamp(area_.right - x, from, count);
  std::fill(covers, covers + from, cover_type{0});
  const uint8_t* mask =
      bytes_.data() + static_cast<size_t>(y - area_.top) * area_.Width() + (x + from - area_.left);
  for (int i = from; i < to; ++i, ++mask) {
    covers[i] = static_cast<cover_type>((255u + covers[i] * unsigned{*mask}) >> 8);
  }
  std::fill(covers + to, covers + count, cover_type{0});
}

}  // namespace render
