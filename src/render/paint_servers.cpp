#include "render/paint_servers.h"

#include "render/canvas.h"
#include "render/computed_style.h"
#include "render/gradient_builder.h"
#include "render/pattern_paint.h"
#include "render/references.h"
#include "svg/colour.h"
#include "svg/property_table.h"
#include "svg/resource_elements.h"

namespace render {
namespace {

struct PaintTarget {
  svg::PropertyId paint;
  svg::PropertyId opacity;
  bool isFill;
};

bool IsTextElement(const svg::SVGElement& element) {
  return element.type == svg::ElementType::kText || element.type == svg::ElementType::kTSpan ||
         element.type == svg::ElementType::kTRef || element.type == svg::ElementType::kTextPath;
}

void SetColour(Canvas& canvas, const PaintTarget& target, agg::rgba8 colour) {
  target.isFill ? canvas.SetFillColor(colour) : canvas.SetLineColor(colour);
}

void SetNone(Canvas& canvas, const PaintTarget& target) { target.isFill ? canvas.NoFill() : canvas.NoLine(); }

void SetServer(Canvas& canvas, const PaintTarget& target, CanvasPaint kind, std::shared_ptr<PaintServer> server) {
  target.isFill ? canvas.SetFillServer(kind, std::move(server)) : canvas.SetLineServer(kind, std::move(server));
}

// A gradient: painted, or the one stop's colour, or nothing at all; false when it can't be used.
bool ApplyGradient(svg::SVGGradientElement& gradient, agg::rgba8& colour, const PaintTarget& target, double opacity,
                   bool forText, const svg::Rect* textBox, RenderContext& context) {
  Canvas& canvas = *context.canvas;
  GradientRecord record;
  switch (BuildGradient(gradient, context, record, colour, forText)) {
    case GradientOutcome::kUnusable:
      return false;
    case GradientOutcome::kNothing:
      SetNone(canvas, target);
      return true;
    case GradientOutcome::kSolidColour:
      colour.a = AlphaTimesOpacity(colour.a, opacity);
      SetColour(canvas, target, colour);
      return true;
    case GradientOutcome::kPaint: {
      const bool radial = gradient.type == svg::ElementType::kRadialGradient;
      auto paint = MakeGradientPaint(record, radial, canvas, forText ? textBox : nullptr, opacity);
      if (paint == nullptr) return false;
      SetServer(canvas, target, radial ? CanvasPaint::kRadialFocus : CanvasPaint::kLinearGradient, std::move(paint));
      return true;
    }
  }
  return false;
}

// A reference that can't be used paints the colour given after it (url(#g) green), else nothing.
void ApplyFallback(std::u16string_view reference, agg::rgba8& colour, const PaintTarget& target, double opacity,
                   RenderContext& context) {
  Canvas& canvas = *context.canvas;
  const std::u16string_view fallback = PaintFallback(reference);
  if (fallback.empty() || svg::ClassifyColour(fallback) == svg::ColourKeyword::kNone) {
    colour.a = 0;
    SetNone(canvas, target);
    return;
  }
  const agg::rgba8 current = StylePaint(context.style, svg::PropertyId::kColor, agg::rgba8(0, 0, 0, 255)).colour;
  colour = svg::ParseColour(fallback, current);
  colour.a = AlphaTimesOpacity(colour.a, opacity);
  SetColour(canvas, target, colour);
}

void ApplyOne(svg::SVGElement& element, agg::rgba8& colour, const PaintTarget& target, const svg::Rect* textBox,
              RenderContext& context) {
  Canvas& canvas = *context.canvas;
  if (colour.a == 0) {
    SetNone(canvas, target);
    return;
  }
  const ResolvedPaint paint = StylePaint(context.style, target.paint, colour);
  if (paint.reference.empty()) return;
  const double opacity = StyleNumber(context.style, target.opacity, 1.0);
  const bool forText = IsTextElement(element);

  svg::SVGElement* server = ResolveGuarded(element, LocalReference(paint.reference), context, true);
  if (auto* gradient = dynamic_cast<svg::SVGGradientElement*>(server)) {
    if (ApplyGradient(*gradient, colour, target, opacity, forText, textBox, context)) return;
  } else if (auto* pattern = dynamic_cast<svg::SVGPatternElement*>(server)) {
    if (auto tiles = MakePatternPaint(*pattern, context, forText, textBox, opacity)) {
      SetServer(canvas, target, CanvasPaint::kPattern, std::move(tiles));
    } else {
      SetNone(canvas, target);
    }
    return;
  }
  ApplyFallback(paint.reference, colour, target, opacity, context);
}

}  // namespace

void ApplyPaintServers(svg::SVGElement& element, agg::rgba8& fillColour, agg::rgba8& strokeColour,
                       RenderContext& context, const svg::Rect* textBox) {
  ApplyOne(element, fillColour, {svg::PropertyId::kFill, svg::PropertyId::kFillOpacity, true}, textBox, context);
  ApplyOne(element, strokeColour, {svg::PropertyId::kStroke, svg::PropertyId::kStrokeOpacity, false}, textBox,
           context);
}

}  // namespace render
