#include "formats/pat/hatch_converter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "document/vector_document.h"
#include "render/traversal.h"
#include "support/test_support.h"

namespace {

using namespace formats::pat;
using testing_support::W;

constexpr int kSize = 256;  // rendered pixels across the 1024-unit tile

struct Converted {
  ConversionCount count;
  std::unique_ptr<uint8_t[]> pixels;  // kSize x kSize on white
};

Converted Convert(const std::string& text, document::PatternSettings settings = {}) {
  std::vector<HatchPattern> patterns;
  ReadPatterns(text, patterns);
  EXPECT_EQ(patterns.size(), 1u) << text;
  svg::SVGDocument drawing(1.0, nullptr);
  Converted result;
  if (patterns.empty()) return result;
  result.count = ConvertPattern(drawing, patterns[0], settings, 1024.0, 5.0);
  result.pixels = render::RenderDocument(drawing, agg::trans_affine_scaling(kSize / 1024.0),
                                         agg::rgba8(255, 255, 255, 255), kSize, kSize);
  return result;
}

// Inked pixels along the row through the middle of the tile.
int InkOnMiddleRow(const Converted& converted) {
  int ink = 0;
  for (int x = 0; x < kSize; ++x)
    ink += converted.pixels[(static_cast<size_t>(kSize / 2) * kSize + x) * 4] < 128;
  return ink;
}

TEST(HatchConverter, HostileFamiliesEndWithinTheirBounds) {
  std::string manyFamilies = "*MANY\n";
  for (int i = 0; i < 5000; ++i) manyFamilies += std::to_string(i * 0.0719) + ",0,0,0,.001\n";
  const struct {
    std::string text;
    size_t lines;  // exactly, or at most when truncated
    bool truncated;
    int middleInk;  // inked pixels on the middle row: exactly 0, or at least this many
  } cases[] = {
      {"*NAN\nnan,0,.5,0,.1\n", 0, false, 0},
      {"*INF\n0,0,.5,0,inf\n0,0,.5,0,1,1,nan\n", 0, false, 0},
      {"*FINE\n0,0,.5,0,1e-9\n", 1, false, kSize},
      {"*ZERO\n0,0,.5,0,0\n", 1, false, kSize},
      {"*UNDERFLOW\n0,0,.5,0,1e-300\n", 1, false, kSize},
      {"*ZERODASHES\n0,0,.5,0,.25,0,0,0\n", 5, false, kSize},
      {"*TINYDASH\n0,0,.5,0,1,1e-9,-1e-9\n", 1, false, kSize},
      {"*GAPS\n0,0,.5,0,1,-.5\n0,0,.5,0,1,-1e-9\n", 2, false, 0},
      {"*FAR\n0,1e6,-1e6,0,.5,.125,-.125\n", 3, false, kSize / 3},
      {"*FARTHER\n0,1e12,-1e12,0,.5,.125,-.125\n", 3, false, kSize},
      {"*PASSING\n0,0,1e300,0,0\n", 0, false, 0},
      {manyFamilies, kMaxHatchLines, true, kSize},
      {"*DENSEDASHES\n0,0,.5,0,.0005,.0003,-.0003\n", kMaxHatchLines, true, kSize / 4},
  };
  for (const auto& c : cases) {
    const Converted converted = Convert(c.text);
    const std::string label = c.text.substr(0, c.text.find('\n'));
    ASSERT_NE(converted.pixels, nullptr) << label;
    EXPECT_EQ(converted.count.truncated, c.truncated) << label;
    if (c.truncated) {
      EXPECT_LE(converted.count.lines, c.lines) << label;
      EXPECT_LE(converted.count.dashes, kMaxHatchDashes) << label;
    } else {
      EXPECT_EQ(converted.count.lines, c.lines) << label;
    }
    const int ink = InkOnMiddleRow(converted);
    if (c.middleInk == 0) {
      EXPECT_EQ(ink, 0) << label;
    } else {
      EXPECT_GE(ink, c.middleInk) << label;
    }
  }
}

TEST(HatchConverter, LineSettingsReachTheStroke) {
  const struct {
    int32_t cap;
    float lineWidth;
    int firstInk, lastInk;  // columns inked on the middle row by a dot at the tile's centre
  } cases[] = {
      // A dot's stroke is 5.12 x line width units wide: round and square caps reach half of that
      // beyond the dot, the butt cap stretches the dot to one line width.
      {0, 8.0f, 123, 132},
      {1, 8.0f, 123, 132},
      {2, 8.0f, 127, 128},
      {2, 80.0f, 118, 137},
  };
  for (const auto& c : cases) {
    document::PatternSettings settings;
    settings.lineCap = c.cap;
    settings.lineWidth = c.lineWidth;
    settings.lineColour = {1.0, 0.5, 0.0, 1.0};
    // One dot per line at the centre, lines 2 units apart: only the middle line crosses the tile.
    const Converted converted = Convert("*DOT\n0,1,1,0,2,0,-4\n", settings);
    int first = -1, last = -1;
    for (int x = 0; x < kSize; ++x) {
      const uint8_t* pixel = &converted.pixels[(static_cast<size_t>(kSize / 2) * kSize + x) * 4];
      if (pixel[2] > 128) continue;
      if (first < 0) first = x;
      last = x;
      if (x == kSize / 2) {
        EXPECT_EQ(pixel[0], 255) << "cap " << c.cap;
        EXPECT_EQ(pixel[1], 127) << "the colour's channels are truncated";
      }
    }
    EXPECT_NEAR(first, c.firstInk, 1) << "cap " << c.cap << " width " << c.lineWidth;
    EXPECT_NEAR(last, c.lastInk, 1) << "cap " << c.cap << " width " << c.lineWidth;
  }
}

TEST(HatchConverter, SettingsOutsideTheParameterRangesAreHeldWithinThem) {
  const std::string brick = "*B\n0,0,0,0,1\n90,0,0,.5,1,.5,-.5\n";
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const struct {
    float repeat, lineWidth;  // as given
    float heldRepeat, heldLineWidth;
  } cases[] = {
      {nan, nan, 1.0f, 1.0f},
      {-3.0f, 1e9f, 0.01f, 256.0f},
      {1e30f, -5.0f, 256.0f, 0.0f},
  };
  for (const auto& c : cases) {
    document::PatternSettings given, held;
    given.repeat = c.repeat;
    given.lineWidth = c.lineWidth;
    held.repeat = c.heldRepeat;
    held.lineWidth = c.heldLineWidth;
    const Converted a = Convert(brick, given), b = Convert(brick, held);
    EXPECT_EQ(a.count.lines, b.count.lines) << c.repeat << " " << c.lineWidth;
    EXPECT_EQ(a.count.dashes, b.count.dashes) << c.repeat << " " << c.lineWidth;
    EXPECT_EQ(std::memcmp(a.pixels.get(), b.pixels.get(), size_t{kSize} * kSize * 4), 0);
  }
}

std::string Example(const std::string& name) {
  return std::string(GRAPHEL_TEST_DATA) + "/../../examples/" + name;
}

TEST(HatchConverter, TilesRepeatSeamlesslyAcrossThePatternPeriod) {
  const struct {
    const char* file;
    int32_t index;
    float repeat, lineWidth;
  } cases[] = {
      {"brick.pat", 0, 1.0f, 1.0f},
      {"brick.pat", 0, 2.0f, 3.0f},
      {"crosshatch.pat", 0, 1.0f, 1.0f},
      {"crosshatch.pat", 1, 3.0f, 2.0f},
  };
  constexpr int kTile = 1024, kBorder = 5, kEdge = kTile + 2 * kBorder;
  for (const auto& c : cases) {
    svg::LoadError error;
    auto loaded = document::VectorDocument::Create(error, false, W(Example(c.file)), nullptr, 1.0);
    document::PatternSettings settings;
    settings.patternIndex = c.index;
    settings.repeat = c.repeat;
    settings.lineWidth = c.lineWidth;
    ASSERT_TRUE(loaded->SelectPattern(settings, kBorder)) << c.file;
    const auto pixels =
        loaded->RenderTile(document::PackedColour(settings.backgroundColour), kTile, kTile, 0, 0, kBorder);
    ASSERT_NE(pixels, nullptr);
    // The border shows the neighbouring repeat: its pixels equal those one tile further in. The window
    // reaches the margin plus the line width, so the round end of a slanted line may shave the
    // outermost border pixel a little.
    int worst = 0, worstOutermost = 0, inked = 0;
    const auto at = [&](int x, int y) { return pixels[(static_cast<size_t>(y) * kEdge + x) * 4]; };
    for (int along = 0; along < kEdge; ++along) {
      for (int b = 0; b < 2 * kBorder; ++b) {
        const int edge = b < kBorder ? b : kTile + b;  // border pixels on either side
        const int inner = b < kBorder ? b + kTile : b;
        const int difference = std::max(std::abs(at(edge, along) - at(inner, along)),
                                        std::abs(at(along, edge) - at(along, inner)));
        int& kept = b == 0 || b == 2 * kBorder - 1 ? worstOutermost : worst;
        kept = std::max(kept, difference);
        inked += at(edge, along) < 128;
      }
    }
    EXPECT_LE(worst, 3) << c.file << " " << c.index << " repeat " << c.repeat;
    EXPECT_LE(worstOutermost, 40) << c.file << " " << c.index << " repeat " << c.repeat;
    EXPECT_GT(inked, kEdge / 4) << c.file << ": lines must reach into the border";
  }
}

TEST(HatchConverter, SelectionByIndexKeepsTheDrawingOnBadIndices) {
  const std::string folder = testing_support::ScratchFolder("HatchSelect");
  testing_support::WriteFile(folder + "/two.pat", "*H\n0,0,5,0,10\n*V\n90,5,0,0,10\n");
  testing_support::WriteFile(folder + "/none.pat", "; nothing but a comment\n");
  svg::LoadError error;
  auto two = document::VectorDocument::Create(error, false, W(folder + "/two.pat"), nullptr, 1.0);
  ASSERT_TRUE(two->Loaded());
  EXPECT_EQ(two->Extent().width, 1024.0);
  const auto middle = [&](int x, int y) {
    const auto pixels = two->RenderTile(0, 64, 64, 0, 0, 0);
    return pixels[(static_cast<size_t>(y) * 64 + x) * 4 + 3];
  };
  document::PatternSettings settings;
  settings.patternIndex = 1;
  settings.lineWidth = 8.0f;
  ASSERT_TRUE(two->SelectPattern(settings, 5));
  EXPECT_GT(middle(32, 10), 128) << "the vertical line of pattern 1";
  EXPECT_EQ(middle(10, 32), 0);
  for (int32_t index : {-1, 2, 1000}) {
    settings.patternIndex = index;
    EXPECT_FALSE(two->SelectPattern(settings, 5)) << index;
    EXPECT_GT(middle(32, 10), 128) << "still pattern 1 after index " << index;
  }

  auto none = document::VectorDocument::Create(error, false, W(folder + "/none.pat"), nullptr, 1.0);
  ASSERT_TRUE(none->Loaded());
  std::vector<std::u16string> names;
  none->PatternNames(names);
  EXPECT_TRUE(names.empty());
  settings.patternIndex = 0;
  EXPECT_FALSE(none->SelectPattern(settings, 5));
  EXPECT_EQ(none->Extent().height, 1024.0);
}

}  // namespace
