#pragma once

#include <agg_color_rgba.h>

#include "render/render_context.h"

namespace render {

class Canvas;

// The fill and stroke colours a shape resolved for its last render (alpha 0: not drawn).
struct ShapeColours {
  agg::rgba8 fill{0, 0, 0, 0};
  agg::rgba8 stroke{0, 0, 0, 0};
};

// Cascades the element's style and sets fill, stroke, line and dash state on the canvas; false
// when the element is not drawn.
bool PrepareShape(svg::SVGElement& element, ShapeColours& colours, RenderContext& context);

// Draws the canvas path, through a layer when the context's opacity is below 1.
void DrawWithOpacity(Canvas& canvas, const RenderContext& context);

}  // namespace render
