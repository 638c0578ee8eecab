#include "texture/tile_cache.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

#include "document/vector_document.h"
#include "support/test_support.h"

namespace graphel {
namespace {

using testing_support::W;

constexpr uint64_t kFullTileBytes = 1034ull * 1034ull * 4ull;

std::unique_ptr<TileCache> LoadedCache(const char* svgText) {
  auto cache = std::make_unique<TileCache>(nullptr);
  svg::LoadError error;
  EXPECT_TRUE(cache->LoadDocument(error, true, W(svgText), true, nullptr));
  return cache;
}

constexpr const char* kRedSquare = "<svg width='100' height='100'><rect width='100' height='100' fill='#ff0000'/></svg>";
constexpr const char* kDiagonal =
    "<svg width='100' height='100'><path d='M0,0 L100,0 L0,100 Z' fill='#2060c0'/>"
    "<circle cx='70' cy='70' r='20' fill='#e0a030' opacity='0.5'/></svg>";

TEST(TileCacheNumbering, LevelsFollowEachOther) {
  EXPECT_EQ(TileCache::LevelBase(11), 11);
  EXPECT_EQ(TileCache::LevelBase(12), 15);
  EXPECT_EQ(TileCache::LevelBase(13), 31);
  EXPECT_EQ(TileCache::LevelBase(14), 95);
  EXPECT_EQ(TileCache::EntryIndex(10, 0, 0), 10);
  EXPECT_EQ(TileCache::EntryIndex(11, 1, 1), 14);
  EXPECT_EQ(TileCache::EntryIndex(12, 1, 2), 21);
  EXPECT_EQ(TileCache::EntryIndex(24, 0, 0), TileCache::LevelBase(24));
  EXPECT_EQ(TileCache::TileSize(8), 256);
  EXPECT_EQ(TileCache::TileSize(10), 1024);
  EXPECT_EQ(TileCache::TileSize(20), 1024);
}

TEST(TileCache, TheTableGrowsWithTheFinestLevelAsked) {
  const auto cacheOwner = LoadedCache(kDiagonal);
  TileCache& cache = *cacheOwner;
  EXPECT_EQ(cache.EntryCount(), 11);
  EXPECT_EQ(cache.EnsureTile(0.5, 0.5, 10).index, 10);
  EXPECT_EQ(cache.EntryCount(), 11);
  // Top left is row 0, column 0; v = 1 is the top of the image.
  EXPECT_EQ(cache.EnsureTile(0.0, 1.0, 11).index, 11);
  EXPECT_EQ(cache.EntryCount(), 15);
  EXPECT_EQ(cache.EnsureTile(0.99, 0.01, 11).index, 14);
  EXPECT_EQ(cache.EnsureTile(0.6, 0.3, 12).index, 15 + 2 * 4 + 2);
  EXPECT_EQ(cache.EntryCount(), 31);
  EXPECT_EQ(cache.TopLevel(), 12);
  const TileRef fine = cache.EnsureTile(0.0, 1.0, 20);
  EXPECT_EQ(fine.index, TileCache::LevelBase(20));
  EXPECT_EQ(cache.EntryCount(), TileCache::LevelBase(21));
}

TEST(TileCache, BytesUsedCountsWhatIsHeldAndFlatTilesCostFourBytes) {
  const auto cacheOwner = LoadedCache(kRedSquare);
  TileCache& cache = *cacheOwner;
  EXPECT_EQ(cache.BytesUsed(), 0u);
  const TileRef overview = cache.EnsureTile(0.5, 0.5, 10);
  ASSERT_NE(overview.tile, nullptr);
  // The overview's border shows the transparent surroundings, so it is not flat.
  EXPECT_FALSE(overview.tile->Uniform());
  EXPECT_EQ(cache.BytesUsed(), kFullTileBytes);
  const TileRef inner = cache.EnsureTile(0.3, 0.7, 12);  // row 1, column 1 of 4: all red with its border
  ASSERT_NE(inner.tile, nullptr);
  EXPECT_TRUE(inner.tile->Uniform());
  const uint32_t pixel = inner.tile->UniformPixel();
  const uint8_t red[4] = {255, 0, 0, 255};
  EXPECT_EQ(std::memcmp(&pixel, red, 4), 0);
  EXPECT_EQ(cache.BytesUsed(), kFullTileBytes + 4);
  // Asking again renders nothing new.
  cache.EnsureTile(0.3, 0.7, 12);
  EXPECT_EQ(cache.BytesUsed(), kFullTileBytes + 4);
  EXPECT_EQ(cache.Count().full, 1);
  EXPECT_EQ(cache.Count().uniform, 1);
  const Rgba colour = TileCache::SampleTile(inner, 0.3, 0.7, 0.01, 0.01, 12, true);
  EXPECT_DOUBLE_EQ(colour.r, 1.0);
  EXPECT_DOUBLE_EQ(colour.g, 0.0);
}

TEST(TileCache, ClearingKeepsTheOverviewOnlyWhenAsked) {
  const auto cacheOwner = LoadedCache(kRedSquare);
  TileCache& cache = *cacheOwner;
  cache.EnsureTile(0.5, 0.5, 10);
  cache.EnsureTile(0.3, 0.7, 12);
  cache.EnsureTile(0.05, 0.95, 12);
  EXPECT_EQ(cache.BytesUsed(), 2 * kFullTileBytes + 4);
  cache.ClearTiles(true);
  EXPECT_EQ(cache.BytesUsed(), kFullTileBytes);
  EXPECT_EQ(cache.EntryCount(), 11);
  EXPECT_EQ(cache.Count().full, 1);
  cache.ClearTiles(false);
  EXPECT_EQ(cache.BytesUsed(), 0u);
  EXPECT_EQ(cache.Count().full + cache.Count().uniform, 0);
}

// Samplers find tiles without the lock; a tile the cache drops stays readable until FreeRetired,
// which returns its memory.
TEST(TileCache, DroppedTilesStayReadableUntilFreed) {
  const auto cacheOwner = LoadedCache(kDiagonal);
  TileCache& cache = *cacheOwner;
  EXPECT_EQ(cache.Find(0.25, 0.75, 11), nullptr);
  const int64_t liveBefore = TileBuffer::LiveBytes();
  const TileRef held = cache.EnsureTile(0.25, 0.75, 11);
  ASSERT_NE(held.tile, nullptr);
  EXPECT_EQ(cache.Find(0.3, 0.7, 11), held.tile);
  EXPECT_EQ(cache.Find(0.25, 0.75, 12), nullptr);
  EXPECT_EQ(cache.Find(0.9, 0.75, 11), nullptr);
  EXPECT_GE(TileBuffer::LiveBytes() - liveBefore, static_cast<int64_t>(kFullTileBytes));
  const Rgba before = TileCache::SampleTile(held, 0.25, 0.75, 0.0, 0.0, 11, false);
  cache.ClearTiles(false);
  EXPECT_EQ(cache.BytesUsed(), 0u);
  EXPECT_EQ(cache.Find(0.25, 0.75, 11), nullptr);
  const Rgba after = TileCache::SampleTile(held, 0.25, 0.75, 0.0, 0.0, 11, false);
  EXPECT_EQ(before.r, after.r);
  EXPECT_EQ(before.a, after.a);
  cache.FreeRetired();
  EXPECT_EQ(TileBuffer::LiveBytes(), liveBefore);
}

TEST(TileCache, NothingToRenderLeavesTheEntryEmpty) {
  const auto cacheOwner = LoadedCache("<svg width='0' height='0'/>");
  TileCache& cache = *cacheOwner;
  const TileRef ref = cache.EnsureTile(0.5, 0.5, 10);
  EXPECT_EQ(ref.index, 10);
  EXPECT_EQ(ref.tile, nullptr);
  EXPECT_EQ(cache.BytesUsed(), 0u);
  const Rgba colour = TileCache::SampleTile(ref, 0.5, 0.5, 0.01, 0.01, 10, true);
  EXPECT_EQ(colour.a, 0.0);
}

// Every pixel the pyramid hands out at level 11 is the pixel of the whole drawing rendered at 2048.
TEST(TileCacheDifferential, TilesAgreeWithOneWholeRender) {
  const auto cacheOwner = LoadedCache(kDiagonal);
  TileCache& cache = *cacheOwner;
  const std::unique_ptr<uint8_t[]> whole = cache.Document()->RenderWhole(2048);
  ASSERT_NE(whole, nullptr);
  std::mt19937 random(7);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int i = 0; i < 2000; ++i) {
    const double u = unit(random), v = unit(random);
    const Rgba sample = TileCache::SampleTile(cache.EnsureTile(u, v, 11), u, v, 0.0, 0.0, 11, false);
    const auto x = static_cast<size_t>(std::floor(u * 2047)), y = static_cast<size_t>(std::floor((1 - v) * 2047));
    const uint8_t* expected = whole.get() + (y * 2048 + x) * 4;
    ASSERT_EQ(std::lround(sample.r * 255), expected[0]) << u << "," << v;
    ASSERT_EQ(std::lround(sample.b * 255), expected[2]) << u << "," << v;
    ASSERT_EQ(std::lround(sample.a * 255), expected[3]) << u << "," << v;
  }
}

// Level 10 looks like level 11 brought down by 2 x 2 boxes, up to anti-aliasing differences.
TEST(TileCacheDifferential, ALevelMatchesTheBoxDownsampleOfTheNext) {
  const auto cacheOwner = LoadedCache(kDiagonal);
  TileCache& cache = *cacheOwner;
  const std::unique_ptr<uint8_t[]> fine = cache.Document()->RenderWhole(2048);
  const TileRef coarse = cache.EnsureTile(0.5, 0.5, 10);
  ASSERT_NE(coarse.tile, nullptr);
  ASSERT_FALSE(coarse.tile->Uniform());
  double totalError = 0.0;
  int worst = 0;
  for (size_t y = 0; y < 1024; ++y) {
    for (size_t x = 0; x < 1024; ++x) {
      const uint8_t* c = coarse.tile->Pixels() + ((y + 5) * 1034 + x + 5) * 4;
      for (size_t channel = 0; channel < 4; ++channel) {
        int sum = 0;
        for (size_t dy = 0; dy < 2; ++dy) {
          for (size_t dx = 0; dx < 2; ++dx) sum += fine[((2 * y + dy) * 2048 + 2 * x + dx) * 4 + channel];
        }
        const int error = std::abs(c[channel] - (sum + 2) / 4);
        totalError += error;
        worst = std::max(worst, error);
      }
    }
  }
  EXPECT_LT(totalError / (1024.0 * 1024.0 * 4.0), 0.5);
  EXPECT_LE(worst, 160);
}

// A level-10 tile whose red channel counts columns and green channel counts rows.
std::unique_ptr<Tile> Ramp() {
  auto tile = std::make_unique<Tile>(1024);
  for (int row = -5; row < 1029; ++row) {
    for (int column = -5; column < 1029; ++column) {
      uint8_t* p = tile->Pixels() + (static_cast<size_t>(row + 5) * 1034 + static_cast<size_t>(column + 5)) * 4;
      p[0] = static_cast<uint8_t>((column + 256) % 256);
      p[1] = static_cast<uint8_t>((row + 256) % 256);
      p[2] = 0;
      p[3] = 255;
    }
  }
  return tile;
}

TEST(TileSampling, NearestAndBoxReadsWeighTheEdges) {
  const std::unique_ptr<Tile> tile = Ramp();
  const TileRef ramp{10, tile.get()};
  struct Case {
    const char* name;
    double x, y;    // texel position
    double hx, hy;  // half widths in texels
    bool filter;
    double red, green;  // expected, in byte units
  };
  const Case cases[] = {
      {"nearest", 100.7, 30.2, 3.0, 3.0, false, 100, 30},
      {"inside one texel", 100.25, 30.5, 0.2, 0.2, true, 100, 30},
      {"centred box", 100.5, 30.5, 1.0, 0.0, true, 100, 30},
      {"box off centre", 100.25, 30.5, 1.0, 0.0, true, (99 * 0.75 + 100 + 101 * 0.25) / 2.0, 30},
      {"rows weigh too", 100.5, 30.75, 0.0, 1.0, true, 100, (29 * 0.25 + 30 + 31 * 0.75) / 2.0},
      {"into the left border", 1.0, 30.5, 2.5, 0.0, true, (254 * 0.5 + 255 + 0 + 1 + 2 + 3 * 0.5) / 5.0, 30},
  };
  for (const Case& c : cases) {
    const double u = c.x / 1023.0, v = 1.0 - c.y / 1023.0;
    const Rgba sample = TileCache::SampleTile(ramp, u, v, c.hx * 2 / 1024, c.hy * 2 / 1024, 10, c.filter);
    EXPECT_NEAR(sample.r * 255, c.red, 1e-6) << c.name;
    EXPECT_NEAR(sample.g * 255, c.green, 1e-6) << c.name;
    EXPECT_DOUBLE_EQ(sample.a, 1.0) << c.name;
  }
}

TEST(TileSampling, HugeAndBrokenFootprintsStayInsideTheTile) {
  const std::unique_ptr<Tile> tile = Ramp();
  const TileRef ramp{10, tile.get()};
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double footprint : {5.0, 1e300, nan, -1.0}) {
    const Rgba sample = TileCache::SampleTile(ramp, 0.5, 0.5, footprint, footprint, 10, true);
    EXPECT_GE(sample.r, 0.0);
    EXPECT_LE(sample.r, 1.0);
    EXPECT_NEAR(sample.a, 1.0, 1e-9);
  }
}

// Boxes of thousands of pixels come from the summed-area table; each must equal the sum of every
// pixel weighted by how much of it the footprint covers.
TEST(TileSampling, LargeBoxesEqualTheCoverageWeightedSum) {
  auto tile = std::make_unique<Tile>(1024);
  std::mt19937 random(11);
  for (size_t i = 0; i < kFullTileBytes; ++i) tile->Pixels()[i] = static_cast<uint8_t>(random());
  const TileRef ref{10, tile.get()};
  std::uniform_real_distribution<double> centre(300.0, 700.0), half(40.0, 290.0);
  auto overlap = [](double low, double high, int pixel) {
    return std::max(0.0, std::min(high, pixel + 1.0) - std::max(low, static_cast<double>(pixel)));
  };
  for (int n = 0; n < 4; ++n) {
    const double x = centre(random), y = centre(random), hx = half(random), hy = half(random);
    double expected[4] = {0, 0, 0, 0}, total = 0.0;
    for (int row = static_cast<int>(y - hy); row <= static_cast<int>(y + hy); ++row) {
      for (int column = static_cast<int>(x - hx); column <= static_cast<int>(x + hx); ++column) {
        const double weight = overlap(y - hy, y + hy, row) * overlap(x - hx, x + hx, column);
        const uint8_t* p = tile->Pixels() + (static_cast<size_t>(row + 5) * 1034 + static_cast<size_t>(column + 5)) * 4;
        for (int k = 0; k < 4; ++k) expected[k] += weight * p[k];
        total += weight;
      }
    }
    const Rgba sample = TileCache::SampleTile(ref, x / 1023.0, 1.0 - y / 1023.0, hx * 2 / 1024, hy * 2 / 1024, 10, true);
    const double got[4] = {sample.r, sample.g, sample.b, sample.a};
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k] * 255.0, expected[k] / total, 1e-6) << n << " channel " << k;
  }
}

}  // namespace
}  // namespace graphel
