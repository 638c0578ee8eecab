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

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A render farm splits a range between machines: the parts must equal the whole, byte for byte.
TEST(FramesCommand, ASplitRangeEqualsTheWholeAndEachFrameShowsItsTime) {
  const std::string folder = testing_support::ScratchFolder("FramesCommand");
  const std::string drawing = folder + "/animated.svg";
  testing_support::WriteFile(drawing, kAnimated);
  auto frames = [&](const std::string& range, const std::string& pattern) {
    return RunGraphel("frames '" + drawing + "' --frames " + range + " -o '" + folder + "/" + pattern +
                      "' --size 4 -q").exitCode;
  };
  ASSERT_EQ(frames("8-11", "whole_%03d.png"), 0);
  ASSERT_EQ(frames("8-9", "part_%03d.png"), 0);
  ASSERT_EQ(frames("10-11", "part_%03d.png"), 0);
  for (const char* frame : {"008", "009", "010", "011"}) {
    const std::string whole = ReadBytes(folder + "/whole_" + frame + ".png");
    ASSERT_FALSE(whole.empty()) << frame;
    EXPECT_EQ(whole, ReadBytes(folder + "/part_" + frame + ".png")) << frame;
  }
  EXPECT_NE(ReadBytes(folder + "/whole_009.png"), ReadBytes(folder + "/whole_010.png")) << "red turns blue at 10";

  // Steps, negative frames and a literal percent sign in the name.
  ASSERT_EQ(frames("-2-2:2", "s%d%%.rgba"), 0);
  for (const char* name : {"s-2%.rgba", "s0%.rgba", "s2%.rgba"}) {
    EXPECT_EQ(PixelAt(folder + "/" + name), (std::vector<int>{255, 0, 0, 255})) << name;
  }
  EXPECT_TRUE(ReadBytes(folder + "/s-1%.rgba").empty()) << "the step skips frame -1";
}

TEST(FramesCommand, WrongRangesAndNamesAreUsageErrors) {
  const std::string folder = testing_support::ScratchFolder("FramesUsage");
  const std::string drawing = folder + "/d.svg";
  testing_support::WriteFile(drawing, kAnimated);
  for (const char* options : {"--frames 5-1 -o f%d.png", "--frames 1-2:0 -o f%d.png", "--frames 1.5-2 -o f%d.png",
                              "--frames 1-2 -o f.png", "--frames 1-2 -o f%s%d.png", "--frames 1-2 -o f%d%d.png",
                              "--frames 1-2 -o f%d.png --frame 3", "--frames 1-2 -o f%d.png --size 8 --object plane",
                              "--frames 1-2 -o f%d.png --width 8"}) {
    const CommandResult result = RunGraphel("frames '" + drawing + "' " + options, testing_support::Stream::kStandardError);
    EXPECT_EQ(result.exitCode, 2) << options << "\n" << result.output;
    EXPECT_EQ(result.output.rfind("graphel: ", 0), 0u) << options << "\n" << result.output;
  }
}

}  // namespace
