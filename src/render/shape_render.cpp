#include <algorithm>
#include <cmath>

#include "render/canvas.h"
#include "render/clip_and_mask.h"
#include "render/computed_style.h"
#include "render/paint_servers.h"
#include "render/shape_style.h"
#include "render/traversal.h"
#include "svg/property_table.h"
#include "svg/shape_elements.h"

namespace render {
namespace {

agg::line_join_e ToJoin(uint32_t keyword) {
  switch (keyword) {
    case 2: return agg::round_join;
    case 3: return agg::bevel_join;
    default: return agg::miter_join;
  }
}

agg::line_cap_e ToCap(uint32_t keyword) {
  switch (keyword) {
    case 1: return agg::round_cap;
    case 2: return agg::square_cap;
    default: return agg::butt_cap;
  }
}

// Opacity replaces the colour's own alpha rather than multiplying it.
void ApplyOpacity(agg::rgba8& colour, const svg::PropertyStore& style, svg::PropertyId opacity) {
  if (colour.a != 0) colour.a = OpacityByte(StyleNumber(style, opacity, 1.0));
}

void SetDashes(Canvas& canvas, const svg::SVGElement& element, const RenderContext& context) {
  canvas.RemoveAllDashes();
  const svg::Declaration* declaration = context.style.Find(svg::PropertyId::kStrokeDasharray);
  if (declaration == nullptr || declaration->type != svg::DeclarationType::kLengthList) return;
  std::vector<double> values;
  double total = 0.0;
  for (const svg::Length& length : declaration->lengths) {
    const double value = length.ToUserUnits(element.viewportWidth, element.fontSize);
    if (!(value >= 0.0) || !std::isfinite(value)) return;
    values.push_back(value);
    total += value;
  }
  if (!(total > 0.0)) return;
  if (values.size() % 2 == 1) values.insert(values.end(), values.begin(), values.end());
  for (size_t i = 0; i + 1 < values.size(); i += 2) {
    double dash = values[i];
    double gap = values[i + 1];
    if (!(dash > 1e-5)) {
      dash = 1e-6;
      gap -= 1e-6;
    }
    canvas.AddDash(dash, gap);
  }
}

}  // namespace

bool PrepareShape(svg::SVGElement& element, ShapeColours& colours, RenderContext& context) {
  Canvas& canvas = *context.canvas;
  canvas.ResetPath();
  if (!PrepareElement(element, context)) return false;
  const bool textContent = element.type == svg::ElementType::kTSpan || element.type == svg::ElementType::kTRef ||
                           element.type == svg::ElementType::kTextPath;
  if (!textContent) ApplyUserTransform(context);

  const svg::PropertyStore& style = context.style;
  colours.fill = StylePaint(style, svg::PropertyId::kFill, agg::rgba8(0, 0, 0, 255)).colour;
  colours.stroke = StylePaint(style, svg::PropertyId::kStroke, agg::rgba8(0, 0, 0, 0)).colour;
  ApplyOpacity(colours.fill, style, svg::PropertyId::kFillOpacity);
  ApplyOpacity(colours.stroke, style, svg::PropertyId::kStrokeOpacity);

  canvas.SetFillEvenOdd(StyleKeyword(style, svg::PropertyId::kFillRule, 0) == svg::kFillRuleEvenOdd);
  canvas.SetFillColor(colours.fill);
  canvas.SetLineColor(colours.stroke);
  canvas.SetLineWidth(StyleLength(style, svg::PropertyId::kStrokeWidth, svg::Length{svg::LengthUnit::kNone, 1.0})
                          .ToUserUnits(element.viewportDiagonal, element.fontSize));
  canvas.SetLineJoin(ToJoin(StyleKeyword(style, svg::PropertyId::kStrokeLinejoin, 0)));
  canvas.SetLineCap(ToCap(StyleKeyword(style, svg::PropertyId::kStrokeLinecap, 0)));
  canvas.SetMiterLimit(StyleNumber(style, svg::PropertyId::kStrokeMiterlimit, 4.0));
  canvas.SetInnerJoin(agg::inner_round);
  SetDashes(canvas, element, context);
  canvas.SetDashStart(StyleLength(style, svg::PropertyId::kStrokeDashoffset, svg::Length{})
                          .ToUserUnits(element.viewportWidth, element.fontSize));
  return true;
}

void DrawWithOpacity(Canvas& canvas, const RenderContext& context) {
  const double opacity = StyleNumber(context.style, svg::PropertyId::kOpacity, 1.0);
  if (opacity >= 1.0) {
    canvas.DrawPath();
    return;
  }
  canvas.PushLayer();
  canvas.DrawPath();
  canvas.PopLayer(opacity);
}

}  // namespace render

namespace svg {

void SVGPathElement::Render(render::RenderContext context) {
  render::ShapeColours colours;
  if (!render::PrepareShape(*this, colours, context)) return;
  render::Canvas& canvas = *context.canvas;
  BuildPath(canvas.Path(), context.scriptCallback);
  canvas.ApplyUnitsBoxToPath();
  render::ApplyPaintServers(*this, colours.fill, colours.stroke, context);
  const bool pushed = render::ApplyClipAndMask(*this, context);
  render::DrawWithOpacity(canvas, context);
  if (pushed) canvas.SetAlphaMask(context.savedMask);
}

}  // namespace svg
