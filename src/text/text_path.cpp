#include "text/text_path.h"

#include <agg_conv_curve.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace text {

// Flattening curves this far out loses all precision and can subdivide without end.
constexpr double kMaxCoordinate = 1e12;

void TextPath::AddPoint(double x, double y, bool startsPiece) {
  if (startsPiece) {
    // A piece that never got a second point has no direction; its start goes.
    if (!pieces_.empty() && pieces_.back() + 1 == points_.size()) {
      points_.pop_back();
      pieces_.pop_back();
    }
    pieces_.push_back(points_.size());
    points_.push_back(Point{x, y, length_});
    return;
  }
  const Point& last = points_.back();
  const double step = std::hypot(x - last.x, y - last.y);
  if (!(step > 0.0) || !std::isfinite(length_ + step)) return;
  length_ += step;
  points_.push_back(Point{x, y, length_});
}

bool TextPath::Build(agg::path_storage& outline, double approximationScale) {
  points_.clear();
  pieces_.clear();
  length_ = 0.0;
  for (unsigned i = 0; i < outline.total_vertices(); ++i) {
    double x = 0.0, y = 0.0;
    if (agg::is_vertex(outline.vertex(i, &x, &y)) &&
        !(std::fabs(x) <= kMaxCoordinate && std::fabs(y) <= kMaxCoordinate)) {
      return false;
    }
  }
  agg::conv_curve<agg::path_storage> curves(outline);
  curves.approximation_scale(
      approximationScale > 0.0 && std::isfinite(approximationScale) ? approximationScale : 1.0);
  curves.rewind(0);
  double x = 0.0, y = 0.0;
  double startX = 0.0, startY = 0.0;
  unsigned command = 0;
  while (!agg::is_stop(command = curves.vertex(&x, &y))) {
    if (agg::is_end_poly(command)) {
      if (agg::is_closed(command) && !points_.empty()) AddPoint(startX, startY, false);
      continue;
    }
    if (!agg::is_vertex(command) || !std::isfinite(x) || !std::isfinite(y)) continue;
    const bool startsPiece = agg::is_move_to(command) || points_.empty();
    if (startsPiece) {
      startX = x;
      startY = y;
    }
    AddPoint(x, y, startsPiece);
  }
  if (!pieces_.empty() && pieces_.back() + 1 == points_.size()) {
    points_.pop_back();
    pieces_.pop_back();
  }
  return !pieces_.empty() && std::isfinite(length_) && length_ > 0.0;
}

void TextPath::Map(double* x, double* y) const {
  if (pieces_.empty()) return;
  const double along = *x;
  // The last piece starting at or before along holds it; a piece starts where the one before ends.
  const auto piece = std::upper_bound(pieces_.begin() + 1, pieces_.end(), along,
                                      [this](double d, size_t first) { return d < points_[first].distance; });
  const size_t first = *std::prev(piece);
  const size_t end = piece == pieces_.end() ? points_.size() : *piece;
  // The segment whose end lies past along; before or after the piece, its first or last segment.
  const auto after = std::upper_bound(points_.begin() + static_cast<std::ptrdiff_t>(first + 1),
                                      points_.begin() + static_cast<std::ptrdiff_t>(end - 1), along,
                                      [](double d, const Point& p) { return d < p.distance; });
  const Point& a = *std::prev(after);
  const Point& b = *after;
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double span = b.distance - a.distance;
  const double t = (along - a.distance) / span;
  const double across = *y;
  *x = a.x + dx * t - across * dy / span;
  *y = a.y + dy * t + across * dx / span;
}

}  // namespace text
