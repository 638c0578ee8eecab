#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "formats/pdf/pdf_maker.h"
#include "support/png_reader.h"
#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using pdf_testing::MakePdf;
using pdf_testing::SolidPage;
using testing_support::RunGraphel;

std::string TwoPages() {
  const std::string path = testing_support::ScratchFolder("PdfCommand") + "/two.pdf";
  testing_support::WriteFile(path, MakePdf({SolidPage(100, 50, 1, 0, 0), SolidPage(100, 200, 0, 1, 0)}));
  return path;
}

TEST(PdfCommand, InfoGivesPagesExtentAndErrors) {
  const std::string path = TwoPages();
  const auto result = RunGraphel("info '" + path + "'");
  ASSERT_EQ(result.exitCode, 0) << result.output;
  const auto info = nlohmann::json::parse(result.output);
  EXPECT_EQ(info["type"], 4);
  EXPECT_EQ(info["pageCount"], 2);
  EXPECT_EQ(info["extent"]["width"], 100.0);
  EXPECT_EQ(info["extent"]["height"], 200.0);

  const std::string bad = testing_support::ScratchFolder("PdfCommandBad") + "/bad.ai";
  testing_support::WriteFile(bad, "\n%PDF-1.4");
  const auto refused = RunGraphel("info '" + bad + "'");
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(nlohmann::json::parse(refused.output)["shown"], "\"" + bad + "\" is not a PDF-file");
}

TEST(PdfCommand, RenderTakesThePdfParameters) {
  const std::string path = TwoPages();
  const std::string out = testing_support::ScratchFolder("PdfCommandRender") + "/frame.png";
  struct Probe {
    int x, y;
    uint8_t rgba[4];  // straight colour
  };
  struct Case {
    std::string params;
    Probe probes[2];
  } const cases[] = {
      // Move In from the right, a quarter of the way: page 2 covers the right quarter; page 1 is the
      // bottom quarter of the 100 x 200 frame.
      {"--param pdf_page=1.25 --param continous=on --param transition_mode=2 --param transitiondir=2",
       {{5, 35, {255, 0, 0, 253}}, {35, 35, {0, 255, 0, 254}}}},
      {"--param pdf_page=1 --param transparent=false --param pagecolor=#0000ff",
       {{20, 35, {254, 0, 0, 255}}, {20, 5, {0, 0, 255, 254}}}},
  };
  for (const Case& c : cases) {
    const auto result = RunGraphel("render '" + path + "' -o '" + out + "' --size 40 " + c.params);
    ASSERT_EQ(result.exitCode, 0) << c.params;
    std::vector<uint8_t> rgba;
    uint32_t width = 0, height = 0;
    std::string error;
    ASSERT_TRUE(testing_support::ReadPng(out, rgba, width, height, error)) << error;
    for (const Probe& probe : c.probes) {
      for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(rgba[(probe.y * 40 + probe.x) * 4 + i], probe.rgba[i], 1)
            << c.params << " at " << probe.x << "," << probe.y << " byte " << i;
      }
    }
  }
  EXPECT_EQ(RunGraphel("render '" + path + "' -o '" + out + "' --size 8 --param pdf_pages=2").exitCode, 2);
}

}  // namespace

namespace {

TEST(PdfCommand, TextureSamplesMatchTheSameDrawingAsSvg) {
  // Red below, green above: as a PDF page (y up) and as SVG (y down).
  const std::string folder = testing_support::ScratchFolder("PdfTexture");
  testing_support::WriteFile(folder + "/halves.pdf",
                             MakePdf({{100, 100, "1 0 0 rg 0 0 100 50 re f 0 1 0 rg 0 50 100 50 re f", 0}}));
  testing_support::WriteFile(folder + "/halves.svg",
                             "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'><rect y='50' "
                             "width='100' height='50' fill='red'/><rect width='100' height='50' fill='lime'/></svg>");
  // Footprints from the whole texture in one tile down to pyramid levels of several tiles a side.
  for (const char* uv : {"0.3,0.2", "0.7,0.8", "0.1,0.45", "0.9,0.55"}) {
    for (const char* duv : {"0.1,0.1", "0.0004,0.0004", "0.00005,0.00005"}) {
      const std::string where = std::string(" --uv ") + uv + " --duv " + duv;
      const auto pdf = RunGraphel("sample '" + folder + "/halves.pdf'" + where);
      const auto svg = RunGraphel("sample '" + folder + "/halves.svg'" + where);
      ASSERT_EQ(pdf.exitCode, 0) << pdf.output;
      const auto pdfColour = nlohmann::json::parse(pdf.output)["colour"];
      const auto svgColour = nlohmann::json::parse(svg.output)["colour"];
      for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(pdfColour[i].get<double>(), svgColour[i].get<double>(), 0.02) << where << " channel " << i;
      }
    }
  }
}

}  // namespace
