#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"
#include "support/png_reader.h"
#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using testing_support::CommandResult;
using testing_support::RunGraphel;
using testing_support::Stream;

// A red square in the left half of a 200 x 100 drawing; the right half stays uncovered.
constexpr const char* kWideDrawing =
    "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100'><rect width='100' height='100' fill='red'/></svg>";

std::string Q(const std::string& text) { return "'" + text + "'"; }

CommandResult Errors(const std::string& arguments) { return RunGraphel(arguments, Stream::kStandardError); }

struct Picture {
  std::vector<uint8_t> rgba;
  uint32_t width = 0, height = 0;
  const uint8_t* At(uint32_t x, uint32_t y) const { return rgba.data() + (static_cast<size_t>(y) * width + x) * 4; }
};

Picture Decode(const std::string& path) {
  platform::DecodedPicture decoded;
  std::string error;
  Picture picture;
  if (!platform::DecodePictureFile(path, decoded, error)) {
    ADD_FAILURE() << path << ": " << error;
    return picture;
  }
  picture.width = decoded.width;
  picture.height = decoded.height;
  picture.rgba.assign(decoded.pixels.get(), decoded.pixels.get() + size_t{decoded.width} * decoded.height * 4);
  return picture;
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class CliContract : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testing_support::ScratchFolder("CliContract");
    drawing_ = folder_ + "/wide.svg";
    testing_support::WriteFile(drawing_, kWideDrawing);
    testing_support::WriteFile(folder_ + "/notes.txt", "shopping list");
    testing_support::WriteFile(folder_ + "/bad.svg", "<svg>\n<rect>\n</svg>");
    std::filesystem::create_directory(folder_ + "/folder.svg");
  }
  std::string folder_;
  std::string drawing_;
};

// Every failure exits with its code and one line on stderr that names what failed, and leaves no
// picture (nor a temporary file) behind.
TEST_F(CliContract, FailuresExitWithOneLineNamingTheFileAndLeaveNoPicture) {
  const std::string out = Q(folder_ + "/out.png");
  const std::string wide = Q(drawing_);
  struct Case {
    std::string arguments;
    int exitCode;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"render " + Q(folder_ + "/nosuch.svgg") + " -o " + out, 1, folder_ + "/nosuch.svgg: No such file or directory"},
      {"render " + Q(folder_ + "/folder.svg") + " -o " + out + " --size 8", 1, "folder.svg: Is a directory"},
      {"render " + Q(folder_ + "/bad.svg") + " -o " + out, 1, "bad.svg: XML error at line 3, column 3: mismatched tag"},
      {"shade " + Q(folder_ + "/notes.txt") + " -o " + out, 1, "notes.txt: not a drawing"},
      {"bitmap " + Q(folder_ + "/folder.svg") + " -o " + out + " --size 8", 1, "folder.svg: Is a directory"},
      {"sample " + Q(folder_ + "/folder.svg") + " --uv 0.5,0.5", 1, "folder.svg: Is a directory"},
      {"info " + Q(folder_ + "/nosuch.svg"), 1, "nosuch.svg: No such file or directory"},
      {"render " + wide + " -o " + Q(folder_ + "/folder.svg"), 1, "folder.svg: Is a directory"},
      {"render " + wide + " -o " + Q(folder_ + "/none/x.png"), 1, "none/x.png: No such file or directory"},
      {"render " + wide + " -o /dev/full --format png", 1, "/dev/full: No space left on device"},
      {"render " + wide + " -o " + Q(folder_ + "/out.gif"), 2, "out.gif: unknown image format"},
      {"render " + wide + " -o " + Q(folder_ + "/out.jpg") + " --depth 16", 2, "--depth 16 needs PNG"},
      {"render " + wide + " -o " + out + " --size 0", 2, "--size"},
      {"render " + wide + " -o " + out + " --size 2147483648", 2, "--size"},
      {"render " + wide + " -o " + out + " --size 8 --size 9", 2, "--size"},
      {"render " + wide + " -o " + out + " --size 8 -w 4", 2, "excludes"},
      {"render " + wide + " -o " + out + " --nope", 2, "--nope"},
      {"render " + wide + " -o " + out + " --background nonsense", 2, "\"nonsense\" is not a colour"},
      {"render " + wide + " -o " + out + " -w 100000 -h 100000", 2, "more than one image may hold"},
      {"shade " + wide + " -o " + out + " --frame nan", 2, "is not a frame"},
      {"shade " + wide + " -o " + out + " --threads -4", 2, "not in range 0 to 256"},
      {"shade " + wide + " -o " + out + " --object torus", 2, "plane"},
      {"shade " + wide + " -o " + out + " --tiling 2", 2, "\"2\" is not U,V"},
      {"shade " + wide + " -o " + out + " --param nosuch=1", 2, "no parameter \"nosuch\"; it has "},
      {"shade " + wide + " -o " + out + " --param linecolor=nocolour", 2, "\"nocolour\" is not a value for linecolor"},
      {"bitmap " + wide + " -o " + out + " --size 99999", 2, "--size"},
  };
  for (const Case& c : cases) {
    const CommandResult result = Errors(c.arguments);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments << "\n" << result.output;
    EXPECT_NE(result.output.find(c.message), std::string::npos) << c.arguments << "\n" << result.output;
    EXPECT_EQ(result.output.rfind("graphel: ", 0), 0u) << result.output;
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1) << result.output;
    EXPECT_EQ(FolderNames(folder_), (std::vector<std::string>{"bad.svg", "folder.svg", "notes.txt", "wide.svg"}))
        << c.arguments;
  }
  // The parameter list names the texture's own parameters.
  EXPECT_NE(Errors("shade " + wide + " -o " + out + " --param nosuch=1").output.find("patternrepeat"),
            std::string::npos);
}

// A write that fails half-way (here: the file-size limit) removes its temporary file.
TEST_F(CliContract, AFailedWriteLeavesNeitherPictureNorTemporaryFile) {
  // The shell ignores the signal so that the write fails with EFBIG instead of ending the process.
  const CommandResult result = Errors("--version >/dev/null; trap '' XFSZ; ulimit -f 1; " + std::string(GRAPHEL_BINARY) +
                                      " render " + Q(drawing_) + " -o " + Q(folder_ + "/big.png") + " --size 3000");
  EXPECT_EQ(result.exitCode, 1) << result.output;
  EXPECT_NE(result.output.find("big.png: File too large"), std::string::npos) << result.output;
  std::filesystem::remove(folder_ + "/big.png");
  EXPECT_EQ(FolderNames(folder_), (std::vector<std::string>{"bad.svg", "folder.svg", "notes.txt", "wide.svg"}));
}

TEST_F(CliContract, PlaceholderOnlyWhenAskedForOrNamedEmpty) {
  const std::string out = folder_ + "/p.png";
  struct Case {
    std::string arguments;
    int exitCode;
  };
  for (const Case& c : std::vector<Case>{
           {"render " + Q(folder_ + "/nosuch.svg") + " --placeholder-on-error --size 12 -o " + Q(out), 0},
           {"shade " + Q(folder_ + "/bad.svg") + " --placeholder-on-error -w 12 -h 12 -o " + Q(out), 0},
           {"render '' --size 12 -o " + Q(out), 0},
       }) {
    std::filesystem::remove(out);
    EXPECT_EQ(Errors(c.arguments).exitCode, c.exitCode) << c.arguments;
    EXPECT_EQ(Decode(out).width, 12u) << c.arguments;
  }
}

TEST_F(CliContract, SizeOptionsFollowTheDrawingsAspect) {
  struct Case {
    std::string options;
    uint32_t width, height;
  };
  for (const Case& c : std::vector<Case>{{"", 200, 100},
                                         {"-w 64", 64, 32},
                                         {"--height 25", 50, 25},
                                         {"-w 40 -h 40", 40, 40},
                                         {"-w 40 -h 40 --keep-aspect", 40, 20},
                                         {"--size 30", 30, 30},
                                         {"--size 64 --tile 16 --border 2", 20, 20}}) {
    const std::string out = folder_ + "/sized.png";
    ASSERT_EQ(RunGraphel("render " + Q(drawing_) + " -o " + Q(out) + " " + c.options).exitCode, 0) << c.options;
    const Picture picture = Decode(out);
    EXPECT_EQ(picture.width, c.width) << c.options;
    EXPECT_EQ(picture.height, c.height) << c.options;
  }
}

// Colours go through the SVG colour parser, with the older hexadecimal and 0..1 forms beside it.
TEST_F(CliContract, BackgroundColoursInEveryAcceptedForm) {
  struct Case {
    std::string colour;
    uint8_t r, g, b, a;
  };
  for (const Case& c : std::vector<Case>{{"navy", 0, 0, 128, 255},
                                         {"'#0f0'", 0, 255, 0, 255},
                                         {"'rgb(10,20,30)'", 10, 20, 30, 255},
                                         {"ff000080", 255, 0, 0, 128},
                                         {"'#00FF00FF'", 0, 255, 0, 255},
                                         {"0,0.5,1", 0, 128, 255, 255},
                                         {"none", 0, 0, 0, 0}}) {
    const std::string out = folder_ + "/colour.png";
    ASSERT_EQ(RunGraphel("render " + Q(drawing_) + " -o " + Q(out) + " -w 20 --background " + c.colour).exitCode, 0)
        << c.colour;
    const Picture picture = Decode(out);
    const uint8_t* pixel = picture.At(15, 5);
    EXPECT_EQ(std::vector<int>(pixel, pixel + 4), (std::vector<int>{c.r, c.g, c.b, c.a})) << c.colour;
  }
}

TEST_F(CliContract, FormatsStandardInputAndOutput) {
  // SVG text in, PNG bytes out.
  const CommandResult piped = RunGraphel("render - -o - --size 10 < " + Q(drawing_));
  ASSERT_EQ(piped.exitCode, 0);
  testing_support::WriteFile(folder_ + "/piped.png", piped.output);
  const Picture fromPipe = Decode(folder_ + "/piped.png");
  ASSERT_EQ(fromPipe.width, 10u);
  EXPECT_EQ(std::vector<int>(fromPipe.At(2, 5), fromPipe.At(2, 5) + 4), (std::vector<int>{255, 0, 0, 255}));
  // The texture commands take standard input as SVG text too.
  const CommandResult sampled = RunGraphel("sample - --uv 0.1,0.5 < " + Q(drawing_));
  ASSERT_EQ(sampled.exitCode, 0) << sampled.output;
  EXPECT_NE(sampled.output.find("\"colour\":[1.0,0.0,0.0,1.0]"), std::string::npos) << sampled.output;

  // JPEG has no alpha: the uncovered half shows white.
  ASSERT_EQ(RunGraphel("render " + Q(drawing_) + " -o " + Q(folder_ + "/x.JPG") + " -w 40").exitCode, 0);
  const Picture jpeg = Decode(folder_ + "/x.JPG");
  ASSERT_EQ(jpeg.width, 40u);
  EXPECT_GT(jpeg.At(5, 10)[0], 240);
  EXPECT_LT(jpeg.At(5, 10)[1], 16);
  EXPECT_GT(jpeg.At(35, 10)[1], 240);

  // 16 bits per channel, said in the header's bit-depth byte.
  ASSERT_EQ(RunGraphel("render " + Q(drawing_) + " -o " + Q(folder_ + "/deep.png") + " -w 8 --depth 16").exitCode, 0);
  std::ifstream deep(folder_ + "/deep.png", std::ios::binary);
  std::string header(25, '\0');
  deep.read(header.data(), 25);
  EXPECT_EQ(header[24], 16);
  EXPECT_EQ(Decode(folder_ + "/deep.png").At(1, 1)[0], 255);

  // Raw premultiplied bytes.
  ASSERT_EQ(RunGraphel("render " + Q(drawing_) + " -o " + Q(folder_ + "/raw.rgba") + " -w 4").exitCode, 0);
  EXPECT_EQ(std::filesystem::file_size(folder_ + "/raw.rgba"), 4u * 2u * 4u);
}

// The square render goes band by band through the tile renderer; it must equal one whole render.
TEST_F(CliContract, BandedSquareRenderEqualsTheWholeRender) {
  const std::string square = folder_ + "/square.svg";
  testing_support::WriteFile(square,
                             "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'>"
                             "<circle cx='5' cy='5' r='4.3' fill='none' stroke='blue' stroke-width='0.7'/></svg>");
  ASSERT_EQ(RunGraphel("render " + Q(square) + " --size 2600 -o " + Q(folder_ + "/banded.png")).exitCode, 0);
  ASSERT_EQ(RunGraphel("render " + Q(square) + " -w 2600 -h 2600 -o " + Q(folder_ + "/whole.png")).exitCode, 0);
  const Picture banded = Decode(folder_ + "/banded.png");
  const Picture whole = Decode(folder_ + "/whole.png");
  ASSERT_EQ(banded.rgba.size(), whole.rgba.size());
  int worst = 0;
  for (size_t i = 0; i < banded.rgba.size(); ++i) worst = std::max(worst, std::abs(banded.rgba[i] - whole.rgba[i]));
  EXPECT_LE(worst, 2);
  EXPECT_EQ(banded.At(1300, 1300 - 1118)[3], 255);  // the stroke crosses the first band's edge
}

TEST_F(CliContract, ProgressOnlyOnATerminalAndNeverWithQuiet) {
  const std::string shade = std::string(GRAPHEL_BINARY) + " shade " + Q(drawing_) + " -w 64 -h 64 -o " +
                            Q(folder_ + "/s.png");
  struct Case {
    std::string command;
    bool expectBar;
  };
  for (const Case& c : std::vector<Case>{{shade, false},
                                         {"script -qec \"" + shade + "\" /dev/null", true},
                                         {"script -qec \"" + shade + " --quiet\" /dev/null", false}}) {
    // run through sh so that script's terminal is the one graphel sees
    const CommandResult result = Errors("--version >/dev/null; " + c.command + " 2>&1; (exit 0)");
    EXPECT_EQ(result.output.find("100%") != std::string::npos, c.expectBar) << c.command << "\n" << result.output;
    EXPECT_EQ(result.output.find('\r') != std::string::npos, c.expectBar) << c.command;
  }
}

TEST(CliOptions, VersionAndHelp) {
  const CommandResult version = RunGraphel("--version");
  EXPECT_EQ(version.exitCode, 0);
  for (const char* name : {"graphel 0.", "AGG", "expat", "FreeType", "HarfBuzz", "libpng", "PDF", "texture module"}) {
    EXPECT_NE(version.output.find(name), std::string::npos) << name << "\n" << version.output;
  }
  const CommandResult help = RunGraphel("render --help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("-h,--height"), std::string::npos) << help.output;
  EXPECT_NE(help.output.find("--keep-aspect"), std::string::npos);
  EXPECT_EQ(RunGraphel("render -h").exitCode, 2);
}

}  // namespace
