#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <initializer_list>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "texture/graphel.h"
#include "texture/tile_buffer.h"
#include "texture_fixture.h"

namespace graphel {
namespace {

using testing::At;

constexpr const char* kBusy =
    "<svg width='100' height='100'><path d='M0,0 L100,0 L0,100 Z' fill='#2060c0'/>"
    "<circle cx='60' cy='60' r='30' fill='#e0a030' fill-opacity='0.6'/>"
    "<path d='M10,90 C30,10 70,10 90,90' fill='none' stroke='#108040' stroke-width='3'/></svg>";

struct Probe {
  double u, v, footprint;
  zal::AColor expected;
};

// count points drawn between low and high on both axes, the footprints taken in turn, each with the
// colour a single thread gets.
std::vector<Probe> MakeProbes(Graphel& texture, unsigned seed, double low, double high,
                              std::initializer_list<double> footprints, int count) {
  std::mt19937 random(seed);
  std::uniform_real_distribution<double> unit(low, high);
  std::vector<Probe> probes;
  for (int i = 0; i < count; ++i) {
    Probe probe{unit(random), unit(random), footprints.begin()[static_cast<size_t>(i) % footprints.size()], {}};
    zal::PointShadeContext sc = At(probe.u, probe.v, probe.footprint, probe.footprint);
    probe.expected = texture.EvalColor(sc);
    probes.push_back(probe);
  }
  return probes;
}

// Drops the texture's tiles, alternately keeping the overview, after every `pace` samples until
// told to stop: re-renders are costly under the sanitizers, so clearing keeps pace with shading.
class PacedClearer {
 public:
  PacedClearer(Graphel& texture, const std::atomic<int>& samples, int pace)
      : thread_([&texture, &samples, pace, this] {
          for (int clears = 0, next = pace; running_.load();) {
            if (samples.load() < next) {
              std::this_thread::sleep_for(std::chrono::milliseconds(1));
              continue;
            }
            texture.ClearTiles(clears++ % 2 == 0);
            texture.Cache();
            next += pace;
          }
        }) {}
  ~PacedClearer() {
    running_ = false;
    thread_.join();
  }

 private:
  std::atomic<bool> running_{true};
  std::thread thread_;
};

// Render threads shade while the render time changes under them and another thread drops tiles:
// every answer must equal the one a single thread gets, and nothing may race (run under the
// thread sanitizer) or read a freed tile (address sanitizer).
TEST(Concurrency, ShadingSurvivesTimeChangesAndClearing) {
  auto texture = testing::NewTexture();
  testing::SetFile(*texture, testing::WriteDrawing("Concurrency", kBusy));
  texture->GetParamBlockByID(kParamsBlock)->SetValue(kAlphaSource, 0, kAlphaFromImage);
  testing::UpdateAt(*texture, 0);

  // Within one tile of each level, so a clear costs a few renders rather than dozens.
  const std::vector<Probe> probes = MakeProbes(*texture, 42, 0.27, 0.48, {0.01, 1.0 / 1500, 1.0 / 1800, 0.02}, 48);

  constexpr int kThreads = 6;
  constexpr int kFrames = 3;
  constexpr int kRoundsPerFrame = 10;
  std::atomic<int> mismatches{0};
  std::atomic<int> samples{0};
  // The threads move on to the next frame together; the first to shade it drops every tile while the
  // others are still on their way.
  std::barrier frameDone(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int frame = 0; frame < kFrames; ++frame) {
        const zal::TimeValue time = frame * zal::kTicksPerFrame;
        for (int round = 0; round < kRoundsPerFrame; ++round) {
          for (size_t i = static_cast<size_t>(t); i < probes.size(); i += 3) {
            const Probe& probe = probes[i];
            zal::PointShadeContext sc = At(probe.u, probe.v, probe.footprint, probe.footprint, time);
            if (!(texture->EvalColor(sc) == probe.expected)) ++mismatches;
            texture->EvalMono(sc);
            ++samples;
          }
        }
        frameDone.arrive_and_wait();
      }
    });
  }
  {
    const PacedClearer clearer(*texture, samples, 150);
    for (std::thread& thread : threads) thread.join();
  }
  EXPECT_EQ(mismatches.load(), 0);
  texture->RenderEnd(0);
  EXPECT_LE(texture->Cache().fullTiles, 1);
}

// Close-ups from 4 threads while the render time moves on, another thread drops tiles and a second
// texture the threads sampled before is deleted: answers stay those of a single thread.
TEST(Concurrency, DeepLevelsSurviveClearsTimeChangesAndDeletion) {
  auto kept = testing::NewTexture();
  auto deleted = testing::NewTexture();
  for (Graphel* texture : {kept.get(), deleted.get()}) {
    testing::SetFile(*texture, testing::WriteDrawing("ConcurrencyDeep", kBusy));
    texture->GetParamBlockByID(kParamsBlock)->SetValue(kAlphaSource, 0, kAlphaFromImage);
    testing::UpdateAt(*texture, 0);
  }
  // Levels 17 and 19 around one point, a tile or two of each.
  const std::vector<Probe> probes = MakeProbes(*kept, 5, 0.6000, 0.6015, {1e-5, 3e-6}, 24);

  constexpr int kThreads = 4;
  constexpr int kFrames = 3;
  std::atomic<int> mismatches{0};
  std::atomic<int> samples{0};
  std::barrier sampledBoth(kThreads + 1);
  std::barrier frameDone(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      zal::PointShadeContext first = At(probes[0].u, probes[0].v, probes[0].footprint, probes[0].footprint);
      deleted->EvalColor(first);
      sampledBoth.arrive_and_wait();
      for (int frame = 0; frame < kFrames; ++frame) {
        for (size_t i = static_cast<size_t>(t); i < probes.size(); i += 2) {
          const Probe& probe = probes[i];
          const zal::TimeValue time = frame * zal::kTicksPerFrame;
          zal::PointShadeContext sc = At(probe.u, probe.v, probe.footprint, probe.footprint, time);
          if (!(kept->EvalColor(sc) == probe.expected)) ++mismatches;
          ++samples;
        }
        frameDone.arrive_and_wait();
      }
    });
  }
  sampledBoth.arrive_and_wait();
  deleted.reset();
  {
    const PacedClearer clearer(*kept, samples, 16);
    for (std::thread& thread : threads) thread.join();
  }
  EXPECT_EQ(mismatches.load(), 0);
}

// A texture's tiles go with it, even while the render threads that sampled it live on.
TEST(Concurrency, ADeletedTextureReturnsItsTilesWhileThreadsLive) {
  const int64_t before = TileBuffer::LiveBytes();
  auto texture = testing::NewTexture();
  testing::SetFile(*texture, testing::WriteDrawing("ConcurrencyMemory", kBusy));
  testing::UpdateAt(*texture, 0);
  texture->RenderBegin(0, 0);
  constexpr int kThreads = 8;
  std::barrier sampled(kThreads + 1);
  std::barrier released(kThreads + 1);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      // Each thread reads its own tile of level 11 and the overview.
      zal::PointShadeContext fine = At(0.25 + 0.5 * (t % 2), 0.25 + 0.5 * (t / 2 % 2), 1.0 / 1500, 1.0 / 1500);
      texture->EvalColor(fine);
      sampled.arrive_and_wait();
      released.arrive_and_wait();
    });
  }
  sampled.arrive_and_wait();
  const int64_t fullTile = 1034 * 1034 * 4;
  EXPECT_GE(TileBuffer::LiveBytes() - before, 5 * fullTile);
  texture->RenderEnd(0);
  EXPECT_LE(TileBuffer::LiveBytes() - before, fullTile + 4096);  // the overview stays for the next render
  texture.reset();
  EXPECT_EQ(TileBuffer::LiveBytes(), before);
  released.arrive_and_wait();
  for (std::thread& thread : threads) thread.join();
}

}  // namespace
}  // namespace graphel
