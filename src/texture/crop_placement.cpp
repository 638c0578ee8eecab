#include "texture/crop_placement.h"

#include "texture/fast_floor.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace graphel {
namespace {

constexpr double kMinCropSize = 0.01;
constexpr double kRandMax = 32767.0;

// The integer part, as a C cast takes it, reduced to 32 bits so huge coordinates still seed.
uint32_t IntegerPart(double x) {
  const double clamped = std::clamp(std::trunc(x), -9.0e18, 9.0e18);
  return static_cast<uint32_t>(static_cast<int64_t>(clamped));
}

// Clamps the footprint [centre - size/2, centre + size/2] to 0..1; false when it misses (0, 1).
bool ClampFootprint(double& centre, double& size, double& weight) {
  const double low = centre - size / 2.0;
  const double high = centre + size / 2.0;
  if (!(high > 0.0 && low < 1.0)) return false;
  if (low >= 0.0 && high <= 1.0) return true;
  const double clampedLow = std::max(low, 0.0);
  const double clampedHigh = std::min(high, 1.0);
  const double clampedSize = clampedHigh - clampedLow;
  if (size > 0.0) weight *= clampedSize / size;
  centre = (clampedLow + clampedHigh) / 2.0;
  size = clampedSize;
  return true;
}

}  // namespace

double EdgeFraction(double x) {
  const double f = Fraction(x);
  return f == 0.0 && x != 0.0 ? 1.0 : f;
}

JitterDraw DrawJitter(unsigned seed) {
  // Neighbouring samples share a cell, and seeding costs hundreds of steps, so keep the last draw.
  thread_local unsigned lastSeed = 0;
  thread_local JitterDraw lastDraw;
  thread_local bool drawn = false;
  if (drawn && seed == lastSeed) return lastDraw;

  // A private generator state of the same kind srand/rand use, so render threads never share one.
  char state[128] = {};
  random_data data{};
  initstate_r(seed, state, sizeof state, &data);
  int32_t draws[4] = {};
  for (int32_t& draw : draws) random_r(&data, &draw);
  lastSeed = seed;
  lastDraw = JitterDraw{draws[0] & 0x7FFF, draws[3] & 0x7FFF};
  drawn = true;
  return lastDraw;
}

Placement ApplyCropPlacement(double u, double v, double du, double dv, const CropSettings& crop) {
  Placement result;
  result.du = du;
  result.dv = dv;
  if (!std::isfinite(u) || !std::isfinite(v)) {
    result.sample = false;
    return result;
  }
  const double fu = EdgeFraction(u);
  const double fv = EdgeFraction(v);
  if (!crop.apply) {
    result.u = fu;
    result.v = fv;
    return result;
  }
  const double cw = std::max(crop.w, kMinCropSize);
  const double ch = std::max(crop.h, kMinCropSize);
  if (!crop.place) {
    result.u = EdgeFraction(cw * fu + crop.u);
    result.v = EdgeFraction(1.0 - crop.v - ch + ch * fv);
    result.du = du * cw;
    result.dv = dv * ch;
    return result;
  }
  if (crop.w == 0.0 || crop.h == 0.0) {
    result.sample = false;
    return result;
  }
  if (!crop.jitter) {
    result.u = (fu - crop.u) / crop.w;
    result.v = (fv - (1.0 - (crop.h + crop.v))) / crop.h;
  } else {
    const uint32_t iu = IntegerPart(u);
    const uint32_t iv = IntegerPart(v);
    const uint32_t seed = (iu * 14693u - iv * 3251u - 1328u) & 0x7FFFu;
    const JitterDraw draw = DrawJitter(seed);
    result.u = (fu - draw.first * (1.0 - crop.w) * crop.jitterAmount / kRandMax) / crop.w;
    result.v = (fv - (1.0 - (draw.fourth * (1.0 - crop.h) * crop.jitterAmount / kRandMax + crop.h))) / crop.h;
  }
  result.du = du / cw;
  result.dv = dv / ch;
  if (!ClampFootprint(result.u, result.du, result.weight) || !ClampFootprint(result.v, result.dv, result.weight)) {
    result.sample = false;
  }
  return result;
}

}  // namespace graphel
