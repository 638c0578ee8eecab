#include "text/font_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "text/test_fonts.h"

namespace {

using testing_support::N;
using text::InstalledFont;
using text::InstalledFontList;
using text::SupplementaryRange;
using text::UnicodeRange;

InstalledFont Font(const char16_t* name, uint8_t pitchAndFamily, std::vector<UnicodeRange> ranges,
                   std::vector<SupplementaryRange> supplementary = {}) {
  InstalledFont font;
  font.faceName = name;
  for (char16_t c : font.faceName) {
    if (c != u' ') font.compactName.push_back(c);
  }
  font.pitchAndFamily = pitchAndFamily;
  font.ranges = std::move(ranges);
  font.supplementaryRanges = std::move(supplementary);
  return font;
}

// Classes and pitches as old Windows fonts report them, including the inconsistent ones.
InstalledFontList HandMadeList() {
  constexpr UnicodeRange kAscii{0x20, 0x7E};
  InstalledFontList list;
  list.fonts = {
      Font(u"Times New Roman", 0x12, {kAscii}),
      Font(u"Arial", 0x22, {kAscii, {0x391, 0x3C9}}),
      Font(u"Courier New", 0x31, {kAscii}),
      Font(u"Fixed Serif", 0x11, {kAscii, {0x2500, 0x257F}}),
      Font(u"Fixed Variable Serif", 0x13, {kAscii, {0x3040, 0x309F}}),
      Font(u"Variable Modern", 0x32, {{0x4E00, 0x4E10}}),
      Font(u"Script", 0x42, {kAscii}),
      Font(u"No Coverage", 0x52, {}),
      Font(u"Emoji Sans", 0x22, {{0x20, 0x20}}, {{0x1F600, 0x1F64F}}),
  };
  return list;
}

struct ChoiceCase {
  std::vector<std::u16string> candidates;
  std::u32string text;
  const char* chosen;  // empty: no font
  int bold;
  int italic;
};

TEST(ChooseFontTest, HandMadeList) {
  const ChoiceCase cases[] = {
      {{u"Arial"}, U"Hi", "Arial", 0, 0},
      {{u"arial", u"Courier New"}, U"Hi", "Courier New", 0, 0},
      {{u"ArialMT"}, U"Hi", "Arial", 0, 0},
      {{u"Arial-BoldMT"}, U"Hi", "Arial", 1, 0},
      {{u"TimesNewRomanPS-BoldItalicMT"}, U"Hi", "Times New Roman", 1, 1},
      {{u"CourierNewPSMT"}, U"Hi", "Courier New", 0, 0},
      {{u"Missing-Bold", u"Courier New"}, U"Hi", "Courier New", 1, 0},
      {{u"Arial", u"Missing-Bold"}, U"Hi", "Arial", 0, 0},
      {{u"Times New Roman", u"Arial"}, U"\u03A9", "Arial", 0, 0},
      {{u"serif"}, U"Hi", "Times New Roman", 0, 0},
      {{u"sans-serif"}, U"Hi", "Arial", 0, 0},
      {{u"monospace"}, U"Hi", "Courier New", 0, 0},
      {{u"monospace"}, U"\u253C", "Fixed Serif", 0, 0},
      {{u"sans-serif"}, U"\u3042", "Fixed Variable Serif", 0, 0},
      {{u"sans-serif"}, U"\u4E00", "Variable Modern", 0, 0},
      {{u"cursive"}, U"Hi", "Script", 0, 0},
      {{u"Serif", u"cursive"}, U"Hi", "Script", 0, 0},
      // Nothing of class 80 covers anything, so the first covering font in list order is taken.
      {{u"fantasy"}, U"Hi", "Times New Roman", 0, 0},
      {{u"Courier New"}, U"\u03A9", "Arial", 0, 0},
      {{}, U"Hi", "Times New Roman", 0, 0},
      {{}, U"", "Times New Roman", 0, 0},
      {{u"Arial-Bold"}, U"\u4E2D", "", 1, 0},
      {{u"Emoji Sans"}, U"\U0001F600", "Emoji Sans", 0, 0},
      {{u"Emoji Sans"}, {0xD83D, 0xDE00, 0x20}, "Emoji Sans", 0, 0},
      {{u"Emoji Sans"}, {0xD83D}, "", 0, 0},
      {{u"Emoji Sans"}, {0xDE00, 0xD83D}, "", 0, 0},
      {{u"Emoji Sans"}, {0x20, 0xDE00}, "", 0, 0},
      {{u"Emoji Sans"}, {0x110000}, "", 0, 0},
      {{u"Emoji Sans"}, {0xFFFFFFFF}, "", 0, 0},
  };
  for (const ChoiceCase& c : cases) {
    SCOPED_TRACE(N(c.candidates.empty() ? u"(none)" : c.candidates.front()) + " / " +
                 std::to_string(c.text.empty() ? 0 : static_cast<uint32_t>(c.text.front())));
    InstalledFontList list = HandMadeList();
    list.bold = 1;
    list.italic = 1;
    const InstalledFont* font = text::ChooseFont(list, c.text, 0, c.text.size(), c.candidates);
    EXPECT_EQ(font ? N(font->faceName) : "", c.chosen);
    EXPECT_EQ(list.bold, c.bold);
    EXPECT_EQ(list.italic, c.italic);
  }
}

TEST(ChooseFontTest, LooksOnlyAtTheRunWithinTheCharacters) {
  InstalledFontList list = HandMadeList();
  const std::u32string text = U"\u03A9\u4E2D\u03A9";
  const std::vector<std::u16string> candidates = {u"Times New Roman"};
  auto chosen = [&](size_t first, size_t count) {
    const InstalledFont* font = text::ChooseFont(list, text, first, count, candidates);
    return font ? N(font->faceName) : "";
  };
  EXPECT_EQ(chosen(0, 1), "Arial");
  EXPECT_EQ(chosen(2, 1), "Arial");
  EXPECT_EQ(chosen(0, 2), "");
  EXPECT_EQ(chosen(1, 1), "");
  EXPECT_EQ(chosen(2, 50), "Arial");
  EXPECT_EQ(chosen(3, 1), "Times New Roman");
  EXPECT_EQ(chosen(100, 100), "Times New Roman");
}

TEST(ChooseFontTest, EmptyListGivesNoFont) {
  InstalledFontList list;
  EXPECT_EQ(text::ChooseFont(list, std::u32string(U"Hi"), 0, 2, {u"serif", u"Arial"}), nullptr);
}

struct InstalledChoiceCase {
  std::vector<std::u16string> candidates;
  std::u32string text;
  const char* chosen;
};

TEST(ChooseFontTest, TestConfigurationFonts) {
  InstalledFontList list = text::ReadInstalledFonts(text_testing::TestFontConfig());
  const InstalledChoiceCase cases[] = {
      {{u"serif", u"Times New Roman"}, U"Hello", "DejaVu Serif"},
      {{u"sans-serif", u"Times New Roman"}, U"Hello", "DejaVu Sans"},
      {{u"monospace", u"Times New Roman"}, U"Hello", "DejaVu Sans Mono"},
      {{u"cursive", u"Times New Roman"}, U"Hello", "Comic Neue"},
      {{u"fantasy", u"monospace", u"Times New Roman"}, U"Hello", "DejaVu Sans Mono"},
      {{u"Comic Neue", u"Times New Roman"}, U"Hello", "Comic Neue"},
      {{u"DejaVuSerif-Bold", u"Times New Roman"}, U"Hello", "DejaVu Serif"},
      // No Times New Roman is installed: the first font of the list that covers the run is taken.
      {{u"Times New Roman"}, U"Hello", "DejaVu Sans"},
      {{u"cursive", u"Times New Roman"}, U"\u03A9", "DejaVu Sans"},
      {{u"Times New Roman"}, U"\u2312", "DejaVu Sans Mono"},
      {{u"DejaVu Sans Mono", u"Times New Roman"}, U"\U0001F600", "DejaVu Sans"},
      {{u"DejaVu Sans Mono", u"Times New Roman"}, {0xD83D, 0xDE00}, "DejaVu Sans"},
      {{u"DejaVu Sans", u"Times New Roman"}, {0xD83D}, ""},
      {{u"Times New Roman"}, U"\u4E2D", ""},
  };
  for (const InstalledChoiceCase& c : cases) {
    SCOPED_TRACE(N(c.candidates.front()) + " / " + std::to_string(static_cast<uint32_t>(c.text.front())));
    const InstalledFont* font = text::ChooseFont(list, c.text, 0, c.text.size(), c.candidates);
    EXPECT_EQ(font ? N(font->faceName) : "", c.chosen);
  }
}

TEST(ChooseFontTest, BoldFlagComesFromTheMappedName) {
  InstalledFontList list = text::ReadInstalledFonts(text_testing::TestFontConfig());
  const std::u32string text = U"Bold";
  const InstalledFont* font = text::ChooseFont(list, text, 0, text.size(), {u"DejaVuSans-BoldOblique"});
  ASSERT_NE(font, nullptr);
  EXPECT_EQ(N(font->faceName), "DejaVu Sans");
  EXPECT_EQ(list.bold, 1);
  EXPECT_EQ(list.italic, 1);
  text::ChooseFont(list, text, 0, text.size(), {u"DejaVu Sans"});
  EXPECT_EQ(list.bold, 0);
  EXPECT_EQ(list.italic, 0);
}

}  // namespace
