#pragma once

#include "render/canvas.h"

namespace render {

// A gradient or pattern paint: fills the coverage the rasteriser holds on the canvas.
class PaintServer {
 public:
  virtual ~PaintServer() = default;
  virtual void Paint(Canvas& canvas, Rasterizer& rasterizer, bool isFill) = 0;
};

}  // namespace render
