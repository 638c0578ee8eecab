#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <agg_color_rgba.h>

namespace render {

inline constexpr int kGradientTableSize = 4096;

struct GradientStop {
  double offset = 0.0;
  agg::rgba8 colour;
};

enum class ColourInterpolation : uint32_t { kSRGB = 1, kLinearRGB = 2 };

using GradientTable = std::array<agg::rgba8, kGradientTableSize>;

// Adds a stop as gradients do: offsets are clamped to 0..1, a repeated offset is nudged by 1e-5 and
// an offset below the last one moves just past it.
void AddGradientStop(std::vector<GradientStop>& stops, double offset, agg::rgba8 colour);

// The 4096-entry colour table of at least two stops, interpolated in 14-bit fixed point, in sRGB or
// in linear light.
GradientTable BuildGradientTable(const std::vector<GradientStop>& stops, ColourInterpolation interpolation);

// floor(opacity * 256 + 0.5), the factor every looked-up alpha is scaled by (>> 8).
uint32_t GradientAlphaScale(double opacity);

}  // namespace render
