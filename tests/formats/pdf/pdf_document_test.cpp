#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/load_messages.h"
#include "document/vector_document.h"
#include "formats/pdf/pdf_maker.h"
#include "support/test_support.h"

namespace {

using document::PdfPageSettings;
using document::VectorDocument;
using pdf_testing::MakePdf;
using pdf_testing::PageSpec;
using pdf_testing::SolidPage;
using testing_support::N;
using testing_support::W;

using Rgba = std::array<int, 4>;

// Opaque colours after one integer blend pass onto an empty composite, and after a second pass under an
// empty layer (see BlendLayer).
constexpr Rgba kRed{254, 0, 0, 254};
constexpr Rgba kRedUnder{253, 0, 0, 253};
constexpr Rgba kGreen{0, 254, 0, 254};
constexpr Rgba kGreenUnder{0, 253, 0, 253};
constexpr Rgba kWhite{254, 254, 254, 254};

std::string Write(const std::string& name, const std::string& content) {
  const std::string path = testing_support::ScratchFolder(name) + "/" + name;
  testing_support::WriteFile(path, content);
  return path;
}

// Three equal pages: red, green, blue.
std::string FramesPdf() {
  return Write("frames.pdf", MakePdf({SolidPage(100, 100, 1, 0, 0), SolidPage(100, 100, 0, 1, 0),
                                      SolidPage(100, 100, 0, 0, 1)}));
}

// Three pages of different sizes; the third has text and vector art.
std::string SizesPdf() {
  PageSpec art{150, 150,
               "0 0 0 rg BT /F1 30 Tf 10 100 Td (Hello) Tj ET "
               "0 0 1 RG 4 w 75 20 m 130 20 130 75 75 75 c 20 75 20 20 75 20 c S",
               0};
  return Write("sizes.pdf", MakePdf({SolidPage(200, 100, 1, 0, 0), SolidPage(100, 300, 0, 1, 0), art}));
}

std::unique_ptr<VectorDocument> Load(const std::string& path, svg::LoadError& error, PdfPageSettings& settings) {
  return VectorDocument::Create(error, false, W(path), nullptr, 1.0, &settings);
}

Rgba At(const uint8_t* pixels, int size, int x, int y) {
  const uint8_t* p = pixels + (static_cast<size_t>(y) * size + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

std::string Show(const Rgba& c) {
  std::ostringstream text;
  text << c[0] << "," << c[1] << "," << c[2] << "," << c[3];
  return text.str();
}

bool Near(const Rgba& a, const Rgba& b, int tolerance) {
  for (size_t i = 0; i < 4; ++i) {
    if (std::abs(a[i] - b[i]) > tolerance) return false;
  }
  return true;
}

struct Probe {
  int x, y;
  Rgba colour;
};

struct FrameCase {
  const char* label;
  float page;
  uint32_t mode, direction;
  bool transparent;
  std::vector<Probe> probes;
  int tolerance = 0;
};

void CheckFrames(const std::string& path, const std::vector<FrameCase>& cases, int size) {
  for (const FrameCase& c : cases) {
    PdfPageSettings settings;
    settings.page = c.page;
    settings.continuous = 1;
    settings.transitionMode = c.mode;
    settings.transitionDirection = c.direction;
    settings.transparent = c.transparent ? 1 : 0;
    settings.pageColour = {0.0, 0.0, 1.0, 1.0};
    svg::LoadError error;
    const auto loaded = Load(path, error, settings);
    ASSERT_TRUE(loaded->Loaded()) << c.label << ": " << error.code;
    const auto pixels = loaded->RenderWhole(size);
    ASSERT_NE(pixels, nullptr) << c.label;
    for (const Probe& probe : c.probes) {
      const Rgba seen = At(pixels.get(), size, probe.x, probe.y);
      EXPECT_TRUE(Near(seen, probe.colour, c.tolerance))
          << c.label << " at " << probe.x << "," << probe.y << ": " << Show(seen) << " not " << Show(probe.colour);
    }
  }
}

TEST(PdfOpen, CountsPagesAndTakesTheLargestMediaBox) {
  const std::string pdf = SizesPdf();
  const std::string ai = Write("sizes.ai", MakePdf({SolidPage(50, 60, 0, 0, 0)}));
  struct Case {
    std::string path;
    uint32_t pages;
    double width, height;
  } const cases[] = {{pdf, 3, 200, 300}, {ai, 1, 50, 60}};
  for (const Case& c : cases) {
    PdfPageSettings settings;
    svg::LoadError error;
    const auto loaded = Load(c.path, error, settings);
    ASSERT_TRUE(loaded->Loaded()) << c.path << " " << N(error.message);
    EXPECT_EQ(loaded->Type(), document::FileType::kPdf);
    EXPECT_EQ(loaded->PageCount(), c.pages);
    EXPECT_EQ(settings.pageCount, c.pages) << "written back to the caller's record";
    EXPECT_EQ(loaded->Extent().width, c.width);
    EXPECT_EQ(loaded->Extent().height, c.height);
    EXPECT_EQ(settings.pageWidth, c.width);
  }
}

TEST(PdfOpen, RefusedFilesGiveTheirCodeAndMessage) {
  const std::string good = MakePdf({SolidPage(100, 100, 1, 0, 0)});
  const std::string folder = testing_support::ScratchFolder("PdfRefused");
  const std::string plain = Write("plain.pdf", good);
  ASSERT_TRUE(pdf_testing::EncryptPdf(plain, folder + "/locked.pdf", "user-secret"));
  ASSERT_TRUE(pdf_testing::EncryptPdf(plain, folder + "/owner-only.pdf", ""));
  struct Case {
    std::string name;
    std::string content;  // empty: the file is made above, or missing
    uint32_t code;
    std::string shownStart;  // the message up to the path
  } const cases[] = {
      {"missing.pdf", "", 1, "Couldn't open file:\n"},
      {"text.pdf", "hello world", 31, "\""},
      {"bom.pdf", "\xEF\xBB\xBF" + good, 31, "\""},
      {"blank.pdf", "\n" + good, 31, "\""},
      {"short.pdf", "%PDF\n1.4", 31, "\""},
      {"empty.pdf", "", 31, "\""},
      {"body.pdf", "%PDF-1.7\nthis is no PDF body at all\n", 32, "Error reading PDF-file: "},
      {"locked.pdf", "", 32, "Error reading PDF-file: "},
      {"owner-only.pdf", "", 0, ""},
  };
  for (const Case& c : cases) {
    const std::string path = folder + "/" + c.name;
    if (!c.content.empty() || c.name == "empty.pdf") testing_support::WriteFile(path, c.content);
    PdfPageSettings settings;
    svg::LoadError error;
    const auto loaded = Load(path, error, settings);
    EXPECT_EQ(error.code, c.code) << c.name << ": " << N(error.message);
    EXPECT_EQ(loaded->Loaded(), c.code == 0) << c.name;
    const std::string shown = N(document::ShownMessage(error, W(path)));
    EXPECT_EQ(shown, c.code == 31 ? "\"" + path + "\" is not a PDF-file" : c.code == 0 ? "" : c.shownStart + path)
        << c.name;
  }
}

TEST(PdfRender, PagesAndTransitionsOfEqualPages) {
  // 100 x 100 pages at 40 pixels: probes in the upper-left, upper-right, lower-left and lower-right quarters.
  const std::vector<FrameCase> cases = {
      {"page 1", 1.0f, 0, 0, true, {{5, 5, kRed}, {35, 35, kRed}}},
      {"page 3 beyond the last", 7.5f, 1, 0, true, {{5, 5, {0, 0, 254, 254}}}},
      {"blend halfway", 2.5f, 0, 0, true, {{5, 5, {0, 63, 126, 189}}, {35, 35, {0, 63, 126, 189}}}},
      {"scroll up", 1.5f, 1, 0, true, {{5, 5, kRedUnder}, {35, 15, kRedUnder}, {5, 25, kGreen}, {35, 35, kGreen}}},
      {"scroll diagonal falls to up", 1.5f, 1, 1, true, {{5, 5, kRedUnder}, {5, 25, kGreen}}},
      {"scroll right", 1.5f, 1, 2, true, {{25, 5, kRedUnder}, {5, 5, kGreen}}},
      {"move in from the right", 1.25f, 2, 2, true, {{5, 5, kRedUnder}, {25, 35, kRedUnder}, {35, 5, kGreen}}},
      {"move in from the top", 1.25f, 2, 0, true, {{5, 5, kGreen}, {5, 15, kRedUnder}}},
      {"move out downwards", 1.25f, 3, 4, true, {{5, 5, kGreenUnder}, {35, 15, kRed}, {5, 35, kRed}}},
      {"blend over the page colour", 1.5f, 0, 0, false, {{20, 20, {64, 126, 64, 255}}}, 2},
      {"move in with a backing", 1.25f, 2, 2, false, {{35, 5, {0, 254, 0, 255}}, {5, 5, {253, 0, 0, 254}}}},
  };
  CheckFrames(FramesPdf(), cases, 40);
}

TEST(PdfRender, SmallerPagesSitAtTheLowerLeftOverThePageColour) {
  // 200 x 300 frame at 60 pixels: a pixel is 10/3 wide and 5 high in points.
  const std::vector<FrameCase> cases = {
      {"tall page 2", 2.0f, 0, 0, false, {{5, 5, {0, 254, 0, 255}}, {45, 5, {0, 0, 254, 254}}}},
      {"wide page 1", 1.0f, 0, 0, false, {{45, 55, {254, 0, 0, 255}}, {45, 5, {0, 0, 254, 254}}}},
      {"wide page 1, transparent", 1.0f, 0, 0, true, {{45, 55, kRed}, {45, 5, {0, 0, 0, 0}}}},
  };
  CheckFrames(SizesPdf(), cases, 60);
}

TEST(PdfRender, RotationCodesAndTransparency) {
  // A white page with a red square in its content's top-left corner, turned by /Rotate.
  const std::string marker = "1 1 1 rg 0 0 100 100 re f 1 0 0 rg 0 75 25 25 re f";
  struct Case {
    int rotate;
    int x, y;  // where the marker lands, 40 x 40 pixels
  } const cases[] = {{0, 5, 5}, {90, 35, 5}, {180, 35, 35}, {270, 5, 35}, {-90, 5, 35}, {450, 35, 5}};
  for (const Case& c : cases) {
    const std::string path = Write("rotated.pdf", MakePdf({PageSpec{100, 100, marker, c.rotate}}));
    CheckFrames(path, {{"rotated", 1.0f, 0, 0, true, {{c.x, c.y, kRed}, {40 - c.x, 40 - c.y, kWhite}}}}, 40);
  }
  const std::string half = Write("half.pdf", MakePdf({PageSpec{100, 100, "/Half gs 0 0 1 rg 0 0 100 100 re f", 0}}));
  CheckFrames(half, {{"half opacity", 1.0f, 0, 0, true, {{20, 20, {0, 0, 126, 126}}}, 1}}, 40);
}

TEST(PdfRender, TilesMatchTheWholePageWithRowsFromTheBottom) {
  PdfPageSettings settings;
  settings.page = 3.0f;
  svg::LoadError error;
  const auto loaded = Load(SizesPdf(), error, settings);
  ASSERT_TRUE(loaded->Loaded());
  constexpr int kSize = 96, kTile = 48, kBorder = 3, kTileSpan = kTile + 2 * kBorder;
  const auto whole = loaded->RenderWhole(kSize);
  ASSERT_NE(whole, nullptr);
  int inked = 0;
  for (int row = 0; row < 2; ++row) {
    for (int column = 0; column < 2; ++column) {
      const auto tile = loaded->RenderTile(0, kSize, kTile, row, column, kBorder);
      ASSERT_NE(tile, nullptr);
      for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
          const Rgba part = At(tile.get(), kTileSpan, x + kBorder, y + kBorder);
          const Rgba full = At(whole.get(), kSize, column * kTile + x, (1 - row) * kTile + y);
          ASSERT_TRUE(Near(part, full, 1)) << row << "," << column << " at " << x << "," << y;
          inked += full[3] > 0;
        }
      }
    }
  }
  EXPECT_GT(inked, 100) << "the text and the ring draw something";
}

TEST(PdfHostile, BoundedOutputForHugeAndManyPagesAndTruncation) {
  std::vector<PageSpec> many(10000, SolidPage(10, 10, 0, 1, 0));
  many.back() = SolidPage(10, 10, 1, 0, 0);
  const std::string manyPath = Write("many.pdf", MakePdf(many));
  CheckFrames(manyPath, {{"page 10000 of 10000", 10000.0f, 0, 0, true, {{4, 4, kRed}}}}, 8);
  CheckFrames(Write("huge.pdf", MakePdf({SolidPage(1e6, 1e6, 0, 1, 0)})),
              {{"a 10^6 media box", 1.0f, 0, 0, true, {{4, 4, kGreen}}}}, 8);

  const std::string whole = MakePdf({SolidPage(100, 100, 1, 0, 0), SolidPage(100, 100, 0, 1, 0)});
  for (const size_t cut : {whole.size() / 2, whole.size() - 30, size_t{12}}) {
    PdfPageSettings settings;
    settings.page = 2.0f;
    svg::LoadError error;
    const auto loaded = Load(Write("cut.pdf", whole.substr(0, cut)), error, settings);
    EXPECT_TRUE(error.code == 0 || error.code == document::kErrorPdfLibrary) << cut << ": " << error.code;
    if (!loaded->Loaded()) continue;
    EXPECT_LE(loaded->PageCount(), 2u) << cut;
    if (loaded->PageCount() > 0) {
      EXPECT_NE(loaded->RenderWhole(8), nullptr) << cut;
    }
  }
}

TEST(PdfRender, ReadsTheFileAfreshAndLeavesNothingBehind) {
  const std::string path = SizesPdf();
  const std::string before = [&path] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }();
  const auto openHandles = [] {
    return std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {});
  };
  const auto handlesBefore = openHandles();
  {
    PdfPageSettings settings;
    settings.page = 1.5f;
    settings.continuous = 1;
    settings.transparent = 0;
    svg::LoadError error;
    const auto loaded = Load(path, error, settings);
    ASSERT_TRUE(loaded->Loaded());
    EXPECT_NE(loaded->RenderWhole(16), nullptr);
    EXPECT_EQ(openHandles(), handlesBefore) << "nothing stays open between calls";
    {
      std::ifstream in(path, std::ios::binary);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), before);
    }
    // Each render opens the file afresh: once it is gone, there is no tile rather than a failure.
    std::filesystem::remove(path);
    EXPECT_EQ(loaded->RenderWhole(16), nullptr);
  }
}

}  // namespace
