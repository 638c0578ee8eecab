// RenderTile alone, without file loading or PNG writing: the tiger's 1034 x 1034 tile (1024 plus a
// border of 5) around the same point of the drawing at pyramid levels 10 to 24, next to the two
// hostile inputs the unit tests only run once. Every benchmark reports the process's peak resident
// set as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "document/vector_document.h"
#include "platform/wide_text.h"

namespace {

constexpr int32_t kTile = 1024;
constexpr int32_t kBorder = 5;
// The tile holds this point of the image (fractions of its width and height): an edge of the eye.
constexpr double kPointX = 468.5 / 1024, kPointY = 342.5 / 1024;
// One render slower than this is a hang, not a measurement.
constexpr auto kWallClockGuard = std::chrono::seconds(30);

std::unique_ptr<document::VectorDocument> LoadText(const std::string& text) {
  svg::LoadError error;
  auto loaded = document::VectorDocument::Create(error, true, platform::Utf8ToWide(text), nullptr, 1.0);
  return loaded->Loaded() ? std::move(loaded) : nullptr;
}

// Loaded anew for every benchmark, outside the timed loop: a document must not outlive main, since
// destroying one clears the temporary folder through state that is gone by then.
std::unique_ptr<document::VectorDocument> LoadTiger() {
  std::ifstream in(std::string(GRAPHEL_BENCH_DRAWINGS) + "/tiger.svg", std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return LoadText(text.str());
}

void ReportPeakMemory(benchmark::State& state) {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
}

// Runs render once per iteration, failing the benchmark instead of waiting out a hang.
template <typename Render>
void GuardedLoop(benchmark::State& state, Render render) {
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    auto pixels = render();
    benchmark::DoNotOptimize(pixels.get());
    if (pixels == nullptr) {
      state.SkipWithError("the render returned no pixels");
      break;
    }
    if (std::chrono::steady_clock::now() - start > kWallClockGuard) {
      state.SkipWithError("one render took longer than the wall-clock guard");
      break;
    }
  }
  ReportPeakMemory(state);
}

void TigerTile(benchmark::State& state) {
  const auto tiger = LoadTiger();
  if (tiger == nullptr) {
    state.SkipWithError("bench/drawings/tiger.svg did not load");
    return;
  }
  const int32_t fullSize = int32_t{1} << state.range(0);
  const int32_t tile = std::min(fullSize, kTile);
  const auto row = static_cast<int32_t>(kPointY * fullSize) / tile;
  const auto column = static_cast<int32_t>(kPointX * fullSize) / tile;
  GuardedLoop(state, [&] { return tiger->RenderTile(0, fullSize, tile, row, column, kBorder); });
  const int64_t side = tile + 2 * kBorder;
  state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(TigerTile)->DenseRange(10, 24, 2)->Unit(benchmark::kMillisecond);

// A 1034 x 1034 tile (level 11: a 2048 image) of each page of a two-page PDF: the tiger as vector art,
// then a page of text. The document is reopened for every render, as the texture does.
void PdfPageTile(benchmark::State& state) {
  document::PdfPageSettings settings;
  settings.page = static_cast<float>(state.range(0));
  settings.transparent = 1;
  svg::LoadError error;
  const auto pdf = document::VectorDocument::Create(
      error, false, platform::Utf8ToWide(std::string(GRAPHEL_BENCH_DRAWINGS) + "/slides.pdf"), nullptr, 1.0,
      &settings);
  if (!pdf->Loaded()) {
    state.SkipWithError("bench/drawings/slides.pdf did not load (a build without GRAPHEL_WITH_PDF?)");
    return;
  }
  GuardedLoop(state, [&] { return pdf->RenderTile(0, 2048, kTile, 0, 1, kBorder); });
  const int64_t side = kTile + 2 * kBorder;
  state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(PdfPageTile)->DenseRange(1, 2)->Unit(benchmark::kMillisecond);

void MillionSegmentPath(benchmark::State& state) {
  std::string d = "M0 0";
  for (int i = 0; i < 1'000'000; ++i) d += (i % 2 == 0 ? " L100 " : " L0 ") + std::to_string(i % 100);
  const auto loaded = LoadText("<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'><path d='" +
                               d + "' fill='none' stroke='black' stroke-width='0.01'/></svg>");
  if (loaded == nullptr) {
    state.SkipWithError("the drawing did not load");
    return;
  }
  GuardedLoop(state, [&] { return loaded->RenderTile(0, 1024, 1024, 0, 0, kBorder); });
}
BENCHMARK(MillionSegmentPath)->Unit(benchmark::kMillisecond)->Iterations(3);

void ThousandsOfTinyDashes(benchmark::State& state) {
  std::string dashes;
  for (int i = 0; i < 3000; ++i) dashes += "0.03 ";
  const auto loaded = LoadText(
      "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'><polyline points='0,50 100,50 0,54 "
      "100,54' "
      "fill='none' stroke='black' stroke-width='3' stroke-dasharray='" +
      dashes + "'/></svg>");
  if (loaded == nullptr) {
    state.SkipWithError("the drawing did not load");
    return;
  }
  GuardedLoop(state, [&] { return loaded->RenderTile(0, 1024, 1024, 0, 0, kBorder); });
}
BENCHMARK(ThousandsOfTinyDashes)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same 1034 x 1034 tile as TigerTile at level 10, of a hatch pattern with about 5 500 fine lines;
// converting the pattern into its tree is timed apart from rendering it.
std::unique_ptr<document::VectorDocument> LoadDenseHatch(document::PatternSettings& settings) {
  svg::LoadError error;
  const std::string path = std::string(GRAPHEL_BENCH_DRAWINGS) + "/dense_hatch.pat";
  auto loaded = document::VectorDocument::Create(error, false, platform::Utf8ToWide(path), nullptr, 1.0);
  settings.lineWidth = 0.2f;
  return loaded->SelectPattern(settings, kBorder) ? std::move(loaded) : nullptr;
}

void DenseHatchTile(benchmark::State& state) {
  document::PatternSettings settings;
  const auto hatch = LoadDenseHatch(settings);
  if (hatch == nullptr) return state.SkipWithError("bench/drawings/dense_hatch.pat did not load");
  state.counters["lines"] = static_cast<double>(svg::CountElements(*hatch->Svg()) - 1);
  const uint32_t white = document::PackedColour(settings.backgroundColour);
  GuardedLoop(state, [&] { return hatch->RenderTile(white, kTile, kTile, 0, 0, kBorder); });
}
BENCHMARK(DenseHatchTile)->Unit(benchmark::kMillisecond);

void DenseHatchConversion(benchmark::State& state) {
  document::PatternSettings settings;
  const auto hatch = LoadDenseHatch(settings);
  if (hatch == nullptr) return state.SkipWithError("bench/drawings/dense_hatch.pat did not load");
  for (auto _ : state) benchmark::DoNotOptimize(hatch->SelectPattern(settings, kBorder));
}
BENCHMARK(DenseHatchConversion)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
