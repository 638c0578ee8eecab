#include "texture/level_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace graphel {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct LevelCase {
  const char* name;
  double du, dv, blur, offset;
  int level;
  double nominalSize;
};

TEST(LevelChoice, PicksTheLevelFromTheSmallerFootprint) {
  const LevelCase cases[] = {
      {"one texel of 1500", 1.0 / 1500, 1.0 / 1500, 1.0, 0.0, 11, 1500.0},
      {"coarse footprint", 1.0 / 100, 1.0 / 100, 1.0, 0.0, 10, 1024.0},
      {"exactly 1024", 1.0 / 1024, 1.0 / 1024, 1.0, 0.0, 11, 1024.0},
      {"just under 1024", 1.0 / 1023.5, 1.0 / 1023.5, 1.0, 0.0, 10, 1024.0},
      {"the smaller axis decides", 0.5, 1.0 / 3000, 1.0, 0.0, 12, 3000.0},
      {"close-ups reach the finer levels", 1e-5, 1e-5, 1.0, 0.0, 17, 100000.0},
      {"the finest level is 24", 1e-9, 1e-9, 1.0, 0.0, 24, 16777216.0},
      {"a vanishing footprint stays at 24", 1e-300, 1e-300, 1.0, 0.0, 24, 16777216.0},
      {"negative counts as tiny", -0.5, 0.25, 1.0, 0.0, 12, 4095.0},
      {"above one counts as one", 5.0, 7.0, 1.0, 0.0, 10, 1024.0},
      {"blur above one reaches finer levels", 1e-5, 1e-5, 8.0, 0.0, 20, 800000.0},
      {"zero blur leaves the footprint alone", 1.0 / 3000, 1.0 / 3000, 0.0, 0.0, 12, 3000.0},
      {"negative blur gives the overview", 1.0 / 3000, 1.0 / 3000, -1.0, 0.0, 10, 1024.0},
      {"blur below one coarsens", 1.0 / 3000, 1.0 / 3000, 0.5, 0.0, 11, 1500.0},
      {"blur offset is taken off first", 0.1 + 1.0 / 2000, 0.1 + 1.0 / 2000, 1.0, 0.1, 11, 2000.0},
      {"infinite footprint is one", kInf, kInf, 1.0, 0.0, 10, 1024.0},
  };
  for (const LevelCase& c : cases) {
    const LevelChoice choice = ChooseLevel(c.du, c.dv, c.blur, c.offset, false);
    EXPECT_EQ(choice.level, c.level) << c.name;
    EXPECT_NEAR(choice.nominalSize, c.nominalSize, 1.0) << c.name;
  }
}

TEST(LevelChoice, NoFootprintUsesLevel12WithAOneTexelBox) {
  for (const auto& [du, dv] : {std::pair{0.0, 0.0}, std::pair{0.0, 0.3}, std::pair{0.3, 0.0}, std::pair{kNaN, 0.1}}) {
    const LevelChoice choice = ChooseLevel(du, dv, 2.0, 0.125, false);
    EXPECT_EQ(choice.level, 12);
    EXPECT_EQ(choice.nominalSize, 4096.0);
    EXPECT_DOUBLE_EQ(choice.du, 2.0 / 4096 + 0.125);
    EXPECT_DOUBLE_EQ(choice.dv, choice.du);
  }
}

TEST(LevelChoice, TheFilterFootprintIsClampedAndOffsetAgain) {
  const LevelChoice tiny = ChooseLevel(1e-7, 0.5, 1.0, 0.0, false);
  EXPECT_DOUBLE_EQ(tiny.du, 1e-7);
  EXPECT_DOUBLE_EQ(tiny.dv, 0.5);
  const LevelChoice negative = ChooseLevel(-1e-7, 0.5, 1.0, 0.0, false);
  EXPECT_DOUBLE_EQ(negative.du, 0.0002442);
  const LevelChoice wide = ChooseLevel(3.0, 0.2, 1.0, 0.05, false);
  EXPECT_DOUBLE_EQ(wide.du, 1.05);
  EXPECT_DOUBLE_EQ(wide.dv, 0.2);
}

TEST(LevelChoice, TheMaterialEditorAlwaysGetsTheOverview) {
  const LevelChoice choice = ChooseLevel(1e-6, 1e-6, 1.0, 0.0, true);
  EXPECT_EQ(choice.level, 10);
  EXPECT_EQ(choice.nominalSize, 1024.0);
}

TEST(LevelChoice, BlendWeightFollowsTheNominalSize) {
  EXPECT_DOUBLE_EQ(MipBlendWeight(ChooseLevel(1.0 / 1500, 1.0 / 1500, 1.0, 0.0, false)), (1500.0 - 1024.0) / 1024.0);
  EXPECT_DOUBLE_EQ(MipBlendWeight(ChooseLevel(1.0 / 3000, 1.0 / 3000, 1.0, 0.0, false)), (3000.0 - 2048.0) / 2048.0);
  EXPECT_DOUBLE_EQ(MipBlendWeight(ChooseLevel(1.0 / 1024, 1.0 / 1024, 1.0, 0.0, false)), 0.0);
  // Level 10 has nothing coarser; a nominal size equal to the level's needs no blend.
  EXPECT_DOUBLE_EQ(MipBlendWeight(ChooseLevel(0.01, 0.01, 1.0, 0.0, false)), 1.0);
  EXPECT_DOUBLE_EQ(MipBlendWeight(ChooseLevel(0.0, 0.0, 1.0, 0.0, false)), 1.0);
}

}  // namespace
}  // namespace graphel
