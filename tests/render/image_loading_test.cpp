#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "document/standalone_callback.h"
#include "render/image_rendering.h"
#include "support/test_support.h"

namespace {

using document::StandaloneCallback;
using namespace image_testing;
using testing_support::N;

constexpr uint32_t kImageDecodeError = 21;

std::string TestFolder() {
  return testing_support::ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
}

void Place(const std::string& folder, const std::string& relative, const std::string& bytes) {
  const std::filesystem::path path = std::filesystem::path(folder) / relative;
  std::filesystem::create_directories(path.parent_path());
  testing_support::WriteFile(path.string(), bytes);
}

// A stand-in host loader that hands out a fixed 2 x 1 picture with chosen flags and counts calls.
class FixedPictureCallback : public svg::SvgScriptCallback {
 public:
  void Begin(const agg::trans_affine&) override {}
  void End() override {}
  void Evaluate(std::u16string_view, std::u16string&) override {}
  void ReportError(uint32_t code, std::u16string_view) override { reports.push_back(code); }
  bool LoadPicture(svg::PictureRecord& picture) override {
    ++loads;
    if (!succeed) return false;
    picture.pixels.reset(new uint8_t[8]{200, 100, 64, 128, 16, 32, 255, 255});
    picture.width = 2;
    picture.height = 1;
    picture.gamma = gamma;
    picture.applyGamma = applyGamma;
    picture.hasAlpha = hasAlpha;
    picture.flag4Clear = flag4Clear;
    return true;
  }

  bool succeed = true, applyGamma = false, hasAlpha = true, flag4Clear = false;
  float gamma = 1.0f;
  int loads = 0;
  std::vector<uint32_t> reports;
};

TEST(LinkedImages, ResolveAgainstTheDrawingsFolderAndTheNearestXmlBase) {
  const std::string folder = TestFolder();
  Place(folder, "pics/q.png", Fixture("quadrants.png"));
  Place(folder, "other/deeper/q.png", Fixture("quadrants.png"));
  const std::array<const char*, 3> cases[] = {
      {"<image width='10' height='10' xlink:href='pics/q.png'/>", "pics/q.png", ""},
      {"<image width='10' height='10' xlink:href='./pics/../pics\\q.png#part'/>", "pics/q.png", "part"},
      {"<g xml:base='other'><image width='10' height='10' xlink:href='deeper/q.png'/></g>", "other/deeper/q.png", ""},
      {"<g xml:base='elsewhere/'><image xml:base='other/deeper' width='10' height='10' xlink:href='q.png'/></g>",
       "other/deeper/q.png", ""},
  };
  for (const auto& [body, loadedFrom, fragment] : cases) {
    testing_support::WriteFile(folder + "/drawing.svg", Svg(body));
    StandaloneCallback callback;
    const Rendering r(folder + "/drawing.svg", false, callback);
    ExpectColour(r, 2, 2, kRed, 0, body);
    ExpectColour(r, 7, 7, kWhite, 0, body);
    EXPECT_TRUE(callback.Reports().empty()) << body;
    EXPECT_EQ(N(r.FirstImage().picture.path), folder + "/" + loadedFrom) << body;
    EXPECT_EQ(N(r.FirstImage().pictureFragment), fragment) << body;
    EXPECT_EQ(N(r.FirstImage().pictureExtension), "png") << body;
  }
  StandaloneCallback callback;
  const Rendering r(Svg("<image xml:base='" + folder + "/other' width='10' height='10' xlink:href='deeper/q.png'/>"),
                    true, callback);
  ExpectColour(r, 2, 2, kRed, 0, "an absolute xml:base replaces the drawing's folder");
}

TEST(LinkedImages, MissingFilesAreReportedOnceEachWithCode21AndDrawNothing) {
  const std::string folder = TestFolder();
  testing_support::WriteFile(folder + "/drawing.svg", Svg("<image width='100' height='100' xlink:href='gone.png'/>"
                                                          "<image width='100' height='100' xlink:href='gone.png'/>"
                                                          "<image width='9' height='9' xlink:href='also gone.jpg'/>"));
  StandaloneCallback callback;
  Rendering r(folder + "/drawing.svg", false, callback);
  EXPECT_TRUE(r.Blank());
  r.RenderAgain();
  ASSERT_EQ(callback.Reports().size(), 2u);
  EXPECT_EQ(callback.Reports()[0].code, kImageDecodeError);
  EXPECT_EQ(N(callback.Reports()[0].message), folder + "/gone.png");
  EXPECT_EQ(N(callback.Reports()[1].message), folder + "/also gone.jpg");
}

// Every broken picture, embedded or linked, draws nothing, is reported once with code 21 and leaves
// nothing in the temporary folder (the decoder tests show lying headers are refused before decoding).
TEST(BrokenImages, FailCleanlyWithAReportAndNoTemporaryFiles) {
  const std::string png = Fixture("quadrants.png");
  const std::string jpeg = Fixture("quadrants.jpg");
  const std::pair<const char*, std::string> pictures[] = {
      {"truncated png", png.substr(0, png.size() / 2)},
      {"truncated jpeg", jpeg.substr(0, jpeg.size() * 3 / 4)},
      {"png header announcing 1 x 1e9", Fixture("header_1x1e9.png")},
      {"jpeg header announcing 16384 x 16384", Fixture("header_16384x16384.jpg")},
      {"text", "this is not a picture"},
  };
  const std::string folder = TestFolder();
  for (const auto& [name, bytes] : pictures) {
    const bool isJpeg = bytes.rfind("\xFF\xD8", 0) == 0;
    const std::string file = std::string(name) + (isJpeg ? ".jpg" : ".png");
    Place(folder, file, bytes);
    testing_support::WriteFile(folder + "/linked.svg", Svg("<image width='99' height='99' xlink:href='" + file + "'/>"));
    const std::string embedded = Svg(std::string("<image width='99' height='99' xlink:href='data:image/") +
                                     (isJpeg ? "jpg" : "png") + ";base64," + Base64(bytes) + "'/>");
    for (const bool linked : {false, true}) {
      const std::string label = std::string(name) + (linked ? ", linked" : ", embedded");
      StandaloneCallback callback;
      const Rendering r(linked ? folder + "/linked.svg" : embedded, !linked, callback);
      EXPECT_TRUE(r.Blank()) << label;
      EXPECT_EQ(r.temporaryFiles, 0u) << label;
      ASSERT_EQ(callback.Reports().size(), 1u) << label;
      EXPECT_EQ(callback.Reports()[0].code, kImageDecodeError) << label;
      const std::string message = N(callback.Reports()[0].message);
      if (linked) {
        EXPECT_EQ(message, folder + "/" + file) << label;
      } else {
        EXPECT_NE(message.find("svg_temp"), std::string::npos) << label << ": names the temporary file";
        EXPECT_EQ(message.substr(message.size() - 4), isJpeg ? ".jpg" : ".png") << label;
      }
    }
  }
}

TEST(BrokenImages, Base64StopsWhereTheAlphabetEnds) {
  const std::string good = Base64(Fixture("quadrants.png"));
  const std::pair<std::string, bool> cases[] = {
      {"!!!!", false},
      {"%%%%" + good, false},
      {good.substr(0, 40) + "*" + good.substr(40), false},
      {good + "=garbage after the padding", true},
      {good + "~~", true},
  };
  for (const auto& [payload, drawn] : cases) {
    StandaloneCallback callback;
    const Rendering r(Svg("<image width='100' height='100' xlink:href='data:image/png;base64," + payload + "'/>"),
                      true, callback);
    EXPECT_EQ(!r.Blank(), drawn) << payload.substr(0, 50);
    EXPECT_EQ(callback.Reports().size(), drawn ? 0u : 1u) << payload.substr(0, 50);
    EXPECT_EQ(r.temporaryFiles, 0u);
  }
}

TEST(DecodedRecord, IsReusedOnceItHoldsPixelsAndRetriedWhileItDoesNot) {
  FixedPictureCallback callback;
  Rendering r(Svg("<image width='2' height='1' xlink:href='" + EmbeddedPng() + "'/>"), true, callback);
  r.RenderAgain();
  EXPECT_EQ(callback.loads, 1);
  EXPECT_EQ(r.temporaryFiles, 0u);

  FixedPictureCallback failing;
  failing.succeed = false;
  Rendering f(Svg("<image width='2' height='1' xlink:href='x.png'/>"), true, failing);
  f.RenderAgain();
  EXPECT_EQ(failing.loads, 2);
  EXPECT_EQ(failing.reports, (std::vector<uint32_t>{kImageDecodeError, kImageDecodeError}));
}

TEST(DecodedRecord, LoaderFlagsSelectGammaAndPremultiplication) {
  struct Case {
    const char* name;
    bool hasAlpha, flag4Clear, applyGamma;
    float gamma;
    Colour first, second;
  };
  const Case cases[] = {
      {"straight alpha is premultiplied", true, false, false, 1.0f, {100, 50, 32, 128}, {16, 32, 255, 255}},
      {"flag 4 clear: taken as it is", true, true, false, 1.0f, {200, 100, 64, 128}, {16, 32, 255, 255}},
      {"no alpha: taken as it is", false, false, false, 1.0f, {200, 100, 64, 128}, {16, 32, 255, 255}},
      // 255 * (c / 255)^(1 / (gamma * 2.2)), integer part; alpha untouched.
      {"gamma 1 brightens", false, false, true, 1.0f, {228, 166, 136, 128}, {72, 99, 255, 255}},
      {"gamma 1/2.2 is neutral", false, false, true, static_cast<float>(1.0 / 2.2), {200, 100, 64, 128},
       {16, 32, 255, 255}},
  };
  for (const Case& c : cases) {
    FixedPictureCallback callback;
    callback.hasAlpha = c.hasAlpha;
    callback.flag4Clear = c.flag4Clear;
    callback.applyGamma = c.applyGamma;
    callback.gamma = c.gamma;
    const Rendering r(Svg("<image width='2' height='1' xlink:href='any.png'/>", 2, 1), true, callback, 2, 1);
    EXPECT_EQ(r.At(0, 0), c.first) << c.name;
    EXPECT_EQ(r.At(1, 0), c.second) << c.name;
  }
}

TEST(DecodedRecord, StandaloneLoaderHandsOverStraightAlphaForPremultiplication) {
  StandaloneCallback callback;
  const Rendering r(Svg("<image width='2' height='1' xlink:href='" + EmbeddedPng("rgba.png") + "'/>", 2, 1), true,
                    callback, 2, 1);
  ExpectColour(r, 0, 0, kClear, 0, "colour under zero alpha never shows");
  EXPECT_EQ(r.At(1, 0), (Colour{100, 50, 25, 128}));
  const svg::PictureRecord& picture = r.FirstImage().picture;
  EXPECT_TRUE(picture.hasAlpha);
  EXPECT_FALSE(picture.flag4Clear);
  EXPECT_FALSE(picture.applyGamma);
}

}  // namespace
