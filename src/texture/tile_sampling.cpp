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
// Boxes of more pixels than this are summed from the tile's summed-area table.
constexpr int64_t kLargeBoxPixels = 4096;

// Four channels at once; GCC and Clang turn these into single vector instructions.
using Float4 = float __attribute__((vector_size(16)));
using Byte4 = uint8_t __attribute__((vector_size(4)));

inline Float4 LoadPixel(const uint8_t* p) {
  Byte4 bytes;
  std::memcpy(&bytes, p, 4);
  return __builtin_convertvector(bytes, Float4);
}

const uint8_t* PixelAt(const Tile& tile, int32_t row, int32_t column) {
  const auto stride = static_cast<size_t>(tile.Stride());
  return tile.Pixels() +
         ((static_cast<size_t>(row + TileCache::kBorder) * stride) + static_cast<size_t>(column + TileCache::kBorder)) * 4;
}

// The weighted sum over a box of at most kSmallBox x kSmallBox pixels, in single precision, four
// channels per instruction. Box weights of the usual footprints have few significant bits, so the
// sums stay exact.
Rgba SmallBoxSum(const Tile& tile, const Box& columns, const Box& rows) {
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
    const uint8_t* p = PixelAt(tile, rows.first + j, columns.first);
    Float4 rowSum = {0.0f, 0.0f, 0.0f, 0.0f};
    for (int32_t i = 0; i < width; ++i, p += 4) rowSum += LoadPixel(p) * columnWeights[i];
    sum += rowSum * rowWeight;
    total += columnTotal * rowWeight;
  }
  if (total == 0.0f) return Rgba{};
  const double scale = kByte / total;
  return Rgba{sum[0] * scale, sum[1] * scale, sum[2] * scale, sum[3] * scale};
}

double AxisTotal(const Box& box) {
  if (box.first == box.last) return box.firstWeight;
  return box.firstWeight + box.lastWeight + (box.last - box.first - 1);
}

// Four channel sums of the rectangle of rows r0..r1 and columns c0..c1 from a summed-area table.
// Unsigned wrap-around in the differences cancels, as the true sum fits 32 bits.
void RectSum(const uint32_t* sums, size_t edge, int32_t r0, int32_t r1, int32_t c0, int32_t c1, double out[4]) {
  const auto y0 = static_cast<size_t>(r0 + TileCache::kBorder), y1 = static_cast<size_t>(r1 + TileCache::kBorder) + 1;
  const auto x0 = static_cast<size_t>(c0 + TileCache::kBorder), x1 = static_cast<size_t>(c1 + TileCache::kBorder) + 1;
  const uint32_t* a = sums + (y0 * edge + x0) * 4;
  const uint32_t* b = sums + (y0 * edge + x1) * 4;
  const uint32_t* c = sums + (y1 * edge + x0) * 4;
  const uint32_t* d = sums + (y1 * edge + x1) * 4;
  for (size_t k = 0; k < 4; ++k) out[k] = static_cast<double>(static_cast<uint32_t>(d[k] - b[k] - c[k] + a[k]));
}

// The weighted box sum in a bounded number of reads: the whole rectangle, then corrections for the
// partly covered first and last rows and columns, then for the four corners they share.
Rgba LargeBoxSum(const uint32_t* sums, const Tile& tile, const Box& columns, const Box& rows) {
  const size_t edge = static_cast<size_t>(tile.Stride()) + 1;
  const double c0 = columns.first != columns.last ? columns.firstWeight - 1.0 : 0.0;
  const double c1 = columns.first != columns.last ? columns.lastWeight - 1.0 : 0.0;
  const double r0 = rows.first != rows.last ? rows.firstWeight - 1.0 : 0.0;
  const double r1 = rows.first != rows.last ? rows.lastWeight - 1.0 : 0.0;
  double sum[4] = {0.0, 0.0, 0.0, 0.0};
  double part[4];
  auto add = [&](double weight, int32_t top, int32_t bottom, int32_t left, int32_t right) {
    if (weight == 0.0) return;
    RectSum(sums, edge, top, bottom, left, right, part);
    for (size_t k = 0; k < 4; ++k) sum[k] += weight * part[k];
  };
  add(1.0, rows.first, rows.last, columns.first, columns.last);
  add(c0, rows.first, rows.last, columns.first, columns.first);
  add(c1, rows.first, rows.last, columns.last, columns.last);
  add(r0, rows.first, rows.first, columns.first, columns.last);
  add(r1, rows.last, rows.last, columns.first, columns.last);
  add(r0 * c0, rows.first, rows.first, columns.first, columns.first);
  add(r0 * c1, rows.first, rows.first, columns.last, columns.last);
  add(r1 * c0, rows.last, rows.last, columns.first, columns.first);
  add(r1 * c1, rows.last, rows.last, columns.last, columns.last);
  const double total = AxisTotal(columns) * AxisTotal(rows);
  if (total == 0.0) return Rgba{};
  const double scale = kByte / total;
  return Rgba{sum[0] * scale, sum[1] * scale, sum[2] * scale, sum[3] * scale};
}

Rgba WideBoxSum(const Tile& tile, const Box& columns, const Box& rows) {
  double sum[4] = {0.0, 0.0, 0.0, 0.0};
  double total = 0.0;
  for (int32_t row = rows.first; row <= rows.last; ++row) {
    const double rowWeight = rows.Weight(row);
    const uint8_t* p = PixelAt(tile, row, columns.first);
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

}  // namespace

TileRead TileCache::PrepareRead(const Tile* tile, double u, double v, double du, double dv, int level, bool filter) {
  TileRead read;
  if (tile == nullptr) return read;
  read.tile = tile;
  if (tile->Uniform()) return read;

  const int32_t size = tile->TileSize();
  const double full = static_cast<double>(int64_t{1} << std::clamp(level, 0, kMaxLevel));
  // Clamped to 0..1; NaN fails the comparison and counts as 0.
  const double x = (u >= 0.0 ? std::min(u, 1.0) : 0.0) * (full - 1.0);
  const double y = (1.0 - (v >= 0.0 ? std::min(v, 1.0) : 0.0)) * (full - 1.0);
  // x and y are not negative, so truncation is the floor; the tile size is a power of two.
  const auto ix = static_cast<int64_t>(x);
  const auto iy = static_cast<int64_t>(y);
  const int64_t mask = size - 1;
  if (!filter) {
    read.columns.first = read.columns.last = static_cast<int32_t>(ix & mask);
    read.rows.first = read.rows.last = static_cast<int32_t>(iy & mask);
    return read;
  }
  // Offsets within the tile, exact.
  const double cx = x - static_cast<double>(ix & ~mask);
  const double cy = y - static_cast<double>(iy & ~mask);
  double hx = du * full * 0.5;
  double hy = dv * full * 0.5;
  // Beyond any real footprint the end weights would overflow; such boxes cover the whole tile anyway.
  constexpr double kLargestHalfWidth = 1e12;
  hx = hx >= 0.0 ? std::min(hx, kLargestHalfWidth) : 0.0;
  hy = hy >= 0.0 ? std::min(hy, kLargestHalfWidth) : 0.0;
  read.columns = MakeBox(cx, hx, size);
  read.rows = MakeBox(cy, hy, size);
  return read;
}

void TileRead::Prefetch() const {
  if (tile == nullptr || tile->Uniform()) return;
  // The first and last pixel of each of the first few rows: the lines a small box reads.
  const int32_t last = std::min(rows.last, rows.first + kSmallBox - 1);
  for (int32_t row = rows.first; row <= last; ++row) {
    __builtin_prefetch(PixelAt(*tile, row, columns.first));
    __builtin_prefetch(PixelAt(*tile, row, std::min(columns.last, columns.first + kSmallBox - 1)));
  }
}

Rgba TileRead::Sum() const {
  if (tile == nullptr) return Rgba{};
  if (tile->Uniform()) return FromPacked(tile->UniformPixel());
  if (columns.first == columns.last && rows.first == rows.last) return FromBytes(PixelAt(*tile, rows.first, columns.first));
  const int32_t width = columns.last - columns.first + 1;
  const int32_t height = rows.last - rows.first + 1;
  if (width <= kSmallBox && height <= kSmallBox) return SmallBoxSum(*tile, columns, rows);
  if (int64_t{width} * height > kLargeBoxPixels) {
    if (const uint32_t* sums = tile->SummedArea()) return LargeBoxSum(sums, *tile, columns, rows);
  }
  return WideBoxSum(*tile, columns, rows);
}

}  // namespace graphel
