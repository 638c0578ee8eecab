#pragma once

#include <cmath>

#include <agg_basics.h>

namespace render {

// Vertex-source adaptor that drops vertices with NaN, infinite or absurdly far coordinates (beyond
// 1e15 device pixels, where the rasteriser's clipping arithmetic itself overflows), so degenerate
// transforms and hostile numbers never reach the rasteriser's integer conversion. A dropped vertex
// breaks the outline: the next kept vertex starts a new subpath.
template <typename Source>
class FiniteVertices {
 public:
  explicit FiniteVertices(Source& source) : source_(source) {}

  void rewind(unsigned pathId) {
    source_.rewind(pathId);
    restart_ = false;
  }

  unsigned vertex(double* x, double* y) {
    for (;;) {
      unsigned command = source_.vertex(x, y);
      if (!agg::is_vertex(command)) return command;
      if (!(std::fabs(*x) <= kFarthest) || !(std::fabs(*y) <= kFarthest)) {
        restart_ = true;
        continue;
      }
      if (restart_) {
        restart_ = false;
        command = agg::path_cmd_move_to;
      }
      return command;
    }
  }

 private:
  static constexpr double kFarthest = 1e15;
  Source& source_;
  bool restart_ = false;
};

}  // namespace render
