#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using testing_support::CommandResult;
using testing_support::RunGraphel;

// Red before frame 10, blue from frame 10 on (fractional frames included).
constexpr const char* kAnimated =
    "<svg width='10' height='10'><rect width='10' height='10' "
    "fill=\"zls(currentTime &lt; 10 and 'red' or 'blue')\"/></svg>";

std::vector<int> PixelAt(const std::string& path, size_t index = 0) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.size() < 4 * index + 4) return {};
  const char* p = bytes.data() + 4 * index;
  return {static_cast<unsigned char>(p[0]), static_cast<unsigned char>(p[1]), static_cast<unsigned char>(p[2]),
          static_cast<unsigned char>(p[3])};
}

TEST(FrameOption, RenderAndSampleSeeTheFrame) {
  const std::string folder = testing_support::ScratchFolder("FrameOption");
  const std::string drawing = folder + "/animated.svg";
  testing_support::WriteFile(drawing, kAnimated);
  struct Case {
    const char* frame;
    std::vector<int> pixel;
  };
  const Case cases[] = {{"9", {255, 0, 0, 255}}, {"9.99", {255, 0, 0, 255}}, {"10", {0, 0, 255, 255}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frame);
    const std::string out = folder + "/frame.rgba";
    const CommandResult render =
        RunGraphel("render '" + drawing + "' -o '" + out + "' --size 4 --frame " + c.frame);
    ASSERT_EQ(render.exitCode, 0);
    EXPECT_EQ(PixelAt(out), c.pixel);
    const CommandResult sample = RunGraphel("sample '" + drawing + "' --uv 0.5,0.5 --frame " + c.frame);
    ASSERT_EQ(sample.exitCode, 0) << sample.output;
    const auto colour = nlohmann::json::parse(sample.output)["colour"];
    EXPECT_DOUBLE_EQ(colour[0].get<double>() * 255, c.pixel[0]);
    EXPECT_DOUBLE_EQ(colour[2].get<double>() * 255, c.pixel[2]);
  }
}

TEST(FrameOption, RenderReportsFailingExpressionsAndStillWrites) {
  const std::string folder = testing_support::ScratchFolder("FrameOptionFailures");
  const std::string drawing = folder + "/failing.svg";
  testing_support::WriteFile(drawing,
                             "<svg width='10' height='10'><rect width='10' height='10' fill='zls(5)'/>"
                             "<rect width='zls(os.exit())' height='1'/></svg>");
  const CommandResult render = RunGraphel("render '" + drawing + "' -o '" + folder + "/f.rgba' --size 4",
                                          testing_support::Stream::kStandardError);
  EXPECT_EQ(render.exitCode, 0);
  EXPECT_NE(render.output.find("return value is NOT a string..."), std::string::npos) << render.output;
  EXPECT_NE(render.output.find("attempt to index a nil value (global 'os')"), std::string::npos) << render.output;
  EXPECT_EQ(PixelAt(folder + "/f.rgba"), (std::vector<int>{0, 0, 0, 255}));
}

// The example disc turns from red at frame 0 to green at frame 10.
TEST(FrameOption, TheAnimatedExampleChangesColour) {
  const std::string example = std::string(GRAPHEL_TEST_DATA) + "/../../examples/animated-colour.svg";
  const std::string out = testing_support::ScratchFolder("FrameOptionExample") + "/e.rgba";
  std::vector<std::vector<int>> centres;
  for (const char* frame : {"0", "10"}) {
    ASSERT_EQ(RunGraphel("render '" + example + "' -o '" + out + "' --size 20 --frame " + frame).exitCode, 0);
    centres.push_back(PixelAt(out, 9 * 20 + 10));
    ASSERT_EQ(centres.back().size(), 4u);
  }
  EXPECT_GT(centres[0][0], 2 * centres[0][1]);
  EXPECT_GT(centres[1][1], 2 * centres[1][0]);
}

}  // namespace
