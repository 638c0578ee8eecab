#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "support/run_graphel.h"
#include "support/test_support.h"
#include "texture_fixture.h"

namespace {

using testing_support::CommandResult;
using testing_support::RunGraphel;

nlohmann::json Sample(const std::string& arguments, int expectedExit = 0) {
  const CommandResult result = RunGraphel("sample " + arguments);
  EXPECT_EQ(result.exitCode, expectedExit) << arguments;
  return nlohmann::json::parse(result.output, nullptr, false);
}

// Width and height from a PNG's header, or (0, 0).
std::pair<uint32_t, uint32_t> PngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  unsigned char header[24] = {};
  if (!in.read(reinterpret_cast<char*>(header), sizeof header)) return {0, 0};
  auto big = [&](int at) {
    return (uint32_t{header[at]} << 24) | (uint32_t{header[at + 1]} << 16) | (uint32_t{header[at + 2]} << 8) |
           header[at + 3];
  };
  return {big(16), big(20)};
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

TEST(SampleCommand, ReportsTheColourAndThePyramidLevel) {
  const std::string file = Quoted(graphel::testing::WriteDrawing("CliSample", graphel::testing::kQuarters));
  const nlohmann::json red = Sample(file + " --uv 0.25,0.75 --duv 0.0006666667,0.0006666667");
  EXPECT_EQ(red["level"], 11);
  EXPECT_EQ(red["blendLevel"], 10);
  EXPECT_NEAR(red["blend"].get<double>(), (1500.0 - 1024.0) / 1024.0, 1e-3);
  EXPECT_EQ(red["tile"], 11);
  EXPECT_NEAR(red["colour"][0].get<double>(), 1.0, 1e-3);
  EXPECT_NEAR(red["colour"][1].get<double>(), 0.0, 1e-3);
  EXPECT_EQ(red["messages"], nlohmann::json::array());

  const nlohmann::json mono = Sample(file + " --uv 0.75,0.25 --duv 0.01,0.01 --mono --param alphasource=0");
  EXPECT_NEAR(mono["mono"].get<double>(), 0.5, 0.01);
  EXPECT_EQ(mono["level"], 10);
  const nlohmann::json bump = Sample(file + " --uv 0.5,0.75 --duv 0.001,0.001 --bump");
  ASSERT_EQ(bump["bump"].size(), 3u);
  EXPECT_EQ(Sample(file + " --uv 0.5,0.5")["level"], 12);
}

TEST(SampleCommand, ParametersKeysAndTilingReachTheTexture) {
  const std::string file = Quoted(graphel::testing::WriteDrawing("CliParams", graphel::testing::kQuarters));
  const nlohmann::json placed = Sample(file +
                                       " --uv 0.625,0.375 --duv 0.001,0.001 --param applycrop=on --param croporplace=1"
                                       " --param crop_u=0.5 --param crop_v=0.5 --param crop_w=0.5 --param crop_h=0.5");
  EXPECT_NEAR(placed["at"][0].get<double>(), 0.25, 1e-6);
  EXPECT_NEAR(placed["at"][1].get<double>(), 0.75, 1e-6);
  const nlohmann::json keyed = Sample(file +
                                      " --uv 0.5,0.5 --duv 0.001,0.001 --frame 5 --param applycrop=true --param crop_w=0.5"
                                      " --key crop_u@0=0 --key crop_u@10=0.5");
  EXPECT_NEAR(keyed["at"][0].get<double>(), 0.5 * 0.5 + 0.25, 1e-6);
  const nlohmann::json hidden = Sample(file + " --uv 0.25,0.75 --duv 0.01,0.01 --tiling 0,0 --param alphasource=0");
  EXPECT_EQ(hidden["colour"], nlohmann::json::parse("[0.0,0.0,0.0,0.0]"));
  const nlohmann::json clamped = Sample(file + " --uv 0.25,0.75 --duv 0.01,0.01 --param crop_w=7 --param monooutput=-3");
  EXPECT_NEAR(clamped["colour"][0].get<double>(), 1.0, 1e-3);
}

TEST(SampleCommand, BadInputIsRefusedOrSurvived) {
  const std::string file = Quoted(graphel::testing::WriteDrawing("CliBad", graphel::testing::kHalfRed));
  EXPECT_EQ(RunGraphel("sample " + file + " --uv 0.5").exitCode, 2);
  EXPECT_EQ(RunGraphel("sample " + file + " --uv 0.5,0.5 --param nosuch=1").exitCode, 2);
  EXPECT_EQ(RunGraphel("sample " + file + " --uv 0.5,0.5 --param filter=maybe").exitCode, 2);
  EXPECT_EQ(RunGraphel("sample " + file + " --uv 0.5,0.5 --param crop_u=nan").exitCode, 2);
  EXPECT_EQ(RunGraphel("sample " + file + " --uv 0.5,0.5 --key filter@3=0").exitCode, 2);
  for (const char* uv : {"nan,0.5", "inf,-inf", "1e308,1e308"}) {
    const nlohmann::json answer = Sample(file + " --uv " + uv + " --duv nan,inf");
    ASSERT_TRUE(answer.is_object()) << uv;
    EXPECT_EQ(answer["colour"].size(), 4u) << uv;
  }
  const std::string missing = testing_support::ScratchFolder("CliMissing") + "/gone.svg";
  const nlohmann::json failed = Sample(Quoted(missing) + " --uv 0.5,0.5", 1);
  ASSERT_EQ(failed["messages"].size(), 1u);
  EXPECT_EQ(failed["messages"][0], "Couldn't open file:\n" + missing);
}

TEST(BitmapCommand, WritesTheWholeTexture) {
  const std::string folder = testing_support::ScratchFolder("CliBitmap");
  const std::string file = Quoted(graphel::testing::WriteDrawing("CliBitmapDrawing", graphel::testing::kWide));
  EXPECT_EQ(RunGraphel("bitmap " + file + " -o " + folder + "/square.png --size 32 --as-texture").exitCode, 0);
  EXPECT_EQ(PngSize(folder + "/square.png"), std::make_pair(32u, 32u));
  EXPECT_EQ(RunGraphel("bitmap " + file + " -o " + folder + "/shaped.png --size 32 --mono").exitCode, 0);
  EXPECT_EQ(PngSize(folder + "/shaped.png"), std::make_pair(32u, 16u));
  for (const char* size : {"0", "-4", "99999", "2147483647"}) {
    EXPECT_EQ(RunGraphel("bitmap " + file + " -o " + folder + "/absurd.png --size " + size).exitCode, 2) << size;
  }
  EXPECT_EQ(RunGraphel("bitmap " + file + " -o " + folder + "/absurd.png --size 65536").exitCode, 1);
}

TEST(ShadeCommand, RendersFromManyThreads) {
  const std::string folder = testing_support::ScratchFolder("CliShade");
  const std::string file = Quoted(graphel::testing::WriteDrawing("CliShadeDrawing", graphel::testing::kQuarters));
  for (const char* object : {"plane", "sphere", "cube"}) {
    const std::string output = folder + "/" + object + ".png";
    EXPECT_EQ(RunGraphel("shade " + file + " -o " + output + " --object " + object +
                  " --width 48 --height 32 --threads 3 --tiling 2,2 --bump")
                  .exitCode,
              0)
        << object;
    EXPECT_EQ(PngSize(output), std::make_pair(48u, 32u)) << object;
  }
  EXPECT_EQ(RunGraphel("shade -o " + folder + "/placeholder.png --width 16 --height 16 --grazing").exitCode, 0);
  EXPECT_EQ(RunGraphel("shade " + file + " -o " + folder + "/x.png --object torus").exitCode, 2);
  EXPECT_EQ(RunGraphel("shade " + file + " -o " + folder + "/x.png --width 0").exitCode, 2);
  const std::string missing = Quoted(folder + "/gone.svg");
  EXPECT_EQ(RunGraphel("shade " + missing + " -o " + folder + "/fallback.png --width 16 --height 16").exitCode, 1);
  EXPECT_FALSE(std::filesystem::exists(folder + "/fallback.png"));
  EXPECT_EQ(RunGraphel("shade " + missing + " -o " + folder + "/fallback.png -w 16 -h 16 --placeholder-on-error").exitCode,
            0);
  EXPECT_EQ(PngSize(folder + "/fallback.png"), std::make_pair(16u, 16u));
}

}  // namespace
