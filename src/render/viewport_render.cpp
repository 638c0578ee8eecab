#include "render/canvas.h"
#include "render/computed_style.h"
#include "render/traversal.h"
#include "svg/structure_elements.h"

namespace svg {

// An svg element maps its viewBox into its viewport (x, y, width, height) of the parent's user space.
void SVGSVGElement::Render(render::RenderContext context) {
  SvgScriptCallback* callback = context.scriptCallback;
  double referenceWidth = 1024.0;
  double referenceHeight = 1024.0;
  const ViewBoxRect ownBox = viewBox.GetRect(callback, true);
  if (ownBox.valid) {
    referenceWidth = ownBox.x2;
    referenceHeight = ownBox.y2;
  }
  if (auto* outer = dynamic_cast<SVGSVGElement*>(viewportElement)) {
    referenceWidth = outer->resolvedWidth;
    referenceHeight = outer->resolvedHeight;
  }
  const double emReference = viewportElement == nullptr ? 12.0 : context.fontSize;
  resolvedX = parent == nullptr ? 0.0 : x.ToUserUnits(callback, referenceWidth, emReference);
  resolvedY = parent == nullptr ? 0.0 : y.ToUserUnits(callback, referenceHeight, emReference);
  resolvedWidth = width.ToUserUnits(callback, referenceWidth, emReference);
  resolvedHeight = height.ToUserUnits(callback, referenceHeight, emReference);
  if (!ownBox.valid) viewBox.Assign(0.0, 0.0, resolvedWidth, resolvedHeight);

  render::PrepareElement(*this, context);
  if (!render::IsDisplayed(context)) return;

  const ViewBoxRect box = viewBox.GetRect(callback, false);
  const double deviceWidth = resolvedWidth < 0.0 ? box.x2 - box.x1 : resolvedWidth;
  const double deviceHeight = resolvedHeight < 0.0 ? box.y2 - box.y1 : resolvedHeight;
  agg::trans_affine matrix =
      render::ViewportMatrix(box, resolvedX, resolvedY, resolvedX + deviceWidth, resolvedY + deviceHeight,
                             preserveAspectRatio.GetAlign(callback), preserveAspectRatio.GetMeetOrSlice(callback));
  matrix.multiply(render::StyleTransform(context.style));
  render::SetStyleTransform(context.style, matrix);
  render::RenderChildren(*this, std::move(context));
}

}  // namespace svg
