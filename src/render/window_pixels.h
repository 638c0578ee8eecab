#pragma once

#include <agg_basics.h>
#include <agg_rendering_buffer.h>

#include "render/pixel_area.h"

namespace render {

// A pixel format for a buffer that holds only an area of a larger surface, addressed in the
// surface's coordinates: offscreen layers keep just the pixels their content reaches. The
// renderer's clip box must keep every write inside the area.
template <typename PixFmt>
class WindowPixels {
 public:
  using color_type = typename PixFmt::color_type;
  using order_type = typename PixFmt::order_type;
  using value_type = typename PixFmt::value_type;
  using row_data = typename PixFmt::row_data;

  // buffer holds area; the surface is surfaceWidth x surfaceHeight.
  void Attach(agg::rendering_buffer& buffer, const PixelArea& area, int surfaceWidth, int surfaceHeight) {
    pixels_.attach(buffer);
    area_ = area;
    surfaceWidth_ = surfaceWidth;
    surfaceHeight_ = surfaceHeight;
  }
  const PixelArea& Area() const { return area_; }
  PixFmt& Local() { return pixels_; }
  const PixFmt& Local() const { return pixels_; }

  unsigned width() const { return static_cast<unsigned>(surfaceWidth_); }
  unsigned height() const { return static_cast<unsigned>(surfaceHeight_); }

  void copy_hline(int x, int y, unsigned len, const color_type& c) { pixels_.copy_hline(X(x), Y(y), len, c); }
  void blend_hline(int x, int y, unsigned len, const color_type& c, agg::int8u cover) {
    pixels_.blend_hline(X(x), Y(y), len, c, cover);
  }
  void blend_solid_hspan(int x, int y, unsigned len, const color_type& c, const agg::int8u* covers) {
    pixels_.blend_solid_hspan(X(x), Y(y), len, c, covers);
  }
  void blend_color_hspan(int x, int y, unsigned len, const color_type* colors, const agg::int8u* covers,
                         agg::int8u cover) {
    pixels_.blend_color_hspan(X(x), Y(y), len, colors, covers, cover);
  }

 private:
  int X(int x) const { return x - area_.left; }
  int Y(int y) const { return y - area_.top; }

  agg::rendering_buffer empty_;
  PixFmt pixels_{empty_};
  PixelArea area_;
  int surfaceWidth_ = 0;
  int surfaceHeight_ = 0;
};

}  // namespace render
