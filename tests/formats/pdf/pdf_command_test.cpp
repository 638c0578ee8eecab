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
