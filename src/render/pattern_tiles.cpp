#include "render/pattern_tiles.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

#include <agg_image_accessors.h>
#include <agg_span_image_filter_rgba.h>
#include <agg_span_interpolator_linear.h>

#include "render/canvas.h"
#include "render/computed_style.h"
#include "render/traversal.h"
#include "svg/bounds.h"
#include "svg/property_table.h"
#include "svg/resource_elements.h"

namespace render {
namespace {

// Vector tiles cost one render of the content each, clipped tiles also a mask layer each.
constexpr int64_t kMaxVectorTiles = 256;
constexpr int64_t kMaxClippedVectorTiles = 16;
constexpr int kMaxRasterTileEdge = 2048;

double Length(double x, double y) { return std::sqrt(x * x + y * y); }

// The device rectangle's corners mapped into pattern space, and the box around them.
svg::Rect PatternArea(const svg::Rect& device, const agg::trans_affine& deviceToPattern) {
  svg::Rect area;
  for (double cornerX : {device.x1, device.x2}) {
    for (double cornerY : {device.y1, device.y2}) {
      double x = cornerX, y = cornerY;
      deviceToPattern.transform(&x, &y);
      area.Unite(svg::Rect{x, y, x, y});
    }
  }
  return area;
}

// Scales premultiplied spans by the pattern's opacity.
template <typename Generator>
class FadedSpans {
 public:
  FadedSpans(Generator& generator, double opacity)
      : generator_(generator), cover_(static_cast<unsigned>(std::clamp(opacity, 0.0, 1.0) * 255.0 + 0.5)) {}
  void prepare() { generator_.prepare(); }
  void generate(agg::rgba8* span, int x, int y, unsigned length) {
    generator_.generate(span, x, y, length);
    if (cover_ == 255) return;
    for (unsigned i = 0; i < length; ++i) {
      span[i].r = static_cast<uint8_t>(span[i].r * cover_ / 255);
      span[i].g = static_cast<uint8_t>(span[i].g * cover_ / 255);
      span[i].b = static_cast<uint8_t>(span[i].b * cover_ / 255);
      span[i].a = static_cast<uint8_t>(span[i].a * cover_ / 255);
    }
  }

 private:
  Generator& generator_;
  unsigned cover_;
};

}  // namespace

PatternTiles::PatternTiles(PatternContent content, const PatternRecord& record, const svg::Rect& box, double opacity)
    : content_(std::move(content)),
      record_(record),
      box_(box),
      opacity_(opacity),
      userTransform_(StyleTransform(content_.context.style)) {}

PatternTiles::TileGeometry PatternTiles::Geometry() const {
  TileGeometry tile{record_.x, record_.y, record_.width, record_.height, {}, record_.transform};
  const double boxWidth = box_.IsEmpty() ? 0.0 : box_.x2 - box_.x1;
  const double boxHeight = box_.IsEmpty() ? 0.0 : box_.y2 - box_.y1;
  if (record_.unitsObjectBoundingBox) {
    tile.x = box_.x1 + record_.x * boxWidth;
    tile.y = box_.y1 + record_.y * boxHeight;
    tile.width = record_.width * boxWidth;
    tile.height = record_.height * boxHeight;
  }
  if (record_.hasViewBox) {
    tile.content = ViewportMatrix(record_.viewBox, 0.0, 0.0, tile.width, tile.height, record_.align,
                                  record_.meetOrSlice);
  } else if (record_.contentObjectBoundingBox) {
    tile.content = agg::trans_affine_scaling(boxWidth, boxHeight);
  }
  tile.patternToUser.multiply(userTransform_);
  return tile;
}

RenderContext PatternTiles::ContentContext(const agg::trans_affine& contentToUser, Canvas* canvas) const {
  RenderContext context = content_.context;
  context.canvas = canvas;
  context.unitsBox = svg::Rect{};
  InheritFromAncestors(*content_.pattern, context);
  PrepareElement(*content_.pattern, context);
  MergeStyle(context.style, content_.store, context.scriptCallback, true);
  SetStyleTransform(context.style, contentToUser);
  if (content_.pattern->id) context.referenceChain.push_back(*content_.pattern->id);
  return context;
}

void PatternTiles::RenderContent(RenderContext context) const {
  if (++context.depth > kMaxRenderDepth) return;
  // Each rendering of the content is one expansion: nested patterns multiply, and the budget
  // they share with use bounds the work of the whole render.
  if (context.budget != nullptr && !context.budget->Spend()) return;
  const double opacity = StyleNumber(context.style, svg::PropertyId::kOpacity, 1.0);
  const bool layered = !(opacity >= 1.0);
  if (layered) context.canvas->PushLayer();
  for (const auto& child : content_.contentFrom->children) {
    ApplyUserTransform(context);
    child->Render(context);
  }
  if (layered) context.canvas->PopLayer(opacity);
}

bool PatternTiles::ContentFitsTile(const TileGeometry& tile) const {
  svg::Rect bounds;
  RenderContext context = content_.context;
  for (const auto& child : content_.contentFrom->children) {
    agg::trans_affine matrix = child->OwnTransform(context.scriptCallback);
    matrix.multiply(tile.content);
    svg::SubtreeBounds(*child, bounds, context.Bounds(), matrix);
  }
  // Strokes reach beyond the outlines; keep a margin of a tenth of the tile.
  const double marginX = tile.width * 0.1, marginY = tile.height * 0.1;
  return bounds.IsEmpty() || (bounds.x1 >= marginX && bounds.y1 >= marginY && bounds.x2 <= tile.width - marginX &&
                              bounds.y2 <= tile.height - marginY);
}

void PatternTiles::Paint(Canvas& canvas, Rasterizer& rasterizer, bool isFill) {
  const TileGeometry tile = Geometry();
  if (!(tile.width > 0.0) || !(tile.height > 0.0) || !std::isfinite(tile.width) || !std::isfinite(tile.height)) return;

  agg::trans_affine patternToDevice = tile.patternToUser;
  patternToDevice.multiply(content_.context.baseTransform);
  agg::trans_affine deviceToPattern = patternToDevice;
  deviceToPattern.invert();

  // Vector tiles or one raster tile is decided on the whole shape, never on the part a window
  // shows, so that every window of one image paints the pattern the same way.
  svg::Rect shape;
  if (!canvas.PathBounds(canvas.Transform(), shape)) return;
  const svg::Rect whole = PatternArea(shape, deviceToPattern);
  const double columns =
      std::ceil((whole.x2 - tile.x) / tile.width) - std::floor((whole.x1 - tile.x) / tile.width);
  const double rows =
      std::ceil((whole.y2 - tile.y) / tile.height) - std::floor((whole.y1 - tile.y) / tile.height);
  agg::trans_affine linear = tile.patternToUser;
  linear.multiply(content_.context.baseTransform);
  // Tiles too large for a raster tile of full resolution are few in any window.
  const bool large = Length(linear.sx * tile.width, linear.shy * tile.width) > kMaxRasterTileEdge &&
                     Length(linear.shx * tile.height, linear.sy * tile.height) > kMaxRasterTileEdge;
  const bool fits = ContentFitsTile(tile);
  if (!large && !(columns * rows <= (fits ? kMaxVectorTiles : kMaxClippedVectorTiles))) {
    PaintRasterTile(canvas, rasterizer, tile);
    return;
  }
  // The tiles that can touch the visible part of the shape.
  svg::Rect device = shape;
  device.x1 = std::max(device.x1, 0.0);
  device.y1 = std::max(device.y1, 0.0);
  device.x2 = std::min(device.x2, static_cast<double>(canvas.Width()));
  device.y2 = std::min(device.y2, static_cast<double>(canvas.Height()));
  if (device.IsEmpty()) return;
  const svg::Rect area = PatternArea(device, deviceToPattern);
  const double i0 = std::floor((area.x1 - tile.x) / tile.width), i1 = std::ceil((area.x2 - tile.x) / tile.width);
  const double j0 = std::floor((area.y1 - tile.y) / tile.height), j1 = std::ceil((area.y2 - tile.y) / tile.height);
  const double visible = (i1 - i0) * (j1 - j0);
  if (!std::isfinite(visible) || visible <= 0) return;
  // Only sheared tiles, thin in spite of long sides, come this many into view.
  if (visible > kMaxVectorTiles) {
    PaintRasterTile(canvas, rasterizer, tile);
    return;
  }
  PaintVectorTiles(canvas, tile, static_cast<int>(i0), static_cast<int>(i1), static_cast<int>(j0),
                   static_cast<int>(j1), isFill);
}

void PatternTiles::PaintVectorTiles(Canvas& canvas, const TileGeometry& tile, int i0, int i1, int j0, int j1,
                                    bool isFill) {
  const agg::path_storage shape = canvas.Path();
  canvas.PushLayer();
  AlphaMaskPtr previous = canvas.PushMaskLayer(LayerMode::kPatternCoverage);
  canvas.Path() = shape;
  if (!isFill) {
    canvas.NoFill();
    canvas.SetLineColor(agg::rgba8(255, 255, 255, 255));
  }
  canvas.DrawPath();
  canvas.CommitMaskLayer();
  const AlphaMaskPtr coverage = canvas.CurrentAlphaMask();
  const bool fits = ContentFitsTile(tile);

  for (int j = j0; j < j1; ++j) {
    for (int i = i0; i < i1; ++i) {
      agg::trans_affine tileToUser =
          agg::trans_affine_translation(tile.x + i * tile.width, tile.y + j * tile.height);
      tileToUser.multiply(tile.patternToUser);
      if (!fits) {
        canvas.PushMaskLayer(LayerMode::kClip);
        agg::trans_affine tileToDevice = tileToUser;
        tileToDevice.multiply(content_.context.baseTransform);
        canvas.SetTransform(tileToDevice);
        canvas.AddRectangle(0.0, 0.0, tile.width, tile.height);
        canvas.DrawPath();
        canvas.CommitMaskLayer();
      }
      agg::trans_affine contentToUser = tile.content;
      contentToUser.multiply(tileToUser);
      RenderContent(ContentContext(contentToUser, &canvas));
      if (!fits) canvas.SetAlphaMask(coverage);
    }
  }
  canvas.SetAlphaMask(previous);
  canvas.PopLayer(opacity_);
}

void PatternTiles::PaintRasterTile(Canvas& canvas, Rasterizer& rasterizer, const TileGeometry& tile) {
  agg::trans_affine linear = tile.patternToUser;
  linear.multiply(content_.context.baseTransform);
  const double edgeX = Length(linear.sx * tile.width, linear.shy * tile.width);
  const double edgeY = Length(linear.shx * tile.height, linear.sy * tile.height);
  const int pixelsX = std::clamp(static_cast<int>(std::ceil(edgeX)), 1, kMaxRasterTileEdge);
  const int pixelsY = std::clamp(static_cast<int>(std::ceil(edgeY)), 1, kMaxRasterTileEdge);

  const size_t bytes = static_cast<size_t>(pixelsX) * static_cast<size_t>(pixelsY) * 4;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[bytes]);
  if (pixels == nullptr) return;
  {
    Canvas tileCanvas;
    tileCanvas.Attach(pixels.get(), pixelsX, pixelsY, pixelsX * 4);
    tileCanvas.SetBudget(content_.context.budget);
    tileCanvas.ClearAll(agg::rgba8(0, 0, 0, 0));
    RenderContext context = ContentContext(tile.content, &tileCanvas);
    context.baseTransform = agg::trans_affine_scaling(pixelsX / tile.width, pixelsY / tile.height);
    RenderContent(std::move(context));
  }

  agg::trans_affine pixelToDevice = agg::trans_affine_scaling(tile.width / pixelsX, tile.height / pixelsY);
  pixelToDevice.multiply(agg::trans_affine_translation(tile.x, tile.y));
  pixelToDevice.multiply(linear);
  agg::trans_affine deviceToPixel = pixelToDevice;
  deviceToPixel.invert();

  agg::rendering_buffer buffer(pixels.get(), static_cast<unsigned>(pixelsX), static_cast<unsigned>(pixelsY),
                               pixelsX * 4);
  PixelFormatPre source(buffer);
  using Accessor = agg::image_accessor_wrap<PixelFormatPre, agg::wrap_mode_repeat, agg::wrap_mode_repeat>;
  Accessor accessor(source);
  using Interpolator = agg::span_interpolator_linear<>;
  Interpolator interpolator(deviceToPixel);
  agg::span_image_filter_rgba_bilinear<Accessor, Interpolator> filter(accessor, interpolator);
  FadedSpans<decltype(filter)> faded(filter, opacity_);
  canvas.RenderSpansPre(rasterizer, faded);
}

}  // namespace render
