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

}  // namespace
