#include "texture/crop_placement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace graphel {
namespace {

CropSettings Crop(double u, double v, double w, double h) { return CropSettings{true, false, u, v, w, h, false, 0.0}; }
CropSettings Place(double u, double v, double w, double h) { return CropSettings{true, true, u, v, w, h, false, 0.0}; }

TEST(CropPlacement, EdgeOfARepeatBelongsToTheRepeatBelow) {
  const std::pair<double, double> cases[] = {{0.0, 0.0}, {0.25, 0.25}, {1.0, 1.0}, {3.0, 1.0}, {-1.0, 1.0},
                                             {-0.25, 0.75}, {2.5, 0.5}};
  for (const auto& [x, expected] : cases) EXPECT_DOUBLE_EQ(EdgeFraction(x), expected) << x;
}

TEST(CropPlacement, WithoutCropTheFractionsPassThrough) {
  const Placement p = ApplyCropPlacement(2.25, -0.5, 0.01, 0.02, CropSettings{});
  EXPECT_TRUE(p.sample);
  EXPECT_DOUBLE_EQ(p.u, 0.25);
  EXPECT_DOUBLE_EQ(p.v, 0.5);
  EXPECT_DOUBLE_EQ(p.du, 0.01);
  EXPECT_DOUBLE_EQ(p.weight, 1.0);
}

TEST(CropPlacement, CropStretchesTheWindowAndScalesTheFootprint) {
  const Placement p = ApplyCropPlacement(0.5, 0.5, 0.1, 0.1, Crop(0.2, 0.1, 0.5, 0.25));
  EXPECT_DOUBLE_EQ(p.u, 0.5 * 0.5 + 0.2);
  EXPECT_DOUBLE_EQ(p.v, 1.0 - 0.1 - 0.25 + 0.25 * 0.5);
  EXPECT_DOUBLE_EQ(p.du, 0.05);
  EXPECT_DOUBLE_EQ(p.dv, 0.025);
  // A window below 0.01 still scales by 0.01.
  const Placement thin = ApplyCropPlacement(0.5, 0.5, 0.1, 0.1, Crop(0.0, 0.0, 0.0, 0.0));
  EXPECT_TRUE(thin.sample);
  EXPECT_NEAR(thin.du, 0.001, 1e-15);
}

TEST(CropPlacement, PlaceShrinksTheImageIntoTheWindow) {
  const Placement p = ApplyCropPlacement(0.75, 0.5, 0.0, 0.0, Place(0.5, 0.25, 0.5, 0.5));
  EXPECT_TRUE(p.sample);
  EXPECT_DOUBLE_EQ(p.u, (0.75 - 0.5) / 0.5);
  EXPECT_DOUBLE_EQ(p.v, (0.5 - (1.0 - (0.5 + 0.25))) / 0.5);
  // Outside the window nothing is sampled.
  EXPECT_FALSE(ApplyCropPlacement(0.25, 0.5, 0.0, 0.0, Place(0.5, 0.25, 0.5, 0.5)).sample);
  // A window of no width shows nothing at all.
  EXPECT_FALSE(ApplyCropPlacement(0.5, 0.5, 0.0, 0.0, Place(0.0, 0.0, 0.0, 1.0)).sample);
  EXPECT_FALSE(ApplyCropPlacement(0.5, 0.5, 0.0, 0.0, Place(0.0, 0.0, 1.0, 0.0)).sample);
}

TEST(CropPlacement, AFootprintOverTheWindowEdgeIsClampedAndWeighted) {
  const Placement edge = ApplyCropPlacement(0.51, 0.5, 0.04, 0.0, Place(0.5, 0.0, 0.5, 1.0));
  ASSERT_TRUE(edge.sample);
  // u' = 0.02, footprint [-0.02, 0.06] becomes [0, 0.06]: three quarters of it cover the image.
  EXPECT_NEAR(edge.weight, 0.75, 1e-12);
  EXPECT_NEAR(edge.u, 0.03, 1e-12);
  EXPECT_NEAR(edge.du, 0.06, 1e-12);
  // Both axes multiply.
  const Placement corner = ApplyCropPlacement(0.51, 0.01, 0.04, 0.04, Place(0.5, 0.0, 0.5, 1.0));
  ASSERT_TRUE(corner.sample);
  EXPECT_NEAR(corner.weight, 0.75 * 0.75, 1e-12);
  // Entirely beside the window.
  EXPECT_FALSE(ApplyCropPlacement(0.45, 0.5, 0.04, 0.0, Place(0.5, 0.0, 0.5, 1.0)).sample);
}

TEST(CropPlacement, NonFiniteCoordinatesSampleNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  for (double bad : {nan, inf, -inf}) {
    EXPECT_FALSE(ApplyCropPlacement(bad, 0.5, 0.01, 0.01, CropSettings{}).sample);
    EXPECT_FALSE(ApplyCropPlacement(0.5, bad, 0.01, 0.01, Place(0.0, 0.0, 0.5, 0.5)).sample);
  }
}

TEST(CropPlacement, JitterDrawsWhatTheCRuntimeGeneratorGives) {
  for (unsigned seed : {0u, 1u, 1328u, 0x7FFFu, 12345u}) {
    std::srand(seed);
    const int first = std::rand() & 0x7FFF;
    std::rand();
    std::rand();
    const int fourth = std::rand() & 0x7FFF;
    const JitterDraw draw = DrawJitter(seed);
    EXPECT_EQ(draw.first, first) << seed;
    EXPECT_EQ(draw.fourth, fourth) << seed;
  }
}

TEST(CropPlacement, JitterOffsetsAreFixedPerRepeatCell) {
  CropSettings jitter = Place(0.0, 0.0, 0.5, 0.5);
  jitter.jitter = true;
  jitter.jitterAmount = 1.0;
  auto offset = [&](double u, double v) {
    const Placement p = ApplyCropPlacement(u, v, 0.0, 0.0, jitter);
    // Undo the scale: what was subtracted from the fraction.
    return std::pair{EdgeFraction(u) - p.u * 0.5, EdgeFraction(v) - p.v * 0.5};
  };
  const auto a = offset(3.2, 1.3);
  const auto b = offset(3.7, 1.9);
  EXPECT_NEAR(a.first, b.first, 1e-12);
  EXPECT_NEAR(a.second, b.second, 1e-12);
  const auto c = offset(4.2, 1.3);
  EXPECT_NE(a.first, c.first);
  // The seed of cell (3, 1), and what the placement does with its draws.
  const JitterDraw draw = DrawJitter((3u * 14693u - 1u * 3251u - 1328u) & 0x7FFFu);
  EXPECT_NEAR(a.first, draw.first * 0.5 / 32767.0, 1e-12);
  EXPECT_NEAR(a.second, 1.0 - (draw.fourth * 0.5 / 32767.0 + 0.5), 1e-12);
}

}  // namespace
}  // namespace graphel
