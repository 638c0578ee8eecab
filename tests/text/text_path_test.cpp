#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "text/layout_fixture.h"
#include "text/text_path.h"

namespace {

using text_testing::InkBox;
using text_testing::LaidOut;
using text_testing::LayoutTest;

const std::string kLine =
    "<defs><path id='line' d='M10 100 L190 100'/><path id='down' d='M100 10 V190'/>"
    "<path id='dot' d='M50 50 L50 50'/><rect id='box' width='10' height='10'/></defs>";

std::string OnPath(const std::string& href, const std::string& extra, const std::string& content) {
  return kLine + "<text id='t' font-family='DejaVu Sans' font-size='20'><textPath xlink:href='" + href +
         "' " + extra + ">" + content + "</textPath></text>";
}

TEST_F(LayoutTest, GlyphsOnAStraightPathSitWhereTheyWouldOffIt) {
  LaidOut onPath(OnPath("#line", "", "Path"));
  LaidOut plain("<text id='t' font-family='DejaVu Sans' font-size='20' x='10' y='100'>Path</text>");
  const auto& a = onPath.Records();
  const auto& b = plain.Records();
  ASSERT_EQ(a.size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_TRUE(a[i].onPath);
    EXPECT_NEAR(a[i].x1, b[i].x1, 1e-6) << i;
    EXPECT_NEAR(a[i].y1, b[i].y1, 1e-6) << i;
    EXPECT_NEAR(a[i].x2, b[i].x2, 1e-6) << i;
  }
}

TEST_F(LayoutTest, StartOffsetMovesTheTextAlongThePathAndPercentagesReferToItsLength) {
  LaidOut base(OnPath("#line", "", "T"));
  LaidOut absolute(OnPath("#line", "startOffset='30'", "T"));
  LaidOut percent(OnPath("#line", "startOffset='50%'", "T"));
  EXPECT_NEAR(absolute.Box().x1 - base.Box().x1, 30.0, 1e-6);
  EXPECT_NEAR(percent.Box().x1 - base.Box().x1, 90.0, 1e-6);
}

TEST_F(LayoutTest, APathTurnsItsGlyphs) {
  LaidOut down(OnPath("#down", "", "-"));
  const svg::Rect box = down.Box();
  // A hyphen laid along a downward path stands upright, right of the line: the text turns a quarter
  // clockwise, so the side above its baseline faces right.
  EXPECT_GT(box.y2 - box.y1, box.x2 - box.x1);
  EXPECT_GE(box.x1, 100.0 - 1e-6);
}

TEST_F(LayoutTest, GlyphsThatRunPastEitherEndOfThePathAreNotDrawn) {
  LaidOut laid(OnPath("#line", "startOffset='150'", "abcdef"));
  const auto& r = laid.Records();
  ASSERT_EQ(r.size(), 6u);
  EXPECT_TRUE(r[0].HasBox());
  EXPECT_FALSE(r[5].HasBox());
  const auto pixels = laid.Render();
  const svg::Rect ink = InkBox(pixels.get(), laid.Size());
  ASSERT_FALSE(ink.IsEmpty());
  EXPECT_LE(ink.x2, 191.0);
  LaidOut before(OnPath("#line", "startOffset='-30'", "abc"));
  EXPECT_FALSE(before.Records()[0].HasBox());
}

TEST_F(LayoutTest, TextPathWithoutAUsablePathDrawsNothingNotEvenItsChildren) {
  for (const char* href : {"#missing", "#box", "#dot", ""}) {
    LaidOut laid(OnPath(href, "", "abc<tspan>def</tspan>"));
    const auto pixels = laid.Render();
    ASSERT_NE(pixels, nullptr) << href;
    EXPECT_TRUE(InkBox(pixels.get(), laid.Size()).IsEmpty()) << href;
  }
}

TEST_F(LayoutTest, TextAnchorOnAPathCentresOnTheStartOffset) {
  LaidOut start(OnPath("#line", "startOffset='50%'", "MMMM"));
  LaidOut centred(OnPath("#line", "startOffset='50%' text-anchor='middle'", "MMMM"));
  const svg::Rect box = centred.Box();
  // The ink is centred where the start-anchored ink began (the origin plus the first side bearing).
  EXPECT_NEAR((box.x1 + box.x2) / 2, start.Box().x1, 1e-6);
  EXPECT_NEAR(box.x2 - box.x1, start.Box().x2 - start.Box().x1, 1e-6);
}

}  // namespace

namespace {

// A moveto starts a new piece at the distance already covered (no chord to it); a closepath adds its
// closing segment; past either end the end segments go on.
TEST(TextPathLine, SubpathsContinueTheDistanceWithoutJoiningChords) {
  struct Case {
    const char* name;
    std::vector<std::array<double, 3>> points;  // x, y, and 1 for a moveto, 2 for a closepath after it
    double length;
    double along, across, x, y;
  };
  const Case cases[] = {
      {"two pieces", {{10, 100, 1}, {60, 100, 0}, {100, 150, 1}, {190, 150, 0}}, 140.0, 70.0, 0.0, 120.0, 150.0},
      {"on the first", {{10, 100, 1}, {60, 100, 0}, {100, 150, 1}, {190, 150, 0}}, 140.0, 25.0, -5.0, 35.0, 95.0},
      {"closed square", {{0, 0, 1}, {10, 0, 0}, {10, 10, 0}, {0, 10, 2}}, 40.0, 35.0, 0.0, 0.0, 5.0},
      {"lone moveto", {{0, 0, 1}, {10, 10, 1}, {20, 10, 0}}, 10.0, 5.0, 0.0, 15.0, 10.0},
      {"past the end", {{0, 0, 1}, {10, 0, 0}, {20, 0, 1}, {20, 10, 0}}, 20.0, 25.0, 0.0, 20.0, 15.0},
      {"before the start", {{0, 0, 1}, {10, 0, 0}, {20, 0, 1}, {20, 10, 0}}, 20.0, -5.0, 2.0, -5.0, 2.0},
  };
  for (const Case& c : cases) {
    agg::path_storage outline;
    for (const auto& [x, y, kind] : c.points) {
      if (kind == 1) {
        outline.move_to(x, y);
      } else {
        outline.line_to(x, y);
      }
      if (kind == 2) outline.close_polygon();
    }
    text::TextPath path;
    ASSERT_TRUE(path.Build(outline, 1.0)) << c.name;
    EXPECT_NEAR(path.Length(), c.length, 1e-9) << c.name;
    double x = c.along, y = c.across;
    path.Map(&x, &y);
    EXPECT_NEAR(x, c.x, 1e-9) << c.name;
    EXPECT_NEAR(y, c.y, 1e-9) << c.name;
  }
}

}  // namespace
