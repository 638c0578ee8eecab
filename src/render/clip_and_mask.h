#pragma once

#include "render/render_context.h"

namespace svg {
class SVGElement;
}

namespace render {

// Installs the element's viewport clip (svg, image and pattern elements, unless overflow lets the
// content out), its clip-path and its mask as the canvas's alpha mask. Returns whether a mask was
// installed; the one it replaced is then kept in context.savedMask.
bool ApplyClipAndMask(svg::SVGElement& element, RenderContext& context);

}  // namespace render
