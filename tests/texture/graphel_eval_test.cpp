#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "texture/graphel.h"
#include "texture_fixture.h"

namespace graphel {
namespace {

using testing::At;
using testing::NewTexture;
using testing::SetFile;
using testing::UpdateAt;
using testing::WriteDrawing;

void SetParam(Graphel& texture, zal::BlockID block, zal::ParamID id, double value) {
  ASSERT_TRUE(texture.GetParamBlockByID(block)->SetValue(id, 0, value));
}

TEST(GraphelEval, ColoursFollowTheAlphaSourceAndOutput) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalColours", testing::kHalfRed));
  UpdateAt(*texture, 0);
  struct Case {
    const char* name;
    int alphaSource, rgbOutput;
    double u;
    zal::AColor expected;
  };
  const Case cases[] = {
      {"opaque, inside", 2, 0, 0.25, {1, 0, 0, 1}},
      {"opaque, outside is black", 2, 0, 0.75, {0, 0, 0, 1}},
      {"image alpha, outside is clear", 0, 0, 0.75, {0, 0, 0, 0}},
      {"image alpha, inside", 0, 0, 0.25, {1, 0, 0, 1}},
      {"alpha as grey", 0, 1, 0.25, {1, 1, 1, 1}},
      {"intensity alpha", 1, 0, 0.25, {1.0f / 3, 0, 0, 1.0f / 3}},
  };
  for (const Case& c : cases) {
    SetParam(*texture, kParamsBlock, kAlphaSource, c.alphaSource);
    SetParam(*texture, kParamsBlock, kRgbOutput, c.rgbOutput);
    UpdateAt(*texture, 0);
    zal::PointShadeContext sc = At(c.u, 0.5, 0.002, 0.002);
    const zal::AColor colour = texture->EvalColor(sc);
    EXPECT_NEAR(colour.r, c.expected.r, 1e-3) << c.name;
    EXPECT_NEAR(colour.g, c.expected.g, 1e-3) << c.name;
    EXPECT_NEAR(colour.a, c.expected.a, 1e-3) << c.name;
  }
}

TEST(GraphelEval, MonoAnswersAlphaOrIntensity) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalMono", testing::kQuarters));
  SetParam(*texture, kParamsBlock, kAlphaSource, kAlphaFromImage);
  UpdateAt(*texture, 0);
  // Bottom right: white at half opacity, premultiplied to 0.5.
  zal::PointShadeContext sc = At(0.75, 0.25, 0.002, 0.002);
  EXPECT_NEAR(texture->EvalMono(sc), 0.5, 0.01);  // alpha
  SetParam(*texture, kParamsBlock, kMonoOutput, 0);
  UpdateAt(*texture, 0);
  EXPECT_NEAR(texture->EvalMono(sc), 0.5, 0.01);  // intensity of the premultiplied colour
  zal::PointShadeContext green = At(0.75, 0.75, 0.002, 0.002);
  EXPECT_NEAR(texture->EvalMono(green), 1.0 / 3.0, 0.01);
  sc.doMaps = false;
  EXPECT_EQ(texture->EvalMono(sc), 1.0f);
  const zal::AColor none = texture->EvalColor(sc);
  EXPECT_EQ(none.a, 0.0f);
}

TEST(GraphelEval, BumpPointsAcrossAnEdge) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalBump", testing::kHalfRed));
  SetParam(*texture, kParamsBlock, kMonoOutput, 0);
  UpdateAt(*texture, 0);
  // Intensity falls from 1/3 to 0 across u = 0.5: the perturbation points along -dPdu.
  zal::PointShadeContext edge = At(0.5, 0.5, 0.002, 0.002);
  const zal::Point3 atEdge = texture->EvalNormalPerturb(edge);
  EXPECT_LT(atEdge.x, 0.0);
  EXPECT_NEAR(atEdge.y, 0.0, 1e-9);
  zal::PointShadeContext flat = At(0.25, 0.5, 0.002, 0.002);
  const zal::Point3 inside = texture->EvalNormalPerturb(flat);
  EXPECT_NEAR(inside.x, 0.0, 1e-6);
}

TEST(GraphelEval, LevelChoiceAndMipBlendShowInTheTrace) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalTrace", testing::kQuarters));
  UpdateAt(*texture, 0);
  SampleTrace trace;
  zal::PointShadeContext sc = At(0.25, 0.75, 1.0 / 1500, 1.0 / 1500);
  texture->ProbeColor(sc, trace);
  EXPECT_TRUE(trace.sampled);
  EXPECT_EQ(trace.level, 11);
  EXPECT_EQ(trace.blendLevel, 10);
  EXPECT_NEAR(trace.blend, (1500.0 - 1024.0) / 1024.0, 1e-3);
  EXPECT_EQ(trace.tileIndex, 11);  // top left tile of level 11

  SetParam(*texture, kParamsBlock, kMipmap, 0);
  UpdateAt(*texture, 0);
  SampleTrace single;
  texture->ProbeColor(sc, single);
  EXPECT_EQ(single.level, 11);
  EXPECT_EQ(single.blendLevel, -1);

  SampleTrace none;
  zal::PointShadeContext zero = At(0.6, 0.6, 0.0, 0.0);
  texture->ProbeColor(zero, none);
  EXPECT_EQ(none.level, 12);
  EXPECT_EQ(none.tileIndex, 15 + 1 * 4 + 2);
}

TEST(GraphelEval, MirroringDoublesTheFootprint) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalMirror", testing::kQuarters));
  dynamic_cast<zal::StdUVGen*>(texture->GetTheUVGen())->SetTextureTiling(zal::U_MIRROR | zal::V_WRAP);
  texture->Refresh();
  UpdateAt(*texture, 0);
  SampleTrace trace;
  zal::PointShadeContext sc = At(0.1, 0.5, 1.0 / 3000, 1.0 / 1000);
  texture->ProbeColor(sc, trace);
  EXPECT_EQ(trace.level, 11);  // the U footprint counts double, so 1/1500 is the smaller
  EXPECT_NEAR(trace.nominalSize, 1500, 1);
}

// Broken coordinates, footprints and repeats give a defined sample: clear, or the colour under the
// clamped footprint, and never a level beyond the finest.
TEST(GraphelEval, BadInputGivesADefinedSample) {
  auto texture = testing::LoadedTexture("EvalBad", testing::kHalfRed);
  SetParam(*texture, kParamsBlock, kAlphaSource, kAlphaFromImage);
  UpdateAt(*texture, 0);
  auto* coordinates = dynamic_cast<zal::StdUVGen*>(texture->GetTheUVGen());
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  constexpr float kAny = -1.0f;
  struct Case {
    const char* name;
    double u, v, du, dv;
    float tiling;
    float alpha;  // expected, or kAny
  };
  const Case cases[] = {
      {"NaN u", nan, 0.5, 0.01, 0.01, 1.0f, 0.0f},
      {"infinite v", 0.25, inf, 0.01, 0.01, 1.0f, 0.0f},
      {"NaN footprint", 0.25, 0.5, nan, nan, 1.0f, 1.0f},
      {"infinite footprint", 0.25, 0.5, inf, inf, 1.0f, kAny},
      {"negative footprint", 0.25, 0.5, -3.0, -3.0, 1.0f, 1.0f},
      {"zero footprint", 0.25, 0.5, 0.0, 0.0, 1.0f, 1.0f},
      {"vanishing footprint", 0.25, 0.5, 1e-300, 1e-300, 1.0f, 1.0f},
      {"huge coordinates", 1e300, 1e300, 1e300, 1e300, 1.0f, kAny},
      {"far negative", -1e18, 0.5, 0.01, 0.01, 1.0f, kAny},
      {"no tiling", 0.25, 0.5, 0.01, 0.01, 0.0f, 0.0f},
      {"tiling below a tenth", 0.25, 0.5, 0.01, 0.01, -0.05f, 0.0f},
      {"a billion repeats", 0.25, 0.5, 0.01, 0.01, 1e9f, kAny},
      {"three repeats", 0.25 / 3.0, 0.5, 0.01 / 3, 0.01, 3.0f, 1.0f},
  };
  for (const Case& c : cases) {
    coordinates->SetUScl(c.tiling);
    UpdateAt(*texture, 0);
    SampleTrace trace;
    zal::PointShadeContext sc = At(c.u, c.v, c.du, c.dv);
    const zal::AColor colour = texture->ProbeColor(sc, trace);
    EXPECT_TRUE(std::isfinite(colour.r) && std::isfinite(colour.a)) << c.name;
    EXPECT_GE(colour.a, 0.0f) << c.name;
    EXPECT_LE(colour.a, 1.0f) << c.name;
    if (c.alpha != kAny) {
      EXPECT_NEAR(colour.a, c.alpha, 1e-3) << c.name;
    }
    if (trace.sampled) {
      EXPECT_GE(trace.level, 10) << c.name;
      EXPECT_LE(trace.level, 24) << c.name;
    }
  }
}

TEST(GraphelEval, PlacementLeavesTheRestClear) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalPlace", testing::kQuarters));
  zal::IParamBlock2& params = *texture->GetParamBlockByID(kParamsBlock);
  params.SetValue(kAlphaSource, 0, kAlphaFromImage);
  params.SetValue(kApplyCrop, 0, 1);
  params.SetValue(kCropOrPlace, 0, 1);
  params.SetValue(kCropU, 0, 0.5);
  params.SetValue(kCropV, 0, 0.5);
  params.SetValue(kCropW, 0, 0.5);
  params.SetValue(kCropH, 0, 0.5);
  UpdateAt(*texture, 0);
  // The image now fills the bottom right quarter (V counts upwards).
  zal::PointShadeContext outside = At(0.25, 0.75, 0.001, 0.001);
  EXPECT_EQ(texture->EvalColor(outside).a, 0.0f);
  SampleTrace trace;
  zal::PointShadeContext inside = At(0.625, 0.375, 0.001, 0.001);  // top left quarter of the image: red
  const zal::AColor red = texture->ProbeColor(inside, trace);
  EXPECT_NEAR(trace.u, 0.25, 1e-9);
  EXPECT_NEAR(trace.v, 0.75, 1e-9);
  EXPECT_NEAR(red.r, 1.0f, 1e-3);
  EXPECT_NEAR(red.g, 0.0f, 1e-3);
}

TEST(GraphelEval, AnimatedCropIsReadAtTheUpdateTime) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("EvalKeys", testing::kQuarters));
  zal::IParamBlock2& params = *texture->GetParamBlockByID(kParamsBlock);
  params.SetValue(kApplyCrop, 0, 1);
  params.SetValue(kCropW, 0, 0.5);
  params.SetKey(kCropU, 0, 0.0);
  params.SetKey(kCropU, 10 * zal::kTicksPerFrame, 0.5);
  UpdateAt(*texture, 5 * zal::kTicksPerFrame);
  EXPECT_NEAR(texture->Held().crop.u, 0.25, 1e-9);
  // Between keys the texture holds for that instant only.
  EXPECT_EQ(texture->Validity(5 * zal::kTicksPerFrame), zal::Interval(5 * zal::kTicksPerFrame, 5 * zal::kTicksPerFrame));
  UpdateAt(*texture, 20 * zal::kTicksPerFrame);
  EXPECT_NEAR(texture->Held().crop.u, 0.5, 1e-9);
}

// The edge of a repeat belongs to the repeat below it: u = 1 reads like a point just inside the
// image's right edge, not like the left edge of the next repeat.
TEST(GraphelEval, RepeatEdgesReadTheRepeatBelow) {
  auto texture = testing::LoadedTexture("EvalEdges", testing::kQuarters);
  struct Case {
    const char* name;
    double u, v;
    double inwardU, inwardV;  // towards the repeat below
  };
  constexpr double kStep = 1e-7;
  const Case cases[] = {
      {"right edge of the first repeat", 1.0, 0.75, -kStep, 0.0},
      {"right edge of a later repeat", 3.0, 0.25, -kStep, 0.0},
      {"top edge", 0.25, 1.0, 0.0, -kStep},
      {"top right corner", 1.0, 1.0, -kStep, -kStep},
      {"a negative edge", -1.0, 0.75, -kStep, 0.0},
  };
  auto colourAt = [&](double u, double v) {
    zal::PointShadeContext sc = At(u, v, 0.0, 0.0);
    return texture->EvalColor(sc);
  };
  auto distance = [](const zal::AColor& a, const zal::AColor& b) {
    return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b) + std::fabs(a.a - b.a);
  };
  for (const Case& c : cases) {
    const zal::AColor edge = colourAt(c.u, c.v);
    EXPECT_LT(distance(edge, colourAt(c.u + c.inwardU, c.v + c.inwardV)), 1e-3) << c.name;
    EXPECT_GT(distance(edge, colourAt(c.u - c.inwardU, c.v - c.inwardV)), 0.3) << c.name;
  }
}

// A close-up reads a deep level: across a disc's edge, one shaded pixel apart per footprint, the
// alpha climbs from clear to opaque within two pixels.
TEST(GraphelEval, CloseUpsStaySharp) {
  auto texture =
      testing::LoadedTexture("EvalCloseUp", "<svg width='100' height='100'><circle cx='50' cy='50' r='30'/></svg>");
  SetParam(*texture, kParamsBlock, kAlphaSource, kAlphaFromImage);
  UpdateAt(*texture, 0);
  for (const double footprint : {1e-5, 2e-6}) {
    int ramp = 0;
    SampleTrace trace;
    for (int i = -32; i < 32; ++i) {
      zal::PointShadeContext sc = At(0.2 + i * footprint, 0.5, footprint, footprint);
      const float alpha = i == 0 ? texture->ProbeColor(sc, trace).a : texture->EvalColor(sc).a;
      if (alpha > 0.05f && alpha < 0.95f) ++ramp;
      if (i < -2) {
        EXPECT_LT(alpha, 0.05f) << footprint << " " << i;
      } else if (i > 2) {
        EXPECT_GT(alpha, 0.95f) << footprint << " " << i;
      }
    }
    EXPECT_GE(trace.level, 16) << footprint;
    EXPECT_LE(ramp, 2) << footprint;
  }
}

}  // namespace
}  // namespace graphel
