#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/wide_text.h"
#include "support/test_support.h"
#include "text/bidi_items.h"
#include "text/glyph_engine.h"
#include "text/glyph_record.h"
#include "text/layout_fixture.h"
#include "text/shaper.h"
#include "text/text_state.h"
#include "text/white_space.h"

namespace {

using testing_support::W;

TEST(CollapseWhiteSpace, FollowsXmlSpaceAndTheTextBefore) {
  struct Case {
    const char* in;
    bool preserve;
    bool endsWithSpaceBefore;
    const char* out;
    bool endsWithSpaceAfter;
  };
  const Case cases[] = {
      {"  word   two  ", false, true, "word two ", true},
      {"  word", false, false, " word", false},
      {"a\t\r\nb", false, false, "a b", false},
      {"  a\t\nb  ", true, true, "  a  b  ", true},
      {"", false, false, "", false},
      {"", false, true, "", true},
      {"   ", false, true, "", true},
      {"x", true, true, "x", false},
  };
  for (const Case& c : cases) {
    bool endsWithSpace = c.endsWithSpaceBefore;
    EXPECT_EQ(text::CollapseWhiteSpace(W(c.in), c.preserve, endsWithSpace), W(c.out)) << c.in;
    EXPECT_EQ(endsWithSpace, c.endsWithSpaceAfter) << c.in;
  }
}

TEST(ParseFontFamilies, SplitsTrimsUnquotesAndAppendsTheFallback) {
  struct Case {
    const char* value;
    std::vector<std::u16string> expected;
  };
  const Case cases[] = {
      {"Arial", {u"Arial", u"F"}},
      {" 'Noto Sans' , \"DejaVu Serif\",serif ", {u"Noto Sans", u"DejaVu Serif", u"serif", u"F"}},
      {"'unbalanced\", x", {u"'unbalanced\"", u"x", u"F"}},
      {",, ,", {u"F"}},
      {"", {u"F"}},
  };
  for (const Case& c : cases) EXPECT_EQ(text::ParseFontFamilies(W(c.value), u"F"), c.expected) << c.value;
}

TEST(WritePositions, OverwritesFromTheIndexAndKeepsWhatLiesBeyond) {
  std::vector<double> list = {1, 2, 3, 4, 5};
  const std::vector<double> values = {9, 8};
  text::WritePositions(list, 1, values);
  EXPECT_EQ(list, (std::vector<double>{1, 9, 8, 4, 5}));
  text::WritePositions(list, 6, values);
  EXPECT_EQ(list.size(), 8u);
  EXPECT_EQ(list[6], 9);
  EXPECT_EQ(list[7], 8);
}

text::GlyphRecord Record(double x1, double x2, uint32_t anchor) {
  text::GlyphRecord r;
  r.x1 = x1;
  r.x2 = x2;
  r.y1 = 0;
  r.y2 = 10;
  r.x = x1;
  r.anchor = anchor;
  return r;
}

TEST(ApplyTextAnchor, ShiftsOnlyTheOpenChunkByItsFirstRecordsAnchor) {
  text::GlyphRecordList list;
  list.records = {Record(0, 10, 0), Record(100, 120, 1), Record(140, 160, 2)};
  list.chunkStart = 1;
  text::ApplyTextAnchor(list);
  EXPECT_EQ(list.chunkStart, 3u);
  EXPECT_DOUBLE_EQ(list.records[0].x1, 0);
  // The chunk from 100 to 160 moves left by 30, the middle anchor of its first record.
  EXPECT_DOUBLE_EQ(list.records[1].x1, 70);
  EXPECT_DOUBLE_EQ(list.records[1].x, 70);
  EXPECT_DOUBLE_EQ(list.records[2].x2, 130);
  text::ApplyTextAnchor(list);
  EXPECT_DOUBLE_EQ(list.records[2].x2, 130) << "an empty chunk changes nothing";
}

TEST(ItemiseText, SplitsByLevelAndScriptInVisualOrder) {
  struct Case {
    std::u16string text;
    bool rtl;
    std::vector<std::pair<size_t, size_t>> items;  // first, count in visual order
  };
  const Case cases[] = {
      {u"abc def", false, {{0, 7}}},
      {u"ab \u05D0\u05D1 cd", false, {{0, 3}, {3, 2}, {5, 3}}},
      {u"ab \u05D0\u05D1 cd", true, {{6, 2}, {2, 4}, {0, 2}}},
      {u"\u05D0 123 \u05D1", false, {{5, 2}, {2, 3}, {0, 2}}},
      {u"ab\u0915\u093F", false, {{0, 2}, {2, 2}}},
      {u"", false, {}},
  };
  for (const Case& c : cases) {
    const std::u32string characters = platform::WideToCodePoints(c.text);
    const std::vector<text::TextItem> items = text::ItemiseText(characters, c.rtl);
    std::vector<std::pair<size_t, size_t>> got;
    for (const auto& item : items) got.emplace_back(item.first, item.count);
    EXPECT_EQ(got, c.items) << testing_support::N(c.text) << (c.rtl ? " rtl" : "");
  }
}

TEST(WideToCodePoints, JoinsPairsAndKeepsLoneSurrogates) {
  const std::u16string text = {u'a', char16_t(0xD83D), char16_t(0xDE00), char16_t(0xDC00), char16_t(0xD800)};
  EXPECT_EQ(platform::WideToCodePoints(text), (std::u32string{U'a', 0x1F600, 0xDC00, 0xD800}));
}

class GlyphIndexEngineTest : public text_testing::LayoutTest {
 protected:
  static constexpr const char* kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

  // The glyph of one character, found through shaping, which knows the font's character map.
  unsigned GlyphOf(std::u16string_view character) {
    text::FontServicesLease services;
    const auto glyphs = text_testing::Shape(character, u"DejaVu Sans", *services);
    return glyphs.size() == 1 ? glyphs[0].glyphIndex : 0;
  }
};

TEST_F(GlyphIndexEngineTest, LoadsGlyphsByIndexNotByCharacterCode) {
  text::GlyphIndexEngine engine;
  ASSERT_TRUE(engine.SelectFace(text::FaceKey{kDejaVu, 0, false, false}));
  const unsigned a = GlyphOf(u"A");
  ASSERT_NE(a, static_cast<unsigned>('A'));
  ASSERT_TRUE(engine.prepare_glyph(a));
  const agg::rect_i capital = engine.bounds();
  // A capital stands on the baseline, y pointing down, at design size.
  EXPECT_EQ(capital.y2, 0);
  EXPECT_LT(capital.y1, -1000);
  EXPECT_GT(engine.data_size(), 0u);
  // Index 'A' (65) is some other glyph.
  ASSERT_TRUE(engine.prepare_glyph('A'));
  EXPECT_TRUE(engine.bounds().x1 != capital.x1 || engine.bounds().x2 != capital.x2);
  EXPECT_FALSE(engine.prepare_glyph(1u << 20));
  ASSERT_TRUE(engine.prepare_glyph(GlyphOf(u" ")));
  EXPECT_EQ(engine.data_size(), 0u);
  EXPECT_GT(engine.bounds().x1, engine.bounds().x2) << "a space has no ink";
}

TEST_F(GlyphIndexEngineTest, SyntheticStylesThickenAndLean) {
  const unsigned l = GlyphOf(u"l");
  text::GlyphIndexEngine engine;
  ASSERT_TRUE(engine.SelectFace(text::FaceKey{kDejaVu, 0, false, false}));
  ASSERT_TRUE(engine.prepare_glyph(l));
  const agg::rect_i plain = engine.bounds();
  const std::string plainSignature = engine.font_signature();
  ASSERT_TRUE(engine.SelectFace(text::FaceKey{kDejaVu, 0, true, false}));
  EXPECT_NE(engine.font_signature(), plainSignature);
  ASSERT_TRUE(engine.prepare_glyph(l));
  EXPECT_GT(engine.bounds().x2 - engine.bounds().x1, plain.x2 - plain.x1);
  ASSERT_TRUE(engine.SelectFace(text::FaceKey{kDejaVu, 0, false, true}));
  ASSERT_TRUE(engine.prepare_glyph(l));
  EXPECT_GT(engine.bounds().x2, plain.x2 + 200) << "the top of the stem leans right";
  EXPECT_FALSE(engine.SelectFace(text::FaceKey{"/nonexistent.ttf", 0, false, false}));
  EXPECT_FALSE(engine.SelectFace(text::FaceKey{kDejaVu, 7, false, false}));
}

}  // namespace
