#include "text/installed_fonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "text/font_classes.h"
#include "text/fontconfig_handles.h"
#include "text/test_fonts.h"

namespace {

using testing_support::N;
using text::InstalledFont;
using text::InstalledFontList;
using text_testing::FindFont;
using text_testing::TestFontConfig;

std::vector<std::string> FaceNames(const InstalledFontList& list) {
  std::vector<std::string> names;
  for (const InstalledFont& font : list.fonts) names.push_back(N(font.faceName));
  return names;
}

std::string FileName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

TEST(InstalledFontsTest, ListsEachOutlineFamilyOnceWithItsPreferredFace) {
  const InstalledFontList list = text::ReadInstalledFonts(TestFontConfig());
  std::vector<std::string> names = FaceNames(list);
  ASSERT_FALSE(names.empty());
  // The configuration prefers sans-serif for a pattern that asks for nothing.
  EXPECT_EQ(names.front(), "DejaVu Sans");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"Comic Neue", "DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"}));

  const struct {
    const char16_t* face;
    const char* compact;
    const char* file;
    uint8_t pitchAndFamily;
  } expected[] = {
      {u"DejaVu Sans", "DejaVuSans", "DejaVuSans.ttf", text::kSansSerifClass | text::kVariablePitch},
      {u"DejaVu Sans Mono", "DejaVuSansMono", "DejaVuSansMono.ttf",
       text::kMonospaceClass | text::kFixedPitch},
      {u"DejaVu Serif", "DejaVuSerif", "DejaVuSerif.ttf", text::kSerifClass | text::kVariablePitch},
      {u"Comic Neue", "ComicNeue", "ComicNeue-Regular.otf", text::kCursiveClass | text::kVariablePitch},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(N(e.face));
    const InstalledFont* font = FindFont(list, e.face);
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(N(font->compactName), e.compact);
    EXPECT_EQ(FileName(font->filePath), e.file);
    EXPECT_EQ(font->faceIndex, 0);
    EXPECT_EQ(int{font->pitchAndFamily}, int{e.pitchAndFamily});
    EXPECT_TRUE(font->ranges.empty());
  }
}

// The test fonts plus a bitmap font of our own, which fontconfig lists but the outline-font list must not.
std::string ConfigWithBitmapFont() {
  const std::string folder = testing_support::ScratchFolder("ConfigWithBitmapFont");
  const std::string fonts = testing_support::DataPath("fonts");
  const std::string file = folder + "/fonts.conf";
  testing_support::WriteFile(
      file, "<?xml version=\"1.0\"?>\n<fontconfig>\n<include>" + TestFontConfig() + "</include>\n<dir>" +
                fonts + "</dir>\n<selectfont><acceptfont><glob>" + fonts +
                "/graphel-bitmap.bdf</glob></acceptfont></selectfont>\n</fontconfig>\n");
  return file;
}

TEST(InstalledFontsTest, LeavesOutFontsWithoutOutlines) {
  const std::string configFile = ConfigWithBitmapFont();
  text::ConfigHandle config(FcConfigCreate());
  ASSERT_TRUE(
      FcConfigParseAndLoad(config.get(), reinterpret_cast<const FcChar8*>(configFile.c_str()), FcTrue));
  ASSERT_TRUE(FcConfigBuildFonts(config.get()));
  const FcFontSet* fonts = FcConfigGetFonts(config.get(), FcSetSystem);
  ASSERT_NE(fonts, nullptr);
  bool seen = false;
  for (int i = 0; i < fonts->nfont; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch) {
      seen = seen || std::string(reinterpret_cast<const char*>(family)) == "Graphel Bitmap";
    }
  }
  ASSERT_TRUE(seen);
  const InstalledFontList list = text::ReadInstalledFonts(configFile);
  EXPECT_EQ(FindFont(list, u"Graphel Bitmap"), nullptr);
  EXPECT_NE(FindFont(list, u"DejaVu Sans"), nullptr);
}

template <typename Range>
bool InRanges(const std::vector<Range>& ranges, char32_t code) {
  for (const Range& range : ranges) {
    if (code >= static_cast<char32_t>(range.first) && code <= static_cast<char32_t>(range.last)) return true;
  }
  return false;
}

template <typename Range>
void ExpectSortedAndApart(const std::vector<Range>& ranges) {
  for (size_t i = 0; i < ranges.size(); ++i) {
    EXPECT_LE(ranges[i].first, ranges[i].last);
    if (i > 0) {
      EXPECT_GT(static_cast<char32_t>(ranges[i].first), static_cast<char32_t>(ranges[i - 1].last) + 1);
    }
  }
}

TEST(InstalledFontsTest, RangesMatchTheFontFilesCharacterSets) {
  InstalledFontList list = text::ReadInstalledFonts(TestFontConfig());
  ASSERT_FALSE(list.fonts.empty());
  for (size_t i = 0; i < list.fonts.size(); ++i) {
    const InstalledFont& font = list.fonts[i];
    SCOPED_TRACE(N(font.faceName));
    ASSERT_TRUE(text::LoadRanges(list, i));
    ASSERT_FALSE(font.ranges.empty());
    ExpectSortedAndApart(font.ranges);
    ExpectSortedAndApart(font.supplementaryRanges);

    int count = 0;
    const text::PatternHandle query(FcFreeTypeQuery(reinterpret_cast<const FcChar8*>(font.filePath.c_str()),
                                                    font.faceIndex, nullptr, &count));
    ASSERT_NE(query, nullptr);
    FcCharSet* expected = nullptr;
    ASSERT_EQ(FcPatternGetCharSet(query.get(), FC_CHARSET, 0, &expected), FcResultMatch);
    int mismatches = 0;
    for (char32_t code = 0; code <= 0x10FFFF; ++code) {
      const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
      const bool want = !surrogate && FcCharSetHasChar(expected, code);
      const bool have =
          code <= 0xFFFF ? InRanges(font.ranges, code) : InRanges(font.supplementaryRanges, code);
      if (want != have && ++mismatches <= 5) ADD_FAILURE() << "code point " << static_cast<uint32_t>(code);
    }
    EXPECT_EQ(mismatches, 0);
  }
  EXPECT_TRUE(InRanges(FindFont(list, u"DejaVu Sans")->supplementaryRanges, 0x1F600));
  EXPECT_FALSE(InRanges(FindFont(list, u"DejaVu Sans Mono")->supplementaryRanges, 0x1F600));
}

TEST(InstalledFontsTest, LoadRangesRejectsIndexesOutsideTheList) {
  InstalledFontList list;
  EXPECT_FALSE(text::LoadRanges(list, 0));
  list.fonts.emplace_back();
  EXPECT_TRUE(text::LoadRanges(list, 0));
  EXPECT_TRUE(list.fonts[0].ranges.empty());
  EXPECT_FALSE(text::LoadRanges(list, 1));
}

TEST(InstalledFontsTest, UnreadableConfigurationGivesAnEmptyList) {
  EXPECT_TRUE(text::ReadInstalledFonts(testing_support::DataPath("fonts/missing.conf")).fonts.empty());
}

// Points FONTCONFIG_FILE at another configuration for one test and rebuilds the process's list.
class ScopedFontConfig {
 public:
  explicit ScopedFontConfig(const std::string& file) {
    setenv("FONTCONFIG_FILE", file.c_str(), 1);
    text::ResetInstalledFontsForTesting();
  }
  ~ScopedFontConfig() {
    setenv("FONTCONFIG_FILE", TestFontConfig().c_str(), 1);
    text::ResetInstalledFontsForTesting();
  }
};

TEST(InstalledFontsTest, ProcessListFollowsFontconfigFile) {
  text::InstalledFontList& list = text::GetInstalledFonts();
  EXPECT_EQ(&text::GetInstalledFonts(), &list);
  EXPECT_EQ(FaceNames(list), FaceNames(text::ReadInstalledFonts(TestFontConfig())));

  // The same fonts, but a pattern that asks for nothing now prefers serif.
  const std::string folder = testing_support::ScratchFolder("ProcessListFollowsFontconfigFile");
  const std::string serifFirst = folder + "/fonts.conf";
  testing_support::WriteFile(serifFirst,
                             "<?xml version=\"1.0\"?>\n<fontconfig>\n"
                             "<match target=\"pattern\"><edit name=\"family\" mode=\"prepend_first\">"
                             "<string>serif</string></edit></match>\n<include>" +
                                 TestFontConfig() + "</include>\n</fontconfig>\n");
  const ScopedFontConfig scoped(serifFirst);
  const std::vector<std::string> names = FaceNames(text::GetInstalledFonts());
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names.front(), "DejaVu Serif");
  EXPECT_EQ(names.size(), FaceNames(text::ReadInstalledFonts(TestFontConfig())).size());
}

// Without preferences for the generic names, a family takes the generic name the configuration
// appends to it, and none at all makes it a named family; spacing alone makes a monospace font.
TEST(InstalledFontsTest, ClassesFollowTheGenericNameAppendedToAFamily) {
  const std::string folder = testing_support::ScratchFolder("ClassesFollowTheGenericNameAppendedToAFamily");
  const std::string file = folder + "/fonts.conf";
  const std::string dejavu = "/usr/share/fonts/truetype/dejavu/";
  testing_support::WriteFile(
      file, "<?xml version=\"1.0\"?>\n<fontconfig>\n<dir>" + dejavu + "</dir>\n<selectfont><acceptfont>" +
                "<glob>" + dejavu + "DejaVuSans.ttf</glob><glob>" + dejavu + "DejaVuSerif.ttf</glob><glob>" +
                dejavu +
                "DejaVuSansMono.ttf</glob></acceptfont><rejectfont><glob>*</glob></rejectfont></selectfont>\n"
                "<alias><family>DejaVu Serif</family><default><family>serif</family></default></alias>\n"
                "</fontconfig>\n");
  const InstalledFontList list = text::ReadInstalledFonts(file);
  const struct {
    const char16_t* face;
    uint8_t pitchAndFamily;
  } expected[] = {
      {u"DejaVu Serif", text::kSerifClass | text::kVariablePitch},
      {u"DejaVu Sans", text::kNamedFamily | text::kVariablePitch},
      {u"DejaVu Sans Mono", text::kMonospaceClass | text::kFixedPitch},
  };
  ASSERT_EQ(list.fonts.size(), std::size(expected));
  for (const auto& e : expected) {
    const InstalledFont* font = FindFont(list, e.face);
    ASSERT_NE(font, nullptr) << N(e.face);
    EXPECT_EQ(int{font->pitchAndFamily}, int{e.pitchAndFamily}) << N(e.face);
  }
}

TEST(FontClassesTest, EffectiveClassFollowsPitchBits) {
  const struct {
    uint8_t byte;
    uint8_t effective;
  } bytes[] = {{0x00, 0},  {0x12, 16}, {0x10, 16}, {0x11, 48}, {0x13, 32}, {0x15, 48}, {0x22, 32},
               {0x31, 48}, {0x30, 48}, {0x32, 32}, {0x33, 32}, {0x42, 64}, {0x52, 80}, {0x21, 32}};
  for (const auto& b : bytes) EXPECT_EQ(text::EffectiveFontClass(b.byte), b.effective) << int(b.byte);
}

}  // namespace
