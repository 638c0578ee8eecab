#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>

#include "document/load_messages.h"
#include "document/vector_document.h"
#include "platform/temp_folder.h"
#include "support/test_support.h"
#include "svg/shape_elements.h"

namespace {

using document::FileType;
using document::FileTypeFromPath;
using document::VectorDocument;
using testing_support::N;
using testing_support::W;

std::unique_ptr<VectorDocument> Open(const std::string& path, svg::LoadError& error) {
  return VectorDocument::Create(error, false, W(path), nullptr, 1.0);
}

void WriteGzip(const std::string& path, std::string_view content) {
  gzFile file = gzopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  gzwrite(file, content.data(), static_cast<unsigned>(content.size()));
  gzclose(file);
}

size_t TemporaryFileCount() {
  const auto folder = platform::TemporaryFolder();
  if (!folder) return 0;
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(*folder)) ++count;
  return count;
}

TEST(FileTypes, ChosenByTheLastExtensionIgnoringCase) {
  const std::pair<const char*, FileType> cases[] = {
      {"a.svg", FileType::kSvg},        {"a.SVGZ", FileType::kSvgz}, {"a.svg.bak", FileType::kNone},
      {"noextension", FileType::kNone}, {"", FileType::kNone},        {"x.ai", FileType::kPdf},
      {"x.PDF", FileType::kPdf},        {"x.pat", FileType::kPat},    {"x.Swf", FileType::kSwf},
      {"dir.svg/file", FileType::kNone}, {".svg", FileType::kSvg},
  };
  for (const auto& [path, type] : cases) EXPECT_EQ(FileTypeFromPath(W(path)), type) << path;
}

TEST(Placeholder, EmptyPathGivesFourArrowsOn120By120) {
  svg::LoadError error;
  const auto loaded = Open("", error);
  ASSERT_TRUE(loaded->Loaded());
  EXPECT_EQ(loaded->Type(), FileType::kNone);
  EXPECT_EQ(loaded->Extent().width, 120.0);
  EXPECT_EQ(loaded->Extent().height, 120.0);
  svg::SVGDocument& root = *loaded->Svg();
  ASSERT_EQ(root.children.size(), 1u);
  svg::SVGElement& group = *root.children[0];
  ASSERT_EQ(group.children.size(), 4u);
  const svg::Declaration* linecap = group.style.Find(svg::PropertyId::kStrokeLinecap);
  ASSERT_NE(linecap, nullptr);
  EXPECT_EQ(linecap->keyword, 1u) << "round";

  // The first arrow is rotated by -108 degrees and moved to (105, 102): its tip (50, 0) lands there.
  auto& arrow = static_cast<svg::SVGPathElement&>(*group.children[0]);
  EXPECT_EQ(arrow.segments.size(), 5u);
  double x = 50, y = 0;
  arrow.OwnTransform(nullptr).transform(&x, &y);
  EXPECT_NEAR(x, 105 + 50 * std::cos(-108 * M_PI / 180), 1e-9);
  EXPECT_NEAR(y, 102 + 50 * std::sin(-108 * M_PI / 180), 1e-9);
  const svg::Declaration* stroke = arrow.style.Find(svg::PropertyId::kStroke);
  ASSERT_NE(stroke, nullptr);
  EXPECT_EQ(stroke->paint.r, 135.0) << "skyblue";
}

TEST(Aspect, WidthOverHeightOrOneForZeroHeight) {
  svg::LoadError error;
  EXPECT_FLOAT_EQ(VectorDocument::Create(error, true, u"<svg width='200' height='100'/>", nullptr, 1)->Aspect(), 2.0f);
  const auto swf = Open("movie.swf", error);
  EXPECT_TRUE(swf->Loaded());
  EXPECT_EQ(error.code, 0u);
  EXPECT_FLOAT_EQ(swf->Aspect(), 1.0f);
}

TEST(Gamma, SetGammaReachesTheSvgDocument) {
  svg::LoadError error;
  const auto loaded = VectorDocument::Create(error, true, u"<svg/>", nullptr, 2.2);
  EXPECT_EQ(loaded->Svg()->gamma, 2.2);
  loaded->SetGamma(1.0);
  EXPECT_EQ(loaded->Svg()->gamma, 1.0);
}

TEST(LoadErrors, ExceptionsBecomeCodesAndShownMessages) {
  struct Case {
    const char* text;
    uint32_t code;
    const char* shown;
  };
  const Case cases[] = {
      {"<svg><path d='M 0 0 F 1 1'/></svg>", 11, "parse_path: Invalid Command F"},
      {"<svg><path d='M 10 20 #'/></svg>", 12, "path_tokenizer::next : Invalid Character #"},
      {"<svg><path d='M 10 20 L 30'/></svg>", 13, "parse_path: Unexpected end of path"},
      {"<svg><path d='M 10 L 20 30'/></svg>", 14, "parse_path: Command M: bad or missing parameters"},
      {"<svg><polygon points='10'/></svg>", 15, "parse_poly: Too few coordinates"},
      {"<svg><polygon points='10,20 30'/></svg>", 16, "parse_poly: Odd number of coordinates"},
      {"<svg><rect></svg>", 3, "XML-Error: mismatched tag at line 1\n"},
  };
  for (const Case& c : cases) {
    svg::LoadError error;
    const auto loaded = VectorDocument::Create(error, true, W(c.text), nullptr, 1.0);
    EXPECT_FALSE(loaded->Loaded()) << c.text;
    EXPECT_EQ(error.code, c.code) << c.text;
    EXPECT_EQ(N(document::ShownMessage(error, u"")), c.shown) << c.text;
  }
  svg::LoadError missing;
  Open("/nonexistent/x.svg", missing);
  EXPECT_EQ(N(document::ShownMessage(missing, u"/nonexistent/x.svg")), "Couldn't open file:\n/nonexistent/x.svg");
}

TEST(LoadErrors, LongMessagesAreCutToTheField) {
  svg::LoadError error;
  error.SetMessage(std::u16string(1000, u'x'));
  EXPECT_EQ(error.message.size(), svg::LoadError::kMessageCapacity);
}

TEST(CompressedSvg, LoadsGzipAndRemovesItsTemporaryCopy) {
  const std::string folder = testing_support::ScratchFolder("CompressedSvg");
  const std::string path = folder + "/drawing.SVGZ";
  WriteGzip(path, "<svg width='300' height='150'><rect width='1' height='1'/></svg>");
  svg::LoadError error;
  const size_t before = TemporaryFileCount();
  const auto loaded = Open(path, error);
  ASSERT_TRUE(loaded->Loaded()) << N(error.message);
  EXPECT_EQ(loaded->Type(), FileType::kSvgz);
  EXPECT_EQ(loaded->Extent().width, 300.0);
  EXPECT_EQ(N(loaded->Svg()->baseFolder), folder + "/");
  EXPECT_EQ(TemporaryFileCount(), before);
}

TEST(CompressedSvg, TruncatedOrMissingFilesFailAsXmlErrorsAndLeaveNoFiles) {
  const std::string folder = testing_support::ScratchFolder("CompressedSvgBad");
  const std::string full = folder + "/full.svgz";
  WriteGzip(full, "<svg width='300' height='150'><rect width='1' height='1'/></svg>");
  const auto size = std::filesystem::file_size(full);
  std::filesystem::copy_file(full, folder + "/truncated.svgz");
  std::filesystem::resize_file(folder + "/truncated.svgz", size / 2);

  for (const std::string name : {"/truncated.svgz", "/missing.svgz"}) {
    svg::LoadError error;
    const size_t before = TemporaryFileCount();
    const auto loaded = Open(folder + name, error);
    EXPECT_FALSE(loaded->Loaded()) << name;
    EXPECT_EQ(error.code, 3u) << name;
    EXPECT_EQ(TemporaryFileCount(), before) << name;
  }
}

TEST(CompressedSvg, PlainTextWithCompressedExtensionStillReads) {
  const std::string path = testing_support::ScratchFolder("CompressedPlain") + "/plain.svgz";
  testing_support::WriteFile(path, "<svg width='10' height='20'/>");
  svg::LoadError error;
  const auto loaded = Open(path, error);
  EXPECT_TRUE(loaded->Loaded());
  EXPECT_EQ(loaded->Extent().height, 20.0);
}

TEST(CompressedSvg, GzipBombStopsAtTheLimit) {
  const std::string path = testing_support::ScratchFolder("CompressedBomb") + "/bomb.svgz";
  gzFile file = gzopen(path.c_str(), "wb1");
  ASSERT_NE(file, nullptr);
  gzputs(file, "<svg><desc>");
  const std::string zeros(1 << 20, ' ');
  for (int i = 0; i < 300; ++i) gzwrite(file, zeros.data(), static_cast<unsigned>(zeros.size()));
  gzclose(file);
  svg::LoadError error;
  const auto loaded = Open(path, error);
  EXPECT_FALSE(loaded->Loaded());
  EXPECT_EQ(error.code, 3u);
  EXPECT_NE(N(error.message).find("256 MiB"), std::string::npos);
}

TEST(UnsupportedFormats, PatAndPdfFailWithAClearMessage) {
  for (const char* path : {"hatch.pat", "page.pdf"}) {
    svg::LoadError error;
    const auto loaded = Open(path, error);
    EXPECT_FALSE(loaded->Loaded());
    EXPECT_FALSE(document::ShownMessage(error, W(path)).empty()) << path;
  }
}

}  // namespace
