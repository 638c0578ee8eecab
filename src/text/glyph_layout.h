#pragma once

#include <span>
#include <vector>

#include "text/font_services.h"
#include "text/glyph_record.h"
#include "text/shaper.h"
#include "text/text_state.h"

namespace text {

// What drawing needs of a glyph besides its record.
struct PlacedGlyph {
  unsigned glyphIndex = 0;
  const FontFace* face = nullptr;
  double fontSize = 0.0;
};

// Places one element's shaped glyphs: from the pen, or from the absolute x and y of the positioning
// lists at state.charIndex (each absolute x closes the text-anchor chunk before it), plus dx and dy,
// kerning, letter spacing and word spacing (after a space that follows a non-space, never after the
// element's first glyph). Appends one record per glyph to records and one entry to placed, advances
// state.charIndex and leaves the pen after the last glyph.
//
// On a text path, x is measured along the path from state.startOffset and y across it; absolute y
// values do not apply there. Glyph boxes stay in path space for MapPathBoxes.
void PlaceGlyphs(TextState& state, std::span<const ShapedGlyph> glyphs, FontServices& services,
                 GlyphRecordList& records, std::vector<PlacedGlyph>& placed);

// Moves the path glyphs from index first on onto the page: a glyph that starts before the path or
// ends at or past its end loses its box (it is not drawn); the others' boxes are mapped through the
// path (the box of the four mapped corners).
void MapPathBoxes(const TextPath& path, size_t first, GlyphRecordList& records);

}  // namespace text
