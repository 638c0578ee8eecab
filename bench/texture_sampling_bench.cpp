// Filtered samples per second through the Graphel module's colour evaluation on a warm pyramid,
// the way a host's render threads call it, next to plain reads of mip-mapped images held in memory
// (the memory-bound floor): trilinear for footprints, bilinear for the coherent grid.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/class_desc.h"
#include "host/host_interface.h"
#include "host/mtl_base.h"
#include "host/param_block.h"
#include "host/plugin_library.h"
#include "host/shade_context.h"
#include "platform/wide_text.h"

namespace {

// The footprint of the coherent grid and of warming: level 12 blended with level 11.
constexpr double kFootprint = 1.0 / 4000.0;
constexpr size_t kPoints = 1 << 20;

struct Texture {
  zal::PluginLibrary library;
  zal::Texmap* texmap = nullptr;
};

Texture& WarmTexture() {
  static Texture* texture = [] {
    auto* made = new Texture;
    if (!made->library.Load(GRAPHEL_MODULE_PATH)) std::abort();
    made->texmap = static_cast<zal::Texmap*>(made->library.GetClassDesc(0)->Create(false));
    made->texmap->GetParamBlock(0)->SetValue(0, 0, std::u16string_view(platform::Utf8ToWide(GRAPHEL_BENCH_DRAWING)));
    zal::Interval valid = zal::FOREVER;
    made->texmap->Update(0, valid);
    // One sample in every tile of levels 11 and 12 renders the whole pyramid the benchmarks read.
    zal::PointShadeContext sc;
    sc.duvw = {kFootprint, kFootprint, 0.0};
    for (int row = 0; row < 4; ++row) {
      for (int column = 0; column < 4; ++column) {
        sc.uvw = {(column + 0.5) / 4.0, (row + 0.5) / 4.0, 0.0};
        made->texmap->EvalColor(sc);
      }
    }
    return made;
  }();
  return *texture;
}

std::vector<zal::Point3> RandomPoints(int seed) {
  std::mt19937 random(static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<zal::Point3> points(kPoints);
  for (zal::Point3& p : points) p = {unit(random), unit(random), 0.0};
  return points;
}

// Rows of the finest level, left to right, one sample per texel; each thread starts on its own row.
std::vector<zal::Point3> ScanlinePoints(int thread) {
  std::vector<zal::Point3> points(kPoints);
  for (size_t i = 0; i < kPoints; ++i) {
    const size_t row = (i / 4096 + static_cast<size_t>(thread) * 997) % 4096;
    points[i] = {((i % 4096) + 0.5) / 4096.0, 1.0 - (row + 0.5) / 4096.0, 0.0};
  }
  return points;
}

void ReportRate(benchmark::State& state, size_t samples) {
  state.counters["samples_per_second_per_thread"] =
      benchmark::Counter(static_cast<double>(samples), benchmark::Counter::kIsRate | benchmark::Counter::kAvgThreads);
}

void Shade(benchmark::State& state, const std::vector<zal::Point3>& points, double footprint = kFootprint) {
  zal::Texmap& texture = *WarmTexture().texmap;
  zal::PointShadeContext sc;
  sc.duvw = {footprint, footprint, 0.0};
  size_t i = 0;
  for (auto _ : state) {
    sc.uvw = points[i++ & (kPoints - 1)];
    benchmark::DoNotOptimize(texture.EvalColor(sc));
  }
  ReportRate(state, i);
}

// Points spaced one footprint apart in a 256 x 256 window around a fixed point: a close-up, warm
// after the first pass.
std::vector<zal::Point3> WindowPoints(double footprint, int thread) {
  std::vector<zal::Point3> points(kPoints);
  for (size_t i = 0; i < kPoints; ++i) {
    const size_t row = (i / 256 + static_cast<size_t>(thread) * 97) % 256;
    points[i] = {0.3 + static_cast<double>(i % 256) * footprint, 0.6 - static_cast<double>(row) * footprint, 0.0};
  }
  return points;
}

void Warm(const std::vector<zal::Point3>& points, double footprint) {
  zal::Texmap& texture = *WarmTexture().texmap;
  zal::PointShadeContext sc;
  sc.duvw = {footprint, footprint, 0.0};
  for (size_t i = 0; i < kPoints; i += 61) {
    sc.uvw = points[i];
    texture.EvalColor(sc);
  }
}

void BM_GraphelRandom(benchmark::State& state) {
  const double footprint = 1.0 / static_cast<double>(state.range(0));
  const std::vector<zal::Point3> points = RandomPoints(state.thread_index() + 1);
  Warm(points, footprint);
  Shade(state, points, footprint);
}
void BM_GraphelScanline(benchmark::State& state) { Shade(state, ScanlinePoints(state.thread_index())); }
void BM_GraphelSweep(benchmark::State& state) {
  const double footprint = 1.0 / static_cast<double>(state.range(0));
  const std::vector<zal::Point3> points = WindowPoints(footprint, state.thread_index());
  Warm(points, footprint);
  Shade(state, points, footprint);
}

// Random bytes at every level from 1 to 2^13 pixels a side, as a mip-mapped RGBA8 texture would hold.
constexpr int kFloorTop = 13;
const std::vector<std::vector<uint8_t>>& FloorLevels() {
  static const std::vector<std::vector<uint8_t>> levels = [] {
    std::vector<std::vector<uint8_t>> made(kFloorTop + 1);
    std::mt19937_64 random(3);
    for (int level = 0; level <= kFloorTop; ++level) {
      made[static_cast<size_t>(level)].resize((size_t{1} << (2 * level)) * 4);
      std::vector<uint8_t>& image = made[static_cast<size_t>(level)];
      for (size_t i = 0; i < image.size(); i += 4) {
        const auto bits = static_cast<uint32_t>(random());
        std::memcpy(image.data() + i, &bits, 4);
      }
    }
    return made;
  }();
  return levels;
}

// One bilinear read of a square image of 2^level pixels a side, four channels, as plainly as it
// can be written.
inline void Bilinear(int level, double u, double v, float out[4]) {
  const uint8_t* image = FloorLevels()[static_cast<size_t>(level)].data();
  const int size = 1 << level;
  const double x = u * (size - 1), y = (1.0 - v) * (size - 1);
  const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
  const int x1 = x0 + 1 < size ? x0 + 1 : x0, y1 = y0 + 1 < size ? y0 + 1 : y0;
  const float fx = static_cast<float>(x - x0), fy = static_cast<float>(y - y0);
  const uint8_t* a = image + (static_cast<size_t>(y0) * size + x0) * 4;
  const uint8_t* b = image + (static_cast<size_t>(y0) * size + x1) * 4;
  const uint8_t* c = image + (static_cast<size_t>(y1) * size + x0) * 4;
  const uint8_t* d = image + (static_cast<size_t>(y1) * size + x1) * 4;
  for (int k = 0; k < 4; ++k) {
    const float top = a[k] + (b[k] - a[k]) * fx;
    const float bottom = c[k] + (d[k] - c[k]) * fx;
    out[k] = (top + (bottom - top) * fy) * (1.0f / 255.0f);
  }
}

// Two bilinear reads at the levels around the footprint, blended: what a trilinear lookup must read.
inline void Trilinear(double footprint, double u, double v, float out[4]) {
  const double texels = std::log2(1.0 / footprint);
  const int fine = std::clamp(static_cast<int>(std::ceil(texels)), 1, kFloorTop);
  const auto weight = static_cast<float>(std::clamp(texels - (fine - 1), 0.0, 1.0));
  float coarse[4];
  Bilinear(fine, u, v, out);
  Bilinear(fine - 1, u, v, coarse);
  for (int k = 0; k < 4; ++k) out[k] = out[k] * weight + coarse[k] * (1.0f - weight);
}

void Floor(benchmark::State& state, const std::vector<zal::Point3>& points, double footprint) {
  FloorLevels();
  float colour[4];
  size_t i = 0;
  for (auto _ : state) {
    const zal::Point3& p = points[i++ & (kPoints - 1)];
    if (footprint > 0.0) {
      Trilinear(footprint, p.x, p.y, colour);
    } else {
      Bilinear(12, p.x, p.y, colour);
    }
    benchmark::DoNotOptimize(colour);
  }
  ReportRate(state, i);
}

void BM_FloorRandom(benchmark::State& state) {
  Floor(state, RandomPoints(state.thread_index() + 1), 1.0 / static_cast<double>(state.range(0)));
}
void BM_FloorScanline(benchmark::State& state) { Floor(state, ScanlinePoints(state.thread_index()), 0.0); }
void BM_FloorSweep(benchmark::State& state) {
  const double footprint = 1.0 / static_cast<double>(state.range(0));
  Floor(state, WindowPoints(footprint, state.thread_index()), footprint);
}

// The three cases of the comparison, then the footprint sweep.
void Cases(benchmark::internal::Benchmark* b) { b->Arg(1500)->Arg(4000)->Threads(1)->Threads(2)->UseRealTime(); }
void Sweep(benchmark::internal::Benchmark* b) {
  for (int64_t n = 1024; n <= (int64_t{1} << 20); n *= 4) b->Arg(n);
  b->Threads(1)->Threads(2)->UseRealTime();
}

BENCHMARK(BM_GraphelRandom)->Apply(Cases);
BENCHMARK(BM_FloorRandom)->Apply(Cases);
BENCHMARK(BM_GraphelScanline)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_FloorScanline)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_GraphelSweep)->Apply(Sweep);
BENCHMARK(BM_FloorSweep)->Apply(Sweep);

}  // namespace

BENCHMARK_MAIN();
