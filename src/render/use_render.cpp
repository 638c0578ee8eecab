#include <memory>

#include "render/computed_style.h"
#include "render/references.h"
#include "render/traversal.h"
#include "svg/structure_elements.h"

namespace render {
namespace {

// Temporary elements that show shared children; destroying them leaves the children alone.
template <typename Element>
std::unique_ptr<Element> MakeInstanceElement(svg::SVGElement& use) {
  auto element = std::make_unique<Element>();
  element->parent = &use;
  element->ownerSvg = use.ownerSvg;
  element->viewportElement = use.viewportElement;
  element->borrowedChildren = true;
  return element;
}

void Borrow(svg::SVGElement& holder, svg::SVGElement* child) {
  holder.children.emplace_back(child);
}

void BorrowAll(svg::SVGElement& holder, const svg::SVGElement& from) {
  for (const auto& child : from.children) Borrow(holder, child.get());
}

}  // namespace
}  // namespace render

namespace svg {

// A use element shows its target (or a symbol's content in a viewport) inside a temporary group that
// carries the use element's own style and position.
void SVGUseElement::Render(render::RenderContext context) {
  SvgScriptCallback* callback = context.scriptCallback;
  // use runs no cascade of its own, so its lengths refer to the viewport it is drawn in.
  viewportWidth = context.viewportWidth;
  viewportHeight = context.viewportHeight;
  viewportDiagonal = context.viewportDiagonal;
  fontSize = context.fontSize;
  render::ResolveViewportLengths(*this, context);
  // Unset width and height are 100 %, so that a symbol without them fills the viewport.
  const double instanceWidth = width.IsSpecified() ? width.ToUserUnits(callback, viewportWidth, fontSize) : viewportWidth;
  const double instanceHeight =
      height.IsSpecified() ? height.ToUserUnits(callback, viewportHeight, fontSize) : viewportHeight;
  if (!(instanceWidth > 0.0) || !(instanceHeight > 0.0)) return;
  if (context.budget != nullptr && !context.budget->Spend()) return;
  if (context.depth >= render::kMaxRenderDepth) return;

  const std::u16string reference = href.Get(callback);
  SVGElement* target = render::ResolveGuarded(*this, reference, context, true);
  if (target == nullptr || render::Contains(*target, *this)) return;
  render::ReferenceGuard guard(context, *this);
  // The target stays on the chain while it is shown, so a use inside it that leads back is cut at once.
  render::ReferenceGuard targetGuard(context, *target);

  auto group = render::MakeInstanceElement<SVGGroupElement>(*this);
  group->style = style;
  Declaration offset;
  offset.id = PropertyId::kTransform;
  offset.type = DeclarationType::kTransform;
  offset.transform = agg::trans_affine_translation(x.ToUserUnits(callback, viewportWidth, fontSize),
                                                   y.ToUserUnits(callback, viewportHeight, fontSize));
  group->style.Store(offset);

  std::unique_ptr<SVGSVGElement> symbolViewport;
  if (auto* symbol = dynamic_cast<SVGSymbolElement*>(target)) {
    symbolViewport = render::MakeInstanceElement<SVGSVGElement>(*group);
    symbolViewport->width = LengthValue(LengthUnit::kNone, instanceWidth);
    symbolViewport->height = LengthValue(LengthUnit::kNone, instanceHeight);
    const ViewBoxRect box = symbol->viewBox.GetRect(callback, true);
    if (box.valid) symbolViewport->viewBox.Assign(box.x1, box.y1, box.x2, box.y2);
    symbolViewport->preserveAspectRatio = symbol->preserveAspectRatio;
    symbolViewport->style = symbol->style;
    render::BorrowAll(*symbolViewport, *symbol);
    render::Borrow(*group, symbolViewport.get());
  } else {
    if (auto* viewport = dynamic_cast<SVGSVGElement*>(target)) {
      if (width.IsSpecified()) viewport->width = width;
      if (height.IsSpecified()) viewport->height = height;
    }
    render::Borrow(*group, target);
  }
  ++context.depth;
  group->Render(context);
}

}  // namespace svg
