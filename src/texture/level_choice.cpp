#include "texture/level_choice.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace graphel {
namespace {

// What a footprint of zero or less counts as: about one texel of level 12. Positive footprints
// below it are kept, so close-ups reach the finer levels.
constexpr double kMinFootprint = 0.0002442;
constexpr double kZeroFootprintSize = 4096.0;
constexpr int kZeroFootprintLevel = 12;

double ClampFootprint(double value) {
  if (!(value > 0.0)) return kMinFootprint;
  if (value > 1.0) return 1.0;
  return value;
}

}  // namespace

LevelChoice ChooseLevel(double du, double dv, double blur, double blurOffset, bool materialEditor) {
  if (!std::isfinite(blur)) blur = 1.0;
  if (!std::isfinite(blurOffset)) blurOffset = 0.0;
  if (std::isnan(du)) du = 0.0;
  if (std::isnan(dv)) dv = 0.0;

  LevelChoice choice;
  if (materialEditor) {
    choice.du = du;
    choice.dv = dv;
    return choice;
  }
  if (du == 0.0 || dv == 0.0) {
    choice.level = kZeroFootprintLevel;
    choice.nominalSize = kZeroFootprintSize;
    choice.du = choice.dv = blur / kZeroFootprintSize + blurOffset;
    return choice;
  }
  const double clampedU = ClampFootprint(du - blurOffset);
  const double clampedV = ClampFootprint(dv - blurOffset);
  double m = std::min(clampedU, clampedV);
  if (blur != 0.0) m /= blur;

  constexpr double kLargest = static_cast<double>(uint64_t{1} << kMaxLevel);
  const double inverse = 1.0 / m;
  const uint64_t n = inverse >= kLargest ? uint64_t{1} << kMaxLevel
                     : inverse > 0.0     ? static_cast<uint64_t>(inverse)
                                         : 0;
  choice.level = std::clamp(static_cast<int>(std::bit_width(n)), kBaseLevel, kMaxLevel);
  choice.nominalSize = n < 1024 ? 1024.0 : static_cast<double>(std::min(n, uint64_t{1} << kMaxLevel));
  choice.du = clampedU + blurOffset;
  choice.dv = clampedV + blurOffset;
  return choice;
}

double MipBlendWeight(const LevelChoice& choice) {
  const double size = static_cast<double>(int64_t{1} << std::clamp(choice.level, 0, kMaxLevel));
  if (choice.level < kBaseLevel + 1 || choice.nominalSize == size) return 1.0;
  const double lower = size / 2.0;
  return (choice.nominalSize - lower) / lower;
}

}  // namespace graphel
