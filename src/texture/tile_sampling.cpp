#include <algorithm>
#include <cmath>
#include <cstring>

#include "texture/fast_floor.h"
#include "texture/tile_cache.h"

namespace graphel {
namespace {

constexpr double kByte = 1.0 / 255.0;

Rgba FromBytes(const uint8_t* p) { return Rgba{p[0] * kByte, p[1] * kByte, p[2] * kByte, p[3] * kByte}; }

Rgba FromPacked(uint32_t packed) {
  uint8_t bytes[4];
  std::memcpy(bytes, &packed, 4);
  return FromBytes(bytes);
}

// The pixels a box of half width half around centre touches, kept within the tile and its border,
// with the partial coverage of the first and the last.
struct Box {
  int32_t first = 0;
  int32_t last = 0;
  double firstWeight = 1.0;
  double lastWeight = 1.0;

  double Weight(int32_t i) const {
    if (i == first) return firstWeight;
    return i == last ? lastWeight : 1.0;
  }
};

inline Box MakeBox(double centre, double half, int32_t tileSize) {
  const double low = static_cast<double>(-TileCache::kBorder);
  const double high = static_cast<double>(tileSize);
  Box box;
  box.first = static_cast<int32_t>(std::clamp(FastFloor(centre - half), low, high));
  box.last = static_cast<int32_t>(std::clamp(FastFloor(centre + half), low, high));
  if (box.first != box.last) {
    box.firstWeight = 1.0 - (centre - half - box.first);
    box.lastWeight = centre + half - box.last;
  }
  return box;
}

// Footprints of a texel or two, the common case, touch at most this many pixels each way.
constexpr int32_t kSmallBox = 4;

// Four channels at once; GCC and Clang turn these into single vector instructions.
using Float4 = float __attribute__((vector_size(16)));
using Byte4 = uint8_t __attribute__((vector_size(4)));

inline Float4 LoadPixel(const uint8_t* p) {
  Byte4 bytes;
  std::memcpy(&bytes, p, 4);
  return __builtin_convertvector(bytes, Float4);
}

// The weighted sum over a box of at most kSmallBox x kSmallBox pixels, in single precision, four
// channels per instruction. Box weights of the usual footprints have few significant bits, so the
// sums stay exact.
template <typename PixelAt>
Rgba SmallBoxSum(const Box& columns, const Box& rows, PixelAt pixelAt) {
  float columnWeights[kSmallBox];
  const int32_t width = columns.last - columns.first + 1;
  const int32_t height = rows.last - rows.first + 1;
  float columnTotal = 0.0f;
  for (int32_t i = 0; i < width; ++i) {
    columnWeights[i] = static_cast<float>(columns.Weight(columns.first + i));
    columnTotal += columnWeights[i];
  }
  Float4 sum = {0.0f, 0.0f, 0.0f, 0.0f};
  float total = 0.0f;
  for (int32_t j = 0; j < height; ++j) {
    const float rowWeight = static_cast<float>(rows.Weight(rows.first + j));
    const uint8_t* p = pixelAt(rows.first + j, columns.first);
    Float4 rowSum = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int32_t i = 0; i < width; ++i, p += 4) rowSum += LoadPixel(p) * columnWeights[i];
    sum += rowSum * rowWeight;
    total += columnTotal * rowWeight;
  }
  if (total == 0.0f) return Rgba{};
  const double scale = kByte / total;
  return Rgba{sum[0] * scale, sum[1] * scale, sum[2] * scale, sum[3] * scale};
}

}  // namespace

Rgba TileCache::SampleTile(const TileRef& ref, double u, double v, double du, double dv, int level, bool filter) {
  if (ref.tile == nullptr) return Rgba{};
  const Tile& tile = *ref.tile;
  if (tile.pixels == nullptr) return FromPacked(tile.uniform);

  const int32_t size = tile.tileSize;
  const size_t stride = static_cast<size_t>(size) + 2 * kBorder;
  const uint8_t* pixels = tile.pixels.get();
  auto pixel = [&](int32_t row, int32_t column) {
    return pixels + ((static_cast<size_t>(row + kBorder) * stride) + static_cast<size_t>(column + kBorder)) * 4;
  };

  const double full = static_cast<double>(int64_t{1} << std::clamp(level, 0, 30));
  const double y = std::clamp(1.0 - v, 0.0, 1.0) * (full - 1.0);
  const double x = std::clamp(u, 0.0, 1.0) * (full - 1.0);
  if (!std::isfinite(x) || !std::isfinite(y)) return Rgba{};
  if (!filter) {
    // x and y are not negative, so truncation is the floor.
    const auto row = static_cast<int32_t>(static_cast<int64_t>(y) % size);
    const auto column = static_cast<int32_t>(static_cast<int64_t>(x) % size);
    return FromBytes(pixel(row, column));
  }

  // Remainders within the tile; exact, as the tile size is a power of two.
  const double cx = x - static_cast<double>(static_cast<int64_t>(x) / size * size);
  const double cy = y - static_cast<double>(static_cast<int64_t>(y) / size * size);
  double hx = du * full / 2.0;
  double hy = dv * full / 2.0;
  // Beyond any real footprint the end weights would overflow; such boxes cover the whole tile anyway.
  constexpr double kLargestHalfWidth = 1e12;
  hx = std::isfinite(hx) && hx >= 0.0 ? std::min(hx, kLargestHalfWidth) : 0.0;
  hy = std::isfinite(hy) && hy >= 0.0 ? std::min(hy, kLargestHalfWidth) : 0.0;
  const Box columns = MakeBox(cx, hx, size);
  const Box rows = MakeBox(cy, hy, size);
  if (columns.first == columns.last && rows.first == rows.last) return FromBytes(pixel(rows.first, columns.first));

  if (columns.last - columns.first < kSmallBox && rows.last - rows.first < kSmallBox) {
    return SmallBoxSum(columns, rows, [&](int32_t row, int32_t column) { return pixel(row, column); });
  }

  double sum[4] = {0.0, 0.0, 0.0, 0.0};
  double total = 0.0;
  for (int32_t row = rows.first; row <= rows.last; ++row) {
    const double rowWeight = rows.Weight(row);
    const uint8_t* p = pixel(row, columns.first);
    double rowSum[4] = {0.0, 0.0, 0.0, 0.0};
    double rowTotal = 0.0;
    for (int32_t column = columns.first; column <= columns.last; ++column, p += 4) {
      const double weight = columns.Weight(column);
      rowSum[0] += p[0] * weight;
      rowSum[1] += p[1] * weight;
      rowSum[2] += p[2] * weight;
      rowSum[3] += p[3] * weight;
      rowTotal += weight;
    }
    for (int k = 0; k < 4; ++k) sum[k] += rowSum[k] * rowWeight;
    total += rowTotal * rowWeight;
  }
  if (total == 0.0) return Rgba{};
  const double scale = kByte / total;
  return Rgba{sum[0] * scale, sum[1] * scale, sum[2] * scale, sum[3] * scale};
}

}  // namespace graphel
