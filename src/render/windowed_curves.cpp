#include "render/windowed_curves.h"

#include <algorithm>
#include <cmath>

namespace render {
namespace {

constexpr int kMaxDepth = 24;
// Line segments one path may be flattened into before the rest of its curves become chords.
constexpr size_t kMaxSegments = 8'000'000;

}  // namespace

WindowedCurves::Point WindowedCurves::Device(Point p) const {
  transform_.transform(&p.x, &p.y);
  return p;
}

bool WindowedCurves::OutsideWindow(const Point* points, int count) const {
  double x1 = INFINITY, y1 = INFINITY, x2 = -INFINITY, y2 = -INFINITY;
  for (int i = 0; i < count; ++i) {
    const Point d = Device(points[i]);
    if (!std::isfinite(d.x) || !std::isfinite(d.y)) return true;
    x1 = std::min(x1, d.x), y1 = std::min(y1, d.y), x2 = std::max(x2, d.x), y2 = std::max(y2, d.y);
  }
  return x2 < window_.x1 || x1 > window_.x2 || y2 < window_.y1 || y1 > window_.y2;
}

// Flat when every control point lies within the tolerance of the chord, in device pixels.
bool WindowedCurves::Flat(const Point* points, int count) const {
  const Point a = Device(points[0]);
  const Point b = Device(points[count - 1]);
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::sqrt(dx * dx + dy * dy);
  for (int i = 1; i < count - 1; ++i) {
    const Point c = Device(points[i]);
    const double distance = length > 1e-12 ? std::fabs((c.x - a.x) * dy - (c.y - a.y) * dx) / length
                                           : std::hypot(c.x - a.x, c.y - a.y);
    if (!(distance <= tolerance_)) return false;
  }
  return true;
}

void WindowedCurves::LineTo(double x, double y, double arcLength) {
  output_.line_to(x, y);
  arcLengths_.resize(output_.total_vertices(), NAN);
  arcLengths_.back() = arcLength;
}

// Arc length by Gauss-Legendre quadrature of the speed, halving where the two estimates disagree.
double WindowedCurves::CubicLength(Point p0, Point p1, Point p2, Point p3, int depth) {
  static constexpr double kNodes[4] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267,
                                       0.9602898564975363};
  static constexpr double kWeights[4] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745,
                                         0.1012285362903763};
  auto speed = [&](double t) {
    const double u = 1.0 - t;
    const double dx = 3 * (u * u * (p1.x - p0.x) + 2 * u * t * (p2.x - p1.x) + t * t * (p3.x - p2.x));
    const double dy = 3 * (u * u * (p1.y - p0.y) + 2 * u * t * (p2.y - p1.y) + t * t * (p3.y - p2.y));
    return std::sqrt(dx * dx + dy * dy);
  };
  auto integrate = [&](double a, double b) {
    const double half = (b - a) / 2, middle = (a + b) / 2;
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) sum += kWeights[i] * (speed(middle - half * kNodes[i]) + speed(middle + half * kNodes[i]));
    return sum * half;
  };
  const double whole = integrate(0.0, 1.0);
  const double halves = integrate(0.0, 0.5) + integrate(0.5, 1.0);
  if (depth >= 8 || !std::isfinite(whole) || std::fabs(whole - halves) <= 1e-12 * std::max(1.0, whole)) return halves;
  auto mid = [](Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
  const Point p01 = mid(p0, p1), p12 = mid(p1, p2), p23 = mid(p2, p3);
  const Point p012 = mid(p01, p12), p123 = mid(p12, p23);
  const Point centre = mid(p012, p123);
  return CubicLength(p0, p01, p012, centre, depth + 1) + CubicLength(centre, p123, p23, p3, depth + 1);
}

void WindowedCurves::Cubic(Point p0, Point p1, Point p2, Point p3, int depth) {
  const Point points[4] = {p0, p1, p2, p3};
  if (depth >= kMaxDepth || budget_ >= kMaxSegments || OutsideWindow(points, 4) || Flat(points, 4)) {
    LineTo(p3.x, p3.y, CubicLength(p0, p1, p2, p3));
    ++budget_;
    return;
  }
  auto mid = [](Point a, Point b) { return Point{(a.x + b.x) / 2, (a.y + b.y) / 2}; };
  const Point p01 = mid(p0, p1), p12 = mid(p1, p2), p23 = mid(p2, p3);
  const Point p012 = mid(p01, p12), p123 = mid(p12, p23);
  const Point centre = mid(p012, p123);
  Cubic(p0, p01, p012, centre, depth + 1);
  Cubic(centre, p123, p23, p3, depth + 1);
}

void WindowedCurves::Build(const agg::path_storage& path) {
  output_.remove_all();
  arcLengths_.clear();
  budget_ = 0;
  Point last{0.0, 0.0};
  Point subpathStart{0.0, 0.0};
  const unsigned total = path.total_vertices();
  for (unsigned i = 0; i < total; ++i) {
    double x = 0.0, y = 0.0;
    const unsigned command = path.vertex(i, &x, &y);
    if (command == agg::path_cmd_curve3 && i + 1 < total) {
      Point end{};
      path.vertex(i + 1, &end.x, &end.y);
      // A quadratic is the cubic with control points two thirds of the way to its control point.
      const Point c1{last.x + 2.0 / 3.0 * (x - last.x), last.y + 2.0 / 3.0 * (y - last.y)};
      const Point c2{end.x + 2.0 / 3.0 * (x - end.x), end.y + 2.0 / 3.0 * (y - end.y)};
      Cubic(last, c1, c2, end, 0);
      last = end;
      i += 1;
    } else if (command == agg::path_cmd_curve4 && i + 2 < total) {
      Point c2{}, end{};
      path.vertex(i + 1, &c2.x, &c2.y);
      path.vertex(i + 2, &end.x, &end.y);
      Cubic(last, Point{x, y}, c2, end, 0);
      last = end;
      i += 2;
    } else if (agg::is_move_to(command)) {
      output_.move_to(x, y);
      last = subpathStart = {x, y};
    } else if (agg::is_vertex(command)) {
      output_.line_to(x, y);
      last = {x, y};
    } else if (agg::is_end_poly(command)) {
      output_.end_poly(command & agg::path_flags_mask);
      if (agg::is_closed(command)) last = subpathStart;
    }
  }
}

}  // namespace render
