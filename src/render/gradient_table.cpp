#include "render/gradient_table.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

uint8_t ToLinear(uint8_t c) { return static_cast<uint8_t>(255.0 * std::pow(c / 255.0, 2.2)); }
uint8_t FromLinear(uint8_t c) { return static_cast<uint8_t>(255.0 * std::pow(c / 255.0, 1.0 / 2.2)); }

agg::rgba8 MapChannels(agg::rgba8 colour, uint8_t (*map)(uint8_t)) {
  return agg::rgba8(map(colour.r), map(colour.g), map(colour.b), colour.a);
}

int Position(double offset) { return static_cast<int>(std::floor(offset * kGradientTableSize + 0.5)); }

}  // namespace

void AddGradientStop(std::vector<GradientStop>& stops, double offset, agg::rgba8 colour) {
  offset = std::isnan(offset) ? 0.0 : std::clamp(offset, 0.0, 1.0);
  for (const GradientStop& stop : stops) {
    if (stop.offset == offset) {
      offset += 1e-5;
      break;
    }
  }
  if (!stops.empty() && offset < stops.back().offset) offset = stops.back().offset + 1e-5;
  stops.push_back(GradientStop{offset, colour});
}

GradientTable BuildGradientTable(const std::vector<GradientStop>& stops, ColourInterpolation interpolation) {
  GradientTable table{};
  if (stops.size() < 2) return table;
  const bool linear = interpolation == ColourInterpolation::kLinearRGB;
  std::vector<agg::rgba8> colours;
  for (const GradientStop& stop : stops) colours.push_back(linear ? MapChannels(stop.colour, ToLinear) : stop.colour);

  int position = std::clamp(Position(stops[0].offset), 0, kGradientTableSize);
  std::fill(table.begin(), table.begin() + position, colours[0]);
  for (size_t k = 1; k < stops.size(); ++k) {
    const int target = std::clamp(Position(stops[k].offset), 0, kGradientTableSize);
    if (position >= target) continue;
    const int n = target - position + 1;
    const agg::rgba8 from = colours[k - 1];
    const agg::rgba8 to = colours[k];
    const int stepR = (int{to.r} - from.r) * 16384 / n;
    const int stepG = (int{to.g} - from.g) * 16384 / n;
    const int stepB = (int{to.b} - from.b) * 16384 / n;
    const int stepA = (int{to.a} - from.a) * 16384 / n;
    for (int i = 0; position < target; ++i, ++position) {
      table[position] = agg::rgba8(from.r + ((i * stepR) >> 14), from.g + ((i * stepG) >> 14),
                                   from.b + ((i * stepB) >> 14), from.a + ((i * stepA) >> 14));
    }
  }
  std::fill(table.begin() + position, table.end(), colours.back());
  if (linear) {
    for (agg::rgba8& entry : table) entry = MapChannels(entry, FromLinear);
  }
  return table;
}

uint32_t GradientAlphaScale(double opacity) {
  if (!(opacity >= 0.0)) opacity = 0.0;
  return static_cast<uint32_t>(std::floor(std::min(opacity, 1.0) * 256.0 + 0.5));
}

}  // namespace render
