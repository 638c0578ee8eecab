#include "render/paint_servers.h"

#include "render/canvas.h"
#include "render/computed_style.h"
#include "render/references.h"
#include "svg/colour.h"
#include "svg/property_table.h"

namespace render {
namespace {

struct PaintTarget {
  svg::PropertyId paint;
  svg::PropertyId opacity;
  bool isFill;
};

void ApplyOne(svg::SVGElement& element, agg::rgba8& colour, const PaintTarget& target, RenderContext& context) {
  Canvas& canvas = *context.canvas;
  if (colour.a == 0) {
    target.isFill ? canvas.NoFill() : canvas.NoLine();
    return;
  }
  const ResolvedPaint paint = StylePaint(context.style, target.paint, colour);
  if (paint.reference.empty()) return;

  // Paint servers this renderer can't use leave the paint's fallback colour, if it names one.
  static_cast<void>(element);
  const std::u16string_view fallback = PaintFallback(paint.reference);
  if (fallback.empty() || fallback == u"none") {
    target.isFill ? canvas.NoFill() : canvas.NoLine();
    colour.a = 0;
    return;
  }
  colour = svg::ParseColour(fallback, agg::rgba8(0, 0, 0, 255));
  colour.a = OpacityByte(StyleNumber(context.style, target.opacity, 1.0));
  target.isFill ? canvas.SetFillColor(colour) : canvas.SetLineColor(colour);
}

}  // namespace

void ApplyPaintServers(svg::SVGElement& element, agg::rgba8& fillColour, agg::rgba8& strokeColour,
                       RenderContext& context) {
  ApplyOne(element, fillColour, {svg::PropertyId::kFill, svg::PropertyId::kFillOpacity, true}, context);
  ApplyOne(element, strokeColour, {svg::PropertyId::kStroke, svg::PropertyId::kStrokeOpacity, false}, context);
}

}  // namespace render
