#pragma once

#include <agg_color_rgba.h>

#include "render/render_context.h"

namespace svg {
class SVGPathElement;
}

namespace render {

// Turns fill and stroke references (gradients, patterns) into canvas paints, or into the paint's
// fallback colour when the reference can't be used.
// textBox: the box of a text element, which paint servers in bounding-box units refer to.
void ApplyPaintServers(svg::SVGElement& element, agg::rgba8& fillColour, agg::rgba8& strokeColour,
                       RenderContext& context, const svg::Rect* textBox = nullptr);

}  // namespace render
