#include "render/gradient_paint.h"

#include <agg_span_gradient.h>
#include <agg_span_interpolator_linear.h>

namespace render {
namespace {

// The table as AGG's span generator reads it.
struct TableLookup {
  using color_type = agg::rgba8;
  const GradientTable* table;
  static unsigned size() { return kGradientTableSize; }
  const agg::rgba8& operator[](unsigned i) const { return (*table)[i]; }
};

}  // namespace

GradientPaint::GradientPaint(const GradientTable& table, uint32_t alphaScale, const agg::trans_affine& deviceToGradient,
                             GradientSpread spread, bool radial, double focalX, double focalY)
    : table_(table),
      deviceToGradient_(deviceToGradient),
      spread_(spread),
      radial_(radial),
      focalX_(focalX),
      focalY_(focalY) {
  for (agg::rgba8& entry : table_) entry.a = static_cast<uint8_t>((entry.a * alphaScale) >> 8);
}

template <typename Function>
void GradientPaint::PaintWith(Canvas& canvas, Rasterizer& rasterizer, Function function) {
  using Interpolator = agg::span_interpolator_linear<>;
  Interpolator interpolator(deviceToGradient_);
  TableLookup lookup{&table_};
  agg::span_gradient<agg::rgba8, Interpolator, Function, TableLookup> generator(interpolator, function, lookup, 0.0,
                                                                                 100.0);
  canvas.RenderSpans(rasterizer, generator);
}

void GradientPaint::Paint(Canvas& canvas, Rasterizer& rasterizer, bool) {
  if (radial_) {
    agg::gradient_radial_focus focus(100.0, focalX_, focalY_);
    switch (spread_) {
      case GradientSpread::kReflect:
        return PaintWith(canvas, rasterizer, agg::gradient_reflect_adaptor<agg::gradient_radial_focus>(focus));
      case GradientSpread::kRepeat:
        return PaintWith(canvas, rasterizer, agg::gradient_repeat_adaptor<agg::gradient_radial_focus>(focus));
      case GradientSpread::kPad:
        return PaintWith(canvas, rasterizer, focus);
    }
    return;
  }
  agg::gradient_x linear;
  switch (spread_) {
    case GradientSpread::kReflect:
      return PaintWith(canvas, rasterizer, agg::gradient_reflect_adaptor<agg::gradient_x>(linear));
    case GradientSpread::kRepeat:
      return PaintWith(canvas, rasterizer, agg::gradient_repeat_adaptor<agg::gradient_x>(linear));
    case GradientSpread::kPad:
      return PaintWith(canvas, rasterizer, linear);
  }
}

}  // namespace render
