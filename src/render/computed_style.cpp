#include "render/computed_style.h"

#include <algorithm>
#include <cmath>

#include "svg/property_table.h"
#include "svg/values.h"

namespace render {
namespace {

agg::rgba8 ToRgba(const svg::PaintValue& paint) {
  auto channel = [](double v) { return static_cast<uint8_t>(std::clamp(v, 0.0, 255.0)); };
  return agg::rgba8(channel(paint.r), channel(paint.g), channel(paint.b), channel(paint.a));
}

// A script declaration evaluated now; nullopt when there is nothing to evaluate it with.
std::optional<svg::Declaration> Evaluate(const svg::Declaration& declaration, svg::SvgScriptCallback* callback) {
  if (declaration.type != svg::DeclarationType::kScript) return declaration;
  if (callback == nullptr) return std::nullopt;
  const std::u16string text = svg::Expand(callback, declaration.text);
  if (text.empty()) return std::nullopt;
  const uint32_t flags = declaration.fromStyleAttribute ? svg::kFlagFromStyleAttribute : 0;
  return svg::ParseDeclaration(declaration.id, text, flags);
}

void ResolveFontWeight(svg::Declaration& copy, const svg::PropertyStore& target) {
  const double current = StyleNumber(target, svg::PropertyId::kFontWeight, 400.0);
  if (copy.number == 1.0) copy.number = current + 100.0;
  if (copy.number == -1.0) copy.number = current - 100.0;
  if (!(copy.number >= 0.0)) copy.number = 100.0;
  if (copy.number > 900.0) copy.number = 900.0;
}

void ResolveCurrentColour(svg::PropertyStore& target) {
  const svg::Declaration* color = target.Find(svg::PropertyId::kColor);
  svg::PaintValue current;
  if (color != nullptr && color->type == svg::DeclarationType::kColour) current = color->paint;
  current.kind = svg::PaintKind::kColour;
  for (svg::Declaration& declaration : target.Declarations()) {
    if (declaration.type == svg::DeclarationType::kColour && declaration.paint.kind == svg::PaintKind::kCurrentColour) {
      declaration.paint = current;
    }
  }
}

}  // namespace

void MergeStyle(svg::PropertyStore& target, const svg::PropertyStore& source, svg::SvgScriptCallback* callback,
                bool ownDeclarations) {
  for (const svg::Declaration& declaration : source.Declarations()) {
    if (declaration.inherit) continue;
    std::optional<svg::Declaration> copy = Evaluate(declaration, callback);
    if (!copy) continue;
    if (copy->id == svg::PropertyId::kFontWeight && copy->type == svg::DeclarationType::kNumber) {
      ResolveFontWeight(*copy, target);
    }
    svg::Declaration* existing = target.Find(copy->id);
    if (existing == nullptr) {
      target.Declarations().push_back(std::move(*copy));
    } else if (existing->fromStyleAttribute && !ownDeclarations) {
      continue;
    } else if (copy->id == svg::PropertyId::kTransform) {
      agg::trans_affine combined = copy->transform;
      combined.multiply(existing->transform);
      existing->transform = combined;
      existing->inherit = false;
    } else if (!svg::IsNonInherited(copy->id) || existing->inherit) {
      *existing = std::move(*copy);
    }
  }
  ResolveCurrentColour(target);
}

void InheritStyle(svg::PropertyStore& style) {
  auto& declarations = style.Declarations();
  std::erase_if(declarations, [](const svg::Declaration& d) { return svg::IsNonInherited(d.id); });
  for (svg::Declaration& declaration : declarations) {
    declaration.inherit = true;
    // A parent's style attribute must not shield the child from the rules that match the child.
    declaration.fromStyleAttribute = false;
  }
}

double StyleNumber(const svg::PropertyStore& style, svg::PropertyId id, double fallback) {
  const svg::Declaration* d = style.Find(id);
  return d != nullptr && d->type == svg::DeclarationType::kNumber ? d->number : fallback;
}

uint32_t StyleKeyword(const svg::PropertyStore& style, svg::PropertyId id, uint32_t fallback) {
  const svg::Declaration* d = style.Find(id);
  return d != nullptr && d->type == svg::DeclarationType::kKeyword ? d->keyword : fallback;
}

svg::Length StyleLength(const svg::PropertyStore& style, svg::PropertyId id, svg::Length fallback) {
  const svg::Declaration* d = style.Find(id);
  return d != nullptr && d->type == svg::DeclarationType::kLength ? d->length : fallback;
}

agg::trans_affine StyleTransform(const svg::PropertyStore& style) {
  const svg::Declaration* d = style.Find(svg::PropertyId::kTransform);
  return d != nullptr && d->type == svg::DeclarationType::kTransform ? d->transform : agg::trans_affine();
}

void SetStyleTransform(svg::PropertyStore& style, const agg::trans_affine& matrix) {
  svg::Declaration* d = style.Find(svg::PropertyId::kTransform);
  if (d != nullptr) {
    d->type = svg::DeclarationType::kTransform;
    d->transform = matrix;
    return;
  }
  svg::Declaration declaration;
  declaration.id = svg::PropertyId::kTransform;
  declaration.type = svg::DeclarationType::kTransform;
  declaration.transform = matrix;
  style.Declarations().push_back(std::move(declaration));
}

ResolvedPaint StylePaint(const svg::PropertyStore& style, svg::PropertyId id, agg::rgba8 fallback) {
  ResolvedPaint resolved;
  const svg::Declaration* d = style.Find(id);
  if (d == nullptr) {
    resolved.colour = fallback;
  } else if (d->type == svg::DeclarationType::kReference) {
    resolved.reference = d->text;
    resolved.colour = agg::rgba8(0, 0, 0, 255);
  } else if (d->type == svg::DeclarationType::kColour) {
    resolved.colour = d->paint.kind == svg::PaintKind::kNone ? agg::rgba8(0, 0, 0, 0) : ToRgba(d->paint);
  } else {
    resolved.colour = fallback;
  }
  return resolved;
}

uint8_t OpacityByte(double value) {
  if (!(value >= 0.0)) value = 0.0;
  return static_cast<uint8_t>(std::floor(std::min(value, 1.0) * 255.0 + 0.5));
}

uint8_t AlphaTimesOpacity(uint8_t alpha, double opacity) {
  return OpacityByte(std::min(opacity, 1.0) * (alpha / 255.0));
}

}  // namespace render
