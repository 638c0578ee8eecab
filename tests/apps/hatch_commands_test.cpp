#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/png_reader.h"
#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using testing_support::CommandResult;
using testing_support::RunGraphel;

std::string Example(const std::string& name) {
  return "'" + std::string(GRAPHEL_TEST_DATA) + "/../../examples/" + name + "'";
}

TEST(HatchCommands, InfoListsPatternNamesInFileOrder) {
  const std::string folder = testing_support::ScratchFolder("HatchInfo");
  testing_support::WriteFile(folder + "/empty.pat", "; no pattern here\n0,0,0,0,1\n");
  std::filesystem::create_directory(folder + "/folder.pat");
  const struct {
    std::string arguments;
    int exitCode;
    uint32_t code;
    std::vector<std::string> names;
    std::string shown;
  } cases[] = {
      {Example("crosshatch.pat"), 0, 0, {"CROSS45,Diagonal cross-hatch", "GRID,Square grid of fifths"}, ""},
      {"'" + folder + "/empty.pat'", 0, 0, {}, ""},
      {"'" + folder + "/missing.pat'", 1, 1, {}, "Couldn't open file:\n" + folder + "/missing.pat"},
      {"'" + folder + "/folder.pat'", 1, 1, {}, "Couldn't open file:\n" + folder + "/folder.pat"},
  };
  for (const auto& c : cases) {
    const CommandResult result = RunGraphel("info " + c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
    const auto info = nlohmann::json::parse(result.output);
    EXPECT_EQ(info["type"], 3);
    EXPECT_EQ(info["error"]["code"], c.code) << c.arguments;
    EXPECT_EQ(info["patterns"], nlohmann::json(c.names)) << c.arguments;
    EXPECT_EQ(info["shown"], c.shown);
    if (c.exitCode == 0) {
      EXPECT_EQ(info["extent"]["width"], 1024.0);
    }
  }
}

struct Rendered {
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  const uint8_t* At(uint32_t x, uint32_t y) const { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
};

Rendered RunToPng(const std::string& command, const std::string& output) {
  const CommandResult result =
      RunGraphel(command + " -o '" + output + "'", testing_support::Stream::kStandardError);
  EXPECT_EQ(result.exitCode, 0) << command << "\n" << result.output;
  Rendered image;
  std::string error;
  EXPECT_TRUE(testing_support::ReadPng(output, image.rgba, image.width, image.height, error)) << error;
  return image;
}

TEST(HatchCommands, RenderAndTextureDrawTheSelectedPatternWithItsParameters) {
  const std::string folder = testing_support::ScratchFolder("HatchRender");
  const std::string params =
      " --param patternrepeat=2 --param linewidth=2 --param linecolor=1,0,0"
      " --param backcolor=0,0,1 --param linecap=2";
  // render also takes a pattern by the name before the comma of its header; the texture by index.
  const Rendered render =
      RunToPng("render " + Example("crosshatch.pat") + " --size 200 --param patternname=grid" + params,
               folder + "/r.png");
  const Rendered bitmap =
      RunToPng("bitmap " + Example("crosshatch.pat") + " --size 200 --param patternname=1" + params,
               folder + "/b.png");
  // Grid lines every fifth of a unit, two units across: one every 20 pixels, 2 pixels wide, from the
  // tile's edges; the middle of each cell is background.
  for (const Rendered* image : {&render, &bitmap}) {
    ASSERT_EQ(image->width, 200u);
    for (uint32_t i = 0; i < 200; i += 20) {
      for (const uint8_t* line : {image->At(i, 7), image->At(7, 199 - i)}) {
        EXPECT_GT(line[0], 200) << "line at " << i;
        EXPECT_LT(line[2], 60) << "line at " << i;
      }
      const uint8_t* cell = image->At(i + 10, i + 10);
      EXPECT_LT(cell[0], 60) << "cell at " << i;
      EXPECT_GT(cell[2], 200) << "cell at " << i;
    }
  }
}

TEST(HatchCommands, BadParametersAreUsageErrors) {
  const std::string folder = testing_support::ScratchFolder("HatchBadParams");
  for (const char* param : {"linecap=round", "nosuch=1", "patternname=7", "patternname=nosuch",
                            "linecolor=zzz", "patternrepeat"}) {
    const CommandResult result =
        RunGraphel("render " + Example("brick.pat") + " --size 16 -o '" + folder + "/o.png' --param " + param,
                   testing_support::Stream::kStandardError);
    EXPECT_EQ(result.exitCode, 2) << param;
    EXPECT_NE(result.output.find("graphel: "), std::string::npos) << param;
  }
}

}  // namespace
