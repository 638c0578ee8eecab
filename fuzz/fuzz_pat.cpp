#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "formats/pat/hatch_converter.h"
#include "formats/pat/hatch_pattern.h"

// Reads the input as a .pat file and converts its first pattern at a small repeat, where the
// converter's bounds, not the tile, limit the work.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<formats::pat::HatchPattern> patterns;
  formats::pat::ReadPatterns(std::string_view(reinterpret_cast<const char*>(data), size), patterns);
  if (patterns.empty()) return 0;
  document::PatternSettings settings;
  settings.repeat = 0.5f;
  settings.lineCap = static_cast<int32_t>(size % 3);
  svg::SVGDocument drawing(1.0, nullptr);
  formats::pat::ConvertPattern(drawing, patterns.front(), settings, 1024.0, 5.0);
  return 0;
}
