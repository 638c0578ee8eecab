#pragma once

#include <memory>
#include <string>

#include "render/render_context.h"
#include "text/text_path.h"
#include "text/text_state.h"

namespace svg {
class SVGElement;
class SVGTextPathElement;
}  // namespace svg

namespace render {

// The most characters one text element lays out; the rest of an enormous text is dropped.
inline constexpr size_t kMaxTextCharacters = size_t{1} << 18;

// Font size, weight, style, text-anchor, family candidates (with "Times New Roman" as the fallback),
// kerning, letter and word spacing and direction of a prepared text element.
text::FontSettings ReadFontSettings(const svg::SVGElement& element, const RenderContext& context);

// Whether the element gives any of x, y, dx, dy and rotate.
bool HasPositionLists(const svg::SVGElement& element);

// Writes the element's x, y, dx, dy and rotate lists into the state's positioning lists from
// state.charIndex.
void WritePositionLists(svg::SVGElement& element, const RenderContext& context, text::TextState& state);

// The element's baseline-shift in user units, positive upwards; percentages refer to the font size.
double BaselineShift(const svg::SVGElement& element, const RenderContext& context);

// The line a textPath element's glyphs follow: the path element its xlink:href names, under that
// path's own transform, flattened at approximationScale. Null when the reference names no path
// element or the path has no length. startOffset receives the start offset (percentages of the
// path length).
std::unique_ptr<text::TextPath> BuildTextPath(svg::SVGTextPathElement& element, const RenderContext& context,
                                              double approximationScale, double& startOffset);

// The element's own characters before white-space handling: for a tref the character content of the
// element it references, otherwise its character data; script expressions expanded.
std::u16string OwnText(svg::SVGElement& element, const RenderContext& context);

// Whether xml:space="preserve" holds for the element (the nearest element that sets it decides).
bool PreservesSpace(const svg::SVGElement& element, const RenderContext& context);

}  // namespace render
