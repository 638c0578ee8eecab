#pragma once

#include <memory>

#include <agg_trans_affine.h>

#include "render/gradient_table.h"
#include "render/paint_server.h"

namespace render {

enum class GradientSpread : uint32_t { kPad = 0, kReflect = 1, kRepeat = 2 };

// A gradient set on the canvas: the colour table with its alpha already scaled, the matrix from
// gradient space (where the gradient runs over a distance of 100) to device pixels, which must be
// invertible, and for radial gradients the focal point.
class GradientPaint : public PaintServer {
 public:
  GradientPaint(const GradientTable& table, uint32_t alphaScale, const agg::trans_affine& gradientToDevice,
                GradientSpread spread, bool radial, double focalX = 0.0, double focalY = 0.0);
  void Paint(Canvas& canvas, Rasterizer& rasterizer, bool isFill) override;

 private:
  template <typename Function>
  void PaintWith(Canvas& canvas, Rasterizer& rasterizer, const Function& function);

  GradientTable table_;
  agg::trans_affine deviceToGradient_;  // linear part only: pixels are measured from anchorX_, anchorY_
  double anchorX_;
  double anchorY_;
  GradientSpread spread_;
  bool radial_;
  double focalX_;
  double focalY_;
};

}  // namespace render
