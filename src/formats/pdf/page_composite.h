#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace formats::pdf {

// A buffer of width x height premultiplied RGBA pixels, rows from the top, cleared to zero.
struct Raster {
  Raster(uint32_t width, uint32_t height);

  size_t Bytes() const { return static_cast<size_t>(width) * height * 4; }

  std::unique_ptr<uint8_t[]> pixels;
  uint32_t width;
  uint32_t height;
};

// Blends layer over composite (same size) with a global alpha of 0-255, in 8-bit integer arithmetic:
// every byte, colour and alpha alike, becomes (layer * alpha + composite * (255 - (a * alpha >> 8))) >> 8,
// where a is the layer pixel's alpha.
void BlendLayer(Raster& composite, const Raster& layer, uint32_t alpha);

}  // namespace formats::pdf
