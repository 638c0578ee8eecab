#include <gtest/gtest.h>

#include <filesystem>

#include "host/bitmap.h"
#include "host/host_error.h"
#include "texture/graphel.h"
#include "texture_fixture.h"

namespace graphel {
namespace {

using testing::At;
using testing::NewTexture;
using testing::RecordingWindow;
using testing::SetFile;
using testing::UpdateAt;
using testing_support::W;
using testing::WriteDrawing;

constexpr uint64_t kFullTileBytes = 1034ull * 1034ull * 4ull;

using zal::BitmapPtr;

zal::BMM_Color_64 PixelOf(const zal::Bitmap& bitmap, int x, int y) {
  zal::BMM_Color_64 pixel;
  bitmap.GetPixels(x, y, 1, &pixel);
  return pixel;
}

TEST(GraphelState, ANewTextureShowsThePlaceholderWithTheDefaults) {
  auto texture = NewTexture();
  EXPECT_EQ(texture->Cache().documentType, 0u);
  EXPECT_TRUE(texture->Cache().hasDocument);
  zal::IParamBlock2& params = *texture->GetParamBlockByID(kParamsBlock);
  EXPECT_EQ(params.GetInt(kFilter), 1);
  EXPECT_EQ(params.GetInt(kMipmap), 1);
  EXPECT_EQ(params.GetInt(kAlphaSource), kAlphaOpaque);
  EXPECT_EQ(params.GetInt(kMonoOutput), 1);
  EXPECT_EQ(texture->GetParamBlockByID(kAdvancedBlock)->GetInt(kHwBitmapSize), 256);
  EXPECT_EQ(texture->Held().hwBitmapSize, 1024);  // until the first update
  UpdateAt(*texture, 0);
  EXPECT_EQ(texture->Held().hwBitmapSize, 256);
  EXPECT_TRUE(texture->Held().filter);
  EXPECT_TRUE(texture->Messages().empty());
}

TEST(GraphelState, ResetBringsEveryParameterBack) {
  auto texture = NewTexture();
  texture->GetParamBlockByID(kParamsBlock)->SetValue(kCropW, 0, 0.25);
  texture->GetParamBlockByID(kPatternBlock)->SetValue(kLineColor, 0, zal::AColor{1, 0, 1, 1});
  texture->GetParamBlockByID(kPdfBlock)->SetKey(kPdfPage, 160, 3.0);
  texture->GetParamBlockByID(kAdvancedBlock)->SetValue(kHwBitmapSize, 0, 4096);
  texture->Reset();
  EXPECT_DOUBLE_EQ(texture->GetParamBlockByID(kParamsBlock)->GetFloat(kCropW), 1.0);
  EXPECT_EQ(texture->GetParamBlockByID(kPatternBlock)->GetAColor(kLineColor), (zal::AColor{0, 0, 0, 1}));
  EXPECT_EQ(texture->GetParamBlockByID(kPdfBlock)->NumKeys(kPdfPage), 0);
  EXPECT_EQ(texture->GetParamBlockByID(kAdvancedBlock)->GetInt(kHwBitmapSize), 256);
  EXPECT_EQ(texture->Validity(0), zal::NEVER);
}

TEST(GraphelState, AFailedLoadShowsThePlaceholderAndOneMessage) {
  auto texture = NewTexture();
  const std::string missing = testing_support::ScratchFolder("StateMissing") + "/missing.svg";
  SetFile(*texture, missing);
  EXPECT_EQ(texture->Cache().documentType, 0u);
  ASSERT_EQ(texture->Messages().size(), 1u);
  EXPECT_EQ(texture->Messages()[0], u"Couldn't open file:\n" + W(missing));
  SetFile(*texture, missing);
  EXPECT_EQ(texture->Messages().size(), 1u);
  // Broken XML names the parser's complaint; the texture still shades.
  SetFile(*texture, WriteDrawing("StateBroken", "<svg><rect></svg>"));
  ASSERT_EQ(texture->Messages().size(), 1u);
  EXPECT_EQ(texture->Messages()[0].rfind(u"XML-Error: ", 0), 0u);
  UpdateAt(*texture, 0);
  zal::PointShadeContext sc = At(0.5, 0.5, 0.01, 0.01);
  EXPECT_EQ(texture->EvalColor(sc).a, 1.0f);
}

TEST(GraphelState, UnsupportedFilesAreRefusedWithAMessageBox) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("StateRefused", testing::kHalfRed));
  std::vector<std::u16string> boxes;
  auto previous = zal::GetCOREInterface()->SetMessageBoxHandler(
      [&](std::u16string_view text, std::u16string_view caption, unsigned) {
        boxes.push_back(std::u16string(text) + u"|" + std::u16string(caption));
      });
  SetFile(*texture, WriteDrawing("StateRefusedTxt", "not a drawing", "notes.txt"));
  zal::GetCOREInterface()->SetMessageBoxHandler(previous);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], u"This was not a (supported) vectorfile|Graphel");
  EXPECT_EQ(texture->Cache().documentType, 1u);  // still the SVG
}

TEST(GraphelState, ScriptedFunctionsByID) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("StateScript", testing::kHalfRed));
  auto* scripted = static_cast<zal::FPInterface*>(texture->GetInterface(kGraphelInterfaceId));
  ASSERT_NE(scripted, nullptr);
  zal::FPValue result;
  zal::FPParams arguments;
  arguments.params.push_back(zal::FPValue::String(u"<svg width='10' height='10'><rect width='10' height='10' fill='#0000ff'/></svg>"));
  EXPECT_EQ(scripted->Invoke(kSetSvgString, result, &arguments).code, zal::FPS_OK);
  EXPECT_TRUE(result.b);
  EXPECT_EQ(texture->Cache().documentType, 10u);
  UpdateAt(*texture, 0);
  zal::PointShadeContext sc = At(0.75, 0.5, 0.01, 0.01);
  EXPECT_NEAR(texture->EvalColor(sc).b, 1.0f, 1e-3);

  arguments.params[0] = zal::FPValue::String(u"");
  EXPECT_EQ(scripted->Invoke(kSetSvgString, result, &arguments).code, zal::FPS_OK);
  EXPECT_EQ(texture->Cache().documentType, 1u);  // back to the file

  const zal::FPStatus missing = scripted->Invoke(kSetSvgString, result, nullptr);
  EXPECT_EQ(missing.code, zal::FPS_FAIL);
  EXPECT_EQ(missing.message, W(zal::kArrayIndexError));
  EXPECT_EQ(scripted->Invoke(7, result, nullptr).code, zal::FPS_NO_SUCH_FUNCTION);
  EXPECT_EQ(scripted->Invoke(kReload, result, nullptr).code, zal::FPS_OK);
  EXPECT_EQ(texture->Cache().documentType, 1u);
  EXPECT_EQ(scripted->Invoke(kRefresh, result, nullptr).code, zal::FPS_OK);
  EXPECT_EQ(texture->Validity(0), zal::NEVER);
}

TEST(GraphelState, MemoryIsPostedOnlyWhenItChanges) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("StateMemory", testing::kQuarters));
  UpdateAt(*texture, 0);
  RecordingWindow window;
  texture->SetMessageTarget(&window);
  window.posted.clear();
  zal::PointShadeContext coarse = At(0.3, 0.3, 0.01, 0.01);
  texture->EvalColor(coarse);
  texture->EvalColor(coarse);
  ASSERT_EQ(window.posted.size(), 1u);
  EXPECT_EQ(window.posted[0].message, kShowMegabytesMessage);
  EXPECT_EQ(window.posted[0].wParam, kFullTileBytes >> 20);
  zal::PointShadeContext fine = At(0.3, 0.3, 1.0 / 3000, 1.0 / 3000);  // level 12 and level 11
  texture->EvalColor(fine);
  EXPECT_EQ(texture->Cache().bytesUsed, 3 * kFullTileBytes);
  EXPECT_EQ(window.posted.back().wParam, (3 * kFullTileBytes) >> 20);
  const size_t posts = window.posted.size();
  texture->RenderEnd(0);  // keeps the overview only
  EXPECT_EQ(texture->Cache().bytesUsed, kFullTileBytes);
  ASSERT_EQ(window.posted.size(), posts + 1);
  EXPECT_EQ(window.posted.back().wParam, kFullTileBytes >> 20);
  texture->SetMessageTarget(nullptr);
}

TEST(GraphelState, ANewRenderTimeDropsTheTiles) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("StateTime", testing::kQuarters));
  UpdateAt(*texture, 0);
  zal::PointShadeContext sc = At(0.3, 0.3, 1.0 / 3000, 1.0 / 3000);
  texture->EvalColor(sc);
  EXPECT_EQ(texture->Cache().fullTiles, 2);
  sc.time = 160;
  const zal::AColor again = texture->EvalColor(sc);
  EXPECT_EQ(texture->Cache().fullTiles, 2);  // dropped, then the two needed rendered again
  sc.time = 0;
  EXPECT_EQ(texture->EvalColor(sc), again);
}

TEST(GraphelState, WholeTextureBitmaps) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("StateBitmap", testing::kWide));
  UpdateAt(*texture, 0);
  BitmapPtr square(texture->MakeBitmap(0, 64, false, true));
  ASSERT_NE(square, nullptr);
  EXPECT_EQ(square->Width(), 64);
  EXPECT_EQ(square->Height(), 64);
  BitmapPtr shaped(texture->MakeBitmap(0, 64, false, false));
  ASSERT_NE(shaped, nullptr);
  EXPECT_EQ(shaped->Width(), 64);
  EXPECT_EQ(shaped->Height(), 32);
  EXPECT_EQ(PixelOf(*shaped, 10, 10).g, 65535);
  EXPECT_EQ(texture->Cache().fullTiles + texture->Cache().uniformTiles, 1);  // the overview stays
  BitmapPtr large(texture->MakeBitmap(0, 1100, true, true));
  ASSERT_NE(large, nullptr);
  EXPECT_EQ(large->Width(), 1100);
  EXPECT_EQ(PixelOf(*large, 550, 550).r, 65535);  // mono: opaque alpha
  for (int absurd : {0, -5, 1 << 20, std::numeric_limits<int>::max()}) {
    EXPECT_EQ(texture->MakeBitmap(0, absurd, false, true), nullptr) << absurd;
  }
}

TEST(GraphelState, RenderersGetBitmapsOfTheirKind) {
  auto texture = NewTexture();
  SetFile(*texture, WriteDrawing("StateRenderBitmap", testing::kHalfRed));
  UpdateAt(*texture, 0);
  zal::BitmapInfo info;
  info.width = 16;
  info.height = 8;
  BitmapPtr target(zal::TheManager()->Create(info));
  texture->RenderBitmap(0, target.get(), 1.0f, true);
  EXPECT_EQ(target->Width(), 16);  // the host's own sampling, at the target's size
  EXPECT_EQ(PixelOf(*target, 2, 4).r, 65535);
  EXPECT_EQ(PixelOf(*target, 13, 4).r, 0);

  zal::GetCOREInterface()->SetCurrentRendererClassID({0x10062999, 0x6E8C2F9E});
  texture->RenderBegin(0, 0);
  texture->RenderBitmap(0, target.get(), 1.0f, true);
  texture->RenderEnd(0);
  zal::GetCOREInterface()->SetCurrentRendererClassID({});
  EXPECT_EQ(target->Width(), 256);  // "hwbitmapsize"
  EXPECT_EQ(target->Height(), 256);
  EXPECT_EQ(PixelOf(*target, 10, 128).r, 65535);
}

}  // namespace
}  // namespace graphel
