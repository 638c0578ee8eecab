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
// proportional to that, whatever the length of the whole path. Runs of dashes and gaps shorter
// than half a device pixel are merged into one dash and one gap of the same total lengths, which
// keeps their coverage and moves nothing by more than half a pixel.
class WindowedDashes {
 public:
  // pixel: the length of one device pixel in the polylines' coordinates.
  WindowedDashes(std::vector<std::pair<double, double>> dashes, double start, const svg::Rect& window, double pixel);

  // Reads every vertex of the flattened path and builds the dashes, measuring curve pieces by
  // their true length; builds nothing when more than kMaxDashes would reach the window.
  void Build(const WindowedCurves& curves);
  // More dashes would reach the window than are worth drawing one by one; the stroke is better
  // drawn whole at the dashes' average coverage.
  bool TooMany() const { return tooMany_; }
  static constexpr double kMaxDashes = 1 << 20;

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
  // Calls onSegment(x1, y1, x2, y2, arcLength) for every segment of the path, and onSubpath() where
  // the pattern starts again.
  template <typename OnSubpath, typename OnSegment>
  static void ForEachSegment(const WindowedCurves& curves, OnSubpath onSubpath, OnSegment onSegment);
  void MergeFineEntries(double minimum);

  std::vector<std::pair<double, double>> dashes_;
  double start_;
  svg::Rect window_;
  agg::path_storage output_;
  size_t dashCount_ = 0;
  bool tooMany_ = false;
  static constexpr size_t kMaxSteps = 20'000'000;
  size_t steps_ = 0;

  // Phase within the pattern: which entry (dash or gap) and how far into it.
  size_t entry_ = 0;
  double used_ = 0.0;
  bool penDown_ = false;
};

}  // namespace render
