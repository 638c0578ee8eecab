#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <agg_color_rgba.h>
#include <agg_math_stroke.h>

namespace render {

class PaintServer;

enum class CanvasPaint : uint32_t { kSolid = 0, kLinearGradient = 1, kRadialGradient = 2, kRadialFocus = 3, kPattern = 4 };

// AGG's first blend value past its composition operators: plain alpha blending.
inline constexpr uint32_t kBlendPlainAlpha = 28;

// Everything a layer inherits from the canvas that opens it.
struct GraphicsState {
  uint32_t blendMode = kBlendPlainAlpha;
  double masterAlpha = 1.0;
  double gamma = 1.0;
  agg::rgba8 fillColor{0, 0, 0, 255};
  agg::rgba8 lineColor{0, 0, 0, 0};
  CanvasPaint fillPaint = CanvasPaint::kSolid;
  CanvasPaint linePaint = CanvasPaint::kSolid;
  // Gradient or pattern paint; shared by the layers that copy this state.
  std::shared_ptr<PaintServer> fillServer;
  std::shared_ptr<PaintServer> lineServer;
  double lineWidth = 1.0;
  agg::line_cap_e lineCap = agg::butt_cap;
  agg::line_join_e lineJoin = agg::miter_join;
  agg::inner_join_e innerJoin = agg::inner_round;
  double miterLimit = 4.0;
  bool fillEvenOdd = false;
  bool clipEvenOdd = false;
  std::vector<std::pair<double, double>> dashes;
  double dashStart = 0.0;
};

}  // namespace render
