#pragma once

#include <agg_color_rgba.h>
#include <agg_trans_affine.h>

#include <vector>

#include "render/gradient_paint.h"
#include "render/gradient_table.h"
#include "render/render_context.h"

namespace svg {
class SVGGradientElement;
}

namespace render {

// Everything one gradient paint is built from, after the href chain has been followed.
struct GradientRecord {
  uint32_t units = 0;  // 0 objectBoundingBox, 1 userSpaceOnUse
  GradientSpread spread = GradientSpread::kPad;
  agg::trans_affine transform;
  double x1 = 0.0, y1 = 0.0, x2 = 1.0, y2 = 0.0;
  double cx = 0.5, cy = 0.5, r = 0.5, fx = 0.5, fy = 0.5;
  std::vector<GradientStop> stops;
  ColourInterpolation interpolation = ColourInterpolation::kSRGB;
};

enum class GradientOutcome {
  kPaint,        // two or more stops: paint the gradient
  kSolidColour,  // the element's colour stands (one stop, or a degenerate box)
  kNothing,      // no stops: nothing is painted
  kUnusable,     // a bounding box without area or geometry that is not finite: the paint's fallback
};

// Reads the gradient element (following its href chain) into record. elementColour becomes the one
// stop's colour, or loses its alpha when there is no stop. forText: the box comes from the text.
GradientOutcome BuildGradient(svg::SVGGradientElement& gradient, RenderContext& context, GradientRecord& record,
                              agg::rgba8& elementColour, bool forText);

// Makes the canvas paint of a built gradient for the current path (or text box) and transform; null
// when the transforms collapse it.
std::shared_ptr<PaintServer> MakeGradientPaint(const GradientRecord& record, bool radial, Canvas& canvas,
                                               const svg::Rect* textBox, double opacity);

}  // namespace render
