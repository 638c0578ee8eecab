// OpenImageIO's texture system on the same drawing, rendered at 8192 x 8192 and made into a tiled,
// mip-mapped file by maketx: the same points and footprints as the Graphel benchmark.
#include <benchmark/benchmark.h>

#include <OpenImageIO/texture.h>
#include <OpenImageIO/ustring.h>

#include <random>
#include <vector>

namespace {

constexpr float kGridFootprint = 1.0f / 4000.0f;
constexpr size_t kPoints = 1 << 20;

OIIO::TextureSystem& Textures() {
  static OIIO::TextureSystem* system = [] {
    OIIO::TextureSystem* made = OIIO::TextureSystem::create(true);
    made->attribute("max_memory_MB", 2048.0f);
    made->attribute("autotile", 0);
    return made;
  }();
  return *system;
}

struct Point {
  float s, t;
};

std::vector<Point> RandomPoints(int seed) {
  std::mt19937 random(static_cast<unsigned>(seed));
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::vector<Point> points(kPoints);
  for (Point& p : points) {
    const double u = unit(random), v = unit(random);
    p = {static_cast<float>(u), static_cast<float>(1.0 - v)};
  }
  return points;
}

std::vector<Point> ScanlinePoints(int thread) {
  std::vector<Point> points(kPoints);
  for (size_t i = 0; i < kPoints; ++i) {
    const size_t row = (i / 4096 + static_cast<size_t>(thread) * 997) % 4096;
    points[i] = {static_cast<float>(((i % 4096) + 0.5) / 4096.0), static_cast<float>((row + 0.5) / 4096.0)};
  }
  return points;
}

std::vector<Point> WindowPoints(double footprint, int thread) {
  std::vector<Point> points(kPoints);
  for (size_t i = 0; i < kPoints; ++i) {
    const size_t row = (i / 256 + static_cast<size_t>(thread) * 97) % 256;
    points[i] = {static_cast<float>(0.3 + static_cast<double>(i % 256) * footprint),
                 static_cast<float>(0.4 + static_cast<double>(row) * footprint)};
  }
  return points;
}

void Lookup(benchmark::State& state, const std::vector<Point>& points, float footprint) {
  OIIO::TextureSystem& system = Textures();
  OIIO::TextureSystem::Perthread* perThread = system.get_perthread_info();
  OIIO::TextureSystem::TextureHandle* handle = system.get_texture_handle(OIIO::ustring(GRAPHEL_BENCH_TX), perThread);
  OIIO::TextureOpt options;
  options.interpmode = OIIO::TextureOpt::InterpBilinear;
  options.mipmode = OIIO::TextureOpt::MipModeTrilinear;
  float colour[4];
  // Warm: read every tile once.
  for (size_t i = 0; i < kPoints; i += 7) {
    system.texture(handle, perThread, options, points[i].s, points[i].t, footprint, 0, 0, footprint, 4, colour);
  }
  size_t i = 0;
  for (auto _ : state) {
    const Point& p = points[i++ & (kPoints - 1)];
    system.texture(handle, perThread, options, p.s, p.t, footprint, 0, 0, footprint, 4, colour);
    benchmark::DoNotOptimize(colour);
  }
  state.counters["samples_per_second_per_thread"] =
      benchmark::Counter(static_cast<double>(i), benchmark::Counter::kIsRate | benchmark::Counter::kAvgThreads);
}

float Footprint(const benchmark::State& state) { return 1.0f / static_cast<float>(state.range(0)); }

void BM_OiioRandom(benchmark::State& state) { Lookup(state, RandomPoints(state.thread_index() + 1), Footprint(state)); }
void BM_OiioScanline(benchmark::State& state) { Lookup(state, ScanlinePoints(state.thread_index()), kGridFootprint); }
void BM_OiioSweep(benchmark::State& state) {
  Lookup(state, WindowPoints(1.0 / static_cast<double>(state.range(0)), state.thread_index()), Footprint(state));
}

BENCHMARK(BM_OiioRandom)->Arg(1500)->Arg(4000)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_OiioScanline)->Threads(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_OiioSweep)->RangeMultiplier(4)->Range(1024, 1 << 20)->Threads(1)->Threads(2)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
