#pragma once

#include <utility>
#include <vector>

#include <agg_basics.h>
#include <agg_path_storage.h>

#include "render/windowed_curves.h"
#include "svg/element.h"

namespace render {

// Splits flattened polylines into dashes, like AGG's dash converter, but only emits the dashes that
// can touch a window (in the polylines' own coordinates): segments that lie outside it only advance
// the dash phase. A tile deep inside a huge image thus dashes just what it shows, in time
// proportional to that, whatever the length of the whole path.
class WindowedDashes {
 public:
  WindowedDashes(std::vector<std::pair<double, double>> dashes, double start, const svg::Rect& window)
      : dashes_(std::move(dashes)), start_(start), window_(window) {}

  // Reads every vertex of the flattened path and builds the dashes, measuring curve pieces by
  // their true length.
  void Build(const WindowedCurves& curves);

  void rewind(unsigned) { output_.rewind(0); }
  unsigned vertex(double* x, double* y) { return output_.vertex(x, y); }
  size_t DashCount() const { return dashCount_; }

 private:
  void BeginSubpath();
  void AddSegment(double x1, double y1, double x2, double y2, double arcLength);
  // The part [t0, t1] of the segment inside the window; false when none.
  bool ClipToWindow(double x1, double y1, double x2, double y2, double& t0, double& t1) const;
  // Moves the phase on by distance without emitting anything.
  void Advance(double distance);
  // Emits the dashes over the stretch [from, to] (distances along the segment).
  void Emit(double x1, double y1, double dx, double dy, double length, double from, double to);
  double EntryLength() const;
  double Period() const;

  std::vector<std::pair<double, double>> dashes_;
  double start_;
  svg::Rect window_;
  agg::path_storage output_;
  size_t dashCount_ = 0;
  static constexpr size_t kMaxSteps = 20'000'000;
  size_t steps_ = 0;

  // Phase within the pattern: which entry (dash or gap) and how far into it.
  size_t entry_ = 0;
  double used_ = 0.0;
  bool penDown_ = false;
};

}  // namespace render
