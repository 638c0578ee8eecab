#include "text/text_path.h"

#include <agg_conv_curve.h>

#include <cmath>

namespace text {

// Flattening curves this far out loses all precision and can subdivide without end.
constexpr double kMaxCoordinate = 1e12;

bool TextPath::Build(agg::path_storage& outline, double approximationScale) {
  line_.reset();
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
  unsigned command = 0;
  bool started = false;
  while (!agg::is_stop(command = curves.vertex(&x, &y))) {
    if (!agg::is_vertex(command) || !std::isfinite(x) || !std::isfinite(y)) continue;
    if (!started) {
      line_.move_to(x, y);
      started = true;
    } else {
      line_.line_to(x, y);
    }
  }
  if (!started) return false;
  line_.finalize_path();
  length_ = line_.total_length();
  return std::isfinite(length_) && length_ > 0.0;
}

}  // namespace text
