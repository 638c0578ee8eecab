#include "render/text_setup.h"

#include <algorithm>
#include <cmath>

#include "render/computed_style.h"
#include "render/references.h"
#include "svg/property_table.h"
#include "svg/shape_elements.h"
#include "svg/text_elements.h"

namespace render {
namespace {

constexpr std::u16string_view kFallbackFamily = u"Times New Roman";
constexpr uint32_t kDirectionRtl = 1;
constexpr uint32_t kXmlSpacePreserve = 1;
constexpr size_t kMaxContentDepth = 64;

double FiniteOr(double value, double fallback) { return std::isfinite(value) ? value : fallback; }

std::vector<double> Resolve(svg::LengthListValue& list, const RenderContext& context, double reference,
                            double fontSize) {
  std::vector<double> values;
  for (const svg::Length& length : list.Get(context.scriptCallback)) {
    values.push_back(FiniteOr(length.ToUserUnits(reference, fontSize), 0.0));
  }
  return values;
}

void AppendCharacterContent(const svg::SVGElement& element, std::u16string& out, size_t depth) {
  if (depth > kMaxContentDepth || out.size() >= kMaxTextCharacters) return;
  if (element.text) out += *element.text;
  for (const auto& child : element.children) AppendCharacterContent(*child, out, depth + 1);
}

}  // namespace

text::FontSettings ReadFontSettings(const svg::SVGElement& element, const RenderContext& context) {
  const svg::PropertyStore& style = context.style;
  text::FontSettings font;
  font.size = FiniteOr(element.fontSize, 0.0);
  font.weight = static_cast<int>(
      std::clamp(FiniteOr(StyleNumber(style, svg::PropertyId::kFontWeight, 400.0), 400.0), 1.0, 1000.0));
  font.italic = StyleKeyword(style, svg::PropertyId::kFontStyle, 0) != 0;
  font.anchor = std::min<uint32_t>(StyleKeyword(style, svg::PropertyId::kTextAnchor, 0), 2);
  const svg::Declaration* family = style.Find(svg::PropertyId::kFontFamily);
  font.families = text::ParseFontFamilies(family != nullptr && family->type == svg::DeclarationType::kString
                                              ? std::u16string_view(family->text)
                                              : kFallbackFamily,
                                          kFallbackFamily);
  const double diagonal = element.viewportDiagonal;
  const svg::Length kerning =
      StyleLength(style, svg::PropertyId::kKerning, svg::Length{svg::LengthUnit::kNone, -1.0});
  font.kerning = kerning.unit == svg::LengthUnit::kNone && kerning.value == text::FontSettings::kAutoKerning
                     ? text::FontSettings::kAutoKerning
                     : FiniteOr(kerning.ToUserUnits(diagonal, font.size), 0.0);
  font.letterSpacing = FiniteOr(
      StyleLength(style, svg::PropertyId::kLetterSpacing, svg::Length{}).ToUserUnits(diagonal, font.size),
      0.0);
  font.wordSpacing = FiniteOr(
      StyleLength(style, svg::PropertyId::kWordSpacing, svg::Length{}).ToUserUnits(diagonal, font.size), 0.0);
  font.rightToLeft = StyleKeyword(style, svg::PropertyId::kDirection, 0) == kDirectionRtl;
  return font;
}

bool HasPositionLists(const svg::SVGElement& element) {
  const auto* positioning = dynamic_cast<const svg::SVGTextPositioningElement*>(&element);
  return positioning != nullptr &&
         (positioning->x.IsSpecified() || positioning->y.IsSpecified() || positioning->dx.IsSpecified() ||
          positioning->dy.IsSpecified() || positioning->rotate.IsSpecified());
}

void WritePositionLists(svg::SVGElement& element, const RenderContext& context, text::TextState& state) {
  auto* positioning = dynamic_cast<svg::SVGTextPositioningElement*>(&element);
  if (positioning == nullptr) return;
  const double fontSize = element.fontSize;
  const size_t at = state.charIndex;
  text::PositionLists& lists = state.lists;
  text::WritePositions(lists.x, at, Resolve(positioning->x, context, element.viewportWidth, fontSize));
  text::WritePositions(lists.y, at, Resolve(positioning->y, context, element.viewportHeight, fontSize));
  text::WritePositions(lists.dx, at, Resolve(positioning->dx, context, element.viewportWidth, fontSize));
  text::WritePositions(lists.dy, at, Resolve(positioning->dy, context, element.viewportHeight, fontSize));
  std::vector<double> rotate;
  for (double degrees : positioning->rotate.Get(context.scriptCallback))
    rotate.push_back(FiniteOr(degrees, 0.0));
  text::WritePositions(lists.rotate, at, rotate);
}

double BaselineShift(const svg::SVGElement& element, const RenderContext& context) {
  const svg::Length shift = StyleLength(context.style, svg::PropertyId::kBaselineShift, svg::Length{});
  return FiniteOr(shift.ToUserUnits(element.fontSize, element.fontSize), 0.0);
}

std::unique_ptr<text::TextPath> BuildTextPath(svg::SVGTextPathElement& element, const RenderContext& context,
                                              double approximationScale, double& startOffset) {
  startOffset = 0.0;
  svg::SVGElement* target = ResolveGuarded(element, element.href.Get(context.scriptCallback), context, true);
  if (target == nullptr || target->type != svg::ElementType::kPath) return nullptr;
  auto& pathElement = static_cast<svg::SVGPathElement&>(*target);
  agg::path_storage outline;
  pathElement.BuildPath(outline, context.scriptCallback);
  outline.transform_all_paths(pathElement.OwnTransform(context.scriptCallback));
  auto path = std::make_unique<text::TextPath>();
  if (!path->Build(outline, approximationScale)) return nullptr;
  startOffset = FiniteOr(
      element.startOffset.ToUserUnits(context.scriptCallback, path->Length(), element.fontSize), 0.0);
  return path;
}

std::u16string OwnText(svg::SVGElement& element, const RenderContext& context) {
  std::u16string own;
  if (element.type == svg::ElementType::kTRef) {
    auto& tref = static_cast<svg::SVGTRefElement&>(element);
    if (const svg::SVGElement* source =
            ResolveGuarded(element, tref.href.Get(context.scriptCallback), context, true)) {
      AppendCharacterContent(*source, own, 0);
    }
  } else if (element.text) {
    own = *element.text;
  }
  // Without a script engine the expression stays as written rather than vanishing.
  if (context.scriptCallback != nullptr && svg::ContainsScript(own))
    own = svg::Expand(context.scriptCallback, own);
  return own;
}

bool PreservesSpace(const svg::SVGElement& element, const RenderContext& context) {
  for (const svg::SVGElement* e = &element; e != nullptr; e = e->parent) {
    if (e->xmlSpace.IsSpecified()) return e->xmlSpace.Get(context.scriptCallback) == kXmlSpacePreserve;
  }
  return false;
}

}  // namespace render
