#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/font_services.h"

namespace text {

// One shaped glyph. Advances and offsets are in em (multiply by the font size), y pointing down.
struct ShapedGlyph {
  unsigned glyphIndex = 0;
  const FontFace* face = nullptr;
  double advanceX = 0.0;
  double advanceY = 0.0;
  double offsetX = 0.0;
  double offsetY = 0.0;
  bool space = false;  // the glyph stands for U+0020, where word spacing goes
};

struct ShapeRequest {
  std::vector<std::u16string> families;  // candidate family names in order, the fallback last
  int weight = 400;
  bool italic = false;
  bool fontKerning = true;    // the font's own kerning (kerning: auto)
  // Off when letters are spaced or placed one by one: a ligature would hide the spacing, and it
  // would take one position for several characters.
  bool ligatures = true;
  bool rightToLeft = false;   // base direction of the paragraph
};

// Shapes characters: itemised by bidi level and script, each item in visual order given the first
// installed font that covers it (ChooseFont over request.families, at the weight and slant asked for
// or carried by a PostScript-style name) and shaped by HarfBuzz with that face. An item no font
// covers reuses the previous item's face, or produces nothing when there is none.
std::vector<ShapedGlyph> ShapeText(std::span<const char32_t> characters, const ShapeRequest& request,
                                   FontServices& services);

}  // namespace text
