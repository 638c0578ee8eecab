// Filtered samples per second through the Graphel module's colour evaluation on a warm pyramid,
// the way a host's render threads call it, next to a bare bilinear read of an image of the same
// size held in memory (the memory-bound floor).
#include <benchmark/benchmark.h>

#include <cmath>
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

// Level 12 is the finest level a blur of 1 reaches; this footprint blends it with level 11.
constexpr double kFootprint = 1.0 / 4000.0;
constexpr int kFloorSize = 4096;
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

void BM_GraphelRandom(benchmark::State& state) { Shade(state, RandomPoints(state.thread_index() + 1)); }
void BM_GraphelScanline(benchmark::State& state) { Shade(state, ScanlinePoints(state.thread_index())); }
// No footprint: level 12 alone with a box of one texel, the closest match to a single bilinear read.
void BM_GraphelRandomOneLevel(benchmark::State& state) { Shade(state, RandomPoints(state.thread_index() + 1), 0.0); }
void BM_GraphelScanlineOneLevel(benchmark::State& state) { Shade(state, ScanlinePoints(state.thread_index()), 0.0); }

const std::vector<uint8_t>& FloorImage() {
  static const std::vector<uint8_t> image = [] {
    std::vector<uint8_t> pixels(static_cast<size_t>(kFloorSize) * kFloorSize * 4);
    std::mt19937 random(3);
    for (uint8_t& byte : pixels) byte = static_cast<uint8_t>(random());
    return pixels;
  }();
  return image;
}

// One bilinear read, four channels, as plainly as it can be written.
inline void Bilinear(const uint8_t* image, double u, double v, float out[4]) {
  const double x = u * (kFloorSize - 1), y = (1.0 - v) * (kFloorSize - 1);
  const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
  const int x1 = x0 + 1 < kFloorSize ? x0 + 1 : x0, y1 = y0 + 1 < kFloorSize ? y0 + 1 : y0;
  const float fx = static_cast<float>(x - x0), fy = static_cast<float>(y - y0);
  const uint8_t* a = image + (static_cast<size_t>(y0) * kFloorSize + x0) * 4;
  const uint8_t* b = image + (static_cast<size_t>(y0) * kFloorSize + x1) * 4;
  const uint8_t* c = image + (static_cast<size_t>(y1) * kFloorSize + x0) * 4;
  const uint8_t* d = image + (static_cast<size_t>(y1) * kFloorSize + x1) * 4;
  for (int k = 0; k < 4; ++k) {
    const float top = a[k] + (b[k] - a[k]) * fx;
    const float bottom = c[k] + (d[k] - c[k]) * fx;
    out[k] = (top + (bottom - top) * fy) * (1.0f / 255.0f);
  }
}

void Floor(benchmark::State& state, const std::vector<zal::Point3>& points) {
  const uint8_t* image = FloorImage().data();
  float colour[4];
  size_t i = 0;
  for (auto _ : state) {
    const zal::Point3& p = points[i++ & (kPoints - 1)];
    Bilinear(image, p.x, p.y, colour);
    benchmark::DoNotOptimize(colour);
  }
  ReportRate(state, i);
}

void BM_FloorRandom(benchmark::State& state) { Floor(state, RandomPoints(state.thread_index() + 1)); }
void BM_FloorScanline(benchmark::State& state) { Floor(state, ScanlinePoints(state.thread_index())); }

BENCHMARK(BM_GraphelRandom)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_GraphelScanline)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_GraphelRandomOneLevel)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_GraphelScanlineOneLevel)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_FloorRandom)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_FloorScanline)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
