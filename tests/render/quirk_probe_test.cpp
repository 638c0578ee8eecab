#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/vector_document.h"
#include "support/test_support.h"

// Where our drawing deliberately differs from other renderers (the reference images avoid these
// cases), the difference is pinned here, one pixel at a time, at 1 pixel per user unit.
namespace {

std::unique_ptr<uint8_t[]> Render(const std::string& body) {
  svg::LoadError error;
  const auto loaded = document::VectorDocument::Create(
      error, true,
      testing_support::W("<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>" + body +
                         "</svg>"),
      nullptr, 1.0);
  EXPECT_TRUE(loaded->Loaded()) << "load error " << error.code;
  return loaded->Loaded() ? loaded->RenderWhole(100) : nullptr;
}

int Alpha(const std::unique_ptr<uint8_t[]>& pixels, int x, int y) { return pixels[(y * 100 + x) * 4 + 3]; }

TEST(DocumentedDifferences, SmoothCurveAfterALineReflectsTheControlPointBeforeTheLine) {
  // The vertex before the line's end closes a quadratic curve, so T reflects it through the line's
  // end: the control point is (70, 30) and the curve bulges up to y = 35, where SVG draws a line.
  const auto pixels =
      Render("<path d='M10 50 Q30 10 50 50 L60 40 T90 40' fill='none' stroke='black' stroke-width='2'/>");
  ASSERT_NE(pixels, nullptr);
  EXPECT_GT(Alpha(pixels, 72, 35), 128);
  EXPECT_EQ(Alpha(pixels, 75, 40), 0);
}

TEST(DocumentedDifferences, ArcWhoseRadiiAreFarTooSmallIsAStraightLine) {
  // Radii that need scaling by more than the square root of 10 give up on the arc.
  const auto tiny = Render("<path d='M10 60 A2 2 0 0 1 90 60' fill='none' stroke='black' stroke-width='2'/>");
  const auto small =
      Render("<path d='M10 60 A20 20 0 0 1 90 60' fill='none' stroke='black' stroke-width='2'/>");
  ASSERT_NE(tiny, nullptr);
  ASSERT_NE(small, nullptr);
  EXPECT_GT(Alpha(tiny, 50, 60), 128);
  EXPECT_EQ(Alpha(tiny, 50, 20), 0);
  EXPECT_GT(Alpha(small, 50, 20), 128) << "radii too small by a factor of 2 become a half circle";
  EXPECT_EQ(Alpha(small, 50, 60), 0);
}

TEST(DocumentedDifferences, MiterBeyondTheLimitIsCutAtTheLimitNotBevelled) {
  // A 9.5 degree corner, width 10, limit 4: the full miter would reach 60 past the corner, a bevel
  // under 1 past it; the join is cut 4 half-widths (20) past the corner.
  const auto pixels =
      Render("<polyline points='0,45 60,50 0,55' fill='none' stroke='black' stroke-width='10'/>");
  ASSERT_NE(pixels, nullptr);
  EXPECT_EQ(Alpha(pixels, 70, 50), 255);
  EXPECT_EQ(Alpha(pixels, 85, 50), 0);
}

}  // namespace
