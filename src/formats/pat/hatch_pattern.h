#pragma once

#include <cstddef>
#include <cstdint>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "svg/load_result.h"

// Hatch patterns in the common CAD .pat format: a "*name, description" header line followed by one
// definition line per line family ("angle, x, y, delta-x, delta-y [, dash ...]").
namespace formats::pat {

// Limits a real pattern file never meets; beyond them the reader keeps what it has and drops the rest.
// Characters kept of one text line; the rest of a longer line is skipped, not read as further lines.
inline constexpr size_t kMaxLineLength = 1023;
// Characters of a header kept as the pattern's name.
inline constexpr size_t kMaxNameLength = 127;
inline constexpr size_t kMaxPatterns = 10'000;
// Line families kept over the whole file.
inline constexpr size_t kMaxFamilies = 65'536;
// Dash entries kept per line family.
inline constexpr size_t kMaxDashes = 64;

struct HatchLine {
  double angle = 0.0;  // degrees in [0, 360)
  double originX = 0.0, originY = 0.0;
  double deltaX = 0.0;         // shift along the lines from one line to the next
  double deltaY = 0.0;         // spacing across the lines
  std::vector<double> dashes;  // > 0 drawn, < 0 gap, 0 a dot; empty for a solid line
};

struct HatchPattern {
  std::u16string name;  // the whole header text after "*"
  std::vector<HatchLine> lines;
  double largestDeltaY = 1.0;  // the largest |deltaY|, at least 1
};

// Reads every pattern of a .pat text, appending them to patterns in file order.
void ReadPatterns(std::streambuf& source, std::vector<HatchPattern>& patterns);
void ReadPatterns(std::string_view text, std::vector<HatchPattern>& patterns);

// Opens and reads a .pat file; false with error code 1 when it can't be opened.
bool ReadPatternFile(std::u16string_view path, svg::LoadError& error, std::vector<HatchPattern>& patterns);

}  // namespace formats::pat
