#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "formats/pdf/page_composite.h"
#include "formats/pdf/page_frame.h"

namespace {

using formats::pdf::BlendLayer;
using formats::pdf::FramePlan;
using formats::pdf::PlanFrame;
using formats::pdf::Raster;

document::PdfPageSettings Settings(float page, bool continuous, uint32_t mode = 0, uint32_t direction = 0,
                                   bool transparent = true) {
  document::PdfPageSettings settings;
  settings.page = page;
  settings.pageCount = 5;
  settings.continuous = continuous ? 1 : 0;
  settings.transitionMode = mode;
  settings.transitionDirection = direction;
  settings.transparent = transparent ? 1 : 0;
  settings.pageWidth = 200.0;
  settings.pageHeight = 100.0;
  return settings;
}

TEST(PlanFrame, ChoosesOneOrTwoPagesByPosition) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float page;
    bool continuous;
    int32_t bottom, top;
  } const cases[] = {
      {3.0f, true, 3, 0},   {3.004f, true, 3, 0}, {3.006f, true, 3, 4}, {3.9f, false, 3, 0},
      {4.5f, true, 4, 5},   {5.5f, true, 5, 0},   {7.25f, true, 5, 0},  {1e30f, true, 5, 0},
      {0.5f, true, 1, 0},   {-2.0f, true, 1, 0},  {nan, true, 1, 0},    {1.0f, false, 1, 0},
  };
  for (const Case& c : cases) {
    const FramePlan plan = PlanFrame(Settings(c.page, c.continuous));
    EXPECT_EQ(plan.bottomPage, c.bottom) << c.page;
    EXPECT_EQ(plan.topPage, c.top) << c.page;
    if (c.top == 0) {
      EXPECT_EQ(plan.t, 0.0f) << c.page;
    }
  }
}

TEST(PlanFrame, OffsetsFollowModeAndDirection) {
  // Position 2.25 on a 200 x 100 frame: t = 0.25.
  struct Case {
    uint32_t mode, direction;
    double bx, by, tx, ty;
  } const cases[] = {
      {0, 3, 0, 0, 0, 0},        {1, 0, 0, 25, 0, -75},     {1, 1, 0, 25, 0, -75},    {1, 2, 50, 0, -150, 0},
      {1, 3, 50, 0, -150, 0},    {1, 4, 0, -25, 0, 75},     {1, 5, 0, -25, 0, 75},    {1, 6, -50, 0, 150, 0},
      {1, 7, -50, 0, 150, 0},    {2, 0, 0, 0, 0, 75},       {2, 1, 0, 0, 150, 75},    {2, 2, 0, 0, 150, 0},
      {2, 3, 0, 0, 150, -75},    {2, 4, 0, 0, 0, -75},      {2, 5, 0, 0, -150, -75},  {2, 6, 0, 0, -150, 0},
      {2, 7, 0, 0, -150, 75},    {3, 0, 0, 0, 0, 25},       {3, 1, 0, 0, 50, 25},     {3, 2, 0, 0, 50, 0},
      {3, 3, 0, 0, 50, -25},     {3, 4, 0, 0, 0, -25},      {3, 5, 0, 0, -50, -25},   {3, 6, 0, 0, -50, 0},
      {3, 7, 0, 0, -50, 25},     {7, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const FramePlan plan = PlanFrame(Settings(2.25f, true, c.mode, c.direction));
    const std::string label = std::to_string(c.mode) + "/" + std::to_string(c.direction);
    EXPECT_DOUBLE_EQ(plan.bottom.x, c.bx) << label;
    EXPECT_DOUBLE_EQ(plan.bottom.y, c.by) << label;
    EXPECT_DOUBLE_EQ(plan.top.x, c.tx) << label;
    EXPECT_DOUBLE_EQ(plan.top.y, c.ty) << label;
    // Move Out lets the current page leave over the next one.
    EXPECT_EQ(plan.bottomPage, c.mode == 3 ? 3 : 2) << label;
    EXPECT_EQ(plan.topPage, c.mode == 3 ? 2 : 3) << label;
  }
}

TEST(PlanFrame, AlphasBackgroundAndBacking) {
  struct Case {
    float page;
    uint32_t mode;
    bool transparent;
    uint32_t bottomAlpha, topAlpha;
    bool background, backing;
  } const cases[] = {
      {1.5f, 0, true, 127, 127, false, false},  {1.5f, 0, false, 255, 127, true, true},
      {1.25f, 0, true, 191, 63, false, false},  {1.5f, 1, true, 255, 255, false, false},
      {1.5f, 2, false, 255, 255, true, true},   {1.0f, 0, false, 255, 255, true, false},
  };
  for (const Case& c : cases) {
    const FramePlan plan = PlanFrame(Settings(c.page, true, c.mode, 0, c.transparent));
    EXPECT_EQ(plan.bottomAlpha, c.bottomAlpha) << c.page << " mode " << c.mode;
    EXPECT_EQ(plan.topAlpha, c.topAlpha) << c.page << " mode " << c.mode;
    EXPECT_EQ(plan.background, c.background) << c.page << " mode " << c.mode;
    EXPECT_EQ(plan.backing, c.backing) << c.page << " mode " << c.mode;
  }
}

TEST(BlendLayer, IntegerArithmeticOnEveryByte) {
  struct Case {
    uint8_t layer[4];
    uint8_t composite[4];
    uint32_t alpha;
    uint8_t expected[4];
  } const cases[] = {
      {{255, 0, 0, 255}, {0, 0, 0, 0}, 255, {254, 0, 0, 254}},
      {{0, 255, 0, 255}, {255, 255, 255, 255}, 255, {0, 255, 0, 255}},
      {{0, 0, 0, 0}, {255, 255, 255, 255}, 255, {254, 254, 254, 254}},
      {{255, 0, 0, 255}, {0, 0, 0, 0}, 127, {126, 0, 0, 126}},
      {{0, 255, 0, 255}, {126, 0, 0, 126}, 127, {63, 126, 0, 189}},
      {{64, 32, 0, 128}, {200, 100, 50, 255}, 0, {199, 99, 49, 254}},
  };
  for (const Case& c : cases) {
    Raster composite(1, 1);
    Raster layer(1, 1);
    std::copy(c.composite, c.composite + 4, composite.pixels.get());
    std::copy(c.layer, c.layer + 4, layer.pixels.get());
    BlendLayer(composite, layer, c.alpha);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(composite.pixels[i], c.expected[i]) << "byte " << i << " alpha " << c.alpha;
  }
}

}  // namespace
