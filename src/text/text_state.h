#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace text {

class TextPath;

// The font settings of the element being laid out.
struct FontSettings {
  double size = 12.0;
  int weight = 400;
  bool italic = false;
  uint32_t anchor = 0;  // 0 start, 1 middle, 2 end
  // The font's own kerning when kAutoKerning, otherwise an extra advance in user units.
  double kerning = -1.0;
  double letterSpacing = 0.0;
  double wordSpacing = 0.0;
  std::vector<std::u16string> families;  // candidates in order, the fallback last
  bool rightToLeft = false;

  static constexpr double kAutoKerning = -1.0;
};

// Absolute positions, shifts and rotations, indexed by the glyph's position in the whole text.
struct PositionLists {
  std::vector<double> x, y, dx, dy, rotate;
};

// The running state of one layout over a text element's subtree.
struct TextState {
  FontSettings font;
  double baselineShift = 0.0;  // sum over the open elements; positive raises
  size_t charIndex = 0;        // position of the next glyph in the whole text
  double penX = 0.0;
  double penY = 0.0;
  PositionLists lists;
  double startOffset = 0.0;        // where text starts along the current text path
  const TextPath* path = nullptr;  // the text path glyphs follow, or null
};

// The font-family value as candidates: split at commas, each trimmed and stripped of one pair of
// matching quotes, empty ones dropped, and fallback appended.
std::vector<std::u16string> ParseFontFamilies(std::u16string_view value, std::u16string_view fallback);

// Overwrites list from index at with values, growing it as needed; entries past the values keep
// what they held.
void WritePositions(std::vector<double>& list, size_t at, std::span<const double> values);

}  // namespace text
