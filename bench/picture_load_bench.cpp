#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/wide_text.h"
#include "svg/document.h"
#include "svg/loader.h"

namespace {

// A drawing with one embedded picture of sizeMiB of base64, written once per size.
std::string DrawingWithPicture(int sizeMiB) {
  const std::string path = "/tmp/graphel_bench_picture_" + std::to_string(::getpid()) + "_" +
                           std::to_string(sizeMiB) + ".svg";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return path;
  std::fputs("<svg width='10' height='10'><image width='10' height='10' xlink:href='data:image/png;base64,", file);
  std::string block(1 << 20, 'A');
  for (size_t i = 0; i < block.size(); ++i) block[i] = "QUJDRGVm+/0123"[i % 14];
  for (int i = 0; i < sizeMiB; ++i) std::fwrite(block.data(), 1, block.size(), file);
  std::fputs("'/></svg>", file);
  std::fclose(file);
  return path;
}

// Loads the drawing as Load reads files; parseCalls counts the blocks handed to expat.
void LoadEmbeddedPicture(benchmark::State& state) {
  const std::string path = DrawingWithPicture(static_cast<int>(state.range(0)));
  const std::u16string widePath = platform::Utf8ToWide(path);
  for (auto _ : state) {
    svg::SVGDocument document(1.0, nullptr);
    svg::LoadError error;
    svg::DocumentExtent extent;
    svg::FeedCounts counts;
    if (!svg::LoadFile(document, error, widePath, extent, counts)) {
      state.SkipWithError("load failed");
    }
    state.counters["parseCalls"] = counts.parseCalls;
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) * (1 << 20));
  std::remove(path.c_str());
}

BENCHMARK(LoadEmbeddedPicture)->ArgName("MiB")->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
