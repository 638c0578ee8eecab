#include "formats/pdf/page_composite.h"

namespace formats::pdf {

Raster::Raster(uint32_t width, uint32_t height)
    : pixels(new uint8_t[static_cast<size_t>(width) * height * 4]()), width(width), height(height) {}

void BlendLayer(Raster& composite, const Raster& layer, uint32_t alpha) {
  if (alpha > 255) alpha = 255;
  const size_t bytes = composite.Bytes() < layer.Bytes() ? composite.Bytes() : layer.Bytes();
  uint8_t* out = composite.pixels.get();
  const uint8_t* in = layer.pixels.get();
  for (size_t i = 0; i + 4 <= bytes; i += 4) {
    const uint32_t inverse = 255 - ((in[i + 3] * alpha) >> 8);
    for (size_t c = 0; c < 4; ++c) {
      out[i + c] = static_cast<uint8_t>((in[i + c] * alpha + out[i + c] * inverse) >> 8);
    }
  }
}

}  // namespace formats::pdf
