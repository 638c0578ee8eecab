#include "text/glyph_layout.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "text/text_path.h"

namespace text {
namespace {

bool Within(const std::vector<double>& list, size_t index) { return index < list.size(); }

// The box of glyph bounds (font units, y down) scaled by scale, rotated by degrees about the origin
// and placed at (x, y).
void PlaceBox(const agg::rect_i& bounds, double scale, double degrees, double x, double y,
              GlyphRecord& record) {
  if (bounds.x1 > bounds.x2 || bounds.y1 > bounds.y2) return;
  const double corners[4][2] = {{bounds.x1 * scale, bounds.y1 * scale},
                                {bounds.x2 * scale, bounds.y1 * scale},
                                {bounds.x2 * scale, bounds.y2 * scale},
                                {bounds.x1 * scale, bounds.y2 * scale}};
  const double radians = degrees * std::numbers::pi / 180.0;
  const double c = degrees == 0.0 ? 1.0 : std::cos(radians);
  const double s = degrees == 0.0 ? 0.0 : std::sin(radians);
  for (int i = 0; i < 4; ++i) {
    const double px = x + corners[i][0] * c - corners[i][1] * s;
    const double py = y + corners[i][0] * s + corners[i][1] * c;
    if (i == 0) {
      record.x1 = record.x2 = px;
      record.y1 = record.y2 = py;
    } else {
      record.x1 = std::min(record.x1, px);
      record.x2 = std::max(record.x2, px);
      record.y1 = std::min(record.y1, py);
      record.y2 = std::max(record.y2, py);
    }
  }
}

}  // namespace

void PlaceGlyphs(TextState& state, std::span<const ShapedGlyph> glyphs, FontServices& services,
                 GlyphRecordList& records, std::vector<PlacedGlyph>& placed) {
  const PositionLists& lists = state.lists;
  const FontSettings& font = state.font;
  const bool onPath = state.path != nullptr;
  const double along = onPath ? state.startOffset : 0.0;
  size_t& index = state.charIndex;

  double x = Within(lists.x, index) ? lists.x[index] + along : state.penX;
  double y = Within(lists.y, index) && !onPath ? lists.y[index] : state.penY;
  if (Within(lists.dx, index)) x += lists.dx[index];
  if (Within(lists.dy, index)) y += lists.dy[index];

  for (size_t i = 0; i < glyphs.size(); ++i) {
    const ShapedGlyph& glyph = glyphs[i];
    const bool absoluteX = Within(lists.x, index);
    if (absoluteX) ApplyTextAnchor(records);
    if (font.kerning != FontSettings::kAutoKerning && i > 0 && !absoluteX) x += font.kerning;

    GlyphRecord record;
    record.x = x + glyph.offsetX * font.size;
    record.y = y - state.baselineShift + glyph.offsetY * font.size;
    if (Within(lists.rotate, index)) {
      record.rotate = lists.rotate[index];
    } else if (!lists.rotate.empty()) {
      record.rotate = lists.rotate.back();
    }
    record.anchor = font.anchor;
    record.onPath = onPath;
    if (const agg::glyph_cache* cached = services.Glyph(*glyph.face, glyph.glyphIndex)) {
      PlaceBox(cached->bounds, font.size / glyph.face->UnitsPerEm(), record.rotate, record.x, record.y,
               record);
    }
    records.records.push_back(record);
    placed.push_back(PlacedGlyph{glyph.glyphIndex, glyph.face, font.size});

    ++index;
    const bool last = i + 1 == glyphs.size();
    if (!last && Within(lists.x, index)) {
      x = lists.x[index] + along;
    } else {
      x += glyph.advanceX * font.size + font.letterSpacing;
      if (i > 0 && glyph.space && !glyphs[i - 1].space) x += font.wordSpacing;
    }
    if (!last && Within(lists.y, index) && !onPath) {
      y = lists.y[index];
    } else {
      y += glyph.advanceY * font.size;
    }
    if (!last) {
      if (Within(lists.dx, index)) x += lists.dx[index];
      if (Within(lists.dy, index)) y += lists.dy[index];
    }
  }
  state.penX = x;
  state.penY = y;
}

void MapPathBoxes(const TextPath& path, size_t first, GlyphRecordList& records) {
  for (size_t i = first; i < records.records.size(); ++i) {
    GlyphRecord& r = records.records[i];
    if (!r.onPath || !r.HasBox()) continue;
    if (r.x < 0.0 || r.x + (r.x2 - r.x1) >= path.Length()) {
      r.x1 = 0.0;
      r.x2 = -1.0;
      continue;
    }
    double xs[4] = {r.x1, r.x2, r.x2, r.x1};
    double ys[4] = {r.y1, r.y1, r.y2, r.y2};
    for (int k = 0; k < 4; ++k) path.Map(&xs[k], &ys[k]);
    r.x1 = *std::min_element(xs, xs + 4);
    r.x2 = *std::max_element(xs, xs + 4);
    r.y1 = *std::min_element(ys, ys + 4);
    r.y2 = *std::max_element(ys, ys + 4);
  }
}

}  // namespace text
