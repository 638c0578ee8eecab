#pragma once

#include <cstddef>
#include <memory>
#include <unordered_map>
#include <vector>

#include "render/render_context.h"
#include "text/font_services.h"
#include "text/glyph_layout.h"
#include "text/glyph_record.h"
#include "text/text_path.h"

namespace svg {
class SVGElement;
}

namespace render {

// The glyphs one element of a text subtree placed: a range of the layout's records.
struct ElementGlyphs {
  size_t first = 0;
  size_t count = 0;
};

// Where every glyph of one text element goes, as the measuring pass found it; the drawing pass draws
// from it, so what is drawn is exactly what was measured.
struct TextLayout {
  text::GlyphRecordList records;
  std::vector<text::PlacedGlyph> glyphs;  // parallel to records.records
  std::unordered_map<const svg::SVGElement*, ElementGlyphs> elements;
  // The lines of the textPath elements whose reference names a usable path; the others draw nothing.
  std::unordered_map<const svg::SVGElement*, std::unique_ptr<text::TextPath>> paths;

  // The union of the glyph boxes in the text element's user space (empty when there are none).
  svg::Rect Box() const;
};

// The measuring pass over text and its text-content descendants (a elements are walked through),
// with context as the text element's parent left it. Elements with display none take no room.
void LayOutText(svg::SVGElement& text, RenderContext context, text::FontServices& services,
                TextLayout& layout);

}  // namespace render
