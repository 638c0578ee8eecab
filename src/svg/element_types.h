#pragma once

#include <cstdint>
#include <string_view>

namespace svg {

// Element type numbers; one tag table maps tag names onto them.
enum class ElementType : uint32_t {
  kUnknown = 0, kSvg = 1, kA = 2, kG = 3, kDefs = 4, kTitle = 5, kDesc = 6, kSymbol = 7, kUse = 8, kImage = 9,
  kStyle = 10, kPath = 11, kRect = 12, kCircle = 13, kEllipse = 14, kLine = 15, kPolyline = 16, kPolygon = 17,
  kText = 18, kTSpan = 19, kTRef = 20, kTextPath = 21, kAltGlyph = 22, kAltGlyphDef = 23, kAltGlyphItem = 24,
  kGlyphRef = 25, kLinearGradient = 26, kRadialGradient = 27, kStop = 28, kPattern = 29, kClipPath = 30,
  kMask = 31,
};

inline constexpr uint32_t kElementTypeCount = 32;

// Exact, case-sensitive lookup of the whole tag name; kUnknown for any other name.
ElementType LookupElementType(std::u16string_view tag);

// The tag name of a type; empty for kUnknown.
std::u16string_view ElementTagName(ElementType type);

}  // namespace svg
