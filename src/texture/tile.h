#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "texture/tile_buffer.h"

namespace graphel {

// One rendered tile of the pyramid: the pixels of the tile with a border of neighbouring pixels on
// every side, or, when every pixel came out alike, just that one pixel.
class Tile {
 public:
  static constexpr int32_t kBorder = 5;

  // A tile of tileSize pixels a side whose pixels the caller fills (Pixels()).
  explicit Tile(int32_t tileSize);
  // A tile whose pixels all equal uniform (R, G, B, A in memory order).
  Tile(int32_t tileSize, uint32_t uniform);
  ~Tile();
  Tile(const Tile&) = delete;
  Tile& operator=(const Tile&) = delete;

  int32_t TileSize() const { return tileSize_; }
  int32_t Stride() const { return tileSize_ + 2 * kBorder; }
  bool Uniform() const { return !pixels_; }
  uint32_t UniformPixel() const { return uniform_; }
  uint8_t* Pixels() { return pixels_.Data(); }
  const uint8_t* Pixels() const { return pixels_.Data(); }
  // False when the pixel buffer could not be had.
  bool Valid() const { return Uniform() || pixels_.Data() != nullptr; }
  // The bytes the tile's pixels take: 4 for a uniform tile.
  size_t Bytes() const;

  // Sums of every channel over the pixels above and left of each buffer position, (Stride() + 1)^2
  // entries of four channels, made on first use: large boxes then cost a few reads whatever their
  // size. Null for a uniform tile or when the memory can't be had.
  const uint32_t* SummedArea() const;

 private:
  TileBuffer pixels_;
  uint32_t uniform_ = 0;
  int32_t tileSize_ = 0;
  mutable std::atomic<TileBuffer*> summedArea_{nullptr};
};

}  // namespace graphel
