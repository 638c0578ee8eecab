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

// The entry of an offset: 0 and 1 are the first and the last entry, so that the end stops' colours
// are reached exactly (an opaque end stays opaque).
int Position(double offset) { return static_cast<int>(std::floor(offset * (kGradientTableSize - 1) + 0.5)); }

uint8_t Blend(uint8_t from, uint8_t to, int step, int steps) {
  return static_cast<uint8_t>(from + ((int{to} - from) * step * 2 + (to >= from ? steps : -steps)) / (2 * steps));
}

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

  const int last = kGradientTableSize - 1;
  const int first = std::clamp(Position(stops[0].offset), 0, last);
  int position = first;
  std::fill(table.begin(), table.begin() + position + 1, colours[0]);
  for (size_t k = 1; k < stops.size(); ++k) {
    const int target = std::clamp(Position(stops[k].offset), 0, last);
    const agg::rgba8 from = colours[k - 1];
    const agg::rgba8 to = colours[k];
    if (target <= position) {
      // Stops on one entry make a hard edge: the later colour holds from there.
      table[position] = to;
      continue;
    }
    const int steps = target - position;
    for (int i = 1; i <= steps; ++i) {
      table[position + i] = agg::rgba8(Blend(from.r, to.r, i, steps), Blend(from.g, to.g, i, steps),
                                       Blend(from.b, to.b, i, steps), Blend(from.a, to.a, i, steps));
    }
    position = target;
  }
  std::fill(table.begin() + position + 1, table.end(), colours.back());
  if (linear) {
    for (agg::rgba8& entry : table) entry = MapChannels(entry, FromLinear);
    // The 8-bit round trip through linear light loses a little; the pads keep the stops' own colours.
    std::fill(table.begin(), table.begin() + first + 1, stops.front().colour);
    std::fill(table.begin() + position, table.end(), stops.back().colour);
  }
  return table;
}

uint32_t GradientAlphaScale(double opacity) {
  if (!(opacity >= 0.0)) opacity = 0.0;
  return static_cast<uint32_t>(std::floor(std::min(opacity, 1.0) * 256.0 + 0.5));
}

}  // namespace render
