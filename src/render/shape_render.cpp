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
    // Beyond the limit a miter becomes a bevel, as SVG draws it; AGG's plain miter would cut it off.
    default: return agg::miter_join_revert;
  }
}

agg::line_cap_e ToCap(uint32_t keyword) {
  switch (keyword) {
    case 1: return agg::round_cap;
    case 2: return agg::square_cap;
    default: return agg::butt_cap;
  }
}

void ApplyOpacity(agg::rgba8& colour, const svg::PropertyStore& style, svg::PropertyId opacity) {
  colour.a = AlphaTimesOpacity(colour.a, StyleNumber(style, opacity, 1.0));
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

// A stroke-miterlimit below 1 (or not a finite number) is invalid and falls back to the default.
double MiterLimit(const svg::PropertyStore& style) {
  constexpr double kDefaultMiterLimit = 4.0;
  const double limit = StyleNumber(style, svg::PropertyId::kStrokeMiterlimit, kDefaultMiterLimit);
  return limit >= 1.0 && std::isfinite(limit) ? limit : kDefaultMiterLimit;
}

// A subpath of zero length still shows its round or square caps, but AGG's stroker drops a subpath
// whose points all coincide; moving its later points a negligible distance along x gives the caps
// their direction (x, as SVG prescribes when there is none) without visibly lengthening it.
void OpenZeroLengthSubpaths(agg::path_storage& path, double lineWidth) {
  const unsigned total = path.total_vertices();
  unsigned start = 0;
  while (start < total) {
    double x0 = 0.0;
    double y0 = 0.0;
    path.vertex(start, &x0, &y0);
    unsigned end = start + 1;
    bool coincident = true;
    for (; end < total; ++end) {
      double x = 0.0;
      double y = 0.0;
      const unsigned command = path.vertex(end, &x, &y);
      if (agg::is_move_to(command)) break;
      if (agg::is_vertex(command) && (x != x0 || y != y0)) coincident = false;
    }
    if (coincident && end > start + 1 && std::isfinite(x0) && std::isfinite(y0)) {
      const double nudge = std::max(lineWidth * 1e-6, (std::fabs(x0) + std::fabs(y0) + 1.0) * 1e-12);
      for (unsigned i = start + 1; i < end; ++i) {
        path.modify_vertex(i, x0 + nudge, y0);
        path.modify_command(i, agg::path_cmd_line_to);
      }
    }
    start = end;
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
  canvas.SetMiterLimit(MiterLimit(style));
  canvas.SetInnerJoin(agg::inner_round);
  SetDashes(canvas, element, context);
  canvas.SetDashStart(StyleLength(style, svg::PropertyId::kStrokeDashoffset, svg::Length{})
                          .ToUserUnits(element.viewportWidth, element.fontSize));
  return true;
}

void DrawWithOpacity(Canvas& canvas, const RenderContext& context) {
  const GraphicsState& state = canvas.State();
  if (state.lineCap != agg::butt_cap) OpenZeroLengthSubpaths(canvas.Path(), state.lineWidth);
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
