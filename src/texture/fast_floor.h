#pragma once

#include <cmath>
#include <cstdint>

namespace graphel {

// std::floor without a library call: samplers take several per sample, and without SSE 4.1 the
// compiler cannot inline the standard one. Values beyond 2^52 are whole already; NaN stays NaN.
inline double FastFloor(double x) {
  constexpr double kWhole = 4503599627370496.0;  // 2^52
  if (!(std::fabs(x) < kWhole)) return x;
  const auto truncated = static_cast<double>(static_cast<int64_t>(x));
  return truncated > x ? truncated - 1.0 : truncated;
}

// x - floor(x): in [0, 1) for finite x.
inline double Fraction(double x) { return x - FastFloor(x); }

}  // namespace graphel
