#pragma once

#include <algorithm>
#include <cstddef>

namespace render {

// A rectangle of whole pixels, [left, right) x [top, bottom), in device coordinates.
struct PixelArea {
  int left = 0, top = 0, right = 0, bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  int Width() const { return Empty() ? 0 : right - left; }
  int Height() const { return Empty() ? 0 : bottom - top; }
  size_t Pixels() const { return static_cast<size_t>(Width()) * static_cast<size_t>(Height()); }
  bool Contains(const PixelArea& other) const {
    return other.Empty() || (left <= other.left && top <= other.top && right >= other.right && bottom >= other.bottom);
  }
  PixelArea Intersected(const PixelArea& other) const {
    return PixelArea{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                     std::min(bottom, other.bottom)};
  }
  PixelArea United(const PixelArea& other) const {
    if (Empty()) return other;
    if (other.Empty()) return *this;
    return PixelArea{std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                     std::max(bottom, other.bottom)};
  }
};

}  // namespace render
