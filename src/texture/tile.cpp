#include "texture/tile.h"

#include <memory>

namespace graphel {

Tile::Tile(int32_t tileSize)
    : pixels_(static_cast<size_t>(tileSize + 2 * kBorder) * static_cast<size_t>(tileSize + 2 * kBorder) * 4),
      tileSize_(tileSize) {}

Tile::Tile(int32_t tileSize, uint32_t uniform) : uniform_(uniform), tileSize_(tileSize) {}

Tile::~Tile() { delete summedArea_.load(std::memory_order_acquire); }

size_t Tile::Bytes() const { return Uniform() ? 4 : pixels_.Size(); }

const uint32_t* Tile::SummedArea() const {
  if (Uniform()) return nullptr;
  if (const TileBuffer* made = summedArea_.load(std::memory_order_acquire)) {
    return reinterpret_cast<const uint32_t*>(made->Data());
  }
  // Sums of up to 1034^2 bytes of 255 stay below 2^32, so 32-bit entries are exact.
  const size_t edge = static_cast<size_t>(Stride()) + 1;
  auto table = std::make_unique<TileBuffer>(edge * edge * 4 * sizeof(uint32_t));
  if (!*table) return nullptr;
  auto* sums = reinterpret_cast<uint32_t*>(table->Data());
  const uint8_t* p = pixels_.Data();
  for (size_t y = 1; y < edge; ++y) {
    uint32_t row[4] = {0, 0, 0, 0};
    uint32_t* out = sums + y * edge * 4 + 4;
    const uint32_t* above = out - edge * 4;
    for (size_t x = 1; x < edge; ++x, p += 4, out += 4, above += 4) {
      for (size_t k = 0; k < 4; ++k) {
        row[k] += p[k];
        out[k] = above[k] + row[k];
      }
    }
  }
  // Two threads may build it at once; the first to publish wins and the other drops its copy.
  TileBuffer* expected = nullptr;
  if (summedArea_.compare_exchange_strong(expected, table.get(), std::memory_order_acq_rel)) {
    return reinterpret_cast<const uint32_t*>(table.release()->Data());
  }
  return reinterpret_cast<const uint32_t*>(expected->Data());
}

}  // namespace graphel
