#include "render/clip_and_mask.h"

#include <algorithm>

#include "render/canvas.h"
#include "render/clip_cache.h"
#include "render/computed_style.h"
#include "render/references.h"
#include "render/traversal.h"
#include "svg/bounds.h"
#include "svg/property_table.h"
#include "svg/resource_elements.h"
#include "svg/structure_elements.h"

namespace render {
namespace {

// Records the first replaced mask so that the element's render can restore it.
void NoteMaskInstalled(RenderContext& context, AlphaMaskPtr previous, bool& pushed) {
  if (!pushed) context.savedMask = std::move(previous);
  pushed = true;
}

svg::Rect ViewportRectangle(const svg::SVGElement& element) {
  if (const auto* viewport = dynamic_cast<const svg::SVGSVGElement*>(&element)) {
    return svg::Rect{viewport->resolvedX, viewport->resolvedY, viewport->resolvedX + viewport->resolvedWidth,
                     viewport->resolvedY + viewport->resolvedHeight};
  }
  if (const auto* image = dynamic_cast<const svg::SVGImageElement*>(&element)) {
    return svg::Rect{image->resolvedX, image->resolvedY, image->resolvedX + image->resolvedWidth,
                     image->resolvedY + image->resolvedHeight};
  }
  return svg::Rect{};
}

void ShrinkByClipProperty(const svg::SVGElement& element, const RenderContext& context, svg::Rect& rect) {
  const svg::Declaration* clip = context.style.Find(svg::PropertyId::kClip);
  if (clip == nullptr || !clip->clipRect.present) return;
  const svg::ClipRect& c = clip->clipRect;
  rect.x1 += c.left.ToUserUnits(element.viewportWidth, element.fontSize);
  rect.x2 -= c.right.ToUserUnits(element.viewportWidth, element.fontSize);
  rect.y1 += c.top.ToUserUnits(element.viewportHeight, element.fontSize);
  rect.y2 -= c.bottom.ToUserUnits(element.viewportHeight, element.fontSize);
  if (rect.x2 < rect.x1) rect.x1 = rect.x2;
  if (rect.y2 < rect.y1) rect.y1 = rect.y2;
}

// A clip rectangle that contains the whole canvas changes nothing; skipping it spares a mask layer
// for every tile that lies inside the drawing.
bool CoversCanvas(Canvas& canvas, const svg::Rect& rect) {
  const agg::trans_affine& m = canvas.Transform();
  if (m.shx != 0.0 || m.shy != 0.0) return false;
  double x1 = rect.x1, y1 = rect.y1, x2 = rect.x2, y2 = rect.y2;
  m.transform(&x1, &y1);
  m.transform(&x2, &y2);
  return std::min(x1, x2) <= 0.0 && std::min(y1, y2) <= 0.0 && std::max(x1, x2) >= canvas.Width() &&
         std::max(y1, y2) >= canvas.Height();
}

// A picture fitted with meet (or stretched) stays inside its viewport, so only a clip property or
// slice can make the viewport clip matter.
bool ImageExceedsViewport(const svg::SVGElement& element, const RenderContext& context) {
  const auto& image = static_cast<const svg::SVGImageElement&>(element);
  const svg::Declaration* clip = context.style.Find(svg::PropertyId::kClip);
  if (clip != nullptr && clip->clipRect.present) return true;
  return image.preserveAspectRatio.GetMeetOrSlice(context.scriptCallback) == svg::MeetOrSlice::kSlice &&
         image.preserveAspectRatio.GetAlign(context.scriptCallback) != svg::Align::kNone;
}

void ApplyViewportClip(svg::SVGElement& element, RenderContext& context, bool& pushed) {
  if (element.type != svg::ElementType::kSvg && element.type != svg::ElementType::kImage &&
      element.type != svg::ElementType::kPattern) {
    return;
  }
  svg::Rect rect = ViewportRectangle(element);
  ShrinkByClipProperty(element, context, rect);
  if (rect.IsEmpty()) return;
  Canvas& canvas = *context.canvas;
  if (element.type == svg::ElementType::kSvg && CoversCanvas(canvas, rect)) return;
  if (element.type == svg::ElementType::kImage && !ImageExceedsViewport(element, context)) return;
  AlphaMaskPtr previous = canvas.PushMaskLayer(LayerMode::kClip);
  NoteMaskInstalled(context, std::move(previous), pushed);
  if (element.type == svg::ElementType::kPattern) canvas.SetUnitsBox(&context.unitsBox);
  canvas.AddRectangle(rect.x1, rect.y1, rect.x2, rect.y2);
  canvas.DrawPath();
  canvas.SetUnitsBox(nullptr);
  canvas.CommitMaskLayer();
}

svg::Rect ObjectBoundingBox(svg::SVGElement& element, const RenderContext& context) {
  svg::Rect box{0.0, 0.0, -1.0, -1.0};
  svg::SubtreeBounds(element, box, context.Bounds(), agg::trans_affine());
  return box;
}

// A clip-path or mask that leads back into its own chain of references is a loop: the element it is
// on shows nothing, which an empty clip gives.
bool ClipIfLoop(RenderContext& context, svg::PropertyId id, bool& pushed) {
  const svg::Declaration* declaration = context.style.Find(id);
  if (declaration == nullptr || declaration->type != svg::DeclarationType::kReference) return false;
  if (!IsOnReferenceChain(LocalReference(declaration->text), context)) return false;
  AlphaMaskPtr previous = context.canvas->PushMaskLayer(LayerMode::kClip);
  NoteMaskInstalled(context, std::move(previous), pushed);
  context.canvas->CommitMaskLayer();
  return true;
}

// The content of a clipPath or mask, in the style of its own place in the tree: its own transform,
// clip-path and mask take part.
void RenderResourceContent(svg::SVGElement& resource, const RenderContext& context) {
  RenderContext content = context;
  InheritFromAncestors(resource, content);
  PrepareElement(resource, content);
  RenderChildren(resource, std::move(content));
}

template <typename Target>
Target* LookUp(svg::SVGElement& element, const RenderContext& context, svg::PropertyId id, bool fromTopmostRoot) {
  const svg::Declaration* declaration = context.style.Find(id);
  if (declaration == nullptr || declaration->type != svg::DeclarationType::kReference) return nullptr;
  return dynamic_cast<Target*>(
      ResolveGuarded(element, LocalReference(declaration->text), context, fromTopmostRoot));
}

void ApplyClipPath(svg::SVGElement& element, RenderContext& context, bool& pushed) {
  if (ClipIfLoop(context, svg::PropertyId::kClipPath, pushed)) return;
  auto* clip = LookUp<svg::SVGClipPathElement>(element, context, svg::PropertyId::kClipPath, true);
  if (clip == nullptr) return;
  const bool boundingBoxUnits = clip->clipPathUnits.Get(context.scriptCallback) == svg::kObjectBoundingBox;
  const svg::Rect box = boundingBoxUnits ? ObjectBoundingBox(element, context) : svg::Rect{};

  Canvas& canvas = *context.canvas;
  ClipCache::Key key{clip, &canvas, StyleTransform(context.style), canvas.UnitsBox(), box,
                     canvas.State().clipEvenOdd, canvas.CurrentAlphaMask()};
  key.transform.multiply(context.baseTransform);
  if (AlphaMaskPtr shared = context.clipCache != nullptr ? context.clipCache->Find(key) : nullptr) {
    NoteMaskInstalled(context, canvas.CurrentAlphaMask(), pushed);
    canvas.SetAlphaMask(std::move(shared));
    return;
  }
  AlphaMaskPtr previous = canvas.PushMaskLayer(LayerMode::kClip);
  NoteMaskInstalled(context, std::move(previous), pushed);
  if (boundingBoxUnits) canvas.SetUnitsBox(&box);
  {
    ReferenceGuard guard(context, *clip);
    RenderResourceContent(*clip, context);
  }
  canvas.SetUnitsBox(nullptr);
  canvas.CommitMaskLayer();
  if (context.clipCache != nullptr) context.clipCache->Store(std::move(key), canvas.CurrentAlphaMask());
}

void ApplyMask(svg::SVGElement& element, RenderContext& context, bool& pushed) {
  if (ClipIfLoop(context, svg::PropertyId::kMask, pushed)) return;
  auto* mask = LookUp<svg::SVGMaskElement>(element, context, svg::PropertyId::kMask, false);
  if (mask == nullptr) return;
  svg::SvgScriptCallback* callback = context.scriptCallback;
  const bool boundingBoxUnits = mask->maskUnits.Get(callback) == svg::kObjectBoundingBox;
  const bool boundingBoxContent = mask->maskContentUnits.Get(callback) == svg::kObjectBoundingBox;
  const svg::Rect box =
      boundingBoxUnits || boundingBoxContent ? ObjectBoundingBox(element, context) : svg::Rect{};

  Canvas& canvas = *context.canvas;
  AlphaMaskPtr previous = canvas.PushMaskLayer(LayerMode::kClip);
  NoteMaskInstalled(context, std::move(previous), pushed);
  // In bounding-box units the region's percentages are of the unit box, as for gradients and patterns.
  const double referenceWidth = boundingBoxUnits ? 1.0 : element.viewportWidth;
  const double referenceHeight = boundingBoxUnits ? 1.0 : element.viewportHeight;
  const double x = mask->x.ToUserUnits(callback, referenceWidth, element.fontSize);
  const double y = mask->y.ToUserUnits(callback, referenceHeight, element.fontSize);
  const double width = mask->width.ToUserUnits(callback, referenceWidth, element.fontSize);
  const double height = mask->height.ToUserUnits(callback, referenceHeight, element.fontSize);
  if (boundingBoxUnits) canvas.SetUnitsBox(&box);
  canvas.AddRectangle(x, y, x + width, y + height);
  canvas.DrawPath();
  canvas.SetUnitsBox(nullptr);
  canvas.CommitMaskLayer();

  canvas.PushMaskLayer(LayerMode::kMask);
  if (boundingBoxContent) canvas.SetUnitsBox(&box);
  {
    ReferenceGuard guard(context, *mask);
    RenderResourceContent(*mask, context);
  }
  canvas.SetUnitsBox(nullptr);
  canvas.CommitMaskLayer();
}

}  // namespace

bool ApplyClipAndMask(svg::SVGElement& element, RenderContext& context) {
  context.canvas->SetClipEvenOdd(StyleKeyword(context.style, svg::PropertyId::kClipRule, 0) == svg::kFillRuleEvenOdd);
  const uint32_t overflow = StyleKeyword(context.style, svg::PropertyId::kOverflow, svg::kOverflowHidden);
  bool pushed = false;
  if (element.parent == nullptr || overflow == svg::kOverflowHidden || overflow == svg::kOverflowScroll) {
    ApplyViewportClip(element, context, pushed);
    ApplyClipPath(element, context, pushed);
  }
  ApplyMask(element, context, pushed);
  return pushed;
}

}  // namespace render
