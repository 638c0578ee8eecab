#include "svg/property_table.h"

#include <array>
#include <cstddef>

namespace svg {
namespace {

using enum PropertyId;
using K = ParseKind;
using C = PropertyClass;

constexpr std::array<PropertyInfo, kPropertyCount> kProperties = {{
    {kFill, u"fill", K::kPaint, C::kColour, false},
    {kFillOpacity, u"fill-opacity", K::kNumber, C::kNumber, false},
    {kFillRule, u"fill-rule", K::kKeyword, C::kKeyword, false},
    {kStroke, u"stroke", K::kPaint, C::kColour, false},
    {kStrokeOpacity, u"stroke-opacity", K::kNumber, C::kNumber, false},
    {kStrokeWidth, u"stroke-width", K::kLength, C::kLength, false},
    {kStrokeLinecap, u"stroke-linecap", K::kKeyword, C::kKeyword, false},
    {kStrokeLinejoin, u"stroke-linejoin", K::kKeyword, C::kKeyword, false},
    {kStrokeMiterlimit, u"stroke-miterlimit", K::kNumber, C::kNumber, false},
    {kStrokeDasharray, u"stroke-dasharray", K::kDashList, C::kLengthList, false},
    {kStrokeDashoffset, u"stroke-dashoffset", K::kLength, C::kLength, false},
    {kFont, u"font", K::kString, C::kOther, false},
    {kFontFamily, u"font-family", K::kString, C::kString, false},
    {kFontSize, u"font-size", K::kLength, C::kLength, false},
    {kFontStyle, u"font-style", K::kKeyword, C::kKeyword, false},
    {kFontWeight, u"font-weight", K::kNumber, C::kNumber, false},
    {kKerning, u"kerning", K::kLength, C::kLength, false},
    {kFontSizeAdjust, u"font-size-adjust", K::kNumber, C::kNumber, false},
    {kFontStretch, u"font-stretch", K::kKeyword, C::kKeyword, false},
    {kFontVariant, u"font-variant", K::kKeyword, C::kKeyword, false},
    {kGlyphOrientationHorizontal, u"glyph-orientation-horizontal", K::kNumber, C::kNumber, false},
    {kGlyphOrientationVertical, u"glyph-orientation-vertical", K::kNumber, C::kNumber, false},
    {kDominantBaseline, u"dominant-baseline", K::kKeyword, C::kKeyword, true},
    {kAlignmentBaseline, u"alignment-baseline", K::kKeyword, C::kKeyword, true},
    {kBaselineShift, u"baseline-shift", K::kLength, C::kLength, true},
    {kDirection, u"direction", K::kKeyword, C::kKeyword, false},
    {kUnicodeBidi, u"unicode-bidi", K::kKeyword, C::kKeyword, true},
    {kWritingMode, u"writing-mode", K::kKeyword, C::kKeyword, false},
    {kTextDecoration, u"text-decoration", K::kKeyword, C::kKeyword, true},
    {kLetterSpacing, u"letter-spacing", K::kLength, C::kLength, false},
    {kWordSpacing, u"word-spacing", K::kLength, C::kLength, false},
    {kTextAnchor, u"text-anchor", K::kKeyword, C::kKeyword, false},
    {kStopColor, u"stop-color", K::kColour, C::kColour, true},
    {kStopOpacity, u"stop-opacity", K::kNumber, C::kNumber, true},
    {kMarker, u"marker", K::kReference, C::kReference, false},
    {kMarkerStart, u"marker-start", K::kReference, C::kReference, false},
    {kMarkerMid, u"marker-mid", K::kReference, C::kReference, false},
    {kMarkerEnd, u"marker-end", K::kReference, C::kReference, false},
    {kFilter, u"filter", K::kReference, C::kReference, true},
    {kFloodColor, u"flood-color", K::kColour, C::kColour, true},
    {kFloodOpacity, u"flood-opacity", K::kNumber, C::kNumber, true},
    {kLightingColor, u"lighting-color", K::kColour, C::kColour, true},
    {kClip, u"clip", K::kClip, C::kClip, true},
    {kClipPath, u"clip-path", K::kReference, C::kReference, true},
    {kClipRule, u"clip-rule", K::kKeyword, C::kKeyword, false},
    {kMask, u"mask", K::kReference, C::kReference, true},
    {kOpacity, u"opacity", K::kNumber, C::kNumber, true},
    {kColor, u"color", K::kColour, C::kColour, false},
    {kDisplay, u"display", K::kKeyword, C::kKeyword, true},
    {kVisibility, u"visibility", K::kKeyword, C::kKeyword, false},
    {kOverflow, u"overflow", K::kKeyword, C::kKeyword, true},
    {kTransform, u"transform", K::kTransform, C::kTransform, false},
    {kColorProfile, u"color-profile", K::kNotStored, C::kOther, false},
    {kColorInterpolation, u"color-interpolation", K::kKeyword, C::kKeyword, false},
    {kColorInterpolationFilters, u"color-interpolation-filters", K::kKeyword, C::kKeyword, false},
    {kEnableBackground, u"enable-background", K::kNotStored, C::kOther, true},
    {kCursor, u"cursor", K::kNotStored, C::kOther, false},
    {kPointerEvents, u"pointer-events", K::kNotStored, C::kOther, false},
    {kColorRendering, u"color-rendering", K::kNotStored, C::kOther, false},
    {kImageRendering, u"image-rendering", K::kNotStored, C::kOther, false},
    {kShapeRendering, u"shape-rendering", K::kNotStored, C::kOther, false},
    {kTextRendering, u"text-rendering", K::kNotStored, C::kOther, false},
}};

constexpr PropertyInfo kUnknownProperty = {kUnknown, u"", K::kNotStored, C::kOther, false};

constexpr bool RowsFollowIds() {
  for (size_t i = 0; i < kProperties.size(); ++i) {
    if (static_cast<size_t>(kProperties[i].id) != i + 1) return false;
  }
  return true;
}
static_assert(RowsFollowIds(), "row i of the property table must hold id i + 1");

constexpr std::array<PropertyId, 18> kNonInherited = {
    kAlignmentBaseline, kBaselineShift, kClip,         kClipPath,   kDisplay,      kDominantBaseline,
    kEnableBackground,  kFilter,        kFloodColor,   kFloodOpacity, kLightingColor, kMask,
    kOpacity,           kOverflow,      kStopColor,    kStopOpacity, kTextDecoration, kUnicodeBidi,
};

constexpr bool NonInheritedListMatchesTable() {
  size_t flagged = 0;
  for (const PropertyInfo& info : kProperties) flagged += info.nonInherited ? 1 : 0;
  if (flagged != kNonInherited.size()) return false;
  for (PropertyId id : kNonInherited) {
    if (!kProperties[static_cast<size_t>(id) - 1].nonInherited) return false;
  }
  return true;
}
static_assert(NonInheritedListMatchesTable());

constexpr size_t kMaxKeywords = 17;

struct KeywordGroup {
  PropertyId id;
  size_t count;
  std::array<std::u16string_view, kMaxKeywords> names;
};

// An empty name holds an index open without ever matching (stroke-linejoin has no keyword 1).
constexpr std::array<KeywordGroup, 20> kKeywordGroups = {{
    {kFillRule, 2, {u"nonzero", u"evenodd"}},
    {kStrokeLinecap, 3, {u"butt", u"round", u"square"}},
    {kStrokeLinejoin, 4, {u"miter", u"", u"round", u"bevel"}},
    {kFontStyle, 3, {u"normal", u"italic", u"oblique"}},
    {kFontStretch, 11,
     {u"normal", u"wider", u"narrower", u"ultra-condensed", u"extra-condensed", u"condensed", u"semi-condensed",
      u"semi-expanded", u"expanded", u"extra-expanded", u"ultra-expanded"}},
    {kFontVariant, 2, {u"normal", u"small-caps"}},
    {kDominantBaseline, 12,
     {u"auto", u"use-script", u"no-change", u"reset-size", u"ideographic", u"alphabetic", u"hanging",
      u"mathematical", u"central", u"middle", u"text-after-edge", u"text-before-edge"}},
    {kAlignmentBaseline, 12,
     {u"auto", u"baseline", u"before-edge", u"text-before-edge", u"middle", u"central", u"after-edge",
      u"text-after-edge", u"ideographic", u"alphabetic", u"hanging", u"mathematical"}},
    {kDirection, 2, {u"ltr", u"rtl"}},
    {kUnicodeBidi, 3, {u"normal", u"embed", u"bidi-override"}},
    {kWritingMode, 6, {u"lr-tb", u"rl-tb", u"tb-rl", u"lr", u"rl", u"tb"}},
    {kTextDecoration, 4, {u"none", u"underline", u"overline", u"line-through"}},
    {kTextAnchor, 3, {u"start", u"middle", u"end"}},
    {kClipRule, 2, {u"nonzero", u"evenodd"}},
    {kDisplay, 17,
     {u"inline", u"block", u"list-item", u"run-in", u"compact", u"marker", u"table", u"inline-table",
      u"table-row-group", u"table-header-group", u"table-footer-group", u"table-row", u"table-column-group",
      u"table-column", u"table-cell", u"table-caption", u"none"}},
    {kVisibility, 3, {u"visible", u"hidden", u"collapse"}},
    {kOverflow, 4, {u"visible", u"hidden", u"scroll", u"auto"}},
    {kColorInterpolation, 3, {u"auto", u"sRGB", u"linearRGB"}},
    {kColorInterpolationFilters, 3, {u"auto", u"linearRGB", u"sRGB"}},
    // enable-background is not stored; the group is kept for completeness of the keyword list.
    {kEnableBackground, 2, {u"accumulate", u"new"}},
}};

constexpr const KeywordGroup* FindKeywordGroup(PropertyId id) {
  for (const KeywordGroup& group : kKeywordGroups) {
    if (group.id == id) return &group;
  }
  return nullptr;
}

constexpr bool KeywordGroupsConsistent() {
  for (const KeywordGroup& group : kKeywordGroups) {
    if (group.count == 0 || group.count > kMaxKeywords) return false;
    for (size_t i = group.count; i < kMaxKeywords; ++i) {
      if (!group.names[i].empty()) return false;
    }
  }
  return true;
}
static_assert(KeywordGroupsConsistent(), "a keyword group's count must cover exactly its names");
static_assert(FindKeywordGroup(kFillRule)->names[kFillRuleEvenOdd] == u"evenodd");
static_assert(FindKeywordGroup(kDisplay)->names[kDisplayNone] == u"none");
static_assert(FindKeywordGroup(kVisibility)->names[kVisibilityVisible] == u"visible");
static_assert(FindKeywordGroup(kOverflow)->names[kOverflowVisible] == u"visible");
static_assert(FindKeywordGroup(kOverflow)->names[kOverflowHidden] == u"hidden");
static_assert(FindKeywordGroup(kOverflow)->names[kOverflowScroll] == u"scroll");

}  // namespace

PropertyId LookupProperty(std::u16string_view name) {
  for (const PropertyInfo& info : kProperties) {
    if (info.name == name) return info.id;
  }
  return kUnknown;
}

const PropertyInfo& GetPropertyInfo(PropertyId id) {
  const auto index = static_cast<uint32_t>(id);
  if (index == 0 || index > kPropertyCount) return kUnknownProperty;
  return kProperties[index - 1];
}

bool IsNonInherited(PropertyId id) { return GetPropertyInfo(id).nonInherited; }

std::span<const PropertyId> NonInheritedProperties() { return kNonInherited; }

uint32_t LookupPropertyKeyword(PropertyId id, std::u16string_view text) {
  const KeywordGroup* group = FindKeywordGroup(id);
  if (group == nullptr || text.empty()) return 0;
  for (size_t i = 0; i < group->count; ++i) {
    if (group->names[i] == text) return static_cast<uint32_t>(i);
  }
  return 0;
}

std::u16string_view PropertyKeywordName(PropertyId id, uint32_t index) {
  const KeywordGroup* group = FindKeywordGroup(id);
  if (group == nullptr || index >= group->count) return {};
  return group->names[index];
}

}  // namespace svg
