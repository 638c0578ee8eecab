#pragma once

#include <cstdint>
#include <vector>

#include <agg_basics.h>

namespace render {

// AGG's rasteriser drops every cell past its block limit, and once it has reached it keeps
// dropping them after a reset too. So no path is given more than kCellCapacity cells (by an upper
// bound counted on the way in); a path that needs more is drawn in bands of rows that each fit,
// and the limit itself, never reached, leaves room for the one closing edge counted after the stop.
inline constexpr double kCellCapacity = 4194304.0;
inline constexpr unsigned kCellBlockLimit = 4096;

// Rows [top, bottom) of the canvas drawn with one filling of the rasteriser.
struct RowBand {
  int top;
  int bottom;
};

// An upper bound on the cells a device-space outline makes in a clip box of rows [top, bottom) and
// width columns: a segment
// makes at most its horizontal travel within a row, plus two, in every row it crosses. Closing
// segments count too, as the rasteriser closes every polygon.
class CellEstimate {
 public:
  // With perRow, the bound is also kept row by row for Bands(). Works as a vertex sink (add_path).
  CellEstimate(int width, int top, int bottom, bool perRow);

  // Takes one vertex of the outline, as the rasteriser would.
  void Feed(unsigned command, double x, double y) {
    if (agg::is_vertex(command)) ++vertices_;
    if (agg::is_move_to(command)) {
      Close();
      startX_ = lastX_ = x;
      startY_ = lastY_ = y;
      open_ = true;
    } else if (agg::is_vertex(command)) {
      if (!open_) open_ = true;
      Segment(lastX_, lastY_, x, y);
      lastX_ = x;
      lastY_ = y;
    } else if (agg::is_end_poly(command) || agg::is_stop(command)) {
      Close();
    }
  }

  template <typename Source>
  void add_path(Source& source, unsigned pathId = 0) {
    source.rewind(pathId);
    double x = 0.0, y = 0.0;
    unsigned command = agg::path_cmd_stop;
    do {
      command = source.vertex(&x, &y);
      Feed(command, x, y);
    } while (!agg::is_stop(command));
  }

  double Cells() const { return cells_; }
  uint64_t Vertices() const { return vertices_; }
  // Consecutive bands of rows whose bound each stays within capacity; a single row above it
  // still gets a band of its own.
  std::vector<RowBand> Bands(double capacity) const;

 private:
  void Close();
  void Segment(double x1, double y1, double x2, double y2);

  int width_;
  int top_;
  int bottom_;
  double cells_ = 0.0;
  uint64_t vertices_ = 0;
  std::vector<double> rowDeltas_;  // differences of the per-row bound, when kept
  double startX_ = 0.0, startY_ = 0.0, lastX_ = 0.0, lastY_ = 0.0;
  bool open_ = false;
};

// Stands in for the rasteriser in the outline pipelines: fills it, counting the cells on the way,
// and stops before the vertex that would take the count past limit.
template <typename Rasterizer>
class CountingRasterizer {
 public:
  CountingRasterizer(Rasterizer& rasterizer, CellEstimate& estimate, double limit)
      : rasterizer_(rasterizer), estimate_(estimate), limit_(limit) {}

  template <typename Source>
  void add_path(Source& source, unsigned pathId = 0) {
    Counted<Source> counted{source, *this};
    rasterizer_.add_path(counted, pathId);
  }
  bool Stopped() const { return stopped_; }

 private:
  template <typename Source>
  struct Counted {
    Source& source;
    CountingRasterizer& owner;
    void rewind(unsigned pathId) { source.rewind(pathId); }
    unsigned vertex(double* x, double* y) {
      *x = *y = 0.0;
      if (owner.stopped_) return agg::path_cmd_stop;
      const unsigned command = source.vertex(x, y);
      owner.estimate_.Feed(command, *x, *y);
      if (owner.estimate_.Cells() > owner.limit_) owner.stopped_ = true;
      return owner.stopped_ ? static_cast<unsigned>(agg::path_cmd_stop) : command;
    }
  };

  Rasterizer& rasterizer_;
  CellEstimate& estimate_;
  double limit_;
  bool stopped_ = false;
};

}  // namespace render
