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

// A gradient: painted, or the one stop's colour, or nothing at all.
void ApplyGradient(svg::SVGGradientElement& gradient, agg::rgba8& colour, const PaintTarget& target, double opacity,
                   bool forText, const svg::Rect* textBox, RenderContext& context) {
  Canvas& canvas = *context.canvas;
  GradientRecord record;
  switch (BuildGradient(gradient, context, record, colour, forText)) {
    case GradientOutcome::kNothing:
      SetNone(canvas, target);
      return;
    case GradientOutcome::kSolidColour:
      SetColour(canvas, target, colour);
      return;
    case GradientOutcome::kPaint: {
      const bool radial = gradient.type == svg::ElementType::kRadialGradient;
      SetServer(canvas, target, radial ? CanvasPaint::kRadialFocus : CanvasPaint::kLinearGradient,
                MakeGradientPaint(record, radial, canvas, forText ? textBox : nullptr, opacity));
      return;
    }
  }
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
    ApplyGradient(*gradient, colour, target, opacity, forText, textBox, context);
    return;
  }
  if (auto* pattern = dynamic_cast<svg::SVGPatternElement*>(server)) {
    if (auto tiles = MakePatternPaint(*pattern, context, forText, textBox, opacity)) {
      SetServer(canvas, target, CanvasPaint::kPattern, std::move(tiles));
    } else {
      SetNone(canvas, target);
    }
    return;
  }
  // The reference can't be used: the colour given after it stands in, when there is one.
  const std::u16string_view fallback = PaintFallback(paint.reference);
  if (fallback.empty()) return;
  if (fallback == u"none") {
    colour.a = 0;
    SetNone(canvas, target);
    return;
  }
  colour = svg::ParseColour(fallback, agg::rgba8(0, 0, 0, 255));
  colour.a = OpacityByte(opacity);
  SetColour(canvas, target, colour);
}

}  // namespace

void ApplyPaintServers(svg::SVGElement& element, agg::rgba8& fillColour, agg::rgba8& strokeColour,
                       RenderContext& context, const svg::Rect* textBox) {
  ApplyOne(element, fillColour, {svg::PropertyId::kFill, svg::PropertyId::kFillOpacity, true}, textBox, context);
  ApplyOne(element, strokeColour, {svg::PropertyId::kStroke, svg::PropertyId::kStrokeOpacity, false}, textBox,
           context);
}

}  // namespace render
