#pragma once

#include <cstdint>
#include <memory>

#include <agg_color_rgba.h>
#include <agg_trans_affine.h>

#include "render/render_context.h"
#include "svg/values.h"

namespace svg {
class SVGDocument;
class SVGElement;
}  // namespace svg

namespace render {

// Deeper element nesting (use and pattern expansions included) is not drawn.
inline constexpr uint32_t kMaxRenderDepth = 1024;

// Renders document into a new width x height buffer (R, G, B, A, premultiplied, top row first)
// whose uncovered pixels hold background. baseTransform maps the outermost user space to pixels.
// Null when the buffer can't be allocated. budget, when given, is the one the render spends from
// (and shows afterwards what it spent). Running out of memory leaves the image transparent and
// reports kRenderMemoryError through the document's callback.
std::unique_ptr<uint8_t[]> RenderDocument(svg::SVGDocument& document, const agg::trans_affine& baseTransform,
                                          agg::rgba8 background, uint32_t width, uint32_t height,
                                          RenderBudget* budget = nullptr);

// Takes element's percentage references (viewport width, height, diagonal) from the viewBox of the
// svg element that establishes its viewport, when that has one.
void ResolveViewportLengths(svg::SVGElement& element, const RenderContext& context);

// Cascades element's style into context and refreshes its reference sizes; answers whether the
// element is displayed and visible.
bool PrepareElement(svg::SVGElement& element, RenderContext& context);

// Replaces context.style by the style element inherits from its own ancestors, keeping the
// context's user transform. Content that is referenced (pattern tiles, clip paths, masks) inherits
// from where it is defined, not from the element that uses it.
void InheritFromAncestors(svg::SVGElement& element, RenderContext& context);

// Containers skip their subtree only for display: none; a hidden container still shows the children
// that make themselves visible again.
bool IsDisplayed(const RenderContext& context);

// Clip, mask and opacity of a container, then its children in document order.
void RenderChildren(svg::SVGElement& element, RenderContext context);

// Sets the canvas transform to the element's user transform followed by the base transform.
void ApplyUserTransform(RenderContext& context);

// The matrix that maps the viewBox (x1, y1, x2, y2) into the device rectangle under
// preserveAspectRatio.
agg::trans_affine ViewportMatrix(const svg::ViewBoxRect& viewBox, double x1, double y1, double x2, double y2,
                                 svg::Align align, svg::MeetOrSlice meetOrSlice);

}  // namespace render
