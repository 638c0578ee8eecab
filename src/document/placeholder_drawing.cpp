#include <array>
#include <cmath>

#include "document/vector_document.h"
#include "svg/shape_elements.h"

namespace document {
namespace {

struct Arrow {
  std::u16string_view stroke;
  double degrees, tx, ty;
};

constexpr std::array<Arrow, 4> kArrows = {{
    {u"skyblue", -108.0, 105.0, 102.0},
    {u"tomato", -40.0, 19.0, 111.0},
    {u"wheat", 170.0, 109.0, 18.0},
    {u"turquoise", 100.0, 30.0, 13.0},
}};

void AddArrow(svg::SVGDocument& document, const Arrow& arrow) {
  document.OpenElement(svg::ElementType::kPath);
  auto& path = static_cast<svg::SVGPathElement&>(*document.CurrentElement());
  document.SetProperty(svg::PropertyId::kStroke, arrow.stroke, svg::kFlagAttribute);

  const double angle = arrow.degrees * M_PI / 180.0;
  svg::Declaration transform;
  transform.id = svg::PropertyId::kTransform;
  transform.type = svg::DeclarationType::kTransform;
  transform.transform = agg::trans_affine(std::cos(angle), std::sin(angle), -std::sin(angle), std::cos(angle),
                                          arrow.tx, arrow.ty);
  path.style.Store(transform);

  svg::MoveTo(path.segments, 0, 0, false);
  svg::LineTo(path.segments, 50, 0, false);
  svg::LineTo(path.segments, 30, -10, false);
  svg::MoveTo(path.segments, 50, 0, false);
  svg::LineTo(path.segments, 30, 10, false);
  document.CloseElement();
}

}  // namespace

void BuildPlaceholderDrawing(svg::SVGDocument& document) {
  document.OpenElement(svg::ElementType::kSvg);
  document.OpenElement(svg::ElementType::kG);
  document.SetProperty(svg::PropertyId::kFill, u"none", svg::kFlagAttribute);
  document.SetProperty(svg::PropertyId::kStrokeWidth, u"6", svg::kFlagAttribute);
  document.SetProperty(svg::PropertyId::kStrokeLinecap, u"round", svg::kFlagAttribute);
  document.SetProperty(svg::PropertyId::kStrokeLinejoin, u"round", svg::kFlagAttribute);
  for (const Arrow& arrow : kArrows) AddArrow(document, arrow);
  document.CloseElement();
  document.CloseElement();
}

}  // namespace document
