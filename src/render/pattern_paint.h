#pragma once

#include <memory>

#include <agg_trans_affine.h>

#include "render/paint_server.h"
#include "render/render_context.h"
#include "svg/values.h"

namespace svg {
class SVGPatternElement;
}

namespace render {

// A pattern as read from its element and the patterns it references.
struct PatternRecord {
  bool unitsObjectBoundingBox = true;
  bool contentObjectBoundingBox = false;
  agg::trans_affine transform;  // patternTransform
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
  bool hasViewBox = false;
  svg::ViewBoxRect viewBox;
  svg::Align align = svg::Align::kXMidYMid;
  svg::MeetOrSlice meetOrSlice = svg::MeetOrSlice::kMeet;
};

// Reads the pattern (following its href chain) and makes the canvas paint for the current path;
// null when the pattern can't paint (no content, zero-sized box).
std::shared_ptr<PaintServer> MakePatternPaint(svg::SVGPatternElement& pattern, RenderContext& context, bool forText,
                                              const svg::Rect* textBox, double opacity);

}  // namespace render
