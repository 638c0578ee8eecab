#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "text/layout_fixture.h"

namespace {

using text_testing::Advance;
using text_testing::LaidOut;
using text_testing::LayoutTest;

constexpr double kTolerance = 1e-6;

std::string Text(const std::string& attributes, const std::string& content) {
  return "<text id='t' font-family='DejaVu Sans' font-size='20' " + attributes + ">" + content + "</text>";
}

TEST_F(LayoutTest, AbsoluteXListPlacesFirstCharactersAndTheRestFollowByAdvance) {
  LaidOut laid(Text("x='10 20 30' y='50'", "abcde"));
  const auto& records = laid.Records();
  ASSERT_EQ(records.size(), 5u);
  EXPECT_NEAR(records[0].x, 10.0, kTolerance);
  EXPECT_NEAR(records[1].x, 20.0, kTolerance);
  EXPECT_NEAR(records[2].x, 30.0, kTolerance);
  EXPECT_NEAR(records[3].x, 30.0 + Advance(u"c", u"DejaVu Sans") * 20.0, kTolerance);
  EXPECT_NEAR(records[4].x, records[3].x + Advance(u"d", u"DejaVu Sans") * 20.0, kTolerance);
  for (const auto& r : records) EXPECT_NEAR(r.y, 50.0, kTolerance);
}

// A ligature would take one list entry for several characters and put the rest out of step, so lists
// that reach past a run's first character switch ligatures off; one value alone keeps them.
TEST_F(LayoutTest, PerCharacterListsKeepLigaturesApartAndInStep) {
  struct Case {
    const char* attributes;
    const char* content;
    size_t glyphs;
    double lastX;  // of the last glyph; negative: not checked
  };
  const Case cases[] = {
      {"x='10' y='50'", "ffi", 1, -1.0},
      {"x='10 60 110 160' y='50'", "ffix", 4, 160.0},
      {"x='10' dx='0 0 0 0' y='50'", "ffix", 4, -1.0},
      {"x='10' y='50' rotate='0 0 0 0'", "ffix", 4, -1.0},
      {"x='10 60 110' y='50'", "a<tspan>ffi</tspan>x", 5, -1.0},
  };
  for (const Case& c : cases) {
    LaidOut laid("<text id='t' font-family='Noto Sans' font-size='20' " + std::string(c.attributes) + ">" +
                 c.content + "</text>");
    const auto& records = laid.Records();
    ASSERT_EQ(records.size(), c.glyphs) << c.attributes << " " << c.content;
    if (c.lastX >= 0.0) {
      EXPECT_NEAR(records.back().x, c.lastX, kTolerance) << c.attributes;
    }
  }
}

TEST_F(LayoutTest, EachAbsoluteXStartsItsOwnAnchorChunk) {
  LaidOut plain(Text("x='100 150' y='50'", "ab"));
  LaidOut laid(Text("x='100 150' y='50' text-anchor='end'", "ab"));
  const auto& start = plain.Records();
  const auto& end = laid.Records();
  ASSERT_EQ(end.size(), 2u);
  // Each one-glyph chunk moves left by its own ink width, not by the width of both.
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_NEAR(end[i].x2, start[i].x1, 1e-9) << i;
    EXPECT_NEAR(start[i].x - end[i].x, start[i].x2 - start[i].x1, 1e-9) << i;
  }
}

TEST_F(LayoutTest, TextAnchorMovesTheChunkByHalfOrAllOfItsWidth) {
  struct Case {
    const char* anchor;
    double factor;
  };
  for (const Case& c : {Case{"start", 0.0}, Case{"middle", 0.5}, Case{"end", 1.0}}) {
    LaidOut start(Text("x='100' y='50'", "Wide text"));
    LaidOut anchored(Text("x='100' y='50' text-anchor='" + std::string(c.anchor) + "'", "Wide text"));
    const svg::Rect plain = start.Box();
    const svg::Rect moved = anchored.Box();
    ASSERT_FALSE(plain.IsEmpty());
    const double width = plain.x2 - plain.x1;
    EXPECT_NEAR(moved.x1, plain.x1 - width * c.factor, 1e-6) << c.anchor;
    EXPECT_NEAR(moved.y1, plain.y1, 1e-9) << c.anchor;
  }
}

TEST_F(LayoutTest, DxAndDyShiftTheirCharacterAndEverythingAfterIt) {
  LaidOut plain(Text("x='10' y='50'", "abc"));
  LaidOut shifted(Text("x='10' y='50' dx='0 5' dy='0 -7'", "abc"));
  const auto& a = plain.Records();
  const auto& b = shifted.Records();
  ASSERT_EQ(a.size(), 3u);
  ASSERT_EQ(b.size(), 3u);
  EXPECT_NEAR(b[0].x, a[0].x, kTolerance);
  EXPECT_NEAR(b[1].x, a[1].x + 5.0, kTolerance);
  EXPECT_NEAR(b[2].x, a[2].x + 5.0, kTolerance);
  EXPECT_NEAR(b[1].y, 43.0, kTolerance);
  EXPECT_NEAR(b[2].y, 43.0, kTolerance);
}

TEST_F(LayoutTest, LetterSpacingAddsAfterEveryGlyph) {
  LaidOut plain(Text("x='10' y='50'", "abcd"));
  LaidOut spaced(Text("x='10' y='50' letter-spacing='3'", "abcd"));
  const auto& a = plain.Records();
  const auto& b = spaced.Records();
  ASSERT_EQ(b.size(), 4u);
  for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(b[i].x - a[i].x, 3.0 * static_cast<double>(i), kTolerance) << i;
}

TEST_F(LayoutTest, WordSpacingFollowsEachRunOfSpacesOnceButNeverTheElementsFirstGlyph) {
  LaidOut plain(Text("x='10' y='50' xml:space='preserve'", "a  b c"));
  LaidOut spaced(Text("x='10' y='50' xml:space='preserve' word-spacing='10'", "a  b c"));
  const auto& a = plain.Records();
  const auto& b = spaced.Records();
  ASSERT_EQ(b.size(), 6u);
  const double expected[6] = {0, 0, 10, 10, 10, 20};
  for (size_t i = 0; i < 6; ++i) EXPECT_NEAR(b[i].x - a[i].x, expected[i], kTolerance) << i;

  LaidOut leading(Text("x='10' y='50' xml:space='preserve' word-spacing='10'", " a"));
  LaidOut leadingPlain(Text("x='10' y='50' xml:space='preserve'", " a"));
  ASSERT_EQ(leading.Records().size(), 2u);
  EXPECT_NEAR(leading.Records()[1].x, leadingPlain.Records()[1].x, kTolerance);
}

TEST_F(LayoutTest, BaselineShiftRaisesOrLowersOnlyInsideItsElement) {
  struct Case {
    const char* shift;
    double expectedY;
  };
  for (const Case& c :
       {Case{"super", 50.0 - 11.0}, Case{"sub", 50.0 + 11.0}, Case{"-55%", 50.0 + 11.0}, Case{"4", 46.0}}) {
    LaidOut laid(Text("x='10' y='50'", "a<tspan baseline-shift='" + std::string(c.shift) + "'>b</tspan>c"));
    const auto& r = laid.Records();
    ASSERT_EQ(r.size(), 3u) << c.shift;
    EXPECT_NEAR(r[0].y, 50.0, kTolerance) << c.shift;
    EXPECT_NEAR(r[1].y, c.expectedY, kTolerance) << c.shift;
    EXPECT_NEAR(r[2].y, 50.0, kTolerance) << c.shift;
  }
}

TEST_F(LayoutTest, RotateListGivesItsLastValueToTheCharactersPastItsEnd) {
  struct Case {
    const char* list;
    std::vector<double> expected;
  };
  for (const Case& c :
       {Case{"30", {30, 30, 30, 30}}, Case{"10 20", {10, 20, 20, 20}}, Case{"1 2 3 4 5 6", {1, 2, 3, 4}}}) {
    LaidOut laid(Text("x='10' y='50' rotate='" + std::string(c.list) + "'", "abcd"));
    const auto& r = laid.Records();
    ASSERT_EQ(r.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(r[i].rotate, c.expected[i]) << c.list << " " << i;
  }
}

TEST_F(LayoutTest, RotatedGlyphBoxesContainTheTurnedGlyph) {
  LaidOut upright(Text("x='50' y='50'", "l"));
  LaidOut turned(Text("x='50' y='50' rotate='90'", "l"));
  const svg::Rect a = upright.Box();
  const svg::Rect b = turned.Box();
  // A tall thin glyph standing on its origin, turned a quarter clockwise, lies flat to the right of it.
  EXPECT_GT(a.y2 - a.y1, 3 * (a.x2 - a.x1));
  EXPECT_NEAR(b.x2 - b.x1, a.y2 - a.y1, 1e-6);
  EXPECT_NEAR(b.y2 - b.y1, a.x2 - a.x1, 1e-6);
  EXPECT_GE(b.x1, 50.0 - 1e-6);
}

TEST_F(LayoutTest, WhiteSpaceCollapsesUnlessPreserved) {
  LaidOut collapsed(Text("x='10' y='50'", "  ab   cd  "));
  EXPECT_EQ(collapsed.Records().size(), 6u);  // "ab cd " keeps one trailing space
  LaidOut preserved(Text("x='10' y='50' xml:space='preserve'", "  ab\t\ncd  "));
  EXPECT_EQ(preserved.Records().size(), 10u);
  LaidOut acrossElements(Text("x='10' y='50'", "ab <tspan> cd</tspan>"));
  EXPECT_EQ(acrossElements.Records().size(), 5u);
}

TEST_F(LayoutTest, PositionListsOfAnElementEndWithIt) {
  LaidOut laid(Text("x='10' y='50'", "a<tspan x='100 110 120'>b</tspan>cd"));
  const auto& r = laid.Records();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_NEAR(r[1].x, 100.0, kTolerance);
  // The tspan's remaining values (110, 120) leave with it: c follows b by advance.
  EXPECT_NEAR(r[2].x, 100.0 + Advance(u"b", u"DejaVu Sans") * 20.0, kTolerance);
}

TEST_F(LayoutTest, ParentListsReachTheCharactersOfChildren) {
  LaidOut laid(Text("x='10 40 70' y='50'", "a<tspan>b</tspan><tspan>c</tspan>"));
  const auto& r = laid.Records();
  ASSERT_EQ(r.size(), 3u);
  EXPECT_NEAR(r[1].x, 40.0, kTolerance);
  EXPECT_NEAR(r[2].x, 70.0, kTolerance);
}

TEST_F(LayoutTest, AutoKerningPullsPairsTogetherAndAnExplicitKerningReplacesIt) {
  LaidOut automatic(Text("x='10' y='50'", "AV"));
  LaidOut none(Text("x='10' y='50' kerning='0'", "AV"));
  LaidOut extra(Text("x='10' y='50' kerning='5'", "AV"));
  const double autoGap = automatic.Records()[1].x - automatic.Records()[0].x;
  const double plainGap = none.Records()[1].x - none.Records()[0].x;
  const double extraGap = extra.Records()[1].x - extra.Records()[0].x;
  EXPECT_NEAR(plainGap, Advance(u"A", u"DejaVu Sans") * 20.0, kTolerance);
  EXPECT_LT(autoGap, plainGap - 0.5);
  EXPECT_NEAR(extraGap, plainGap + 5.0, kTolerance);
}

TEST_F(LayoutTest, TrefTakesTheCharacterContentOfTheElementItNames) {
  LaidOut laid("<defs><text id='source'>Hi <tspan>there</tspan></text></defs>" +
               Text("x='10' y='50'", "<tref xlink:href='#source'/>"));
  EXPECT_EQ(laid.Records().size(), 8u);
  LaidOut missing(Text("x='10' y='50'", "<tref xlink:href='#nothing'/>"));
  EXPECT_TRUE(missing.Records().empty());
  EXPECT_TRUE(missing.Box().IsEmpty());
}

TEST_F(LayoutTest, DisplayNoneTakesNoRoomAndHiddenTextKeepsIt) {
  LaidOut none(Text("x='10' y='50'", "a<tspan display='none'>bbb</tspan>c"));
  LaidOut hidden(Text("x='10' y='50'", "a<tspan visibility='hidden'>bbb</tspan>c"));
  ASSERT_EQ(none.Records().size(), 2u);
  ASSERT_EQ(hidden.Records().size(), 5u);
  EXPECT_NEAR(none.Records()[1].x, 10.0 + Advance(u"a", u"DejaVu Sans") * 20.0, kTolerance);
  EXPECT_NEAR(hidden.Records()[4].x - hidden.Records()[1].x, 3 * Advance(u"b", u"DejaVu Sans") * 20.0,
              kTolerance);
}

TEST_F(LayoutTest, FractionalFontSizesScaleGlyphsExactly) {
  LaidOut small("<text id='t' font-family='DejaVu Sans' font-size='12.7' x='10' y='50'>H</text>");
  LaidOut large("<text id='t' font-family='DejaVu Sans' font-size='127' x='10' y='50'>H</text>");
  const svg::Rect a = small.Box();
  const svg::Rect b = large.Box();
  EXPECT_NEAR((b.y2 - b.y1) / (a.y2 - a.y1), 10.0, 1e-9);
}

}  // namespace
