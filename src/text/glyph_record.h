#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace text {

// Where one glyph of a text element ended up, in the text element's user space.
struct GlyphRecord {
  // The glyph's box; empty (x1 > x2) for glyphs without ink and for glyphs that are not drawn.
  double x1 = 0.0, y1 = 0.0, x2 = -1.0, y2 = -1.0;
  double rotate = 0.0;  // degrees, clockwise on the page
  // The glyph origin, baseline shift included; along and across the path for glyphs on a text path.
  double x = 0.0, y = 0.0;
  uint32_t anchor = 0;  // text-anchor in force: 0 start, 1 middle, 2 end
  bool onPath = false;

  bool HasBox() const { return x2 >= x1 && y2 >= y1; }
};

// The glyphs of one text element in layout order, and where the text chunk being laid out began.
struct GlyphRecordList {
  std::vector<GlyphRecord> records;
  size_t chunkStart = 0;
};

// Shifts the records of the open chunk (chunkStart to the end) by its text-anchor, which the chunk's
// first record carries, and closes the chunk.
void ApplyTextAnchor(GlyphRecordList& list);

}  // namespace text
