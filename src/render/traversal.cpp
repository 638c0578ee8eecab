#include "render/traversal.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <agg_trans_viewport.h>

#include "render/canvas.h"
#include "render/clip_and_mask.h"
#include "render/clip_cache.h"
#include "render/computed_style.h"
#include "svg/document.h"
#include "svg/property_table.h"
#include "svg/script_callback.h"
#include "svg/structure_elements.h"

namespace render {
namespace {

constexpr double kHalfSqrt2 = 0.7071067811865476;

double ResolveFontSize(const svg::PropertyStore& style) {
  return StyleLength(style, svg::PropertyId::kFontSize, svg::Length{svg::LengthUnit::kNone, 12.0})
      .ToUserUnits(12.0, 12.0);
}

void MergeRules(svg::SVGElement& element, RenderContext& context) {
  static const std::vector<std::u16string> kNoClasses;
  const auto& classes = element.classList != nullptr ? element.classList->Get(context.scriptCallback) : kNoClasses;
  svg::ForEachMatchingRule(*context.styleSheet, element, classes, [&](const svg::StyleRule& rule) {
    MergeStyle(context.style, rule.declarations, context.scriptCallback, false);
    return true;
  });
}

void CopyReferenceValues(const svg::SVGElement& element, RenderContext& context) {
  context.viewportWidth = element.viewportWidth;
  context.viewportHeight = element.viewportHeight;
  context.viewportDiagonal = element.viewportDiagonal;
  context.fontSize = element.fontSize;
}

}  // namespace

void ResolveViewportLengths(svg::SVGElement& element, const RenderContext& context) {
  if (auto* viewport = dynamic_cast<svg::SVGSVGElement*>(element.viewportElement)) {
    const svg::ViewBoxRect box = viewport->viewBox.GetRect(context.scriptCallback, true);
    if (box.valid) {
      element.viewportWidth = box.x2;
      element.viewportHeight = box.y2;
      element.viewportDiagonal = std::sqrt(box.x2 * box.x2 + box.y2 * box.y2) * kHalfSqrt2;
    }
  }
}

bool PrepareElement(svg::SVGElement& element, RenderContext& context) {
  InheritStyle(context.style);
  element.fontSize = ResolveFontSize(context.style);
  ResolveViewportLengths(element, context);
  CopyReferenceValues(element, context);
  MergeStyle(context.style, element.style, context.scriptCallback, true);
  if (context.styleSheet != nullptr) MergeRules(element, context);
  element.fontSize = ResolveFontSize(context.style);
  CopyReferenceValues(element, context);
  const std::u16string base = element.xmlBase.Get(context.scriptCallback);
  if (!base.empty()) context.baseReference = base;
  return StyleKeyword(context.style, svg::PropertyId::kDisplay, 0) != svg::kDisplayNone &&
         StyleKeyword(context.style, svg::PropertyId::kVisibility, svg::kVisibilityVisible) == svg::kVisibilityVisible;
}

void InheritFromAncestors(svg::SVGElement& element, RenderContext& context) {
  const agg::trans_affine userTransform = StyleTransform(context.style);
  std::vector<svg::SVGElement*> ancestors;
  for (svg::SVGElement* a = element.parent; a != nullptr && ancestors.size() < kMaxRenderDepth; a = a->parent) {
    ancestors.push_back(a);
  }
  context.style.Clear();
  for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
    InheritStyle(context.style);
    MergeStyle(context.style, (*it)->style, context.scriptCallback, true);
    if (context.styleSheet != nullptr) MergeRules(**it, context);
  }
  SetStyleTransform(context.style, userTransform);
}

bool IsDisplayed(const RenderContext& context) {
  return StyleKeyword(context.style, svg::PropertyId::kDisplay, 0) != svg::kDisplayNone;
}

void ApplyUserTransform(RenderContext& context) {
  agg::trans_affine matrix = StyleTransform(context.style);
  matrix.multiply(context.baseTransform);
  context.canvas->SetTransform(matrix);
}

void RenderChildren(svg::SVGElement& element, RenderContext context) {
  if (++context.depth > kMaxRenderDepth) return;
  const bool pushed = ApplyClipAndMask(element, context);
  const double opacity = StyleNumber(context.style, svg::PropertyId::kOpacity, 1.0);
  const bool layered = !(opacity >= 1.0);
  if (layered) context.canvas->PushLayer();
  if (element.type == svg::ElementType::kPattern) context.canvas->SetUnitsBox(&context.unitsBox);
  for (const auto& child : element.children) {
    ApplyUserTransform(context);
    child->Render(context);
  }
  if (layered) context.canvas->PopLayer(opacity);
  if (pushed) context.canvas->SetAlphaMask(context.savedMask);
}

agg::trans_affine ViewportMatrix(const svg::ViewBoxRect& viewBox, double x1, double y1, double x2, double y2,
                                 svg::Align align, svg::MeetOrSlice meetOrSlice) {
  agg::trans_viewport viewport;
  if (align == svg::Align::kNone) {
    viewport.preserve_aspect_ratio(0.0, 0.0, agg::aspect_ratio_stretch);
  } else {
    const int index = static_cast<int>(align) - 1;
    const double alignX = (index % 3) * 0.5;
    const double alignY = (index / 3) * 0.5;
    viewport.preserve_aspect_ratio(alignX, alignY,
                                   meetOrSlice == svg::MeetOrSlice::kSlice ? agg::aspect_ratio_slice
                                                                           : agg::aspect_ratio_meet);
  }
  viewport.world_viewport(viewBox.x1, viewBox.y1, viewBox.x2, viewBox.y2);
  viewport.device_viewport(x1, y1, x2, y2);
  return viewport.to_affine();
}

std::unique_ptr<uint8_t[]> RenderDocument(svg::SVGDocument& document, const agg::trans_affine& baseTransform,
                                          agg::rgba8 background, uint32_t width, uint32_t height,
                                          RenderBudget* budget) {
  const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes]);
  if (buffer == nullptr) return nullptr;

  RenderBudget ownBudget;
  ownBudget.maxLayerBytes = std::max(RenderBudget::kMinLayerBytes, 4 * bytes);
  if (budget == nullptr) budget = &ownBudget;
  svg::SvgScriptCallback* callback = document.scriptCallback;
  const bool scripted = callback != nullptr && document.hasScripts;
  if (scripted) callback->Begin(baseTransform);
  try {
    Canvas canvas;
    ClipCache clipCache;
    RenderContext context;
    context.budget = budget;
    context.clipCache = &clipCache;
    context.styleSheet = &document.styleSheet;
    context.scriptCallback = callback;
    context.canvas = &canvas;
    context.baseTransform = baseTransform;
    context.basePath = document.baseFolder;

    canvas.Attach(buffer.get(), static_cast<int>(width), static_cast<int>(height), static_cast<int>(width) * 4);
    canvas.SetBudget(budget);
    canvas.ClearAll(background);
    canvas.SetGamma(1.0);
    canvas.SetTransform(baseTransform);
    document.Render(context);
  } catch (const std::bad_alloc&) {
    // Running out of memory loses this render, never the process: the image is left transparent.
    std::fill(buffer.get(), buffer.get() + bytes, uint8_t{0});
    if (callback != nullptr) {
      callback->ReportError(kRenderMemoryError, u"out of memory: the image is left transparent");
    }
  } catch (...) {
    if (scripted) callback->End();
    throw;
  }
  if (scripted) callback->End();
  if (callback != nullptr && budget->memoryRefused) {
    callback->ReportError(kRenderMemoryError,
                          u"layers and masks need more memory than allowed: some content is left out");
  }
  if (callback != nullptr && budget->coverageDropped) {
    callback->ReportError(kRenderMemoryError,
                          u"a row of pixels crosses more edges than the rasteriser holds: some is left out");
  }
  return buffer;
}

}  // namespace render

namespace svg {

void SVGElement::Render(render::RenderContext context) { render::PrepareElement(*this, context); }

void SVGGroupElement::Render(render::RenderContext context) {
  render::PrepareElement(*this, context);
  if (!render::IsDisplayed(context)) return;
  render::RenderChildren(*this, std::move(context));
}

void SVGAElement::Render(render::RenderContext context) {
  render::PrepareElement(*this, context);
  if (!render::IsDisplayed(context)) return;
  render::RenderChildren(*this, std::move(context));
}

}  // namespace svg
