#include <gtest/gtest.h>

#include <locale.h>

#include <cmath>
#include <cstdio>
#include <limits>

#include "host/bitmap.h"
#include "host/function_publish.h"
#include "host/host_error.h"
#include "host/locale_handler.h"
#include "host/texture_output.h"
#include "host/uvgen.h"
#include "host/zal_types.h"

namespace {

// Remembers the last coordinates it was asked for and answers with them.
class EchoSampler : public zal::MapSampler {
 public:
  zal::AColor Sample(zal::ShadeContext& sc, double u, double v) override { return SampleFilter(sc, u, v, 0, 0); }
  zal::AColor SampleFilter(zal::ShadeContext&, double u, double v, double du, double dv) override {
    this->u = u;
    this->v = v;
    this->du = du;
    this->dv = dv;
    ++calls;
    return zal::AColor{static_cast<float>(u), static_cast<float>(v), 0, 1};
  }
  float SampleMonoFilter(zal::ShadeContext&, double u, double, double, double) override {
    return static_cast<float>(u * 2.0);
  }
  double u = -1, v = -1, du = -1, dv = -1;
  int calls = 0;
};

zal::PointShadeContext At(double u, double v, double du, double dv) {
  zal::PointShadeContext sc;
  sc.uvw = {u, v, 0};
  sc.duvw = {du, dv, 0};
  return sc;
}

TEST(StdUVGen, TilesOffsetsWrapsAndMirrors) {
  zal::StdUVGen coordinates;
  EchoSampler sampler;
  coordinates.SetUScl(3.0f);
  coordinates.SetVScl(-2.0f);
  coordinates.SetUOffs(0.25f);
  zal::PointShadeContext sc = At(0.5, 0.25, 0.01, 0.02);
  coordinates.EvalUVMap(sc, &sampler, true);
  EXPECT_DOUBLE_EQ(sampler.u, 1.75);
  EXPECT_DOUBLE_EQ(sampler.v, -0.5);
  EXPECT_NEAR(sampler.du, 0.03, 1e-12);
  EXPECT_NEAR(sampler.dv, 0.04, 1e-12);

  coordinates.SetTextureTiling(zal::U_MIRROR | zal::V_WRAP);
  coordinates.SetUScl(1.0f);
  coordinates.SetUOffs(0.0f);
  for (const auto& [u, folded] : {std::pair{0.25, 0.5}, std::pair{0.75, 0.5}, std::pair{0.9, 0.2}, std::pair{1.25, 0.5}}) {
    zal::PointShadeContext at = At(u, 0.5, 0.01, 0.01);
    coordinates.EvalUVMap(at, &sampler, true);
    EXPECT_NEAR(sampler.u, folded, 1e-12) << u;
    EXPECT_NEAR(sampler.du, 0.01, 1e-12) << u;  // the texture doubles it itself
  }

  coordinates.SetTextureTiling(0);
  sampler.calls = 0;
  zal::PointShadeContext outside = At(1.5, 0.5, 0.01, 0.01);
  EXPECT_EQ(coordinates.EvalUVMap(outside, &sampler, true).a, 0.0f);
  zal::PointShadeContext broken = At(std::numeric_limits<double>::quiet_NaN(), 0.5, 0.01, 0.01);
  EXPECT_EQ(coordinates.EvalUVMap(broken, &sampler, true).a, 0.0f);
  EXPECT_EQ(sampler.calls, 0);
}

TEST(StdUVGen, DerivativesAndSurfaceVectors) {
  zal::StdUVGen coordinates;
  EchoSampler sampler;
  coordinates.SetUScl(2.0f);
  zal::PointShadeContext sc = At(0.25, 0.5, 0.01, 0.01);
  const zal::Point2 slope = coordinates.EvalDeriv(sc, &sampler, true);
  EXPECT_NEAR(slope.x, 2.0, 1e-5);  // mono = 2u
  EXPECT_NEAR(slope.y, 0.0, 1e-9);
  sc.dPdu = {4, 0, 0};
  zal::Point3 dP[2];
  coordinates.GetBumpDP(sc, dP);
  EXPECT_EQ(dP[0], (zal::Point3{2, 0, 0}));
  coordinates.SetBlur(1e9f);
  EXPECT_EQ(coordinates.GetBlur(0), 100.0f);
  coordinates.SetBlur(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(coordinates.GetBlur(0), 1.0f);
}

TEST(StdTexoutGen, LevelOffsetInvertAndAmount) {
  zal::StdTexoutGen output;
  output.SetRGBLevel(2.0f);
  output.SetRGBOffset(0.1f);
  const zal::AColor c = output.Filter(zal::AColor{0.2f, 0.0f, 1.0f, 0.5f});
  EXPECT_FLOAT_EQ(c.r, 0.5f);
  EXPECT_FLOAT_EQ(c.g, 0.1f);
  EXPECT_FLOAT_EQ(c.a, 0.5f);
  output.SetInvert(true);
  output.SetOutputAmount(0.5f);
  EXPECT_FLOAT_EQ(output.Filter(0.2f), 0.5f * (1.0f - 0.5f));
  EXPECT_EQ(output.Filter(zal::Point3{2, 0, 0}), (zal::Point3{1, 0, 0}));
}

TEST(BitmapManager, RefusesAbsurdSizesAndClampsChannels) {
  zal::BitmapManager& manager = *zal::TheManager();
  for (const auto& [width, height] : {std::pair{0, 10}, std::pair{10, -1}, std::pair{1 << 17, 1}, std::pair{1 << 14, 1 << 14}}) {
    zal::BitmapInfo info;
    info.width = width;
    info.height = height;
    EXPECT_EQ(manager.Create(info), nullptr) << width << "x" << height;
  }
  zal::BitmapInfo info;
  info.width = 4;
  info.height = 2;
  zal::Bitmap* bitmap = manager.Create(info);
  ASSERT_NE(bitmap, nullptr);
  const zal::BMM_Color_fl row[3] = {{-1.0f, 0.5f, 2.0f, 1.0f}, {0, 0, 0, 0}, {1, 1, 1, 1}};
  EXPECT_EQ(bitmap->PutPixels(2, 1, 3, row), 2);  // clipped at the right edge
  EXPECT_EQ(bitmap->PutPixels(0, 2, 1, row), 0);
  zal::BMM_Color_64 read[2];
  ASSERT_EQ(bitmap->GetPixels(2, 1, 2, read), 2);
  EXPECT_EQ(read[0].r, 0);
  EXPECT_EQ(read[0].g, 32768);
  EXPECT_EQ(read[0].b, 65535);
  bitmap->DeleteThis();
}

TEST(HostTypes, IntervalsAndArguments) {
  zal::Interval valid = zal::FOREVER;
  valid &= zal::Interval(10, 20);
  valid &= zal::Interval(15, 30);
  EXPECT_EQ(valid, zal::Interval(15, 20));
  EXPECT_TRUE(valid.InInterval(15));
  EXPECT_FALSE(valid.InInterval(21));
  valid &= zal::Interval(25, 30);
  EXPECT_TRUE(valid.Empty());
  EXPECT_FALSE(zal::NEVER.InInterval(0));

  zal::FPParams params;
  params.params.push_back(zal::FPValue::String(u"x"));
  EXPECT_EQ(params[0].s, u"x");
  try {
    static_cast<void>(params[1]);
    ADD_FAILURE() << "no error raised";
  } catch (const zal::Error& error) {
    EXPECT_STREQ(error.what(), zal::kArrayIndexError);
  }
}

// Host-facing code formats numbers under the handler: a point inside it, the thread's own locale after.
TEST(ZalLocaleHandler, FormatsWithAPointInsideAndRestoresTheThreadsLocale) {
  const locale_t german = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(0));
  if (german == static_cast<locale_t>(0)) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  const locale_t before = uselocale(german);
  char text[16];
  {
    const zal::ZalLocaleHandler english;
    std::snprintf(text, sizeof text, "%.1f", 1.5);
    EXPECT_STREQ(text, "1.5");
  }
  std::snprintf(text, sizeof text, "%.1f", 1.5);
  EXPECT_STREQ(text, "1,5");
  uselocale(before);
  freelocale(german);
}

}  // namespace
