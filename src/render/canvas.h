#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include <agg_path_storage.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_rendering_buffer.h>
#include <agg_scanline_p.h>
#include <agg_scanline_u.h>
#include <agg_trans_affine.h>

#include "render/alpha_mask.h"
#include "render/cell_bands.h"
#include "render/graphics_state.h"
#include "render/pixel_area.h"
#include "render/render_budget.h"
#include "render/window_pixels.h"
#include "svg/element.h"

namespace render {

enum class LayerMode : uint32_t { kNormal = 0, kClip = 1, kMask = 2, kPatternCoverage = 3 };

// The rasteriser keeps coordinates in doubles until they are clipped, so tiles deep inside huge
// images never overflow AGG's fixed-point cells.
using Rasterizer = agg::rasterizer_scanline_aa<agg::rasterizer_sl_clip_dbl>;
using PixelFormat = agg::pixfmt_rgba32;
using PixelFormatPre = agg::pixfmt_rgba32_pre;
using RendererBase = agg::renderer_base<WindowPixels<PixelFormat>>;
using RendererBasePre = agg::renderer_base<WindowPixels<PixelFormatPre>>;

// The drawing surface of one render: an RGBA buffer (premultiplied), the graphics state, the path
// being built, a stack of offscreen layers for opacity, clipping and masking, and the alpha mask.
// Every operation acts on the innermost open layer. A layer stores only the pixels its content
// reaches, claimed from the render's budget as it grows.
class Canvas {
 public:
  Canvas() = default;
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Attach(uint8_t* buffer, int width, int height, int stride);
  // The budget layers and masks claim their memory from; null: unlimited.
  void SetBudget(RenderBudget* budget) { budget_ = budget; }
  // Writes color into every pixel, without blending.
  void ClearAll(agg::rgba8 color);

  void SetTransform(const agg::trans_affine& matrix);
  const agg::trans_affine& Transform() { return Innermost().transform_; }
  // Maps the unit square onto box (objectBoundingBox units); null or an empty box: identity.
  void SetUnitsBox(const svg::Rect* box);
  const agg::trans_affine& UnitsBox() { return Innermost().unitsBox_; }

  void SetGamma(double gamma);
  void SetMasterAlpha(double alpha);
  void SetFillColor(agg::rgba8 color);
  void SetLineColor(agg::rgba8 color);
  void NoFill();
  void NoLine();
  // Gradient and pattern paints (kind other than solid).
  void SetFillServer(CanvasPaint kind, std::shared_ptr<PaintServer> server);
  void SetLineServer(CanvasPaint kind, std::shared_ptr<PaintServer> server);
  void SetFillEvenOdd(bool evenOdd) { Innermost().state_.fillEvenOdd = evenOdd; }
  void SetClipEvenOdd(bool evenOdd) { Innermost().state_.clipEvenOdd = evenOdd; }
  void SetLineWidth(double width);
  void SetLineCap(agg::line_cap_e cap) { Innermost().state_.lineCap = cap; }
  void SetLineJoin(agg::line_join_e join) { Innermost().state_.lineJoin = join; }
  void SetInnerJoin(agg::inner_join_e join) { Innermost().state_.innerJoin = join; }
  void SetMiterLimit(double limit) { Innermost().state_.miterLimit = limit; }
  void RemoveAllDashes();
  void AddDash(double dash, double gap);
  void SetDashStart(double offset) { Innermost().state_.dashStart = offset; }
  GraphicsState& State() { return Innermost().state_; }

  void ResetPath() { Innermost().path_.remove_all(); }
  agg::path_storage& Path() { return Innermost().path_; }
  // Applies the units box to the path's own vertices (after a shape has built its outline).
  void ApplyUnitsBoxToPath();
  // Replaces the path by the closed rectangle, passed through the units box.
  void AddRectangle(double x1, double y1, double x2, double y2);
  // Widens box by the path's vertices under matrix; false (box untouched) when the path is empty.
  bool PathBounds(const agg::trans_affine& matrix, svg::Rect& box);

  // Fills and strokes the path with the current state.
  void DrawPath();

  void PushLayer();
  void PopLayer(double opacity);
  // Opens a clip or mask layer; returns the mask that was current where it was opened.
  AlphaMaskPtr PushMaskLayer(LayerMode mode);
  // Turns the innermost layer into the alpha mask of its parent and closes it.
  void CommitMaskLayer();
  void SetAlphaMask(AlphaMaskPtr mask) { Innermost().alphaMask_ = std::move(mask); }
  const AlphaMaskPtr& CurrentAlphaMask() { return Innermost().alphaMask_; }

  int Width() const { return width_; }
  int Height() const { return height_; }
  LayerMode Mode() { return Innermost().layerMode_; }

  // Rendering through the current alpha mask when there is one; used by the paint servers.
  template <typename SpanGenerator>
  void RenderSpans(Rasterizer& rasterizer, SpanGenerator& generator);
  // The same for spans of premultiplied colour (rendered pictures and pattern tiles).
  template <typename SpanGenerator>
  void RenderSpansPre(Rasterizer& rasterizer, SpanGenerator& generator);
  // Makes the innermost layer hold every pixel the rasteriser's content can change; false when
  // there is nothing to render or no memory for it.
  bool PrepareToRender(Rasterizer& rasterizer);
  RendererBase& Renderer() { return Innermost().renderer_; }
  RendererBasePre& RendererPre() { return Innermost().rendererPre_; }

 private:
  Canvas& Innermost();
  Canvas* ParentOfInnermost();
  void OpenLayer(LayerMode mode);
  void AttachStorage(uint8_t* pixels, const PixelArea& area, int stride);
  // Grows this layer's storage to hold area (within the surface); false when memory is refused.
  bool Hold(const PixelArea& area);
  void RebuildGamma();
  template <typename Sink>
  void AddFill(Sink& sink);
  // Returns the share of coverage the stroke is to be drawn with (below 1 for sub-pixel dashes).
  template <typename Sink>
  double AddStroke(Sink& sink);
  // Fills the rasteriser by addPath and paints it; a path with more cells than the rasteriser
  // holds is painted band by band.
  template <typename AddPath>
  void PaintCoverage(const AddPath& addPath, CanvasPaint paint, agg::rgba8 color, PaintServer* server,
                     bool isFill);
  template <typename Target, typename SpanGenerator>
  void RenderSpansTo(Rasterizer& rasterizer, Target& renderer, SpanGenerator& generator);
  // Runs render once, or once per band with the rasteriser refilled for that band.
  void ForEachBand(Rasterizer& rasterizer, const std::function<void()>& render);
  void RenderSolid(Rasterizer& rasterizer, agg::rgba8 color);
  void RenderPaint(Rasterizer& rasterizer, CanvasPaint paint, agg::rgba8 color, PaintServer* server, bool isFill);

  int width_ = 0;
  int height_ = 0;
  agg::rendering_buffer target_;  // the stored area_ of the surface
  PixelArea area_;
  WindowPixels<PixelFormat> pixels_;
  WindowPixels<PixelFormatPre> pixelsPre_;
  RendererBase renderer_{pixels_};
  RendererBasePre rendererPre_{pixelsPre_};

  GraphicsState state_;
  Rasterizer rasterizer_{kCellBlockLimit};
  std::vector<RowBand> bands_;                  // while a dense path is painted
  std::function<void(CountingRasterizer<Rasterizer>&)> refill_;  // adds that path again, for one band
  double builtGamma_ = 1.0;
  double builtMasterAlpha_ = 1.0;
  agg::scanline_u8 scanline_;
  agg::scanline_p8 packedScanline_;
  agg::path_storage path_;
  agg::trans_affine transform_;
  double approximationScale_ = 2.0;
  agg::trans_affine unitsBox_;

  AlphaMaskPtr alphaMask_;
  RenderBudget* budget_ = nullptr;
  std::unique_ptr<uint8_t[]> layerPixels_;  // a layer's own storage
  size_t layerBytes_ = 0;
  std::unique_ptr<Canvas> child_;
  LayerMode layerMode_ = LayerMode::kNormal;
};

}  // namespace render

#include "render/canvas_spans.h"
