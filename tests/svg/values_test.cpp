#include "svg/values.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "support/test_support.h"
#include "svg/exception.h"
#include "svg/number_parse.h"
#include "svg/script_callback.h"

namespace {

using testing_support::N;
using testing_support::W;

// Appends a fixed text per expression and remembers what it was asked.
class TableCallback : public svg::SvgScriptCallback {
 public:
  std::map<std::u16string, std::u16string> values;
  std::vector<std::u16string> asked;

  void Begin(const agg::trans_affine&) override {}
  void End() override {}
  void Evaluate(std::u16string_view expression, std::u16string& result) override {
    asked.emplace_back(expression);
    const auto found = values.find(std::u16string(expression));
    if (found != values.end()) result += found->second;
  }
  void ReportError(uint32_t, std::u16string_view) override {}
  bool LoadPicture(svg::PictureRecord&) override { return false; }
};

TEST(ValuesNumberParse, LongestPrefixLikeTheCLibrary) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    const char* text;
    double value;
    size_t consumed;
  };
  const Case cases[] = {
      {"1.5", 1.5, 3},
      {"-2.5e3px", -2500, 6},
      {"1e", 1, 1},
      {"1e+", 1, 1},
      {"1.e5", 1e5, 4},
      {".5", 0.5, 2},
      {"1.5.5", 1.5, 3},
      {"0x1A", 26, 4},
      {"0x", 0, 1},
      {"0x.8p1", 1, 6},
      {"0X1p4z", 16, 5},
      {"inf", inf, 3},
      {"-Infinity", -inf, 9},
      {"INFIN", inf, 3},
      {"1e400", inf, 5},
      {"-1e400", -inf, 6},
      {"1e-400", 0, 6},
      {"0x1p99999", inf, 9},
      {"+.e5", 0, 0},
      {"-", 0, 0},
      {".", 0, 0},
      {"", 0, 0},
      {" 1", 0, 0},
      {"00012", 12, 5},
      {"1e99999999999999999999999", inf, 25},
  };
  for (const auto& c : cases) {
    size_t consumed = 99;
    const double value = svg::ParseNumberPrefix(W(c.text), &consumed);
    EXPECT_EQ(value, c.value) << c.text;
    EXPECT_EQ(consumed, c.consumed) << c.text;
  }
  size_t consumed = 0;
  EXPECT_TRUE(std::isnan(svg::ParseNumberPrefix(u"NaN(abc)x", &consumed)));
  EXPECT_EQ(consumed, 8u);
  EXPECT_TRUE(std::isnan(svg::ParseNumberPrefix(u"nan(", &consumed)));
  EXPECT_EQ(consumed, 3u);
}

TEST(ValuesNumberParse, LeadingWhiteSpaceIsSkippedOnlyByParseLeadingNumber) {
  size_t consumed = 0;
  EXPECT_EQ(svg::ParseLeadingNumber(u" \t\r\n\f\v12abc", &consumed), 12.0);
  EXPECT_EQ(consumed, 8u);
  EXPECT_EQ(svg::ParseLeadingNumber(u"   ", &consumed), 0.0);
  EXPECT_EQ(consumed, 0u);
  EXPECT_TRUE(svg::IsSpaceChar(u'\v'));
  EXPECT_FALSE(svg::IsSpaceChar(u','));
}

TEST(ValuesNumberParse, HugeRunsOfDigitsOverflowOrUnderflow) {
  const std::u16string digits(50'000'000, u'7');
  size_t consumed = 0;
  EXPECT_EQ(svg::ParseNumberPrefix(digits, &consumed), std::numeric_limits<double>::infinity());
  EXPECT_EQ(consumed, digits.size());

  const std::u16string tiny = u"0." + std::u16string(1'000'000, u'0') + u"1";
  EXPECT_EQ(svg::ParseNumberPrefix(tiny, &consumed), 0.0);
  EXPECT_EQ(consumed, tiny.size());
}

TEST(ValuesFormat, MatchesPercentG) {
  const std::pair<double, const char*> cases[] = {
      {1e6, "1e+06"},     {0.0001, "0.0001"},
      {1e-5, "1e-05"},    {37.79527559055118, "37.7953"},
      {100000, "100000"}, {123456789, "1.23457e+08"},
      {-0.5, "-0.5"},     {0, "0"},
      {1.5, "1.5"},       {std::numeric_limits<double>::infinity(), "inf"},
  };
  for (const auto& [value, text] : cases) EXPECT_EQ(N(svg::FormatNumber(value)), text) << text;
}

TEST(ValuesLocale, NumbersIgnoreAGermanProcessLocale) {
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  const double parsed = svg::ParseNumberPrefix(u"1.5");
  const std::u16string formatted = svg::FormatNumber(1.5);
  const svg::Length length = svg::Length::Parse(u"2.5mm");
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(parsed, 1.5);
  EXPECT_EQ(formatted, u"1.5");
  EXPECT_EQ(length.value, 2.5);
  EXPECT_EQ(length.unit, svg::LengthUnit::kMm);
}

TEST(ValuesLength, UnitsConvertToUserUnits) {
  struct Case {
    const char* text;
    svg::LengthUnit unit;
    double reference;
    double fontSize;
    double userUnits;
  };
  using U = svg::LengthUnit;
  const Case cases[] = {
      {"10mm", U::kMm, 0, 0, 37.79527559055118},
      {"1in", U::kIn, 0, 0, 96},
      {"12pt", U::kPt, 0, 0, 16},
      {"2pc", U::kPc, 0, 0, 32},
      {"50%", U::kPercent, 400, 0, 200},
      {"2em", U::kEm, 0, 12, 24},
      {"3ex", U::kEx, 0, 12, 18},
      {"2.54cm", U::kCm, 0, 0, 96},
      {"5px", U::kPx, 0, 0, 5},
      {" 7", U::kNone, 0, 0, 7},
      {"10 px", U::kNone, 0, 0, 10},
      {"10PX", U::kNone, 0, 0, 10},
      {"10px ", U::kNone, 0, 0, 10},
      {"px", U::kPx, 0, 0, 0},
      {"abc", U::kNone, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const svg::Length length = svg::Length::Parse(W(c.text));
    EXPECT_EQ(length.unit, c.unit) << c.text;
    EXPECT_DOUBLE_EQ(length.ToUserUnits(c.reference, c.fontSize), c.userUnits) << c.text;
  }
}

TEST(ValuesLength, TextIsNumberAndSuffix) {
  EXPECT_EQ(svg::Length::Parse(u"10mm").ToText(), u"10mm");
  EXPECT_EQ(svg::Length::Parse(u"2.5%").ToText(), u"2.5%");
  EXPECT_EQ(svg::Length::Parse(u"3").ToText(), u"3");
  EXPECT_EQ(svg::Length::Parse(u"1000000px").ToText(), u"1e+06px");
  EXPECT_EQ((svg::Length{static_cast<svg::LengthUnit>(42), 4.0}).ToText(), u"4");
}

TEST(ValuesLength, EmptyTextChangesNothing) {
  svg::LengthValue value;
  EXPECT_FALSE(value.Set(u"5mm"));
  EXPECT_TRUE(value.IsSpecified());
  EXPECT_FALSE(value.Set(u""));
  EXPECT_EQ(value.Get(nullptr).unit, svg::LengthUnit::kMm);
  EXPECT_EQ(value.Get(nullptr).value, 5.0);
  EXPECT_FALSE(svg::LengthValue().IsSpecified());
  EXPECT_EQ(svg::LengthValue(svg::LengthUnit::kPercent, 100).ToUserUnits(nullptr, 300, 12), 300.0);
}

TEST(ValuesScript, ExpandEvaluatesEachExpression) {
  TableCallback callback;
  callback.values = {{u"a", u"1"}, {u"b", u"2"}, {u"f(g(1))", u"fg"}};
  EXPECT_EQ(svg::Expand(&callback, u"10 zls(a) zls(b)"), u"10 1 2");
  EXPECT_EQ(svg::Expand(&callback, u"[zls(f(g(1)))]"), u"[fg]");
  EXPECT_EQ(callback.asked, (std::vector<std::u16string>{u"a", u"b", u"f(g(1))"}));

  callback.asked.clear();
  EXPECT_EQ(svg::Expand(&callback, u"x zls(a) zls(b(c)"), u"x 1 b(c)");
  EXPECT_EQ(svg::Expand(&callback, u"tail zls("), u"tail ");
  EXPECT_EQ(svg::Expand(&callback, u"plain"), u"plain");
  EXPECT_EQ(callback.asked, (std::vector<std::u16string>{u"a"}));
  EXPECT_EQ(svg::Expand(nullptr, u"10 zls(a)"), u"");
}

TEST(ValuesScript, ContainsScriptIsCaseSensitive) {
  EXPECT_TRUE(svg::ContainsScript(u"1 + zls(t)"));
  EXPECT_FALSE(svg::ContainsScript(u"ZLS(t)"));
  EXPECT_FALSE(svg::ContainsScript(u"zls"));
}

TEST(ValuesScript, LengthIsEvaluatedAtEveryUse) {
  TableCallback callback;
  svg::LengthValue width;
  EXPECT_TRUE(width.Set(u"zls(width)"));
  EXPECT_TRUE(width.IsSpecified());
  EXPECT_EQ(width.ScriptText(), u"zls(width)");
  EXPECT_EQ(width.Get(nullptr).value, 0.0);

  callback.values[u"width"] = u"50";
  EXPECT_EQ(width.ToUserUnits(&callback, 1024, 12), 50.0);
  callback.values[u"width"] = u"2in";
  EXPECT_EQ(width.ToUserUnits(&callback, 1024, 12), 192.0);
  EXPECT_EQ(width.ToText(&callback), u"2in");
  // The stored value is untouched by the evaluations, and an empty expansion falls back to it.
  callback.values.clear();
  EXPECT_EQ(width.ToUserUnits(&callback, 1024, 12), 0.0);

  EXPECT_FALSE(width.Set(u"7"));
  EXPECT_FALSE(width.HasScript());
  EXPECT_EQ(width.ToText(&callback), u"7");
}

TEST(ValuesScript, ListsReparseTheExpansionIntoTheStoredList) {
  TableCallback callback;
  callback.values[u"r"] = u"10 20,30";
  svg::NumberListValue rotate;
  EXPECT_TRUE(rotate.Set(u"zls(r)"));
  EXPECT_TRUE(rotate.Items().empty());
  EXPECT_EQ(rotate.Get(&callback), (std::vector<double>{10, 20, 30}));
  callback.values.clear();
  EXPECT_EQ(rotate.Get(&callback), (std::vector<double>{10, 20, 30}));

  svg::StringValue href;
  callback.values[u"h"] = u"#b";
  EXPECT_TRUE(href.Set(u"zls(h)"));
  EXPECT_EQ(href.Stored(), u"");
  EXPECT_EQ(href.Get(&callback), u"#b");
  EXPECT_EQ(href.Get(nullptr), u"");
}

TEST(ValuesLists, SplitAtSeparators) {
  svg::LengthListValue lengths;
  EXPECT_FALSE(lengths.Set(u"1,2 3\t4\n5mm\r"));
  ASSERT_EQ(lengths.Items().size(), 5u);
  EXPECT_EQ(lengths.Items()[4].unit, svg::LengthUnit::kMm);
  EXPECT_EQ(lengths.ToText(nullptr), u"1 2 3 4 5mm");
  EXPECT_FALSE(lengths.Set(u""));
  EXPECT_TRUE(lengths.Items().empty());

  svg::NumberListValue numbers;
  numbers.Set(u"10, 20 -5 7x");
  EXPECT_EQ(numbers.Items(), (std::vector<double>{10, 20, -5, 7}));
  EXPECT_EQ(numbers.ToText(nullptr), u"10 20 -5 7");
  numbers.Set(u"1.5.5 3-4,x");
  EXPECT_EQ(numbers.Items(), (std::vector<double>{1.5, 0.5, 3, -4, 0}));

  svg::StringListValue classes;
  classes.Set(u" a  b\tc\r\nd,e ");
  EXPECT_EQ(classes.Items(), (std::vector<std::u16string>{u"a", u"b", u"c", u"d,e"}));
  EXPECT_EQ(classes.ToText(nullptr), u"a b c d,e");

  svg::StringValue text;
  text.Set(u" keep  spaces ");
  EXPECT_EQ(text.Stored(), u" keep  spaces ");
  text.Set(u"");
  EXPECT_EQ(text.Stored(), u"");
}

TEST(ValuesNumber, PercentScalesByOneHundredth) {
  EXPECT_EQ(svg::NumberValue::Parse(u"50%"), 0.5);
  EXPECT_EQ(svg::NumberValue::Parse(u" 0.25"), 0.25);
  EXPECT_EQ(svg::NumberValue::Parse(u"50 %"), 50.0);
  EXPECT_EQ(svg::NumberValue::Parse(u"abc"), 0.0);
  svg::NumberValue offset;
  offset.Set(u"40%");
  EXPECT_EQ(offset.Get(nullptr), 0.4);
  EXPECT_EQ(offset.ToText(nullptr), u"0.4");
}

TEST(ValuesPoints, ReadPairsAndReportMalformedLists) {
  struct Case {
    const char* text;
    int error;  // 0 when the list is accepted
    std::vector<double> coordinates;
    const char* offending;
  };
  const Case cases[] = {
      {"10,20 30,40", 0, {10, 20, 30, 40}, ""},
      {"10-20-30-40", 0, {10, -20, -30, -40}, ""},
      {"0.5.5.5.5", 0, {0.5, 0.5, 0.5, 0.5}, ""},
      {"M10 20 L 30 40", 0, {10, 20, 30, 40}, ""},
      {"10,20 30", 16, {10, 20}, ""},
      {"10", 15, {}, ""},
      {"  ", 15, {}, ""},
      {"10 20 #", 12, {10, 20}, "#"},
  };
  for (const auto& c : cases) {
    svg::PointListValue points;
    int error = 0;
    std::u16string offending;
    try {
      points.Set(W(c.text));
    } catch (const svg::exception& e) {
      error = e.Code();
      offending = e.Text();
    }
    EXPECT_EQ(error, c.error) << c.text;
    EXPECT_EQ(N(offending), c.offending) << c.text;
    std::vector<double> coordinates;
    for (const auto& p : points.Items()) coordinates.insert(coordinates.end(), {p.x, p.y});
    EXPECT_EQ(coordinates, c.coordinates) << c.text;
  }
  svg::PointListValue points;
  points.Set(u"1.5,2 3,4");
  EXPECT_EQ(points.ToText(nullptr), u"1.5,2 3,4");
  EXPECT_FALSE(points.Set(u""));
  EXPECT_TRUE(points.Items().empty());
}

TEST(ValuesKeyword, GroupsMatchWholeTextExactly) {
  using G = svg::KeywordGroup;
  const std::tuple<G, const char*, uint32_t> cases[] = {
      {G::kUnits, "objectBoundingBox", svg::kObjectBoundingBox},
      {G::kUnits, "userSpaceOnUse", svg::kUserSpaceOnUse},
      {G::kUnits, "userspaceonuse", 0},
      {G::kUnits, "userSpaceOnUse ", 0},
      {G::kSpreadMethod, "reflect", 1},
      {G::kSpreadMethod, "repeat", 2},
      {G::kTextPathMethod, "stretch", 1},
      {G::kTextPathSpacing, "exact", 1},
      {G::kXmlSpace, "preserve", 1},
      {G::kXmlSpace, "", 0},
  };
  for (const auto& [group, text, index] : cases) {
    EXPECT_EQ(svg::KeywordValue::Lookup(group, W(text)), index) << text;
  }
  EXPECT_EQ(svg::KeywordValue::Name(G::kSpreadMethod, 2), u"repeat");
  EXPECT_EQ(svg::KeywordValue::Name(G::kUnits, 2), u"");
  EXPECT_EQ(svg::KeywordValue::Name(G::kSpreadMethod, 3), u"");
  EXPECT_EQ(svg::KeywordValue::Name(static_cast<G>(9), 0), u"");

  svg::KeywordValue spread(G::kSpreadMethod);
  spread.Set(u"repeat");
  EXPECT_EQ(spread.Get(nullptr), 2u);
  EXPECT_EQ(spread.ToText(nullptr), u"repeat");
}

TEST(ValuesViewBox, SeparatorsAndValidity) {
  svg::ViewBoxValue commas;
  svg::ViewBoxValue spaces;
  commas.Set(u"0,0,100,50");
  spaces.Set(u"0 0 100 50");
  const svg::ViewBoxRect a = commas.GetRect(nullptr, true);
  const svg::ViewBoxRect b = spaces.GetRect(nullptr, true);
  EXPECT_TRUE(a.valid);
  EXPECT_EQ(std::tie(a.x1, a.y1, a.x2, a.y2), std::tie(b.x1, b.y1, b.x2, b.y2));
  EXPECT_EQ(spaces.ToText(nullptr), u"0 0 100 50");

  svg::ViewBoxValue offset;
  offset.Set(u"10, 20, 100, 50 99");
  const svg::ViewBoxRect corners = offset.GetRect(nullptr, false);
  EXPECT_EQ(corners.x2, 110.0);
  EXPECT_EQ(corners.y2, 70.0);

  for (const char* text : {"0 0 100", "0 0 -1 5", "0 0 5 0"}) {
    svg::ViewBoxValue invalid;
    invalid.Set(W(text));
    EXPECT_FALSE(invalid.GetRect(nullptr, true).valid) << text;
    EXPECT_EQ(invalid.ToText(nullptr), u"") << text;
  }

  svg::ViewBoxValue assigned;
  assigned.Assign(0, 0, 10, 10);
  EXPECT_TRUE(assigned.GetRect(nullptr, true).valid);
  EXPECT_EQ(assigned.ToText(nullptr), u"");

  TableCallback callback;
  callback.values[u"v"] = u"1 2 3 4";
  svg::ViewBoxValue scripted;
  EXPECT_TRUE(scripted.Set(u"zls(v)"));
  const svg::ViewBoxRect evaluated = scripted.GetRect(&callback, true);
  EXPECT_EQ(evaluated.x1, 1.0);
  EXPECT_EQ(evaluated.y2, 4.0);
  EXPECT_EQ(scripted.Width(), 3.0);
}

TEST(ValuesPreserveAspectRatio, WordsInAnyOrderLaterWins) {
  struct Case {
    const char* text;
    svg::Align align;
    svg::MeetOrSlice meetOrSlice;
  };
  using A = svg::Align;
  using M = svg::MeetOrSlice;
  const Case cases[] = {
      {"slice xMinYMax", A::kXMinYMax, M::kSlice},
      {"xMaxYMid", A::kXMaxYMid, M::kMeet},
      {"none", A::kNone, M::kMeet},
      {"bogus\txMinYMin", A::kXMinYMin, M::kMeet},
      {"xMinYMin xMaxYMax", A::kXMaxYMax, M::kMeet},
      {"slice meet", A::kXMidYMid, M::kMeet},
      {"XMINYMIN", A::kXMidYMid, M::kMeet},
  };
  for (const auto& c : cases) {
    svg::PreserveAspectRatioValue value;
    value.Set(W(c.text));
    EXPECT_EQ(value.GetAlign(nullptr), c.align) << c.text;
    EXPECT_EQ(value.GetMeetOrSlice(nullptr), c.meetOrSlice) << c.text;
  }
  svg::PreserveAspectRatioValue defaults;
  EXPECT_EQ(defaults.GetAlign(nullptr), A::kXMidYMid);
  EXPECT_EQ(defaults.GetMeetOrSlice(nullptr), M::kMeet);
  defaults.Set(u"slice xMinYMax");
  EXPECT_EQ(defaults.ToText(nullptr), u"xMinYMax slice");
}

}  // namespace
