#pragma once

#include <cmath>
#include <vector>

#include <agg_path_storage.h>
#include <agg_trans_affine.h>

#include "svg/element.h"

namespace render {

// Flattens the curves of a path into lines, judging flatness in device pixels through transform.
// Curve pieces whose control points all lie outside the window (device pixels, already widened by
// whatever a stroke can reach) become one straight chord: the chord stays within the same hull,
// so neither the coverage nor the winding inside the window changes, and a curve a billion
// pixels across costs no more than the part of it that shows.
class WindowedCurves {
 public:
  WindowedCurves(const agg::trans_affine& transform, const svg::Rect& window, double tolerance)
      : transform_(transform), window_(window), tolerance_(tolerance) {}

  void Build(const agg::path_storage& path);

  void rewind(unsigned) { output_.rewind(0); }
  unsigned vertex(double* x, double* y) { return output_.vertex(x, y); }

  // The flattened path, and for each of its vertices the length in user units of the outline the
  // segment ending there stands for (its true arc length for pieces of curves, else NaN): dashes
  // keep their phase whether a piece was flattened or cut to a chord.
  const agg::path_storage& Output() const { return output_; }
  double ArcLength(unsigned index) const { return index < arcLengths_.size() ? arcLengths_[index] : NAN; }

 private:
  struct Point {
    double x, y;
  };
  void Cubic(Point p0, Point p1, Point p2, Point p3, int depth);
  void LineTo(double x, double y, double arcLength);
  static double CubicLength(Point p0, Point p1, Point p2, Point p3, int depth = 0);
  bool OutsideWindow(const Point* points, int count) const;
  bool Flat(const Point* points, int count) const;
  Point Device(Point p) const;

  agg::trans_affine transform_;
  svg::Rect window_;
  double tolerance_;
  agg::path_storage output_;
  std::vector<double> arcLengths_;
  size_t budget_ = 0;
};

}  // namespace render
