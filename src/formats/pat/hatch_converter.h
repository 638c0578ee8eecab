#pragma once

#include <cstddef>

#include "document/texture_settings.h"
#include "formats/pat/hatch_pattern.h"
#include "svg/document.h"

namespace formats::pat {

// Bounds on what one conversion generates; a real pattern stays far below them even at the largest
// repeat. Beyond them the rest of the pattern is not drawn.
inline constexpr size_t kMaxHatchLines = 100'000;
inline constexpr size_t kMaxHatchDashes = 1'000'000;
// Dash-walk steps, gaps and steps outside the tile included.
inline constexpr size_t kMaxWalkSteps = 8 * kMaxHatchDashes;
// A family whose lines lie closer than this many pixels draws its first line only.
inline constexpr double kMinLineSpacing = 1.0 / 16.0;
// A dash list repeating within fewer pixels than this draws its lines solid (nothing if all gaps).
inline constexpr double kMinDashPeriod = 0.25;

// What a conversion generated, for callers that report it.
struct ConversionCount {
  size_t lines = 0;
  size_t dashes = 0;
  bool truncated = false;  // a bound above was reached
};

// Builds pattern into the empty document as path elements covering a size x size tile, the pattern's
// y axis pointing up, lines reaching margin plus the line width beyond every edge. Line colour, width
// and cap come from settings; the background is the caller's.
ConversionCount ConvertPattern(svg::SVGDocument& document, const HatchPattern& pattern,
                               const document::PatternSettings& settings, double size, double margin);

}  // namespace formats::pat
