#include <algorithm>
#include <cmath>

#include <agg_image_accessors.h>
#include <agg_image_filters.h>
#include <agg_renderer_scanline.h>
#include <agg_span_allocator.h>
#include <agg_span_image_filter_rgba.h>
#include <agg_span_interpolator_linear.h>

#include "render/canvas.h"
#include "render/clip_and_mask.h"
#include "render/computed_style.h"
#include "render/image_source.h"
#include "render/shape_style.h"
#include "render/traversal.h"
#include "svg/property_table.h"
#include "svg/structure_elements.h"

namespace render {
namespace {

using SourcePixels = agg::pixfmt_rgba32_pre;
// The picture is drawn into exactly its own rectangle and the filter repeats its edge pixels, so
// an enlarged picture keeps sharp edges instead of fading into a transparent fringe.
using Accessor = agg::image_accessor_clone<SourcePixels>;
using Interpolator = agg::span_interpolator_linear<agg::trans_affine>;

// As the canvas does for paths: master alpha times coverage raised to the anti-alias gamma.
struct CoverageGamma {
  double gamma;
  double masterAlpha;
  double operator()(double x) const { return std::min(1.0, masterAlpha * std::pow(x, gamma)); }
};

// The element's own opacity declaration (script-valued ones evaluated); style-sheet rules and the
// parent's opacity do not take part, as the parent's is applied by its own layer.
double OwnOpacity(const svg::SVGImageElement& image, svg::SvgScriptCallback* callback) {
  svg::PropertyStore own;
  MergeStyle(own, image.style, callback, true);
  return StyleNumber(own, svg::PropertyId::kOpacity, 1.0);
}

bool IsFinite(const agg::trans_affine& m) {
  return std::isfinite(m.sx) && std::isfinite(m.shy) && std::isfinite(m.shx) && std::isfinite(m.sy) &&
         std::isfinite(m.tx) && std::isfinite(m.ty);
}

template <typename SpanGenerator>
void RenderPictureSpans(Canvas& canvas, Rasterizer& rasterizer, SpanGenerator& generator) {
  if (!canvas.PrepareToRender(rasterizer)) return;
  agg::span_allocator<agg::rgba8> allocator;
  const AlphaMaskPtr& mask = canvas.CurrentAlphaMask();
  if (mask != nullptr) {
    agg::scanline_u8_am<AlphaMask> scanline(*mask);
    agg::render_scanlines_aa(rasterizer, scanline, canvas.RendererPre(), allocator, generator);
  } else {
    agg::scanline_u8 scanline;
    agg::render_scanlines_aa(rasterizer, scanline, canvas.RendererPre(), allocator, generator);
  }
}

// Draws the premultiplied picture under the canvas transform (picture pixels -> device pixels) into
// the premultiplied target: bilinear when enlarged, an averaging filter when reduced.
void DrawPicture(Canvas& canvas, agg::rendering_buffer& picture) {
  const agg::trans_affine& matrix = canvas.Transform();
  const double determinant = matrix.determinant();
  if (!IsFinite(matrix) || !std::isfinite(determinant) || std::fabs(determinant) < 1e-12) return;
  agg::trans_affine inverse = matrix;
  inverse.invert();

  Rasterizer rasterizer;
  rasterizer.clip_box(0, 0, canvas.Width(), canvas.Height());
  const GraphicsState& state = canvas.State();
  if (state.gamma != 1.0 || state.masterAlpha != 1.0) rasterizer.gamma(CoverageGamma{state.gamma, state.masterAlpha});
  const double right = picture.width();
  const double bottom = picture.height();
  const double corners[4][2] = {{0.0, 0.0}, {right, 0.0}, {right, bottom}, {0.0, bottom}};
  for (int i = 0; i < 4; ++i) {
    double x = corners[i][0], y = corners[i][1];
    matrix.transform(&x, &y);
    if (i == 0) {
      rasterizer.move_to_d(x, y);
    } else {
      rasterizer.line_to_d(x, y);
    }
  }
  rasterizer.close_polygon();

  SourcePixels pixels(picture);
  Accessor accessor(pixels);
  Interpolator interpolator(inverse);
  double scaleX = 1.0, scaleY = 1.0;
  matrix.scaling_abs(&scaleX, &scaleY);
  if (std::min(scaleX, scaleY) >= 1.0) {
    agg::span_image_filter_rgba_bilinear<Accessor, Interpolator> generator(accessor, interpolator);
    RenderPictureSpans(canvas, rasterizer, generator);
  } else {
    agg::image_filter_lut filter(agg::image_filter_bilinear(), true);
    agg::span_image_resample_rgba_affine<Accessor> generator(accessor, interpolator, filter);
    RenderPictureSpans(canvas, rasterizer, generator);
  }
}

// An absent width or height takes the picture's own size, or keeps its aspect when only one of
// the two is given.
void ResolveViewport(svg::SVGImageElement& image, const RenderContext& context) {
  svg::SvgScriptCallback* callback = context.scriptCallback;
  const double fontSize = image.fontSize;
  image.resolvedX = image.x.ToUserUnits(callback, image.viewportWidth, fontSize);
  image.resolvedY = image.y.ToUserUnits(callback, image.viewportHeight, fontSize);
  double width = image.width.ToUserUnits(callback, image.viewportWidth, fontSize);
  double height = image.height.ToUserUnits(callback, image.viewportHeight, fontSize);
  const double pictureWidth = image.picture.width;
  const double pictureHeight = image.picture.height;
  const bool widthGiven = image.width.IsSpecified();
  const bool heightGiven = image.height.IsSpecified();
  if (!widthGiven && !heightGiven) {
    width = pictureWidth;
    height = pictureHeight;
  } else if (!widthGiven) {
    width = height * pictureWidth / pictureHeight;
  } else if (!heightGiven) {
    height = width * pictureHeight / pictureWidth;
  }
  image.resolvedWidth = width;
  image.resolvedHeight = height;
}

}  // namespace
}  // namespace render

namespace svg {

void SVGImageElement::Render(render::RenderContext context) {
  render::ShapeColours colours;
  if (!render::PrepareShape(*this, colours, context)) return;
  render::Canvas& canvas = *context.canvas;
  // Clip paths take outlines only; a picture inside one adds nothing.
  if (canvas.Mode() == render::LayerMode::kClip) return;
  agg::rendering_buffer source;
  if (!render::LoadImage(*this, context, source)) return;

  render::ResolveViewport(*this, context);
  if (!(resolvedWidth > 0.0) || !(resolvedHeight > 0.0) || !std::isfinite(resolvedWidth) ||
      !std::isfinite(resolvedHeight)) {
    return;
  }
  const bool pushed = render::ApplyClipAndMask(*this, context);

  SvgScriptCallback* callback = context.scriptCallback;
  viewBox.Assign(0.0, 0.0, picture.width, picture.height);
  agg::trans_affine matrix = render::ViewportMatrix(
      viewBox.GetRect(callback, false), resolvedX, resolvedY, resolvedX + resolvedWidth, resolvedY + resolvedHeight,
      preserveAspectRatio.GetAlign(callback), preserveAspectRatio.GetMeetOrSlice(callback));
  matrix.multiply(render::StyleTransform(context.style));
  render::SetStyleTransform(context.style, matrix);
  render::ApplyUserTransform(context);

  const double savedAlpha = canvas.State().masterAlpha;
  canvas.SetMasterAlpha(render::OwnOpacity(*this, callback));
  render::DrawPicture(canvas, source);
  canvas.SetMasterAlpha(savedAlpha);
  if (pushed) canvas.SetAlphaMask(context.savedMask);
}

}  // namespace svg
