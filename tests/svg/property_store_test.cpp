#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "svg/property_store.h"
#include "svg/property_table.h"

namespace {

using svg::Declaration;
using svg::DeclarationType;
using svg::LengthUnit;
using svg::PaintKind;
using svg::PropertyClass;
using svg::PropertyId;
using svg::PropertyStore;
using testing_support::N;
using testing_support::W;

PropertyId Id(int n) { return static_cast<PropertyId>(n); }

Declaration Parse(PropertyId id, const std::string& text, uint32_t flags = 0, bool withClipRect = false) {
  return svg::ParseDeclaration(id, W(text), flags, withClipRect);
}

double Number(PropertyId id, const std::string& text) {
  const Declaration d = Parse(id, text);
  EXPECT_EQ(d.type, DeclarationType::kNumber) << text;
  return d.number;
}

TEST(PropertyTable, NamesAreExactAndCaseSensitive) {
  int known = 0;
  for (int n = 1; n <= 62; ++n) {
    const svg::PropertyInfo& info = svg::GetPropertyInfo(Id(n));
    EXPECT_EQ(info.id, Id(n));
    EXPECT_EQ(svg::LookupProperty(info.name), Id(n)) << N(info.name);
    known += info.name.empty() ? 0 : 1;
  }
  EXPECT_EQ(known, 62);
  EXPECT_EQ(svg::LookupProperty(u"fill"), PropertyId::kFill);
  EXPECT_EQ(svg::LookupProperty(u"text-rendering"), PropertyId::kTextRendering);
  EXPECT_EQ(svg::LookupProperty(u"glyph-orientation-vertical"), PropertyId::kGlyphOrientationVertical);
  for (const char16_t* name : {u"Fill", u"fill ", u"fil", u"", u"FILL", u"stroke-Width", u"colour"}) {
    EXPECT_EQ(svg::LookupProperty(name), PropertyId::kUnknown) << N(name);
  }
  EXPECT_EQ(svg::GetPropertyInfo(PropertyId::kUnknown).kind, svg::ParseKind::kNotStored);
  EXPECT_EQ(svg::GetPropertyInfo(Id(63)).id, PropertyId::kUnknown);
}

TEST(PropertyTable, NonInheritedListInItsFixedOrder) {
  const std::vector<int> expected = {24, 25, 43, 44, 49, 23, 56, 39, 40, 41, 42, 46, 47, 51, 33, 34, 29, 27};
  std::vector<int> actual;
  for (PropertyId id : svg::NonInheritedProperties()) actual.push_back(static_cast<int>(id));
  EXPECT_EQ(actual, expected);
  int flagged = 0;
  for (int n = 0; n <= 63; ++n) flagged += svg::IsNonInherited(Id(n)) ? 1 : 0;
  EXPECT_EQ(flagged, 18);
  EXPECT_FALSE(svg::IsNonInherited(PropertyId::kFill));
  EXPECT_TRUE(svg::IsNonInherited(PropertyId::kOpacity));
}

TEST(PropertyTable, Classes) {
  const struct {
    PropertyClass cls;
    std::vector<int> ids;
  } cases[] = {
      {PropertyClass::kColour, {1, 4, 33, 40, 42, 48}},
      {PropertyClass::kNumber, {2, 5, 9, 16, 18, 21, 22, 34, 41, 47}},
      {PropertyClass::kKeyword, {3, 7, 8, 15, 19, 20, 23, 24, 26, 27, 28, 29, 32, 45, 49, 50, 51, 54, 55}},
      {PropertyClass::kLength, {6, 11, 14, 17, 25, 30, 31}},
      {PropertyClass::kLengthList, {10}},
      {PropertyClass::kString, {13}},
      {PropertyClass::kReference, {35, 36, 37, 38, 39, 44, 46}},
      {PropertyClass::kClip, {43}},
      {PropertyClass::kTransform, {52}},
      {PropertyClass::kOther, {12, 53, 56, 57, 58, 59, 60, 61, 62}},
  };
  int total = 0;
  for (const auto& c : cases) {
    for (int n : c.ids) EXPECT_EQ(svg::GetPropertyInfo(Id(n)).propertyClass, c.cls) << n;
    total += static_cast<int>(c.ids.size());
  }
  EXPECT_EQ(total, 62);
}

TEST(PropertyTable, Keywords) {
  const struct {
    PropertyId id;
    const char16_t* text;
    uint32_t index;
  } cases[] = {
      {PropertyId::kStrokeLinejoin, u"miter", 0},  {PropertyId::kStrokeLinejoin, u"round", 2},
      {PropertyId::kStrokeLinejoin, u"bevel", 3},  {PropertyId::kStrokeLinejoin, u"arcs", 0},
      {PropertyId::kStrokeLinejoin, u"", 0},       {PropertyId::kStrokeLinejoin, u"Round", 0},
      {PropertyId::kStrokeLinecap, u"square", 2},  {PropertyId::kFillRule, u"evenodd", svg::kFillRuleEvenOdd},
      {PropertyId::kClipRule, u"evenodd", 1},      {PropertyId::kDisplay, u"none", svg::kDisplayNone},
      {PropertyId::kDisplay, u"table-caption", 15}, {PropertyId::kDisplay, u"none ", 0},
      {PropertyId::kVisibility, u"hidden", 1},     {PropertyId::kOverflow, u"scroll", svg::kOverflowScroll},
      {PropertyId::kOverflow, u"auto", 3},         {PropertyId::kFontStretch, u"ultra-expanded", 10},
      {PropertyId::kColorInterpolation, u"sRGB", 1}, {PropertyId::kColorInterpolationFilters, u"sRGB", 2},
      {PropertyId::kWritingMode, u"tb", 5},        {PropertyId::kTextAnchor, u"end", 2},
      {PropertyId::kFill, u"round", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(svg::LookupPropertyKeyword(c.id, c.text), c.index) << N(c.text);
    const Declaration d = svg::ParseDeclaration(c.id, c.text, 0);
    if (c.id != PropertyId::kFill) {
      EXPECT_EQ(d.type, DeclarationType::kKeyword);
      EXPECT_EQ(d.keyword, c.index) << N(c.text);
    }
  }
  EXPECT_EQ(svg::PropertyKeywordName(PropertyId::kStrokeLinejoin, 1), u"");
  EXPECT_EQ(svg::PropertyKeywordName(PropertyId::kStrokeLinejoin, 3), u"bevel");
  EXPECT_EQ(svg::PropertyKeywordName(PropertyId::kStrokeLinejoin, 4), u"");
  EXPECT_EQ(svg::PropertyKeywordName(PropertyId::kDisplay, 16), u"none");
  EXPECT_EQ(svg::PropertyKeywordName(PropertyId::kFill, 0), u"");
}

TEST(PropertyNumber, FontWeight) {
  const struct {
    const char* text;
    double weight;
  } cases[] = {
      {"normal", 400}, {"bold", 700},    {"bolder", 1},   {"lighter", -1}, {"bold;", 700}, {"300", 300},
      {"950", 900},    {"-5", 100},      {"900", 900},    {"0", 0},        {"abc", 0},     {" 600", 600},
  };
  for (const auto& c : cases) EXPECT_EQ(Number(PropertyId::kFontWeight, c.text), c.weight) << c.text;
}

TEST(PropertyNumber, SpecialWordsAndAngles) {
  EXPECT_EQ(Number(PropertyId::kFontSizeAdjust, "normal"), 0.0);
  EXPECT_EQ(Number(PropertyId::kFontSizeAdjust, "0.5"), 0.5);
  EXPECT_EQ(Number(PropertyId::kGlyphOrientationVertical, "auto"), -999.0);
  EXPECT_EQ(Number(PropertyId::kGlyphOrientationHorizontal, "auto"), 0.0);
  EXPECT_EQ(Number(PropertyId::kGlyphOrientationVertical, "90"), 90.0);
  EXPECT_DOUBLE_EQ(Number(PropertyId::kGlyphOrientationHorizontal, "100grad"), 90.0);
  EXPECT_NEAR(Number(PropertyId::kGlyphOrientationVertical, "3.14159265358979rad"), 180.0, 1e-9);
  EXPECT_EQ(Number(PropertyId::kGlyphOrientationVertical, "45deg"), 45.0);
  EXPECT_EQ(Number(PropertyId::kOpacity, " 0.25"), 0.25);
  EXPECT_EQ(Number(PropertyId::kStrokeMiterlimit, "none"), 0.0);
  // "normal" has a meaning only for the font properties.
  EXPECT_EQ(Number(PropertyId::kOpacity, "normal"), 0.0);
}

TEST(PropertyLength, SpecialWords) {
  const struct {
    PropertyId id;
    const char* text;
    LengthUnit unit;
    double value;
  } cases[] = {
      {PropertyId::kBaselineShift, "super", LengthUnit::kPercent, 55},
      {PropertyId::kBaselineShift, "sub", LengthUnit::kPercent, -55},
      {PropertyId::kBaselineShift, "baseline", LengthUnit::kNone, 0},
      {PropertyId::kBaselineShift, "3px", LengthUnit::kPx, 3},
      {PropertyId::kKerning, "auto", LengthUnit::kNone, -1},
      {PropertyId::kKerning, "2", LengthUnit::kNone, 2},
      {PropertyId::kStrokeWidth, "2.5mm", LengthUnit::kMm, 2.5},
      {PropertyId::kFontSize, "150%", LengthUnit::kPercent, 150},
      // Special words belong to their own property only.
      {PropertyId::kStrokeWidth, "super", LengthUnit::kNone, 0},
  };
  for (const auto& c : cases) {
    const Declaration d = Parse(c.id, c.text);
    EXPECT_EQ(d.type, DeclarationType::kLength) << c.text;
    EXPECT_EQ(d.length.unit, c.unit) << c.text;
    EXPECT_EQ(d.length.value, c.value) << c.text;
  }
}

TEST(PropertyDashList, NoneIsEmpty) {
  const Declaration none = Parse(PropertyId::kStrokeDasharray, "none");
  EXPECT_EQ(none.type, DeclarationType::kLengthList);
  EXPECT_TRUE(none.lengths.empty());
  const Declaration dashes = Parse(PropertyId::kStrokeDasharray, "5, 3 10%");
  ASSERT_EQ(dashes.lengths.size(), 3u);
  EXPECT_EQ(dashes.lengths[1].value, 3.0);
  EXPECT_EQ(dashes.lengths[2].unit, LengthUnit::kPercent);
}

TEST(PropertyPaint, Kinds) {
  const Declaration none = Parse(PropertyId::kFill, "none");
  EXPECT_EQ(none.type, DeclarationType::kColour);
  EXPECT_EQ(none.paint.kind, PaintKind::kNone);
  EXPECT_EQ(none.paint.a, 0.0);

  const Declaration current = Parse(PropertyId::kStroke, "currentColor");
  EXPECT_EQ(current.paint.kind, PaintKind::kCurrentColour);
  EXPECT_EQ(current.paint.a, 255.0);

  const Declaration url = Parse(PropertyId::kFill, "url(#g) red");
  EXPECT_EQ(url.type, DeclarationType::kReference);
  EXPECT_EQ(N(url.text), "url(#g) red");

  for (const char* red : {"#F00", "#ff0000", "red", "RED", "rgb(255,0,0)", "rgb(100%, 0%, 0%)"}) {
    const Declaration d = Parse(PropertyId::kFill, red);
    EXPECT_EQ(d.type, DeclarationType::kColour) << red;
    EXPECT_EQ(d.paint.kind, PaintKind::kColour) << red;
    EXPECT_EQ(d.paint.r, 255.0) << red;
    EXPECT_EQ(d.paint.g + d.paint.b, 0.0) << red;
    EXPECT_EQ(d.paint.a, 255.0) << red;
  }
  const Declaration black = Parse(PropertyId::kFill, "#ff000");
  EXPECT_EQ(black.paint.kind, PaintKind::kColour);
  EXPECT_EQ(black.paint.r + black.paint.g + black.paint.b, 0.0);
  EXPECT_EQ(black.paint.a, 255.0);

  // The keywords are read as the colour parser reads them, in any case.
  const Declaration upperNone = Parse(PropertyId::kFill, "NONE");
  EXPECT_EQ(upperNone.paint.kind, PaintKind::kNone);
  EXPECT_EQ(upperNone.paint.a, 0.0);
  EXPECT_EQ(Parse(PropertyId::kFill, "currentcolor").paint.kind, PaintKind::kCurrentColour);
}

TEST(PropertyColour, PlainColourProperties) {
  for (PropertyId id : {PropertyId::kStopColor, PropertyId::kFloodColor, PropertyId::kLightingColor, PropertyId::kColor}) {
    const Declaration d = Parse(id, "teal");
    EXPECT_EQ(d.type, DeclarationType::kColour);
    EXPECT_EQ(d.paint.kind, PaintKind::kColour);
    EXPECT_EQ(d.paint.g, 128.0);
    EXPECT_EQ(d.paint.b, 128.0);
    // No paint keywords here: "none" is a transparent colour, url( is not a reference.
    EXPECT_EQ(Parse(id, "none").paint.kind, PaintKind::kColour);
    EXPECT_EQ(Parse(id, "url(#a)").type, DeclarationType::kColour);
  }
}

TEST(PropertyClip, FlagAndRectangle) {
  EXPECT_EQ(Parse(PropertyId::kClip, "auto").keyword, 0u);
  EXPECT_EQ(Parse(PropertyId::kClip, "auto", 0, true).keyword, 0u);
  EXPECT_FALSE(Parse(PropertyId::kClip, "auto", 0, true).clipRect.present);

  const Declaration plain = Parse(PropertyId::kClip, "rect(1, 2px, 3, 4)");
  EXPECT_EQ(plain.type, DeclarationType::kFlag);
  EXPECT_EQ(plain.keyword, 1u);
  EXPECT_FALSE(plain.clipRect.present);

  const Declaration onSvg = Parse(PropertyId::kClip, "rect(1, 2px,3 4)", 0, true);
  EXPECT_EQ(onSvg.keyword, 1u);
  ASSERT_TRUE(onSvg.clipRect.present);
  EXPECT_EQ(onSvg.clipRect.top.value, 1.0);
  EXPECT_EQ(onSvg.clipRect.right.value, 2.0);
  EXPECT_EQ(onSvg.clipRect.right.unit, LengthUnit::kPx);
  EXPECT_EQ(onSvg.clipRect.bottom.value, 3.0);
  EXPECT_EQ(onSvg.clipRect.left.value, 4.0);

  const Declaration shortRect = Parse(PropertyId::kClip, "rect(5", 0, true);
  ASSERT_TRUE(shortRect.clipRect.present);
  EXPECT_EQ(shortRect.clipRect.top.value, 5.0);
  EXPECT_EQ(shortRect.clipRect.left.value, 0.0);
}

TEST(PropertyStore, StyleAttributeDeclarationBlocksLaterOnes) {
  // Presentation attribute after a style attribute: ignored.
  PropertyStore element;
  svg::SetProperty(element, PropertyId::kFill, u"red", svg::kFlagFromStyleAttribute);
  svg::SetProperty(element, PropertyId::kFill, u"blue", svg::kFlagAttribute);
  ASSERT_EQ(element.Declarations().size(), 1u);
  EXPECT_EQ(element.Find(PropertyId::kFill)->paint.r, 255.0);
  EXPECT_TRUE(element.Find(PropertyId::kFill)->fromStyleAttribute);

  // fill:red; fill:blue inside one style attribute: the first stays.
  PropertyStore style;
  svg::SetProperty(style, PropertyId::kFill, u"red", svg::kFlagFromStyleAttribute);
  svg::SetProperty(style, PropertyId::kFill, u"blue", svg::kFlagFromStyleAttribute);
  ASSERT_EQ(style.Declarations().size(), 1u);
  EXPECT_EQ(style.Declarations()[0].paint.r, 255.0);

  // Presentation attribute first, style attribute second: both kept, the style one applied last.
  PropertyStore mixed;
  svg::SetProperty(mixed, PropertyId::kFill, u"blue", svg::kFlagAttribute);
  svg::SetProperty(mixed, PropertyId::kFill, u"red", svg::kFlagFromStyleAttribute);
  svg::SetProperty(mixed, PropertyId::kFill, u"green", svg::kFlagFromStyleAttribute);
  ASSERT_EQ(mixed.Declarations().size(), 3u);
  EXPECT_EQ(mixed.Find(PropertyId::kFill)->paint.b, 255.0);
  EXPECT_EQ(mixed.Declarations()[1].paint.r, 255.0);

  // A style-sheet rule keeps both; the later one wins when styles are computed.
  PropertyStore rule;
  svg::SetProperty(rule, PropertyId::kFill, u"red", 0);
  svg::SetProperty(rule, PropertyId::kFill, u"blue", 0);
  ASSERT_EQ(rule.Declarations().size(), 2u);
  EXPECT_EQ(rule.Declarations().back().paint.b, 255.0);

  // Blocking is per property.
  svg::SetProperty(element, PropertyId::kStroke, u"blue", 0);
  EXPECT_EQ(element.Declarations().size(), 2u);
}

TEST(PropertyStore, TransformsAlwaysAppend) {
  PropertyStore store;
  svg::SetProperty(store, PropertyId::kTransform, u"translate(10 20)", svg::kFlagFromStyleAttribute);
  svg::SetProperty(store, PropertyId::kTransform, u"scale(2)", 0);
  ASSERT_EQ(store.Declarations().size(), 2u);
  EXPECT_EQ(store.Declarations()[0].type, DeclarationType::kTransform);
  EXPECT_EQ(store.Declarations()[0].transform.tx, 10.0);
  EXPECT_EQ(store.Declarations()[0].transform.ty, 20.0);
  EXPECT_EQ(store.Declarations()[1].transform.sx, 2.0);
  EXPECT_EQ(store.Declarations()[1].transform.sy, 2.0);
}

TEST(PropertyStore, FlagsScriptsAndIgnoredProperties) {
  const Declaration inherited = Parse(PropertyId::kFill, "inherit", svg::kFlagInherit);
  EXPECT_TRUE(inherited.inherit);
  EXPECT_FALSE(inherited.fromStyleAttribute);
  EXPECT_FALSE(Parse(PropertyId::kFill, "red", svg::kFlagFromStyleAttribute).inherit);

  PropertyStore store;
  for (int n : {53, 56, 57, 58, 59, 60, 61, 62, 0, 63}) svg::SetProperty(store, Id(n), u"x", 0);
  svg::SetScriptProperty(store, PropertyId::kCursor, u"zls(a)", 0);
  EXPECT_TRUE(store.Empty());

  svg::SetScriptProperty(store, PropertyId::kOpacity, u"zls(fade) ", svg::kFlagFromStyleAttribute);
  svg::SetProperty(store, PropertyId::kOpacity, u"0.5", 0);
  svg::SetScriptProperty(store, PropertyId::kOpacity, u"zls(b)", 0);
  ASSERT_EQ(store.Declarations().size(), 1u);
  EXPECT_EQ(store.Find(PropertyId::kOpacity)->type, DeclarationType::kScript);
  EXPECT_EQ(N(store.Find(PropertyId::kOpacity)->text), "zls(fade) ");

  svg::SetProperty(store, PropertyId::kFontFamily, u"'DejaVu Sans', serif", 0);
  svg::SetProperty(store, PropertyId::kMarkerEnd, u"url(#arrow)", 0);
  EXPECT_EQ(N(store.Find(PropertyId::kFontFamily)->text), "'DejaVu Sans', serif");
  EXPECT_EQ(store.Find(PropertyId::kFontFamily)->type, DeclarationType::kString);
  EXPECT_EQ(store.Find(PropertyId::kMarkerEnd)->type, DeclarationType::kReference);
  EXPECT_EQ(store.Find(PropertyId::kMask), nullptr);
  store.Clear();
  EXPECT_TRUE(store.Empty());
}

}  // namespace
