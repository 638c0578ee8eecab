#pragma once

#include <cmath>

namespace zal {

struct Point2 {
  double x = 0.0, y = 0.0;
};

struct Point3 {
  double x = 0.0, y = 0.0, z = 0.0;

  constexpr Point3 operator+(const Point3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  constexpr Point3 operator-(const Point3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  constexpr Point3 operator*(double s) const { return {x * s, y * s, z * s}; }
  constexpr Point3 operator-() const { return {-x, -y, -z}; }
  constexpr bool operator==(const Point3&) const = default;
};

constexpr double DotProd(const Point3& a, const Point3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Point3 CrossProd(const Point3& a, const Point3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double Length(const Point3& p) { return std::sqrt(DotProd(p, p)); }
inline Point3 Normalize(const Point3& p) {
  const double length = Length(p);
  return length > 0.0 ? p * (1.0 / length) : p;
}

// The host's colour with alpha, channels in 0..1 (not clamped).
struct AColor {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
  constexpr bool operator==(const AColor&) const = default;
};

}  // namespace zal
