#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using testing_support::CommandResult;
using testing_support::RunGraphel;

std::vector<nlohmann::json> Lines(const std::string& output) {
  std::vector<nlohmann::json> lines;
  std::istringstream in(output);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line, nullptr, false));
  return lines;
}

// A scene made, its folder moved, re-pathed through asset tracking and rendered both ways.
TEST(SceneCommand, MakeMoveRepathAndRender) {
  namespace fs = std::filesystem;
  const std::string folder = testing_support::ScratchFolder("SceneCommand");
  fs::create_directories(folder + "/art");
  testing_support::WriteFile(folder + "/art/red.svg",
                             "<svg width='10' height='10'><rect width='10' height='10' fill='red'/></svg>");
  const std::string scene = "'" + folder + "/s.json'";
  ASSERT_EQ(RunGraphel("scene new " + scene + " '" + folder + "/art/red.svg'").exitCode, 0);
  fs::rename(folder + "/art", folder + "/moved");

  const CommandResult missing = RunGraphel("scene assets " + scene);
  ASSERT_EQ(missing.exitCode, 0);
  const auto before = Lines(missing.output);
  ASSERT_EQ(before.size(), 1u) << missing.output;
  EXPECT_EQ(before[0]["found"], false);
  EXPECT_EQ(before[0]["button"], "None");

  const CommandResult moved =
      RunGraphel("scene repath " + scene + " '" + folder + "/art/' '" + folder + "/moved/'");
  EXPECT_EQ(moved.exitCode, 0) << moved.output;
  const auto after = Lines(RunGraphel("scene assets " + scene).output);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0]["found"], true);
  EXPECT_EQ(after[0]["path"], folder + "/moved/red.svg");

  for (const char* renderer : {"callback", "bitmap"}) {
    const std::string out = folder + "/" + renderer + ".rgba";
    const CommandResult render =
        RunGraphel("scene render " + scene + " --renderer " + renderer + " --size 4 -o '" + out + "'");
    ASSERT_EQ(render.exitCode, 0) << renderer << render.output;
    const std::string bytes = testing_support::ReadFile(out);
    ASSERT_EQ(bytes.size(), 64u) << renderer;
    // An inner pixel: at the image's edge the sample's footprint reaches past the drawing.
    const size_t inner = (4 + 1) * 4;
    EXPECT_GE(static_cast<unsigned char>(bytes[inner]), 250u) << renderer;
    EXPECT_EQ(static_cast<unsigned char>(bytes[inner + 1]), 0u) << renderer;
    EXPECT_EQ(static_cast<unsigned char>(bytes[inner + 3]), 255u) << renderer;
  }
  EXPECT_EQ(RunGraphel("scene render " + scene + " --texture nosuch -o '" + folder + "/x.png'").exitCode, 1);
  testing_support::WriteFile(folder + "/bad.json", "{\"format\":\"graphel-scene\",\"textures\":[{\"na");
  const CommandResult bad = RunGraphel("scene reload '" + folder + "/bad.json'", testing_support::Stream::kStandardError);
  EXPECT_EQ(bad.exitCode, 0) << "an empty, damaged scene still opens";
  EXPECT_NE(bad.output.find("cut short"), std::string::npos) << bad.output;
}

}  // namespace
