#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wide_text.h"
#include "support/font_config.h"
#include "support/test_support.h"
#include "text/face_styles.h"
#include "text/font_choice.h"
#include "text/installed_fonts.h"
#include "text/layout_fixture.h"

namespace {

using text_testing::LayoutTest;
using text_testing::Shape;

std::string FileName(const text::FontFace* face) {
  if (face == nullptr) return "(none)";
  const std::string& file = face->Key().file;
  return file.substr(file.find_last_of('/') + 1);
}

std::vector<unsigned> Ids(const std::vector<text::ShapedGlyph>& glyphs) {
  std::vector<unsigned> ids;
  for (const auto& g : glyphs) ids.push_back(g.glyphIndex);
  return ids;
}

unsigned SingleId(std::u16string_view character, std::u16string_view family, text::FontServices& services) {
  const auto glyphs = Shape(character, family, services);
  return glyphs.size() == 1 ? glyphs[0].glyphIndex : 0;
}

// Run with the test fonts alone and again under the machine's usual rules (conf.d), whose synthetic
// styles report the weight and slant asked for on the regular face.
TEST_F(LayoutTest, WeightAndStyleChooseTheFamilysOwnFacesOrMakeThemUp) {
  struct Case {
    const char* family;
    int weight;
    bool italic;
    const char* file;
    bool syntheticBold;
    bool syntheticItalic;
  };
  const Case cases[] = {
      {"Noto Sans", 400, false, "NotoSans-Regular.ttf", false, false},
      {"Noto Sans", 700, false, "NotoSans-Bold.ttf", false, false},
      {"Noto Sans", 400, true, "NotoSans-Italic.ttf", false, false},
      {"DejaVu Sans", 700, false, "DejaVuSans-Bold.ttf", false, false},
      {"DejaVu Sans", 400, true, "DejaVuSans.ttf", false, true},
      {"DejaVu Serif", 800, true, "DejaVuSerif.ttf", true, true},
      {"DejaVu Serif", 700, false, "DejaVuSerif.ttf", true, false},
      {"DejaVu Serif", 500, false, "DejaVuSerif.ttf", false, false},
  };
  const std::string withSystemRules =
      testing_support::ScratchFolder("WeightAndStyleChooseTheFamilysOwnFacesOrMakeThemUp") + "/fonts.conf";
  testing_support::WriteFile(withSystemRules,
                             "<?xml version='1.0'?><fontconfig>"
                             "<include ignore_missing='yes'>/etc/fonts/conf.d</include><include>" +
                                 testing_support::DataPath("text/fonts.conf") + "</include></fontconfig>");
  for (const std::string& config : {testing_support::DataPath("text/fonts.conf"), withSystemRules}) {
    const testing_support::ScopedFontConfig fonts(config);
    text::InstalledFontList& list = text::GetInstalledFonts();
    for (const Case& c : cases) {
      const text::InstalledFont* font = nullptr;
      for (const auto& f : list.fonts) {
        if (f.faceName == testing_support::W(c.family)) font = &f;
      }
      ASSERT_NE(font, nullptr) << c.family << " " << config;
      const text::FaceKey key = text::StyledFace(*font, c.weight, c.italic);
      const std::string where = std::string(c.family) + " " + std::to_string(c.weight) + " " + config;
      EXPECT_EQ(key.file.substr(key.file.find_last_of('/') + 1), c.file) << where;
      EXPECT_EQ(key.syntheticBold, c.syntheticBold) << where;
      EXPECT_EQ(key.syntheticItalic, c.syntheticItalic) << where;
    }
  }
}

TEST_F(LayoutTest, PostScriptStyleNamesPickTheBoldFaceBeforeShaping) {
  text::FontServicesLease services;
  text::ShapeRequest request;
  request.families = {u"NotoSans-Bold", u"Times New Roman"};
  const std::u32string characters = platform::WideToCodePoints(u"Bold");
  const auto glyphs = text::ShapeText(characters, request, *services);
  ASSERT_EQ(glyphs.size(), 4u);
  EXPECT_EQ(FileName(glyphs[0].face), "NotoSans-Bold.ttf");
}

TEST_F(LayoutTest, RightToLeftRunsComeOutInVisualOrder) {
  text::FontServicesLease services;
  const unsigned alef = SingleId(u"\u05D0", u"Noto Sans Hebrew", *services);
  const unsigned bet = SingleId(u"\u05D1", u"Noto Sans Hebrew", *services);
  const unsigned gimel = SingleId(u"\u05D2", u"Noto Sans Hebrew", *services);
  ASSERT_NE(alef, 0u);
  const auto word = Shape(u"\u05D0\u05D1\u05D2", u"Noto Sans Hebrew", *services);
  EXPECT_EQ(Ids(word), (std::vector<unsigned>{gimel, bet, alef}));
  EXPECT_EQ(FileName(word[0].face), "NotoSansHebrew-Regular.ttf");
}

TEST_F(LayoutTest, MixedRunsOrderTheirItemsVisuallyAndTakeAFontEach) {
  text::FontServicesLease services;
  const unsigned a = SingleId(u"a", u"Noto Sans", *services);
  const unsigned b = SingleId(u"b", u"Noto Sans", *services);
  const unsigned alef = SingleId(u"\u05D0", u"Noto Sans", *services);
  const unsigned bet = SingleId(u"\u05D1", u"Noto Sans", *services);
  // Left-to-right paragraph: a, then the Hebrew word reversed, then b.
  const auto ltr = Shape(u"a \u05D0\u05D1 b", u"Noto Sans", *services);
  ASSERT_EQ(ltr.size(), 6u);
  EXPECT_EQ(ltr[0].glyphIndex, a);
  EXPECT_EQ(ltr[2].glyphIndex, bet);
  EXPECT_EQ(ltr[3].glyphIndex, alef);
  EXPECT_EQ(ltr[5].glyphIndex, b);
  EXPECT_EQ(FileName(ltr[0].face), "NotoSans-Regular.ttf");
  // Noto Sans has no Hebrew: the first installed font that covers the item draws it.
  EXPECT_EQ(FileName(ltr[2].face), "DejaVuSans.ttf");
  // Right-to-left paragraph: the Latin words trade places around the Hebrew one.
  const auto rtl = Shape(u"a \u05D0\u05D1 b", u"Noto Sans", *services, true);
  ASSERT_EQ(rtl.size(), 6u);
  EXPECT_EQ(rtl[0].glyphIndex, b);
  EXPECT_EQ(rtl[5].glyphIndex, a);
}

TEST_F(LayoutTest, ArabicLettersTakeTheirJoiningForms) {
  text::FontServicesLease services;
  const unsigned isolated = SingleId(u"\u0628", u"Noto Naskh Arabic", *services);
  ASSERT_NE(isolated, 0u);
  const auto word = Shape(u"\u0628\u0628\u0628", u"Noto Naskh Arabic", *services);
  ASSERT_EQ(word.size(), 3u);
  // Visual order: final form on the left, initial on the right; all three differ from the isolated one.
  for (const auto& glyph : word) EXPECT_NE(glyph.glyphIndex, isolated);
  EXPECT_NE(word[0].glyphIndex, word[2].glyphIndex);
  EXPECT_EQ(FileName(word[0].face), "NotoNaskhArabic-Regular.ttf");
}

TEST_F(LayoutTest, DevanagariVowelSignIGoesBeforeItsConsonant) {
  text::FontServicesLease services;
  const unsigned ka = SingleId(u"\u0915", u"Noto Sans Devanagari", *services);
  ASSERT_NE(ka, 0u);
  const auto syllable = Shape(u"\u0915\u093F", u"Noto Sans Devanagari", *services);
  ASSERT_EQ(syllable.size(), 2u);
  EXPECT_NE(syllable[0].glyphIndex, ka);
  EXPECT_EQ(syllable[1].glyphIndex, ka);
}

TEST_F(LayoutTest, UncoveredCharactersBorrowThePreviousItemsFontOrDrawNothing) {
  text::FontServicesLease services;
  // U+0F00 (Tibetan) is in none of the test fonts.
  EXPECT_TRUE(Shape(u"\u0F00\u0F00", u"Noto Sans", *services).empty());
  const auto mixed = Shape(u"ab\u0915\u0F00", u"Noto Sans", *services);
  ASSERT_EQ(mixed.size(), 4u);
  EXPECT_EQ(FileName(mixed[2].face), "NotoSansDevanagari-Regular.ttf");
  EXPECT_EQ(FileName(mixed[3].face), "NotoSansDevanagari-Regular.ttf");
}

TEST_F(LayoutTest, TheTimesNewRomanFallbackResolvesToAnInstalledFont) {
  text::FontServicesLease services;
  const auto glyphs = Shape(u"Fallback", u"No Such Family", *services);
  ASSERT_EQ(glyphs.size(), 8u);
  // Nothing is called Times New Roman here: the first installed font that covers the text draws it.
  EXPECT_EQ(FileName(glyphs[0].face), "DejaVuSans.ttf");
}

TEST_F(LayoutTest, UnpairedSurrogatesAreShapedWithoutFailing) {
  text::FontServicesLease services;
  const std::u16string text = {u'a', char16_t(0xD800), u'b', char16_t(0xDC00)};
  const auto glyphs = Shape(text, u"DejaVu Sans", *services);
  EXPECT_LE(glyphs.size(), 4u);
}

}  // namespace
