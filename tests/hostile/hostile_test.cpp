#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>

#include "hostile/child_run.h"
#include "hostile/hostile_cases.h"
#include "support/png_reader.h"
#include "support/test_support.h"

namespace hostile {

void PrintTo(const HostileCase& hostileCase, std::ostream* out) { *out << hostileCase.name; }

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define GRAPHEL_HOSTILE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(GRAPHEL_HOSTILE_ASAN)
// AddressSanitizer's red zones, quarantine and shadow roughly double what a process holds, and its
// unoptimised build runs several times slower.
constexpr long kMemoryFactor = 3;
constexpr unsigned kCpuFactor = 8;
#else
constexpr long kMemoryFactor = 1;
constexpr unsigned kCpuFactor = 1;
#endif
constexpr unsigned kCpuSeconds = 30 * kCpuFactor;
// 1 GiB: far above what any case needs once bounded, far below what an unbounded layer stack takes.
constexpr long kMaxResidentKiB = kMemoryFactor << 20;
constexpr int kRenderSize = 256;

class HostileFile : public testing::TestWithParam<HostileCase> {};

void ExpectBounded(const ChildUsage& usage, const std::string& command, int expectedExit) {
  EXPECT_EQ(usage.signal, 0) << command << " was killed" << (usage.signal == SIGXCPU ? " at its CPU ceiling" : "");
  EXPECT_EQ(usage.exitCode, expectedExit) << command;
  EXPECT_LE(usage.maxResidentKiB, kMaxResidentKiB) << command;
  testing::Test::RecordProperty(command + "MaxResidentKiB", std::to_string(usage.maxResidentKiB));
}

void RunCase(const HostileCase& hostileCase) {
  const std::string folder = testing_support::ScratchFolder(hostileCase.name);
  const std::string path = folder + "/" + std::string(hostileCase.fileName);
  hostileCase.make(path);
  const int expectedExit = hostileCase.loadError == 0 ? 0 : 1;

  const ChildUsage info = RunLimited(GRAPHEL_BINARY, {"info", path}, kCpuSeconds);
  ExpectBounded(info, "info", expectedExit);
  const auto json = nlohmann::json::parse(info.output, nullptr, false);
  ASSERT_FALSE(json.is_discarded()) << info.output.substr(0, 200);
  EXPECT_EQ(json["error"]["code"], hostileCase.loadError) << json["error"].dump();

  const std::string image = folder + "/out.png";
  const std::vector<std::string> arguments{"render", path, "-o", image, "--size", std::to_string(kRenderSize)};
  const ChildUsage render = RunLimited(GRAPHEL_BINARY, arguments, kCpuSeconds);
  ExpectBounded(render, "render", expectedExit);
  if (expectedExit != 0) return;
  std::vector<uint8_t> rgba;
  uint32_t width = 0;
  uint32_t height = 0;
  std::string error;
  ASSERT_TRUE(testing_support::ReadPng(image, rgba, width, height, error)) << error;
  EXPECT_EQ(width, static_cast<uint32_t>(kRenderSize));
  EXPECT_EQ(height, static_cast<uint32_t>(kRenderSize));
}

TEST_P(HostileFile, InfoAndRenderStayWithinBounds) { RunCase(GetParam()); }

std::string CaseName(const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); }

INSTANTIATE_TEST_SUITE_P(Hostile, HostileFile, testing::ValuesIn(BoundedCases()), CaseName);

}  // namespace
}  // namespace hostile
