#include <gtest/gtest.h>

#include <string>

#include "render/render_context.h"
#include "render/text_setup.h"
#include "text/layout_fixture.h"

namespace {

using text_testing::At;
using text_testing::InkBox;
using text_testing::LaidOut;
using text_testing::LayoutTest;

// The measured box must enclose every covered pixel (a pixel touched by anti-aliasing lies at most
// one pixel outside the exact outline).
void ExpectBoxEnclosesInk(const LaidOut& laid, const std::string& label, bool tight) {
  const svg::Rect box = laid.Box();
  const auto pixels = laid.Render();
  ASSERT_NE(pixels, nullptr) << label;
  const svg::Rect ink = InkBox(pixels.get(), laid.Size());
  ASSERT_FALSE(ink.IsEmpty()) << label;
  EXPECT_GE(ink.x1, std::floor(box.x1) - 1) << label;
  EXPECT_GE(ink.y1, std::floor(box.y1) - 1) << label;
  EXPECT_LE(ink.x2, std::ceil(box.x2) + 1) << label;
  EXPECT_LE(ink.y2, std::ceil(box.y2) + 1) << label;
  // Upright glyphs fill their boxes; turned ones only touch the sides of theirs.
  if (tight) {
    EXPECT_LE(box.x2 - box.x1, ink.x2 - ink.x1 + 2) << label;
  }
}

TEST_F(LayoutTest, MeasuredBoxEnclosesTheDrawnGlyphs) {
  struct Case {
    const char* body;
    bool tight;
  };
  const Case cases[] = {
      {"<text id='t' x='10' y='100' font-size='30'>Plain text</text>", true},
      {"<text id='t' x='100' y='100' font-size='24' text-anchor='middle' rotate='20'>Turned</text>", false},
      {"<text id='t' x='10 60 110' y='60 100 140' font-size='30' font-family='Noto Sans' font-style='italic'>"
       "ABC</text>",
       true},
      {"<text id='t' x='20' y='100' font-size='28' font-family='Noto Sans'>\u05e9\u05dc\u05d5\u05dd "
       "\u0645\u0631\u062d\u0628\u0627</text>",
       true},
      {"<text id='t' x='20' y='100' font-size='28' font-family='Noto Sans "
       "Devanagari'>\u0928\u092e\u0938\u094d"
       "\u0924\u0947</text>",
       true},
      {"<text id='t' x='10' y='100' font-size='30' font-weight='bold' font-family='DejaVu Serif'>Bold</text>",
       true},
      {"<defs><path id='arc' d='M20 150 Q100 0 180 150'/></defs>"
       "<text id='t' font-size='20'><textPath xlink:href='#arc'>On a curve</textPath></text>",
       false},
  };
  for (const Case& c : cases) ExpectBoxEnclosesInk(LaidOut(c.body), c.body, c.tight);
}

TEST_F(LayoutTest, GradientsInBoundingBoxUnitsSpanTheTextBox) {
  LaidOut laid(
      "<linearGradient id='g'><stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/>"
      "</linearGradient>"
      "<text id='t' x='20' y='120' font-size='60' fill='url(#g)'>IIIIIIII</text>");
  const svg::Rect box = laid.Box();
  const auto pixels = laid.Render();
  const int y = static_cast<int>((box.y1 + box.y2) / 2);
  int first = -1, last = -1;
  for (int x = 0; x < laid.Size(); ++x) {
    if (At(pixels.get(), laid.Size(), x, y)[3] == 255) {
      if (first < 0) first = x;
      last = x;
    }
  }
  ASSERT_GT(last, first);
  const auto left = At(pixels.get(), laid.Size(), first, y);
  const auto right = At(pixels.get(), laid.Size(), last, y);
  EXPECT_GT(left[0], 220) << "the first stem is red";
  EXPECT_LT(left[2], 35);
  EXPECT_GT(right[2], 220) << "the last stem is blue";
  EXPECT_LT(right[0], 35);
}

TEST_F(LayoutTest, TspanFillsStrokesAndOpacityApplyToTheirOwnGlyphs) {
  LaidOut laid(
      "<text id='t' x='10' y='100' font-size='60' font-family='DejaVu Sans' fill='rgb(0,0,255)'>"
      "I<tspan fill='rgb(255,0,0)'>I</tspan><tspan fill-opacity='0.5'>I</tspan></text>");
  const auto& r = laid.Records();
  ASSERT_EQ(r.size(), 3u);
  const auto pixels = laid.Render();
  const int y = static_cast<int>((r[0].y1 + r[0].y2) / 2);
  const auto first = At(pixels.get(), laid.Size(), static_cast<int>((r[0].x1 + r[0].x2) / 2), y);
  const auto second = At(pixels.get(), laid.Size(), static_cast<int>((r[1].x1 + r[1].x2) / 2), y);
  const auto third = At(pixels.get(), laid.Size(), static_cast<int>((r[2].x1 + r[2].x2) / 2), y);
  EXPECT_EQ(first, (text_testing::Pixel{0, 0, 255, 255}));
  EXPECT_EQ(second, (text_testing::Pixel{255, 0, 0, 255}));
  EXPECT_NEAR(third[3], 128, 1);
}

TEST_F(LayoutTest, ClipPathOnTextClipsEveryGlyphInside) {
  LaidOut laid(
      "<clipPath id='c'><rect width='200' height='90'/></clipPath>"
      "<text id='t' x='10' y='120' font-size='80' clip-path='url(#c)'>Clip<tspan>ped</tspan></text>");
  const auto pixels = laid.Render();
  const svg::Rect ink = InkBox(pixels.get(), laid.Size());
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_LE(ink.y2, 90.0);
}

// A 100-pixel canvas shows at most a few hundred of these glyphs; the rest must be left out, not
// flattened.
constexpr uint64_t kMaxVisibleGlyphs = 1000;

TEST_F(LayoutTest, HostileTextNeverCrashesHangsOrGrowsWithoutBound) {
  std::string manySpans;
  for (int i = 0; i < 10000; ++i) manySpans += "<tspan dx='0.1'>x</tspan>";
  const std::string enormous(1 << 20, 'W');
  const std::string cases[] = {
      "<text id='t'></text>",
      "<text id='t' x='10' y='50'>   </text>",
      "<text id='t' x='10' y='50'>" + enormous + "</text>",
      "<text id='t' x='10 20 30' y='50'>" + manySpans + "</text>",
      "<text id='t' x='10' y='50' font-size='0'>zero</text>",
      "<text id='t' x='10' y='50' font-size='-12'>negative</text>",
      "<text id='t' x='10' y='50' font-size='1e9'>huge</text>",
      "<text id='t' x='1e300' y='-1e300' font-size='1e300'>far</text>",
      "<text id='t' x='10' y='50' letter-spacing='1e308' word-spacing='-1e308'>a b c</text>",
      "<text id='t' x='10' y='50'>\xee\x80\x80\xf4\x8f\xbf\xbd\xe0\xbc\x80</text>",
      "<text id='t' x='10' y='50'><tref xlink:href='#t'/></text>",
      "<text id='t' x='10' y='50' rotate='1e308 nan'>abc</text>",
  };
  for (const std::string& c : cases) {
    LaidOut laid(c, 100);
    laid.Box();
    render::RenderBudget budget;
    const auto pixels = laid.Render(agg::trans_affine(), 100, budget);
    EXPECT_NE(pixels, nullptr) << c.substr(0, 80);
    // Layout and drawing work grow with the glyphs laid out, which the character cap bounds.
    EXPECT_LE(laid.Records().size(), render::kMaxTextCharacters) << c.substr(0, 80);
    EXPECT_LE(budget.glyphsFlattened, kMaxVisibleGlyphs) << c.substr(0, 80);
  }
}

// Only glyphs that reach the window are flattened: a deep tile of a labelled map costs a label's
// glyphs, not the map's; and a glyph past the size limit is never flattened.
TEST_F(LayoutTest, OnlyGlyphsThatReachTheWindowAreFlattened) {
  constexpr int kLabels = 20, kLetters = 5, kWindow = 256;
  std::string map;
  for (int row = 0; row < kLabels; ++row) {
    for (int column = 0; column < kLabels; ++column) {
      map += "<text x='" + std::to_string(column * 10 + 1) + "' y='" + std::to_string(row * 10 + 5) +
             "' font-family='DejaVu Sans' font-size='3'>Label</text>";
    }
  }
  struct Case {
    const char* name;
    std::string body;
    double scale, left, top;  // the window's corner in user units
    uint64_t least, most;
  };
  const uint64_t all = uint64_t{kLabels} * kLabels * kLetters;
  const Case cases[] = {
      {"whole map", map, 1.0, 0.0, 0.0, all, all},
      {"deep tile on one label", map, 64.0, 1.0, 2.0, 1, kLetters},
      {"deep tile between labels", map, 256.0, 7.0, 6.5, 0, 0},
      {"glyph past the size limit", "<text x='0' y='150' font-size='3e7'>W</text>", 1.0, 0.0, 0.0, 0, 0},
      {"stroked glyph reaching in", "<text x='-8' y='50' font-size='20' stroke='red' stroke-width='10'>i</text>",
       1.0, 0.0, 0.0, 1, 1},
  };
  for (const Case& c : cases) {
    LaidOut laid(c.body, 200);
    render::RenderBudget budget;
    const agg::trans_affine transform =
        agg::trans_affine_translation(-c.left, -c.top) * agg::trans_affine_scaling(c.scale);
    ASSERT_NE(laid.Render(transform, kWindow, budget), nullptr) << c.name;
    EXPECT_GE(budget.glyphsFlattened, c.least) << c.name;
    EXPECT_LE(budget.glyphsFlattened, c.most) << c.name;
  }
}

TEST_F(LayoutTest, ZeroAndNegativeFontSizesDrawNothing) {
  for (const char* size : {"0", "-12"}) {
    LaidOut laid(std::string("<text id='t' x='10' y='50' font-size='") + size + "'>text</text>", 100);
    EXPECT_TRUE(laid.Box().IsEmpty()) << size;
    const auto pixels = laid.Render();
    EXPECT_TRUE(InkBox(pixels.get(), laid.Size()).IsEmpty()) << size;
  }
}

}  // namespace
