#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace svg {

// Style property ids; 0 is an unknown name.
enum class PropertyId : uint32_t {
  kUnknown = 0,
  kFill = 1, kFillOpacity, kFillRule, kStroke, kStrokeOpacity, kStrokeWidth, kStrokeLinecap, kStrokeLinejoin,
  kStrokeMiterlimit, kStrokeDasharray, kStrokeDashoffset, kFont, kFontFamily, kFontSize, kFontStyle, kFontWeight,
  kKerning, kFontSizeAdjust, kFontStretch, kFontVariant, kGlyphOrientationHorizontal, kGlyphOrientationVertical,
  kDominantBaseline, kAlignmentBaseline, kBaselineShift, kDirection, kUnicodeBidi, kWritingMode, kTextDecoration,
  kLetterSpacing, kWordSpacing, kTextAnchor, kStopColor, kStopOpacity, kMarker, kMarkerStart, kMarkerMid,
  kMarkerEnd, kFilter, kFloodColor, kFloodOpacity, kLightingColor, kClip, kClipPath, kClipRule, kMask, kOpacity,
  kColor, kDisplay, kVisibility, kOverflow, kTransform, kColorProfile, kColorInterpolation,
  kColorInterpolationFilters, kEnableBackground, kCursor, kPointerEvents, kColorRendering, kImageRendering,
  kShapeRendering, kTextRendering = 62,
};

inline constexpr uint32_t kPropertyCount = 62;

// How a property's text is parsed into a declaration.
enum class ParseKind : uint8_t {
  kNotStored, kPaint, kNumber, kKeyword, kLength, kDashList, kString, kReference, kClip, kColour, kTransform
};

// Second classification used when styles are computed.
enum class PropertyClass : uint32_t {
  kOther = 0, kClip = 1, kKeyword = 2, kNumber = 3, kColour = 4, kLength = 5, kLengthList = 6, kTransform = 7,
  kString = 8, kReference = 9
};

struct PropertyInfo {
  PropertyId id;
  std::u16string_view name;
  ParseKind kind;
  PropertyClass propertyClass;
  bool nonInherited;
};

// Exact, case-sensitive lookup; kUnknown when the name is not a property.
PropertyId LookupProperty(std::u16string_view name);
const PropertyInfo& GetPropertyInfo(PropertyId id);
bool IsNonInherited(PropertyId id);
// The 18 non-inherited properties in their fixed order.
std::span<const PropertyId> NonInheritedProperties();

// Keyword lists keyed by property; index = position; unknown text gives 0. Keywords without a name
// (stroke-linejoin index 1) never match.
uint32_t LookupPropertyKeyword(PropertyId id, std::u16string_view text);
std::u16string_view PropertyKeywordName(PropertyId id, uint32_t index);

// Frequently read keyword indices.
inline constexpr uint32_t kFillRuleEvenOdd = 1;
inline constexpr uint32_t kDisplayNone = 16;
inline constexpr uint32_t kVisibilityVisible = 0;
inline constexpr uint32_t kOverflowVisible = 0;
inline constexpr uint32_t kOverflowHidden = 1;
inline constexpr uint32_t kOverflowScroll = 2;

}  // namespace svg
