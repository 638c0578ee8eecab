#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "render/canvas.h"
#include "render/clip_and_mask.h"
#include "render/computed_style.h"
#include "render/paint_servers.h"
#include "render/shape_style.h"
#include "render/text_layout.h"
#include "render/traversal.h"
#include "svg/property_table.h"
#include "svg/text_elements.h"
#include "text/glyph_outline.h"

namespace render {
namespace {

// Glyphs go to the rasteriser in batches, so an enormous text never holds all its outlines at once.
constexpr size_t kGlyphsPerBatch = 4096;
// Above this size in device pixels a glyph is flattened here, coarsely enough that an absurd font
// size can't produce millions of curve points.
constexpr double kMaxGlyphPixels = 1e5;
// Glyphs larger than this on the device, or this far out in user space, are not drawn: curve
// flattening loses all precision there, and nothing that size can be told from a filled canvas.
constexpr double kMaxDrawnPixels = 1e7;
constexpr double kMaxUserCoordinate = 1e12;

double DeviceScale(const agg::trans_affine& m) {
  const double x = (m.sy + m.shy) * 0.707106781;
  const double y = (m.shx + m.sx) * 0.707106781;
  return std::sqrt(x * x + y * y);
}

struct DrawPass {
  const TextLayout& layout;
  text::FontServices& services;
  svg::Rect textBox;
  agg::trans_affine textTransform;
  const text::TextPath* path = nullptr;  // the path of the textPath being drawn, for it and its descendants
  RenderBudget* budget = nullptr;        // counts the glyphs flattened, when given
};

// The most a user-space length can grow on the device under m (the matrix's Frobenius norm).
double LargestScale(const agg::trans_affine& m) {
  return std::sqrt(m.sx * m.sx + m.shy * m.shy + m.shx * m.shx + m.sy * m.sy);
}

// Whether a glyph can reach the canvas, and is small enough there to draw.
class Visibility {
 public:
  explicit Visibility(Canvas& canvas) : transform_(canvas.UnitsBox()) {
    transform_.multiply(canvas.Transform());
    const GraphicsState& state = canvas.State();
    const bool stroked = state.linePaint != CanvasPaint::kSolid || state.lineColor.a != 0;
    const double reach = stroked ? state.lineWidth * 0.5 * std::max(1.0, state.miterLimit) : 0.0;
    margin_ = reach * LargestScale(canvas.Transform()) + 2.0;
    scale_ = LargestScale(transform_);
    width_ = canvas.Width();
    height_ = canvas.Height();
  }

  // r's box is in text user space; pad (user units) widens it for outlines that leave the box.
  bool Reaches(const text::GlyphRecord& r, double pad) const {
    for (double v : {r.x1, r.y1, r.x2, r.y2, r.x, r.y}) {
      if (!(std::fabs(v) <= kMaxUserCoordinate)) return false;
    }
    const double xs[4] = {r.x1, r.x2, r.x2, r.x1};
    const double ys[4] = {r.y1, r.y1, r.y2, r.y2};
    double left = 0, right = 0, top = 0, bottom = 0;
    for (int i = 0; i < 4; ++i) {
      double x = xs[i], y = ys[i];
      transform_.transform(&x, &y);
      left = i == 0 ? x : std::min(left, x);
      right = i == 0 ? x : std::max(right, x);
      top = i == 0 ? y : std::min(top, y);
      bottom = i == 0 ? y : std::max(bottom, y);
    }
    if (!(right - left <= kMaxDrawnPixels && bottom - top <= kMaxDrawnPixels)) return false;
    const double margin = margin_ + pad * scale_;
    // A transform too large to measure with gives no grounds to leave the glyph out.
    if (!std::isfinite(margin)) return true;
    return right >= -margin && left <= width_ + margin && bottom >= -margin && top <= height_ + margin;
  }

 private:
  agg::trans_affine transform_;
  double margin_ = 0.0;
  double scale_ = 0.0;
  double width_ = 0.0;
  double height_ = 0.0;
};

// How far a glyph bent along a text path can stray from the box of its mapped corners: a point of the
// outline lies within its distance along the path plus twice its distance across of some corner. A
// turned glyph stays within the circle through its farthest corner.
double BentGlyphReach(const agg::glyph_cache& glyph, const text::GlyphRecord& record, double scale) {
  const agg::rect_i& b = glyph.bounds;
  const double radius =
      scale * std::hypot(std::max(std::abs(b.x1), std::abs(b.x2)), std::max(std::abs(b.y1), std::abs(b.y2)));
  return 2.0 * radius + 2.0 * (std::fabs(record.y) + radius);
}

void Flush(Canvas& canvas, size_t& pending) {
  if (pending == 0) return;
  canvas.ApplyUnitsBoxToPath();
  canvas.DrawPath();
  canvas.ResetPath();
  pending = 0;
}

void DrawGlyphs(Canvas& canvas, DrawPass& pass, const ElementGlyphs& glyphs, const text::TextPath* path) {
  canvas.ResetPath();
  const Visibility visibility(canvas);
  const double deviceScale = DeviceScale(canvas.Transform());
  const size_t end = std::min(glyphs.first + glyphs.count, pass.layout.records.records.size());
  size_t pending = 0;
  for (size_t i = glyphs.first; i < end; ++i) {
    const text::GlyphRecord& record = pass.layout.records.records[i];
    const text::PlacedGlyph& placed = pass.layout.glyphs[i];
    // Without a box there is no ink, or the glyph fell off its text path.
    if (!record.HasBox() || placed.face == nullptr) continue;
    if (!std::isfinite(record.rotate) || !(placed.fontSize <= kMaxUserCoordinate)) continue;
    const agg::glyph_cache* glyph = pass.services.Glyph(*placed.face, placed.glyphIndex);
    if (glyph == nullptr) continue;
    const double scale = placed.fontSize / placed.face->UnitsPerEm();
    if (!visibility.Reaches(record, path != nullptr ? BentGlyphReach(*glyph, record, scale) : 0.0)) continue;
    const double glyphPixels = placed.fontSize * deviceScale;
    double approximation = path != nullptr ? 2.0 * deviceScale : 0.0;
    if (glyphPixels > kMaxGlyphPixels) approximation = 2.0 * kMaxGlyphPixels / placed.fontSize;
    text::FontServices::OutlineAdaptor& outline = pass.services.Outline(*glyph, 0.0, 0.0, scale);
    text::AppendGlyphOutline(canvas.Path(), outline, record.x, record.y, record.rotate, path, approximation);
    if (pass.budget != nullptr) ++pass.budget->glyphsFlattened;
    if (++pending == kGlyphsPerBatch) Flush(canvas, pending);
  }
  Flush(canvas, pending);
}

void DrawElement(svg::SVGElement& element, RenderContext context, DrawPass& pass, bool isText);

void DrawChildren(svg::SVGElement& element, const RenderContext& context, DrawPass& pass) {
  for (const auto& child : element.children) {
    if (child->IsTextContent()) {
      DrawElement(*child, context, pass, false);
    } else if (child->type == svg::ElementType::kA) {
      RenderContext anchor = context;
      if (++anchor.depth > kMaxRenderDepth) continue;
      PrepareElement(*child, anchor);
      if (IsDisplayed(anchor)) DrawChildren(*child, anchor, pass);
    }
  }
}

// Draws one element's own glyphs, then its children; opacity, clip-path and mask enclose both.
void DrawElement(svg::SVGElement& element, RenderContext context, DrawPass& pass, bool isText) {
  if (++context.depth > kMaxRenderDepth) return;
  Canvas& canvas = *context.canvas;
  ShapeColours colours;
  const bool visible = PrepareShape(element, colours, context);
  if (!IsDisplayed(context)) return;
  if (isText) {
    if (!visible) ApplyUserTransform(context);
    pass.textTransform = canvas.Transform();
  } else {
    canvas.SetTransform(pass.textTransform);
  }
  const text::TextPath* outerPath = pass.path;
  if (element.type == svg::ElementType::kTextPath) {
    const auto found = pass.layout.paths.find(&element);
    if (found == pass.layout.paths.end()) return;
    pass.path = found->second.get();
  }
  if (visible) {
    ApplyPaintServers(element, colours.fill, colours.stroke, context,
                      pass.textBox.IsEmpty() ? nullptr : &pass.textBox);
  }
  const bool pushed = ApplyClipAndMask(element, context);
  const double opacity = StyleNumber(context.style, svg::PropertyId::kOpacity, 1.0);
  const bool layered = !(opacity >= 1.0);
  if (layered) canvas.PushLayer();
  const auto own = pass.layout.elements.find(&element);
  if (visible && own != pass.layout.elements.end()) DrawGlyphs(canvas, pass, own->second, pass.path);
  DrawChildren(element, context, pass);
  pass.path = outerPath;
  if (layered) canvas.PopLayer(opacity);
  if (pushed) canvas.SetAlphaMask(context.savedMask);
}

}  // namespace
}  // namespace render

namespace svg {

void SVGTextElement::Render(render::RenderContext context) {
  text::FontServicesLease services;
  render::TextLayout layout;
  render::LayOutText(*this, context, *services, layout);
  glyphRecords = layout.records;
  render::DrawPass pass{layout, *services, layout.Box(), agg::trans_affine(), nullptr, context.budget};
  render::DrawElement(*this, std::move(context), pass, true);
}

bool SVGTextElement::GetBBox(Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix) {
  render::RenderContext context;
  context.styleSheet = query.styleSheet;
  context.scriptCallback = query.callback;
  context.canvas = query.canvas;
  render::InheritFromAncestors(*this, context);
  text::FontServicesLease services;
  render::TextLayout layout;
  render::LayOutText(*this, std::move(context), *services, layout);
  glyphRecords = layout.records;
  Rect own;
  for (const text::GlyphRecord& r : glyphRecords.records) {
    if (!r.HasBox()) continue;
    const double xs[4] = {r.x1, r.x2, r.x2, r.x1};
    const double ys[4] = {r.y1, r.y1, r.y2, r.y2};
    for (int i = 0; i < 4; ++i) {
      double x = xs[i], y = ys[i];
      matrix.transform(&x, &y);
      own.Unite(Rect{x, y, x, y});
    }
  }
  box.Unite(own);
  return !own.IsEmpty();
}

}  // namespace svg
