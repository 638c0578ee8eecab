#include "render/gradient_builder.h"

#include <cmath>

#include "render/canvas.h"
#include "render/computed_style.h"
#include "render/references.h"
#include "svg/property_table.h"
#include "svg/resource_elements.h"

namespace render {
namespace {

// The attributes a gradient may take from the gradients it references.
struct GradientAttributes {
  svg::KeywordValue units{svg::KeywordGroup::kUnits};
  svg::KeywordValue spread{svg::KeywordGroup::kSpreadMethod};
  svg::LengthValue a, b, c, d, e;  // x1 y1 x2 y2 (linear) or cx cy r fx fy (radial)
  std::vector<const svg::SVGElement*> stopsFrom;
};

void CopyGeometry(GradientAttributes& attributes, const svg::SVGElement& element, bool radial, bool takeAll) {
  auto take = [&](svg::LengthValue& mine, const svg::LengthValue& theirs) {
    if (takeAll) {
      mine = theirs;
    } else {
      TakeIfUnset(mine, theirs);
    }
  };
  if (radial) {
    if (const auto* r = dynamic_cast<const svg::SVGRadialGradientElement*>(&element)) {
      take(attributes.a, r->cx), take(attributes.b, r->cy), take(attributes.c, r->r);
      take(attributes.d, r->fx), take(attributes.e, r->fy);
    }
  } else if (const auto* l = dynamic_cast<const svg::SVGLinearGradientElement*>(&element)) {
    take(attributes.a, l->x1), take(attributes.b, l->y1), take(attributes.c, l->x2), take(attributes.d, l->y2);
  }
}

// Follows the href chain: declarations merge after the element's own, unset attributes and a
// missing stop list come from the referenced gradients. False when the chain loops back on itself.
bool WalkReferences(svg::SVGGradientElement& gradient, RenderContext& context, svg::PropertyStore& store,
                    GradientAttributes& attributes, bool radial) {
  const size_t chainSize = context.referenceChain.size();
  if (gradient.id) context.referenceChain.push_back(*gradient.id);
  std::u16string href = gradient.href.Get(context.scriptCallback);
  svg::SVGElement* next = ResolveGuarded(gradient, href, context, true);
  bool loops = IsOnReferenceChain(href, context);
  while (auto* referenced = dynamic_cast<svg::SVGGradientElement*>(next)) {
    MergeStyle(store, referenced->style, context.scriptCallback, true);
    TakeIfUnset(attributes.units, referenced->gradientUnits);
    TakeIfUnset(attributes.spread, referenced->spreadMethod);
    CopyGeometry(attributes, *referenced, radial, false);
    if (attributes.stopsFrom.empty()) {
      for (const auto& child : referenced->children) attributes.stopsFrom.push_back(child.get());
    }
    if (referenced->id) context.referenceChain.push_back(*referenced->id);
    href = referenced->href.Get(context.scriptCallback);
    next = ResolveGuarded(*referenced, href, context, true);
    loops = IsOnReferenceChain(href, context);
  }
  context.referenceChain.resize(chainSize);
  return !loops;
}

void ReadStops(const std::vector<const svg::SVGElement*>& children, const svg::PropertyStore& gradientStore,
               RenderContext& context, std::vector<GradientStop>& stops) {
  for (const svg::SVGElement* child : children) {
    const auto* stop = dynamic_cast<const svg::SVGStopElement*>(child);
    if (stop == nullptr) continue;
    svg::PropertyStore style = stop->style;
    MergeStyle(style, gradientStore, context.scriptCallback, true);
    agg::rgba8 colour = StylePaint(style, svg::PropertyId::kStopColor, agg::rgba8(0, 0, 0, 255)).colour;
    colour.a = AlphaTimesOpacity(colour.a, StyleNumber(style, svg::PropertyId::kStopOpacity, 1.0));
    AddGradientStop(stops, stop->offset.Get(context.scriptCallback), colour);
  }
}

double Resolve(const svg::LengthValue& value, RenderContext& context, double reference, double fontSize) {
  return value.ToUserUnits(context.scriptCallback, reference, fontSize);
}

// False when matrix has no usable inverse (a transform that collapses the gradient).
bool InvertsFinitely(agg::trans_affine matrix) {
  const double determinant = matrix.determinant();
  if (!std::isfinite(determinant) || determinant == 0.0) return false;
  matrix.invert();
  const double values[] = {matrix.sx, matrix.shy, matrix.shx, matrix.sy, matrix.tx, matrix.ty};
  for (const double value : values) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

// Geometry or a transform that is not finite would reach AGG's integer conversions as garbage.
bool IsFinite(const GradientRecord& record) {
  const agg::trans_affine& m = record.transform;
  const double values[] = {record.x1, record.y1, record.x2, record.y2, record.cx, record.cy, record.r,
                           record.fx, record.fy, m.sx, m.shy, m.shx, m.sy, m.tx, m.ty};
  for (const double value : values) {
    if (!std::isfinite(value)) return false;
  }
  return true;
}

}  // namespace

GradientOutcome BuildGradient(svg::SVGGradientElement& gradient, RenderContext& context, GradientRecord& record,
                              agg::rgba8& elementColour, bool forText) {
  const bool radial = gradient.type == svg::ElementType::kRadialGradient;
  svg::PropertyStore store;
  MergeStyle(store, gradient.style, context.scriptCallback, true);
  GradientAttributes attributes;
  attributes.units = gradient.gradientUnits;
  attributes.spread = gradient.spreadMethod;
  CopyGeometry(attributes, gradient, radial, true);
  for (const auto& child : gradient.children) attributes.stopsFrom.push_back(child.get());
  if (!WalkReferences(gradient, context, store, attributes, radial)) return GradientOutcome::kUnusable;

  record.interpolation = StyleKeyword(store, svg::PropertyId::kColorInterpolation, 0) == 2
                             ? ColourInterpolation::kLinearRGB
                             : ColourInterpolation::kSRGB;
  ReadStops(attributes.stopsFrom, store, context, record.stops);
  if (record.stops.empty()) {
    elementColour.a = 0;
    return GradientOutcome::kNothing;
  }
  if (record.stops.size() == 1) {
    elementColour = record.stops[0].colour;
    return GradientOutcome::kSolidColour;
  }

  svg::SvgScriptCallback* callback = context.scriptCallback;
  const bool userSpace = attributes.units.Get(callback) == svg::kUserSpaceOnUse;
  // A box without width or height has no unit square for the gradient to span.
  svg::Rect box;
  if (!userSpace && !forText && context.canvas->PathBounds(agg::trans_affine(), box) &&
      (box.x2 - box.x1 == 0.0 || box.y2 - box.y1 == 0.0)) {
    return GradientOutcome::kUnusable;
  }
  record.units = userSpace ? 1 : 0;
  const double width = userSpace ? context.viewportWidth : 1.0;
  const double height = userSpace ? context.viewportHeight : 1.0;
  const double diagonal = userSpace ? context.viewportDiagonal : 1.0;
  const uint32_t spread = attributes.spread.Get(callback);
  record.spread = spread == 1 ? GradientSpread::kReflect : spread == 2 ? GradientSpread::kRepeat : GradientSpread::kPad;
  record.transform = gradient.gradientTransform.Get(callback);
  const double fontSize = gradient.fontSize;
  if (radial) {
    record.cx = Resolve(attributes.a, context, width, fontSize);
    record.cy = Resolve(attributes.b, context, height, fontSize);
    record.r = Resolve(attributes.c, context, diagonal, fontSize);
    record.fx = Resolve(attributes.d, context, width, fontSize);
    record.fy = Resolve(attributes.e, context, height, fontSize);
    if (record.fx == -999.0) record.fx = record.cx;
    if (record.fy == -999.0) record.fy = record.cy;
  } else {
    record.x1 = Resolve(attributes.a, context, width, fontSize);
    record.y1 = Resolve(attributes.b, context, height, fontSize);
    record.x2 = Resolve(attributes.c, context, width, fontSize);
    record.y2 = Resolve(attributes.d, context, height, fontSize);
  }
  if (!IsFinite(record) || (radial && record.r < 0.0)) return GradientOutcome::kUnusable;
  // A gradient of no length, or a circle of no radius, paints its last stop's colour everywhere.
  if (radial ? record.r == 0.0 : (record.x1 == record.x2 && record.y1 == record.y2)) {
    elementColour = record.stops.back().colour;
    return GradientOutcome::kSolidColour;
  }
  return GradientOutcome::kPaint;
}

namespace {

svg::Rect PaintBox(Canvas& canvas, const svg::Rect* textBox) {
  svg::Rect box;
  if (textBox != nullptr && !textBox->IsEmpty()) {
    box = *textBox;
  } else {
    canvas.PathBounds(agg::trans_affine(), box);
  }
  if (box.IsEmpty()) box = svg::Rect{0.0, 0.0, 0.0, 0.0};
  if (box.x2 - box.x1 == 0.0) box.x2 += 0.1;
  if (box.y2 - box.y1 == 0.0) box.y2 += 0.1;
  return box;
}

// objectBoundingBox units: the unit square onto the box, after the gradient's own transform (which
// thus acts inside the box space); user space: identity.
agg::trans_affine BoxSpace(const GradientRecord& record, const svg::Rect& box) {
  if (record.units != 0) return agg::trans_affine();
  agg::trans_affine map = agg::trans_affine_scaling(box.x2 - box.x1, box.y2 - box.y1);
  map.multiply(agg::trans_affine_translation(box.x1, box.y1));
  return map;
}

std::shared_ptr<PaintServer> MakeLinear(const GradientRecord& record, Canvas& canvas, const svg::Rect& box,
                                        const GradientTable& table, uint32_t alphaScale) {
  const double dx = record.x2 - record.x1;
  const double dy = record.y2 - record.y1;
  agg::trans_affine matrix = agg::trans_affine_scaling(std::sqrt(dx * dx + dy * dy) / 100.0);
  matrix.multiply(agg::trans_affine_rotation(std::atan2(dy, dx)));
  matrix.multiply(agg::trans_affine_translation(record.x1, record.y1));
  matrix.multiply(record.transform);
  matrix.multiply(BoxSpace(record, box));
  matrix.multiply(canvas.Transform());
  if (!InvertsFinitely(matrix)) return nullptr;
  return std::make_shared<GradientPaint>(table, alphaScale, matrix, record.spread, false);
}

std::shared_ptr<PaintServer> MakeRadial(const GradientRecord& record, Canvas& canvas, const svg::Rect& box,
                                        const GradientTable& table, uint32_t alphaScale) {
  const double cx = record.cx, cy = record.cy, r = record.r;
  double fx = record.fx, fy = record.fy;
  // A focal point outside the circle moves just inside it (in the gradient's own space, where the
  // circle is round).
  const double distance = std::hypot(fx - cx, fy - cy);
  if (distance > r && distance > 0.0) {
    fx = cx + (fx - cx) * 0.99 * r / distance;
    fy = cy + (fy - cy) * 0.99 * r / distance;
  }
  const double focalX = r > 0.0 ? (fx - cx) * 100.0 / r : 0.0;
  const double focalY = r > 0.0 ? (fy - cy) * 100.0 / r : 0.0;

  agg::trans_affine matrix = agg::trans_affine_scaling(r / 100.0);
  matrix.multiply(agg::trans_affine_translation(cx, cy));
  matrix.multiply(record.transform);
  matrix.multiply(BoxSpace(record, box));
  matrix.multiply(canvas.Transform());
  if (!InvertsFinitely(matrix)) return nullptr;
  return std::make_shared<GradientPaint>(table, alphaScale, matrix, record.spread, true, focalX, focalY);
}

}  // namespace

std::shared_ptr<PaintServer> MakeGradientPaint(const GradientRecord& record, bool radial, Canvas& canvas,
                                               const svg::Rect* textBox, double opacity) {
  const GradientTable table = BuildGradientTable(record.stops, record.interpolation);
  const uint32_t alphaScale = GradientAlphaScale(opacity);
  const svg::Rect box = PaintBox(canvas, textBox);
  return radial ? MakeRadial(record, canvas, box, table, alphaScale) : MakeLinear(record, canvas, box, table, alphaScale);
}

}  // namespace render
