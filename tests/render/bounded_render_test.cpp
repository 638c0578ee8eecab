#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>

#include "document/standalone_callback.h"
#include "document/vector_document.h"
#include "render/traversal.h"
#include "support/test_support.h"

namespace {

using document::VectorDocument;
using testing_support::W;

std::unique_ptr<VectorDocument> Load(const std::string& text, svg::SvgScriptCallback* callback = nullptr) {
  svg::LoadError error;
  auto loaded = VectorDocument::Create(error, true, W(text), callback, 1.0);
  EXPECT_TRUE(loaded->Loaded()) << "load error " << error.code;
  return loaded;
}

std::string Svg(const std::string& body) {
  return "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>" + body + "</svg>";
}

// 128 bands of columns, 8 pixels apart in a 1024-pixel frame, each holding 24 thin crossing
// slanted lines that run past the top and bottom: about nine million rasteriser cells in all,
// twice what AGG keeps for one path. The bands share no pixel, so one path holding every line
// must give exactly what one path per band gives.
std::string DenseLines(bool onePath, bool stroke, const std::string& frame) {
  constexpr int kBands = 128, kLinesPerBand = 24;
  const std::string style = stroke ? "fill='none' stroke='black' stroke-width='0.3'" : "fill='black'";
  std::string body = "<g transform='" + frame + "'>";
  std::string d;
  for (int band = 0; band < kBands; ++band) {
    for (int i = 0; i < kLinesPerBand; ++i) {
      const double top = 8.0 * band + 1.2 + 0.2 * i,
                   bottom = 8.0 * band + 1.2 + 0.2 * (kLinesPerBand - 1 - i);
      const std::string t = std::to_string(top), b = std::to_string(bottom);
      if (stroke) {
        d += "M" + t + " -50L" + b + " 1074";
      } else {
        d += "M" + t + " -50L" + std::to_string(top + 0.3) + " -50L" + std::to_string(bottom + 0.3) +
             " 1074L" + b + " 1074Z";
      }
    }
    if (!onePath) body += "<path d='" + d + "' " + style + "/>", d.clear();
  }
  if (onePath) body += "<path d='" + d + "' " + style + "/>";
  return Svg(body + "</g>");
}

struct DenseWindow {
  const char* name;
  int32_t fullSize, row, column;
  const char* frame;  // maps the 1024-pixel frame onto this window of the drawing
};

TEST(DensePaths, OnePathEqualsTheSameLinesSplitIntoManyPaths) {
  constexpr int32_t kSide = 1024;
  constexpr DenseWindow kWindows[] = {
      {"whole image at 1024", 1024, 0, 0, "scale(0.09765625)"},
      {"tile of an 8192 image", 8192, 4, 4, "translate(50 50) scale(0.01220703125)"},
  };
  for (const DenseWindow& window : kWindows) {
    for (const bool stroke : {false, true}) {
      SCOPED_TRACE(testing::Message() << window.name << (stroke ? ", stroked" : ", filled"));
      const auto one = Load(DenseLines(true, stroke, window.frame))
                           ->RenderTile(0, window.fullSize, kSide, window.row, window.column, 0);
      const auto split = Load(DenseLines(false, stroke, window.frame))
                             ->RenderTile(0, window.fullSize, kSide, window.row, window.column, 0);
      ASSERT_NE(one, nullptr);
      ASSERT_NE(split, nullptr);
      int largest = 0;
      int64_t oneAlpha = 0, splitAlpha = 0;
      for (size_t i = 3; i < size_t{kSide} * kSide * 4; i += 4) {
        largest = std::max(largest, std::abs(int{one[i]} - int{split[i]}));
        oneAlpha += one[i];
        splitAlpha += split[i];
      }
      // A band clips each line where it enters, and AGG steps along the line from there: edges move
      // by up to 1/256 pixel, which up to 24 overlapping lines add to at most 3 levels (measured).
      EXPECT_LE(largest, 3);
      EXPECT_NEAR(static_cast<double>(oneAlpha), static_cast<double>(splitAlpha), 1e-3 * splitAlpha);
      EXPECT_GT(splitAlpha, int64_t{255} * kSide * kSide / 4) << "the lines cover a third of the window";
    }
  }
}

// A 100 x 100 drawing rendered whole at size x size through a budget the test reads afterwards.
struct CountedRender {
  CountedRender(const std::string& text, int size,
                size_t maxLayerBytes = render::RenderBudget::kMinLayerBytes,
                uint64_t maxExpansions = render::RenderBudget::kMaxExpansions)
      : size(size), document(Load(text, &callback)) {
    budget.maxLayerBytes = maxLayerBytes;
    budget.maxExpansions = maxExpansions;
    pixels = render::RenderDocument(*document->Svg(), agg::trans_affine_scaling(size / 100.0),
                                    agg::rgba8(0, 0, 0, 0), static_cast<uint32_t>(size),
                                    static_cast<uint32_t>(size), &budget);
  }
  // Premultiplied R, G, B, A at (x, y) in drawing units.
  std::array<int, 4> At(double x, double y) const {
    const uint8_t* p =
        pixels.get() + (static_cast<size_t>(y * size / 100) * size + static_cast<size_t>(x * size / 100)) * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  bool Reported(uint32_t code) const {
    return std::any_of(callback.Reports().begin(), callback.Reports().end(),
                       [code](const auto& report) { return report.code == code; });
  }

  int size;
  document::StandaloneCallback callback;
  std::unique_ptr<VectorDocument> document;
  render::RenderBudget budget;
  std::unique_ptr<uint8_t[]> pixels;
};

std::string Nested(int levels, const std::string& open, const std::string& close, const std::string& inner) {
  std::string text;
  for (int i = 0; i < levels; ++i) text += open;
  text += inner;
  for (int i = 0; i < levels; ++i) text += close;
  return text;
}

// Pattern k fills two shapes with pattern k + 1: rendering every level would take 2^20 expansions.
std::string NestedPatterns(int levels) {
  std::string defs = "<defs>";
  for (int k = 0; k < levels; ++k) {
    const std::string next = k + 1 < levels ? "url(#p" + std::to_string(k + 1) + ")" : "#00ff00";
    defs +=
        "<pattern id='p" + std::to_string(k) +
        "' width='1' height='1' patternContentUnits='objectBoundingBox'><rect width='0.5' height='1' fill='" +
        next + "'/><rect x='0.5' width='0.5' height='1' fill='" + next + "'/></pattern>";
  }
  return defs + "</defs>";
}

TEST(RenderBudget, PatternsSpendFromTheExpansionBudget) {
  // The real budget behaves the same, only a hundred times slower to spend.
  constexpr uint64_t kSmallBudget = 1000;
  struct Case {
    const char* name;
    std::string body;
    uint64_t expansions;
    double x, y;  // a point the expansions that were made cover
  };
  const Case cases[] = {
      // One tile of 50 x 50 user units per quarter: four renderings of the content.
      {"four tiles",
       "<defs><pattern id='p' width='50' height='50' patternUnits='userSpaceOnUse'><rect x='5' y='5' "
       "width='40' "
       "height='40' fill='#00ff00'/></pattern></defs><rect width='100' height='100' fill='url(#p)'/>",
       4, 75, 75},
      // Depth first, the budget runs out with the leftmost column drawn.
      {"nested twenty deep", NestedPatterns(20) + "<rect width='100' height='100' fill='url(#p0)'/>",
       kSmallBudget, 0.5, 50},
  };
  for (const Case& c : cases) {
    CountedRender counted(Svg(c.body), 64, render::RenderBudget::kMinLayerBytes, kSmallBudget);
    ASSERT_NE(counted.pixels, nullptr) << c.name;
    EXPECT_EQ(counted.budget.expansions, c.expansions) << c.name;
    EXPECT_GT(counted.At(c.x, c.y)[1], 0) << c.name;
  }
}

TEST(RenderBudget, DeepLayersAndClipsKeepOnlyWhatTheirContentReaches) {
  constexpr int kSize = 1024, kLevels = 500;
  // The content, a 10 x 10 square, is about 103 x 103 pixels; a full-canvas layer or mask per level
  // would take 2.6 GB.
  constexpr size_t kContentBytes = size_t{104} * 104 * 4;
  const std::string square = "<rect x='45' y='45' width='10' height='10' fill='#00ff00'/>";
  const std::string clip = "<clipPath id='c'><rect x='45' y='45' width='10' height='10'/></clipPath>";
  struct Case {
    const char* name;
    std::string body;
    bool faded;  // nested opacity leaves the square partly transparent
  };
  const Case cases[] = {
      {"opacity groups", Nested(kLevels, "<g opacity='0.999'>", "</g>", square), true},
      {"clip paths",
       clip + Nested(kLevels, "<g clip-path='url(#c)'>", "</g>",
                     "<rect width='100' height='100' fill='#00ff00'/>"),
       false},
      {"clipped groups with opacity",
       clip + Nested(kLevels, "<g clip-path='url(#c)' opacity='0.999'>", "</g>",
                     "<rect width='100' height='100' fill='#00ff00'/>"),
       true},
  };
  for (const Case& c : cases) {
    CountedRender counted(Svg(c.body), kSize);
    ASSERT_NE(counted.pixels, nullptr) << c.name;
    EXPECT_LE(counted.budget.peakLayerBytes, 2 * kLevels * kContentBytes) << c.name;
    EXPECT_FALSE(counted.budget.memoryRefused) << c.name;
    const auto inside = counted.At(50, 50);
    EXPECT_EQ(inside[0], 0) << c.name;
    EXPECT_EQ(inside[1], inside[3]) << c.name;
    if (c.faded) {
      EXPECT_GT(inside[3], 0) << c.name;
      EXPECT_LT(inside[3], 255) << c.name;
    } else {
      EXPECT_EQ(inside[3], 255) << c.name;
    }
    EXPECT_EQ(counted.At(40, 50)[3], 0) << c.name;
    EXPECT_EQ(counted.At(50, 60)[3], 0) << c.name;
  }
}

TEST(RenderBudget, ContentBeyondTheMemoryLimitIsLeftOutAndReported) {
  // A limit of 512 KiB holds no 512 x 512 layer: the group is left out, the square after it is drawn.
  CountedRender counted(Svg("<g opacity='0.5'><rect width='100' height='100' fill='#ff0000'/></g>"
                            "<rect x='40' y='40' width='20' height='20' fill='#00ff00'/>"),
                        512, size_t{1} << 19);
  ASSERT_NE(counted.pixels, nullptr);
  EXPECT_TRUE(counted.budget.memoryRefused);
  EXPECT_TRUE(counted.Reported(render::kRenderMemoryError));
  EXPECT_EQ(counted.At(10, 10)[3], 0);
  EXPECT_EQ(counted.At(50, 50)[1], 255);
  EXPECT_LE(counted.budget.peakLayerBytes, size_t{1} << 19);
}

std::string Zigzag(int turns, double step) {
  std::string points;
  for (int i = 0; i <= turns; ++i) points += std::to_string(i * step) + "," + (i % 2 == 0 ? "5 " : "95 ");
  return points;
}

// Work counted in outline vertices: without the bounds, the round joins take hundreds of millions
// and the dashes tens of millions.
TEST(RenderBudget, StrokeWorkIsBoundedByTheWindow) {
  std::string tinyDashes;
  for (int i = 0; i < 3000; ++i) tinyDashes += "0.01 ";
  struct Case {
    const char* name;
    std::string body;
    uint64_t maxVertices;
    int minAlpha, maxAlpha;  // at the centre
  };
  const Case cases[] = {
      {"round joins a billion units wide",
       "<polyline points='" + Zigzag(2000, 0.05) +
           "' fill='none' stroke='#00ff00' stroke-width='1e9' stroke-linejoin='round' "
           "stroke-linecap='round'/>",
       2000 * 1024 + 4096, 255, 255},
      {"tiny dashes with a long period",
       "<polyline points='" + Zigzag(2000, 0.05) +
           "' fill='none' stroke='#00ff00' stroke-width='0.5' "
           "stroke-dasharray='" +
           tinyDashes + "'/>",
       8 << 20, 1, 255},
  };
  for (const Case& c : cases) {
    CountedRender counted(Svg(c.body), 64);
    ASSERT_NE(counted.pixels, nullptr) << c.name;
    EXPECT_LE(counted.budget.vertices, c.maxVertices) << c.name;
    EXPECT_GE(counted.At(50, 50)[3], c.minAlpha) << c.name;
    EXPECT_LE(counted.At(50, 50)[3], c.maxAlpha) << c.name;
  }
}

TEST(RenderBudget, SiblingsWithOneClipPathShareItsMask) {
  // Each rectangle is 5 outline vertices; the circle of the clip path flattens to far more.
  auto siblings = [](int count) {
    std::string body = "<clipPath id='c'><circle cx='50' cy='50' r='30'/></clipPath>";
    for (int i = 0; i < count; ++i) {
      body += "<rect x='" + std::to_string(i % 50) +
              "' width='50' height='100' fill='#00ff00' clip-path='url(#c)'/>";
    }
    return Svg(body);
  };
  const CountedRender one(siblings(1), 256);
  const CountedRender many(siblings(300), 256);
  EXPECT_LT(many.budget.vertices, one.budget.vertices + 300 * 8);
  EXPECT_GT(one.budget.vertices, uint64_t{40}) << "the clip path alone is many vertices";
  EXPECT_EQ(many.At(50, 50)[1], 255);
  EXPECT_EQ(many.At(50, 15)[3], 0) << "outside the circle";
}

}  // namespace
