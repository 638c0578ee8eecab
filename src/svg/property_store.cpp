#include "svg/property_store.h"

#include <cstddef>
#include <numbers>
#include <utility>

#include "svg/colour.h"
#include "svg/number_parse.h"

namespace svg {
namespace {

constexpr double kGlyphOrientationAuto = -999.0;

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

double ParseFontWeight(std::u16string_view text, double number) {
  if (StartsWith(text, u"normal")) return 400.0;
  // One step bolder or lighter than the parent; resolved when styles are computed.
  if (StartsWith(text, u"bolder")) return 1.0;
  if (StartsWith(text, u"bold")) return 700.0;
  if (StartsWith(text, u"lighter")) return -1.0;
  if (number < 0.0) return 100.0;
  if (number > 900.0) return 900.0;
  return number;
}

double ParseAngle(std::u16string_view afterNumber, double number) {
  if (StartsWith(afterNumber, u"grad")) return number * 0.9;
  if (StartsWith(afterNumber, u"rad")) return number * 180.0 / std::numbers::pi;
  return number;
}

double ParsePropertyNumber(PropertyId id, std::u16string_view text) {
  size_t consumed = 0;
  const double number = ParseLeadingNumber(text, &consumed);
  switch (id) {
    case PropertyId::kFontWeight:
      return ParseFontWeight(text, number);
    case PropertyId::kFontSizeAdjust:
      return StartsWith(text, u"normal") ? 0.0 : number;
    case PropertyId::kGlyphOrientationVertical:
      if (text == u"auto") return kGlyphOrientationAuto;
      return ParseAngle(text.substr(consumed), number);
    case PropertyId::kGlyphOrientationHorizontal:
      return ParseAngle(text.substr(consumed), number);
    default:
      return number;
  }
}

Length ParsePropertyLength(PropertyId id, std::u16string_view text) {
  if (id == PropertyId::kBaselineShift) {
    if (text == u"baseline") return Length::Parse(u"0.0");
    if (text == u"sub") return Length::Parse(u"-55%");
    if (text == u"super") return Length::Parse(u"55%");
  } else if (id == PropertyId::kKerning && text == u"auto") {
    return Length::Parse(u"-1.0");
  }
  return Length::Parse(text);
}

bool IsClipRectSeparator(char16_t c) { return c == u',' || c == u')' || IsSpaceChar(c); }

// "rect(top, right, bottom, left)"; values that are missing stay 0.
ClipRect ParseClipRect(std::u16string_view text) {
  ClipRect rect;
  constexpr std::u16string_view kPrefix = u"rect(";
  if (!StartsWith(text, kPrefix)) return rect;
  rect.present = true;
  Length* sides[] = {&rect.top, &rect.right, &rect.bottom, &rect.left};
  size_t pos = kPrefix.size();
  for (Length* side : sides) {
    while (pos < text.size() && IsClipRectSeparator(text[pos])) ++pos;
    const size_t start = pos;
    while (pos < text.size() && !IsClipRectSeparator(text[pos])) ++pos;
    if (pos == start) break;
    *side = Length::Parse(text.substr(start, pos - start));
  }
  return rect;
}

void SetColour(PaintValue& paint, PaintKind kind, agg::rgba8 colour) {
  paint.kind = kind;
  paint.r = colour.r;
  paint.g = colour.g;
  paint.b = colour.b;
  paint.a = colour.a;
}

void ParsePaint(Declaration& d, std::u16string_view text) {
  // The computed `color` replaces this stand-in when styles are computed.
  const agg::rgba8 currentColourStandIn(0, 0, 0, 255);
  if (StartsWith(text, u"url(")) {
    d.type = DeclarationType::kReference;
    d.text = std::u16string(text);
    return;
  }
  d.type = DeclarationType::kColour;
  switch (ClassifyColour(text)) {
    case ColourKeyword::kNone:
      SetColour(d.paint, PaintKind::kNone, agg::rgba8(0, 0, 0, 0));
      break;
    case ColourKeyword::kCurrentColour:
      SetColour(d.paint, PaintKind::kCurrentColour, currentColourStandIn);
      break;
    case ColourKeyword::kColour:
      SetColour(d.paint, PaintKind::kColour, ParseColour(text, currentColourStandIn));
      break;
  }
}

bool IsBlocked(const PropertyStore& store, PropertyId id) {
  if (id == PropertyId::kTransform) return false;
  const Declaration* first = store.Find(id);
  return first != nullptr && first->fromStyleAttribute;
}

bool IsStored(PropertyId id) { return GetPropertyInfo(id).kind != ParseKind::kNotStored; }

}  // namespace

const Declaration* PropertyStore::Find(PropertyId id) const {
  for (const Declaration& d : declarations_) {
    if (d.id == id) return &d;
  }
  return nullptr;
}

Declaration* PropertyStore::Find(PropertyId id) {
  return const_cast<Declaration*>(std::as_const(*this).Find(id));
}

bool PropertyStore::Store(Declaration declaration) {
  if (IsBlocked(*this, declaration.id)) return false;
  declarations_.push_back(std::move(declaration));
  return true;
}

Declaration ParseDeclaration(PropertyId id, std::u16string_view text, uint32_t flags, bool withClipRect) {
  Declaration d;
  d.id = id;
  d.fromStyleAttribute = (flags & kFlagFromStyleAttribute) != 0;
  d.inherit = (flags & kFlagInherit) != 0;

  switch (GetPropertyInfo(id).kind) {
    case ParseKind::kKeyword:
      d.type = DeclarationType::kKeyword;
      d.keyword = LookupPropertyKeyword(id, text);
      break;
    case ParseKind::kNumber:
      d.type = DeclarationType::kNumber;
      d.number = ParsePropertyNumber(id, text);
      break;
    case ParseKind::kLength:
      d.type = DeclarationType::kLength;
      d.length = ParsePropertyLength(id, text);
      break;
    case ParseKind::kDashList:
      d.type = DeclarationType::kLengthList;
      if (text != u"none") d.lengths = LengthListValue::ParseList(text);
      break;
    case ParseKind::kClip:
      d.type = DeclarationType::kFlag;
      d.keyword = text == u"auto" ? 0 : 1;
      if (withClipRect) d.clipRect = ParseClipRect(text);
      break;
    case ParseKind::kTransform:
      d.type = DeclarationType::kTransform;
      d.transform = ParseTransformList(text);
      break;
    case ParseKind::kPaint:
      ParsePaint(d, text);
      break;
    case ParseKind::kColour:
      d.type = DeclarationType::kColour;
      SetColour(d.paint, PaintKind::kColour, ParseColour(text, agg::rgba8(0, 0, 0, 255)));
      break;
    case ParseKind::kReference:
      d.type = DeclarationType::kReference;
      d.text = std::u16string(text);
      break;
    case ParseKind::kString:
    case ParseKind::kNotStored:
      // Properties that are never stored keep their text, so a caller inspecting one sees what was given.
      d.type = DeclarationType::kString;
      d.text = std::u16string(text);
      break;
  }
  return d;
}

void SetProperty(PropertyStore& store, PropertyId id, std::u16string_view text, uint32_t flags, bool withClipRect) {
  // Checked before parsing: a blocked declaration would be thrown away anyway.
  if (!IsStored(id) || IsBlocked(store, id)) return;
  store.Store(ParseDeclaration(id, text, flags, withClipRect));
}

void SetScriptProperty(PropertyStore& store, PropertyId id, std::u16string_view text, uint32_t flags) {
  if (!IsStored(id)) return;
  Declaration d;
  d.id = id;
  d.type = DeclarationType::kScript;
  d.fromStyleAttribute = (flags & kFlagFromStyleAttribute) != 0;
  d.inherit = (flags & kFlagInherit) != 0;
  d.text = std::u16string(text);
  store.Store(std::move(d));
}

}  // namespace svg
