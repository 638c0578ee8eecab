#include "band_render.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace graphel_cli {
namespace {

// Tall enough that each tile's walk over the drawing covers much work, small enough that a band of
// a 16384-pixel image stays near 128 MiB.
constexpr int32_t kBandTile = 2048;

}  // namespace

bool RenderSquareInBands(const document::VectorDocument& drawing, uint32_t background, int32_t size,
                         ImageOutput& output, ProgressBar& progress, std::string& error) {
  const int32_t tile = std::min(size, kBandTile);
  const size_t stride = static_cast<size_t>(size) * 4;
  std::vector<uint8_t> band(stride * static_cast<size_t>(tile));
  const int32_t count = (size + tile - 1) / tile;
  for (int32_t row = 0; row < count; ++row) {
    const int32_t rows = std::min(tile, size - row * tile);
    for (int32_t column = 0; column < count; ++column) {
      const int32_t columns = std::min(tile, size - column * tile);
      const std::unique_ptr<uint8_t[]> pixels = drawing.RenderTile(background, size, tile, row, column, 0);
      for (int32_t y = 0; y < rows; ++y) {
        uint8_t* target = band.data() + static_cast<size_t>(y) * stride + static_cast<size_t>(column) * tile * 4;
        if (pixels != nullptr) {
          std::memcpy(target, pixels.get() + static_cast<size_t>(y) * tile * 4, static_cast<size_t>(columns) * 4);
        } else {
          for (int32_t x = 0; x < columns; ++x) std::memcpy(target + 4 * x, &background, 4);
        }
      }
    }
    if (!output.WriteRows(band.data(), static_cast<uint32_t>(rows), error)) return false;
    progress.Advance(rows);
  }
  return true;
}

}  // namespace graphel_cli
