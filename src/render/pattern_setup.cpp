#include <vector>

#include "render/canvas.h"
#include "render/computed_style.h"
#include "render/pattern_paint.h"
#include "render/pattern_tiles.h"
#include "render/references.h"
#include "svg/resource_elements.h"

namespace render {
namespace {

struct PatternAttributes {
  svg::KeywordValue units{svg::KeywordGroup::kUnits, svg::kObjectBoundingBox};
  svg::KeywordValue contentUnits{svg::KeywordGroup::kUnits, svg::kUserSpaceOnUse};
  svg::LengthValue x, y, width, height;
  svg::SVGPatternElement* viewBoxFrom = nullptr;
  agg::trans_affine transform;
  const svg::SVGElement* contentFrom = nullptr;
};

void WalkReferences(svg::SVGPatternElement& pattern, RenderContext& context, svg::PropertyStore& store,
                    PatternAttributes& attributes) {
  svg::SvgScriptCallback* callback = context.scriptCallback;
  const size_t chainSize = context.referenceChain.size();
  if (pattern.id) context.referenceChain.push_back(*pattern.id);
  svg::SVGElement* next = ResolveGuarded(pattern, pattern.href.Get(callback), context, true);
  while (auto* referenced = dynamic_cast<svg::SVGPatternElement*>(next)) {
    MergeStyle(store, referenced->style, callback, true);
    TakeIfUnset(attributes.units, referenced->patternUnits);
    TakeIfUnset(attributes.contentUnits, referenced->patternContentUnits);
    TakeIfUnset(attributes.x, referenced->x);
    TakeIfUnset(attributes.y, referenced->y);
    TakeIfUnset(attributes.width, referenced->width);
    TakeIfUnset(attributes.height, referenced->height);
    const bool ownViewBox = attributes.viewBoxFrom != nullptr &&
                            attributes.viewBoxFrom->viewBox.GetRect(callback, true).valid;
    if (!ownViewBox && referenced->viewBox.GetRect(callback, true).valid) attributes.viewBoxFrom = referenced;
    if (attributes.transform.is_identity(1e-14)) attributes.transform = referenced->patternTransform.Get(callback);
    if (attributes.contentFrom == nullptr && !referenced->children.empty()) attributes.contentFrom = referenced;
    if (referenced->id) context.referenceChain.push_back(*referenced->id);
    next = ResolveGuarded(*referenced, referenced->href.Get(callback), context, true);
  }
  context.referenceChain.resize(chainSize);
}

}  // namespace

std::shared_ptr<PaintServer> MakePatternPaint(svg::SVGPatternElement& pattern, RenderContext& context, bool forText,
                                              const svg::Rect* textBox, double opacity) {
  Canvas& canvas = *context.canvas;
  svg::Rect box;
  if (forText && textBox != nullptr) {
    box = *textBox;
  } else {
    canvas.PathBounds(agg::trans_affine(), box);
    if (!box.IsEmpty() && (box.x2 - box.x1 == 0.0 || box.y2 - box.y1 == 0.0)) return nullptr;
  }
  svg::SvgScriptCallback* callback = context.scriptCallback;
  svg::PropertyStore store;
  MergeStyle(store, pattern.style, callback, true);
  PatternAttributes attributes;
  attributes.units = pattern.patternUnits;
  attributes.contentUnits = pattern.patternContentUnits;
  attributes.x = pattern.x;
  attributes.y = pattern.y;
  attributes.width = pattern.width;
  attributes.height = pattern.height;
  attributes.viewBoxFrom = &pattern;
  attributes.transform = pattern.patternTransform.Get(callback);
  attributes.contentFrom = pattern.children.empty() ? nullptr : &pattern;
  WalkReferences(pattern, context, store, attributes);
  if (attributes.contentFrom == nullptr) return nullptr;

  PatternRecord record;
  record.unitsObjectBoundingBox = attributes.units.Get(callback) == svg::kObjectBoundingBox;
  record.contentObjectBoundingBox = attributes.contentUnits.Get(callback) == svg::kObjectBoundingBox;
  record.transform = attributes.transform;
  const double width = record.unitsObjectBoundingBox ? 1.0 : context.viewportWidth;
  const double height = record.unitsObjectBoundingBox ? 1.0 : context.viewportHeight;
  record.x = attributes.x.ToUserUnits(callback, width, pattern.fontSize);
  record.y = attributes.y.ToUserUnits(callback, height, pattern.fontSize);
  record.width = attributes.width.ToUserUnits(callback, width, pattern.fontSize);
  record.height = attributes.height.ToUserUnits(callback, height, pattern.fontSize);
  const svg::ViewBoxRect viewBox = attributes.viewBoxFrom->viewBox.GetRect(callback, false);
  record.hasViewBox = viewBox.valid;
  record.viewBox = viewBox;
  record.align = attributes.viewBoxFrom->preserveAspectRatio.GetAlign(callback);
  record.meetOrSlice = attributes.viewBoxFrom->preserveAspectRatio.GetMeetOrSlice(callback);

  PatternContent content{&pattern, attributes.contentFrom, std::move(store), context};
  return std::make_shared<PatternTiles>(std::move(content), record, box, opacity);
}

}  // namespace render
