#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
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

// Render threads shade while the render time changes under them and another thread drops tiles:
// every answer must equal the one a single thread gets, and nothing may race (run under the
// thread sanitizer) or read a freed tile (address sanitizer).
TEST(Concurrency, ShadingSurvivesTimeChangesAndClearing) {
  auto texture = testing::NewTexture();
  testing::SetFile(*texture, testing::WriteDrawing("Concurrency", kBusy));
  texture->GetParamBlockByID(kParamsBlock)->SetValue(kAlphaSource, 0, kAlphaFromImage);
  testing::UpdateAt(*texture, 0);

  std::mt19937 random(42);
  // Within one tile of each level, so a clear costs a few renders rather than dozens.
  std::uniform_real_distribution<double> unit(0.27, 0.48);
  const double footprints[] = {0.01, 1.0 / 1500, 1.0 / 1800, 0.02};
  std::vector<Probe> probes;
  for (int i = 0; i < 48; ++i) {
    Probe probe{unit(random), unit(random), footprints[i % 4], {}};
    zal::PointShadeContext sc = At(probe.u, probe.v, probe.footprint, probe.footprint);
    probe.expected = texture->EvalColor(sc);
    probes.push_back(probe);
  }

  // Each re-render is costly under the sanitizers, so the clearing keeps pace with the shading
  // rather than with the clock: a clear every kSamplesPerClear samples.
  constexpr int kThreads = 6;
  constexpr int kFrames = 3;
  constexpr int kRoundsPerFrame = 10;
  constexpr int kSamplesPerClear = 150;
  std::atomic<int> mismatches{0};
  std::atomic<int> samples{0};
  std::atomic<bool> shading{true};
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
  std::thread clearer([&] {
    int clears = 0;
    int next = kSamplesPerClear;
    while (shading.load()) {
      if (samples.load() < next) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      texture->ClearTiles(clears++ % 2 == 0);
      texture->Cache();
      next += kSamplesPerClear;
    }
  });
  for (std::thread& thread : threads) thread.join();
  shading = false;
  clearer.join();
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
  std::mt19937 random(5);
  std::uniform_real_distribution<double> near(0.6000, 0.6015);
  const double footprints[] = {1e-5, 3e-6};
  std::vector<Probe> probes;
  for (int i = 0; i < 24; ++i) {
    Probe probe{near(random), near(random), footprints[i % 2], {}};
    zal::PointShadeContext sc = At(probe.u, probe.v, probe.footprint, probe.footprint);
    probe.expected = kept->EvalColor(sc);
    probes.push_back(probe);
  }

  constexpr int kThreads = 4;
  constexpr int kFrames = 3;
  std::atomic<int> mismatches{0};
  std::atomic<int> samples{0};
  std::atomic<bool> shading{true};
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
          zal::PointShadeContext sc = At(probe.u, probe.v, probe.footprint, probe.footprint, frame * zal::kTicksPerFrame);
          if (!(kept->EvalColor(sc) == probe.expected)) ++mismatches;
          ++samples;
        }
        frameDone.arrive_and_wait();
      }
    });
  }
  sampledBoth.arrive_and_wait();
  deleted.reset();
  // Paced by the samples, as renders of deep tiles are slow under the sanitizers.
  std::thread clearer([&] {
    for (int clears = 0, next = 16; shading.load();) {
      if (samples.load() < next) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        continue;
      }
      kept->ClearTiles(clears++ % 2 == 0);
      next += 16;
    }
  });
  for (std::thread& thread : threads) thread.join();
  shading = false;
  clearer.join();
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
