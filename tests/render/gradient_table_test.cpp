#include <gtest/gtest.h>

#include "render/gradient_table.h"

namespace {

using render::AddGradientStop;
using render::BuildGradientTable;
using render::ColourInterpolation;
using render::GradientStop;

std::vector<GradientStop> BlackToWhite() {
  std::vector<GradientStop> stops;
  AddGradientStop(stops, 0.0, agg::rgba8(0, 0, 0, 255));
  AddGradientStop(stops, 1.0, agg::rgba8(255, 255, 255, 255));
  return stops;
}

TEST(GradientTable, EndEntriesReachTheEndStopsExactly) {
  const auto table = BuildGradientTable(BlackToWhite(), ColourInterpolation::kSRGB);
  EXPECT_EQ(table[0].r, 0);
  EXPECT_EQ(table[2048].r, 128);
  EXPECT_EQ(table[4095].r, 255);
  std::vector<GradientStop> fading;
  AddGradientStop(fading, 0.25, agg::rgba8(10, 20, 30, 0));
  AddGradientStop(fading, 0.75, agg::rgba8(200, 100, 50, 255));
  for (const auto interpolation : {ColourInterpolation::kSRGB, ColourInterpolation::kLinearRGB}) {
    const auto faded = BuildGradientTable(fading, interpolation);
    EXPECT_EQ(faded[0].a, 0);
    EXPECT_EQ(faded[1024].a, 0);
    EXPECT_EQ(faded[3071].a, 255);
    EXPECT_EQ(faded[4095].a, 255);
    EXPECT_EQ(faded[4095].r, 200);
    EXPECT_LT(faded[2000].a, faded[2100].a);
  }
}

TEST(GradientTable, EqualOffsetsMakeAHardEdge) {
  std::vector<GradientStop> stops;
  AddGradientStop(stops, 0.5, agg::rgba8(255, 0, 0, 255));
  AddGradientStop(stops, 0.5, agg::rgba8(0, 0, 255, 255));
  EXPECT_DOUBLE_EQ(stops[1].offset, 0.5 + 1e-5);
  const auto table = BuildGradientTable(stops, ColourInterpolation::kSRGB);
  EXPECT_EQ(table[2047].r, 255);
  EXPECT_EQ(table[2048].b, 255);
  EXPECT_EQ(table[2048].r, 0);
}

TEST(GradientTable, OffsetsAreClampedAndKeptInOrder) {
  std::vector<GradientStop> stops;
  AddGradientStop(stops, -3.0, agg::rgba8(0, 0, 0, 255));
  AddGradientStop(stops, 0.8, agg::rgba8(0, 0, 0, 255));
  AddGradientStop(stops, 0.2, agg::rgba8(0, 0, 0, 255));
  AddGradientStop(stops, 7.0, agg::rgba8(0, 0, 0, 255));
  EXPECT_DOUBLE_EQ(stops[0].offset, 0.0);
  EXPECT_DOUBLE_EQ(stops[2].offset, 0.8 + 1e-5);
  EXPECT_DOUBLE_EQ(stops[3].offset, 1.0);
}

TEST(GradientTable, LinearRgbBrightensTheMiddle) {
  const auto table = BuildGradientTable(BlackToWhite(), ColourInterpolation::kLinearRGB);
  EXPECT_EQ(table[2048].r, 186);
}

TEST(GradientTable, AlphaScaleFollowsOpacity) {
  EXPECT_EQ(render::GradientAlphaScale(0.5), 128u);
  EXPECT_EQ(render::GradientAlphaScale(1.0), 256u);
  EXPECT_EQ(render::GradientAlphaScale(-1.0), 0u);
  // A stop at opacity 0.5 (alpha 128) with fill-opacity 0.5 ends at 64.
  EXPECT_EQ((128u * render::GradientAlphaScale(0.5)) >> 8, 64u);
}

}  // namespace
