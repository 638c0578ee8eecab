#pragma once

#include <cmath>

#include <agg_basics.h>

namespace render {

// Vertex-source adaptor that drops vertices with NaN or infinite coordinates, so degenerate
// transforms and hostile numbers never reach the rasteriser's integer conversion. A dropped
// vertex breaks the outline: the next finite vertex starts a new subpath.
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
      if (!std::isfinite(*x) || !std::isfinite(*y)) {
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
  Source& source_;
  bool restart_ = false;
};

}  // namespace render
