#include "render/gradient_paint.h"

#include <algorithm>
#include <cmath>

#include <agg_span_gradient.h>

namespace render {
namespace {

// The gradient's origin in device pixels is rounded to this grid, so that a window shifted by whole
// pixels sees the same fraction even where the shift itself rounds in the last bits.
constexpr double kAnchorGrid = 1048576.0;

// Gradient coordinates (in AGG's 1/16 units) are held to this range, which keeps the radial
// function's result, even with the focus at the rim, and the table index within int.
constexpr double kCoordinateLimit = 8388608.0;

constexpr int kGradientLength = 100 * agg::gradient_subpixel_scale;

int GradientCoordinate(double value) {
  const double scaled = value * double{agg::gradient_subpixel_scale};
  if (std::isnan(scaled)) return 0;
  return static_cast<int>(std::lround(std::clamp(scaled, -kCoordinateLimit, kCoordinateLimit)));
}

// Colours a span from each pixel's own position relative to the gradient's anchor: no value is
// carried along the span, so a pixel gets the same colour wherever its span starts, and a tile is
// exactly its window of the whole image.
template <typename Function>
class AnchoredGradientSpan {
 public:
  AnchoredGradientSpan(const agg::trans_affine& deviceToGradient, double anchorX, double anchorY,
                       const Function& function, const GradientTable& table)
      : matrix_(deviceToGradient), anchorX_(anchorX), anchorY_(anchorY), function_(function), table_(table) {}

  void prepare() {}

  void generate(agg::rgba8* span, int x, int y, unsigned length) {
    // Integer pixel minus a grid-rounded anchor is exact, whatever the window's offset.
    const double dy = (static_cast<double>(y) - anchorY_) + 0.5;
    const double rowX = matrix_.shx * dy;
    const double rowY = matrix_.sy * dy;
    for (unsigned i = 0; i < length; ++i) {
      const double dx = (static_cast<double>(x) + i - anchorX_) + 0.5;
      const int gx = GradientCoordinate(matrix_.sx * dx + rowX);
      const int gy = GradientCoordinate(matrix_.shy * dx + rowY);
      const int64_t d = function_.calculate(gx, gy, kGradientLength);
      const int64_t index = d * kGradientTableSize / kGradientLength;
      span[i] = table_[static_cast<size_t>(std::clamp<int64_t>(index, 0, kGradientTableSize - 1))];
    }
  }

 private:
  agg::trans_affine matrix_;
  double anchorX_;
  double anchorY_;
  const Function& function_;
  const GradientTable& table_;
};

// Beyond 2^32 pixels the grid no longer fits a double's precision; such an anchor stays as it is.
double SnapToAnchorGrid(double value) {
  return std::fabs(value) < 4294967296.0 ? std::round(value * kAnchorGrid) / kAnchorGrid : value;
}

}  // namespace

GradientPaint::GradientPaint(const GradientTable& table, uint32_t alphaScale, const agg::trans_affine& gradientToDevice,
                             GradientSpread spread, bool radial, double focalX, double focalY)
    : table_(table),
      anchorX_(SnapToAnchorGrid(gradientToDevice.tx)),
      anchorY_(SnapToAnchorGrid(gradientToDevice.ty)),
      spread_(spread),
      radial_(radial),
      focalX_(focalX),
      focalY_(focalY) {
  // The linear part of a transform doesn't depend on where the window lies, so neither does this.
  deviceToGradient_ = agg::trans_affine(gradientToDevice.sx, gradientToDevice.shy, gradientToDevice.shx,
                                        gradientToDevice.sy, 0.0, 0.0);
  deviceToGradient_.invert();
  for (agg::rgba8& entry : table_) entry.a = static_cast<uint8_t>((entry.a * alphaScale) >> 8);
}

template <typename Function>
void GradientPaint::PaintWith(Canvas& canvas, Rasterizer& rasterizer, const Function& function) {
  AnchoredGradientSpan<Function> generator(deviceToGradient_, anchorX_, anchorY_, function, table_);
  canvas.RenderSpans(rasterizer, generator);
}

void GradientPaint::Paint(Canvas& canvas, Rasterizer& rasterizer, bool) {
  if (radial_) {
    const agg::gradient_radial_focus focus(100.0, focalX_, focalY_);
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
  const agg::gradient_x linear;
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
