#include <array>

#include "svg/element_types.h"

namespace svg {
namespace {

constexpr std::array<std::u16string_view, kElementTypeCount> kTagNames = {
    u"",         u"svg",          u"a",        u"g",              u"defs",           u"title",   u"desc",
    u"symbol",   u"use",          u"image",    u"style",          u"path",           u"rect",    u"circle",
    u"ellipse",  u"line",         u"polyline", u"polygon",        u"text",           u"tspan",   u"tref",
    u"textPath", u"altGlyph",     u"altGlyphDef", u"altGlyphItem", u"glyphRef",      u"linearGradient",
    u"radialGradient", u"stop",   u"pattern",  u"clipPath",       u"mask",
};

}  // namespace

ElementType LookupElementType(std::u16string_view tag) {
  if (tag.empty()) return ElementType::kUnknown;
  for (uint32_t i = 1; i < kTagNames.size(); ++i) {
    if (kTagNames[i] == tag) return static_cast<ElementType>(i);
  }
  return ElementType::kUnknown;
}

std::u16string_view ElementTagName(ElementType type) {
  const auto index = static_cast<uint32_t>(type);
  return index < kTagNames.size() ? kTagNames[index] : std::u16string_view();
}

}  // namespace svg
