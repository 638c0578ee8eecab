#include "render/canvas.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <optional>

#include <agg_conv_dash.h>
#include <agg_conv_stroke.h>
#include <agg_conv_transform.h>
#include <agg_renderer_scanline.h>

#include "render/dash_generator.h"
#include "render/finite_vertices.h"
#include "render/windowed_curves.h"
#include "render/paint_server.h"

namespace render {
namespace {

// The rasteriser's 256-entry gamma: master alpha times coverage raised to gamma, capped at 1.
struct CoverageGamma {
  double gamma;
  double masterAlpha;
  double operator()(double x) const { return std::min(1.0, masterAlpha * std::pow(x, gamma)); }
};

double AffineScale(const agg::trans_affine& m) {
  const double x = (m.sy + m.shy) * 0.707106781;
  const double y = (m.shx + m.sx) * 0.707106781;
  return std::sqrt(x * x + y * y);
}

// Clip layers draw coverage only: opaque white fills, no strokes, no opacity.
bool IsClipMode(LayerMode mode) { return mode == LayerMode::kClip; }

// Layers whose red channel becomes the mask (clip paths and pattern coverage), as opposed to masks,
// whose luminance does.
bool IsCoverageLayer(LayerMode mode) { return mode == LayerMode::kClip || mode == LayerMode::kPatternCoverage; }

}  // namespace

Canvas::~Canvas() {
  child_.reset();
  if (budget_ != nullptr) budget_->Release(layerBytes_);
}

Canvas& Canvas::Innermost() {
  Canvas* canvas = this;
  while (canvas->child_ != nullptr) canvas = canvas->child_.get();
  return *canvas;
}

Canvas* Canvas::ParentOfInnermost() {
  if (child_ == nullptr) return nullptr;
  Canvas* parent = this;
  while (parent->child_->child_ != nullptr) parent = parent->child_.get();
  return parent;
}

void Canvas::AttachStorage(uint8_t* pixels, const PixelArea& area, int stride) {
  area_ = area.Empty() ? PixelArea{} : area;
  target_.attach(pixels, static_cast<unsigned>(area_.Width()), static_cast<unsigned>(area_.Height()), stride);
  pixels_.Attach(target_, area_, width_, height_);
  pixelsPre_.Attach(target_, area_, width_, height_);
  // Outside the stored area nothing may be written; an empty area takes no writes at all.
  const int x1 = area_.Empty() ? -1 : area_.left, y1 = area_.Empty() ? -1 : area_.top;
  renderer_.clip_box(x1, y1, area_.right - 1, area_.bottom - 1);
  rendererPre_.clip_box(x1, y1, area_.right - 1, area_.bottom - 1);
}

bool Canvas::Hold(const PixelArea& wanted) {
  const PixelArea surface{0, 0, width_, height_};
  const PixelArea needed = wanted.Intersected(surface);
  if (area_.Contains(needed)) return true;
  PixelArea grown = area_.United(needed);
  // Growing by half again where it grows keeps content drawn piece by piece from being copied often.
  if (!area_.Empty()) {
    const int dx = grown.Width() / 2, dy = grown.Height() / 2;
    if (grown.left < area_.left) grown.left -= dx;
    if (grown.right > area_.right) grown.right += dx;
    if (grown.top < area_.top) grown.top -= dy;
    if (grown.bottom > area_.bottom) grown.bottom += dy;
    grown = grown.Intersected(surface);
  }
  const size_t bytes = grown.Pixels() * 4;
  if (budget_ != nullptr && !budget_->Reserve(bytes)) return false;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[bytes]());
  if (pixels == nullptr) {
    if (budget_ != nullptr) {
      budget_->Release(bytes);
      budget_->memoryRefused = true;
    }
    return false;
  }
  const size_t rowBytes = static_cast<size_t>(area_.Width()) * 4;
  for (int y = area_.top; y < area_.bottom; ++y) {
    const size_t offset = (static_cast<size_t>(y - grown.top) * grown.Width() + (area_.left - grown.left)) * 4;
    std::copy_n(target_.row_ptr(y - area_.top), rowBytes, pixels.get() + offset);
  }
  if (budget_ != nullptr) budget_->Release(layerBytes_);
  layerPixels_ = std::move(pixels);
  layerBytes_ = bytes;
  AttachStorage(layerPixels_.get(), grown, grown.Width() * 4);
  return true;
}

bool Canvas::PrepareToRender(Rasterizer& rasterizer) {
  Canvas& canvas = Innermost();
  rasterizer.sort();
  if (rasterizer.min_x() > rasterizer.max_x() || rasterizer.min_y() > rasterizer.max_y()) return false;
  PixelArea reach{rasterizer.min_x(), rasterizer.min_y(), rasterizer.max_x() + 1, rasterizer.max_y() + 1};
  if (canvas.alphaMask_ != nullptr) reach = reach.Intersected(canvas.alphaMask_->Area());
  return !reach.Empty() && canvas.Hold(reach);
}

void Canvas::Attach(uint8_t* buffer, int width, int height, int stride) {
  width_ = width;
  height_ = height;
  renderer_.reset_clipping(true);
  rendererPre_.reset_clipping(true);
  AttachStorage(buffer, PixelArea{0, 0, width, height}, stride);
  transform_.reset();
  state_ = GraphicsState{};
  SetLineWidth(1.0);
  rasterizer_.clip_box(0, 0, width, height);
  rasterizer_.gamma(agg::gamma_none());
  builtGamma_ = builtMasterAlpha_ = 1.0;
  approximationScale_ = 2.0;
}

void Canvas::ClearAll(agg::rgba8 color) {
  Canvas& canvas = Innermost();
  if (!canvas.Hold(PixelArea{0, 0, canvas.width_, canvas.height_})) return;
  const uint8_t bytes[4] = {color.r, color.g, color.b, color.a};
  for (int y = 0; y < canvas.area_.Height(); ++y) {
    uint8_t* row = canvas.target_.row_ptr(y);
    for (int x = 0; x < canvas.area_.Width(); ++x) std::copy(bytes, bytes + 4, row + 4 * x);
  }
}

void Canvas::SetTransform(const agg::trans_affine& matrix) {
  Canvas& canvas = Innermost();
  canvas.transform_ = matrix;
  canvas.approximationScale_ = 2.0 * AffineScale(matrix);
}

void Canvas::SetUnitsBox(const svg::Rect* box) {
  Canvas& canvas = Innermost();
  canvas.unitsBox_.reset();
  if (box == nullptr || box->IsEmpty()) return;
  canvas.unitsBox_ = agg::trans_affine_scaling(box->x2 - box->x1, box->y2 - box->y1) *
                     agg::trans_affine_translation(box->x1, box->y1);
}

void Canvas::SetGamma(double gamma) { Innermost().state_.gamma = gamma; }

void Canvas::SetMasterAlpha(double alpha) {
  Canvas& canvas = Innermost();
  canvas.state_.masterAlpha = IsClipMode(canvas.layerMode_) ? 1.0 : alpha;
}

void Canvas::SetFillColor(agg::rgba8 color) {
  Canvas& canvas = Innermost();
  canvas.state_.fillColor = IsClipMode(canvas.layerMode_) ? agg::rgba8(255, 255, 255, 255) : color;
  canvas.state_.fillPaint = CanvasPaint::kSolid;
  canvas.state_.fillServer.reset();
}

void Canvas::SetLineColor(agg::rgba8 color) {
  Canvas& canvas = Innermost();
  canvas.state_.lineColor = color;
  canvas.state_.linePaint = CanvasPaint::kSolid;
  canvas.state_.lineServer.reset();
}

void Canvas::NoFill() {
  GraphicsState& state = Innermost().state_;
  state.fillColor = agg::rgba8(0, 0, 0, 0);
  state.fillPaint = CanvasPaint::kSolid;
  state.fillServer.reset();
}

void Canvas::NoLine() {
  GraphicsState& state = Innermost().state_;
  state.lineColor = agg::rgba8(0, 0, 0, 0);
  state.linePaint = CanvasPaint::kSolid;
  state.lineServer.reset();
}

void Canvas::SetFillServer(CanvasPaint kind, std::shared_ptr<PaintServer> server) {
  GraphicsState& state = Innermost().state_;
  state.fillPaint = kind;
  state.fillServer = std::move(server);
}

void Canvas::SetLineServer(CanvasPaint kind, std::shared_ptr<PaintServer> server) {
  GraphicsState& state = Innermost().state_;
  state.linePaint = kind;
  state.lineServer = std::move(server);
}

void Canvas::SetLineWidth(double width) {
  Canvas& canvas = Innermost();
  canvas.state_.lineWidth = width * AffineScale(canvas.unitsBox_);
}

void Canvas::RemoveAllDashes() { Innermost().state_.dashes.clear(); }

void Canvas::AddDash(double dash, double gap) { Innermost().state_.dashes.emplace_back(dash, gap); }

void Canvas::ApplyUnitsBoxToPath() {
  Canvas& canvas = Innermost();
  if (!canvas.unitsBox_.is_identity()) canvas.path_.transform_all_paths(canvas.unitsBox_);
}

void Canvas::AddRectangle(double x1, double y1, double x2, double y2) {
  agg::path_storage& path = Path();
  path.remove_all();
  path.move_to(x1, y1);
  path.line_to(x2, y1);
  path.line_to(x2, y2);
  path.line_to(x1, y2);
  path.close_polygon();
  ApplyUnitsBoxToPath();
}

bool Canvas::PathBounds(const agg::trans_affine& matrix, svg::Rect& box) {
  agg::path_storage& path = Path();
  bool any = false;
  for (unsigned i = 0; i < path.total_vertices(); ++i) {
    double x = 0.0, y = 0.0;
    if (!agg::is_vertex(path.vertex(i, &x, &y))) continue;
    matrix.transform(&x, &y);
    box.Unite(svg::Rect{x, y, x, y});
    any = true;
  }
  return any;
}

void Canvas::RebuildGamma() {
  if (state_.gamma == builtGamma_ && state_.masterAlpha == builtMasterAlpha_) return;
  builtGamma_ = state_.gamma;
  builtMasterAlpha_ = state_.masterAlpha;
  if (builtGamma_ == 1.0 && builtMasterAlpha_ == 1.0) {
    rasterizer_.gamma(agg::gamma_none());
  } else {
    rasterizer_.gamma(CoverageGamma{builtGamma_, builtMasterAlpha_});
  }
}

// Curves are flattened to within this many device pixels of the true outline.
constexpr double kFlatness = 0.125;

static svg::Rect DeviceWindow(int width, int height, double reach) {
  return svg::Rect{-reach, -reach, width + reach, height + reach};
}

template <typename Sink>
void Canvas::AddFill(Sink& sink) {
  WindowedCurves curves(transform_, DeviceWindow(width_, height_, 1.0), kFlatness);
  curves.Build(path_);
  agg::conv_transform<WindowedCurves> transformed(curves, transform_);
  FiniteVertices<decltype(transformed)> finite(transformed);
  sink.add_path(finite);
}

template <typename Stroke>
static void ConfigureStroke(Stroke& stroke, const GraphicsState& state, double approximationScale) {
  stroke.width(state.lineWidth);
  stroke.line_cap(state.lineCap);
  stroke.line_join(state.lineJoin);
  stroke.inner_join(state.innerJoin);
  stroke.miter_limit(state.miterLimit);
  stroke.approximation_scale(approximationScale);
}

// The part of user space a stroke can reach the canvas from: the canvas mapped back through the
// transform, widened by the stroke's reach (half the width, more at sharp miters).
static svg::Rect StrokeWindow(const agg::trans_affine& transform, int width, int height, const GraphicsState& state) {
  agg::trans_affine inverse = transform;
  if (std::fabs(inverse.determinant()) < 1e-300) return svg::Rect{-1e300, -1e300, 1e300, 1e300};
  inverse.invert();
  svg::Rect window;
  for (double x : {0.0, static_cast<double>(width)}) {
    for (double y : {0.0, static_cast<double>(height)}) {
      double u = x, v = y;
      inverse.transform(&u, &v);
      window.Unite(svg::Rect{u, v, u, v});
    }
  }
  const double reach = state.lineWidth * 0.5 * std::max(1.0, state.miterLimit) + 1.0 / AffineScale(transform);
  window.x1 -= reach;
  window.y1 -= reach;
  window.x2 += reach;
  window.y2 += reach;
  return window;
}

// Round joins and caps are cut into steps that grow with the square root of the width, millions of
// them per join for a width of a billion pixels; past kMaxArcSteps to a full circle the steps get
// coarser instead (exact to an eighth of a pixel up to a radius of about 26 000 pixels).
static double ArcApproximationScale(double approximationScale, double halfWidth) {
  constexpr double kMaxArcSteps = 1024.0;
  const double limit = 0.125 / (halfWidth * (1.0 / std::cos(std::numbers::pi / kMaxArcSteps) - 1.0));
  return halfWidth > 0.0 && limit > 0.0 ? std::min(approximationScale, limit) : approximationScale;
}

template <typename Sink>
double Canvas::AddStroke(Sink& sink) {
  const double scale = AffineScale(transform_);
  const double reach = state_.lineWidth * 0.5 * std::max(1.0, state_.miterLimit) * scale + 1.0;
  WindowedCurves curves(transform_, DeviceWindow(width_, height_, reach), kFlatness);
  curves.Build(path_);
  double period = 0.0, dashed = 0.0;
  for (const auto& [dash, gap] : state_.dashes) {
    period += dash + gap;
    dashed += dash;
  }
  const double arcScale = ArcApproximationScale(approximationScale_, state_.lineWidth * 0.5);
  const bool isDashed = !state_.dashes.empty() && period > 0.0;
  // Dashes finer than half a pixel can't be told apart, nor can more than a million on one path:
  // the stroke is drawn whole, at the coverage the dashes would give on average.
  bool whole = !isDashed || period * scale < 0.5;
  std::optional<WindowedDashes> dashes;
  if (!whole) {
    const svg::Rect window = StrokeWindow(transform_, width_, height_, state_);
    dashes.emplace(state_.dashes, state_.dashStart, window, 1.0 / scale);
    dashes->Build(curves);
    whole = dashes->TooMany();
  }
  if (whole) {
    agg::conv_stroke<WindowedCurves> stroke(curves);
    ConfigureStroke(stroke, state_, arcScale);
    agg::conv_transform<decltype(stroke)> transformed(stroke, transform_);
    FiniteVertices<decltype(transformed)> finite(transformed);
    sink.add_path(finite);
    return isDashed ? dashed / period : 1.0;
  }
  agg::conv_stroke<WindowedDashes> stroke(*dashes);
  ConfigureStroke(stroke, state_, arcScale);
  agg::conv_transform<decltype(stroke)> transformed(stroke, transform_);
  FiniteVertices<decltype(transformed)> finite(transformed);
  sink.add_path(finite);
  return 1.0;
}

void Canvas::RenderSolid(Rasterizer& rasterizer, agg::rgba8 color) {
  ForEachBand(rasterizer, [&] {
    if (alphaMask_ != nullptr) {
      agg::scanline_u8_am<AlphaMask> masked(*alphaMask_);
      agg::render_scanlines_aa_solid(rasterizer, masked, renderer_, color);
    } else {
      agg::render_scanlines_aa_solid(rasterizer, packedScanline_, renderer_, color);
    }
  });
}

void Canvas::ForEachBand(Rasterizer& rasterizer, const std::function<void()>& render) {
  if (bands_.empty() || &rasterizer != &rasterizer_ || !refill_) {
    if (PrepareToRender(rasterizer)) render();
    return;
  }
  for (const RowBand& band : bands_) {
    rasterizer.reset();
    rasterizer.clip_box(0, band.top, width_, band.bottom);
    CellEstimate estimate(width_, band.top, band.bottom, false);
    CountingRasterizer<Rasterizer> counting(rasterizer, estimate, kCellCapacity);
    refill_(counting);
    // Only a single row of pixels holding more cells than the rasteriser can loses coverage.
    if (counting.Stopped() && budget_ != nullptr) budget_->coverageDropped = true;
    if (PrepareToRender(rasterizer)) render();
  }
  rasterizer.clip_box(0, 0, width_, height_);
}

template <typename AddPath>
void Canvas::PaintCoverage(const AddPath& addPath, CanvasPaint paint, agg::rgba8 color, PaintServer* server,
                           bool isFill) {
  CellEstimate estimate(width_, 0, height_, false);
  CountingRasterizer<Rasterizer> counting(rasterizer_, estimate, kCellCapacity);
  addPath(counting);
  if (budget_ != nullptr) budget_->vertices += estimate.Vertices();
  if (counting.Stopped()) {
    CellEstimate rows(width_, 0, height_, true);
    addPath(rows);
    if (budget_ != nullptr) budget_->vertices += rows.Vertices();
    bands_ = rows.Bands(kCellCapacity);
    refill_ = [&](CountingRasterizer<Rasterizer>& sink) { addPath(sink); };
  }
  RenderPaint(rasterizer_, paint, color, server, isFill);
  bands_.clear();
  refill_ = nullptr;
}

void Canvas::RenderPaint(Rasterizer& rasterizer, CanvasPaint paint, agg::rgba8 color, PaintServer* server,
                         bool isFill) {
  if (paint == CanvasPaint::kSolid) {
    RenderSolid(rasterizer, color);
  } else if (server != nullptr) {
    server->Paint(*this, rasterizer, isFill);
  }
}

void Canvas::DrawPath() {
  Canvas& canvas = Innermost();
  canvas.RebuildGamma();
  GraphicsState& state = canvas.state_;
  Rasterizer& rasterizer = canvas.rasterizer_;
  const bool clipMode = IsClipMode(canvas.layerMode_);

  agg::rgba8 fillColor = state.fillColor;
  CanvasPaint fillPaint = state.fillPaint;
  if (clipMode) {
    fillColor = agg::rgba8(255, 255, 255, 255);
    fillPaint = CanvasPaint::kSolid;
  }
  const bool evenOdd = clipMode ? state.clipEvenOdd : state.fillEvenOdd;

  if (fillPaint != CanvasPaint::kSolid || fillColor.a != 0) {
    rasterizer.reset();
    rasterizer.filling_rule(evenOdd ? agg::fill_even_odd : agg::fill_non_zero);
    auto addFill = [&](auto& sink) { canvas.AddFill(sink); };
    canvas.PaintCoverage(addFill, fillPaint, fillColor, state.fillServer.get(), true);
  }
  if (clipMode) return;
  if ((state.linePaint != CanvasPaint::kSolid || state.lineColor.a != 0) && state.lineWidth > 0.0) {
    rasterizer.reset();
    rasterizer.filling_rule(agg::fill_non_zero);
    // Sub-pixel dashes draw the whole stroke at their average coverage, set before it is painted.
    auto addStroke = [&](auto& sink) {
      const double coverage = canvas.AddStroke(sink);
      if (coverage < 1.0) {
        rasterizer.gamma(CoverageGamma{state.gamma, state.masterAlpha * coverage});
        canvas.builtMasterAlpha_ = -1.0;
      }
    };
    canvas.PaintCoverage(addStroke, state.linePaint, state.lineColor, state.lineServer.get(), false);
  }
}

void Canvas::OpenLayer(LayerMode mode) {
  Canvas& parent = Innermost();
  parent.child_ = std::make_unique<Canvas>();
  Canvas& layer = *parent.child_;
  layer.width_ = parent.width_;
  layer.height_ = parent.height_;
  layer.budget_ = parent.budget_;
  layer.AttachStorage(nullptr, PixelArea{}, 0);
  layer.rasterizer_.clip_box(0, 0, layer.width_, layer.height_);
  layer.rasterizer_.gamma(agg::gamma_none());
  layer.layerMode_ = mode;
  layer.state_ = parent.state_;
  layer.SetTransform(parent.transform_);
  layer.unitsBox_ = parent.unitsBox_;
  layer.alphaMask_ = parent.alphaMask_;
}

void Canvas::PushLayer() {
  Canvas& parent = Innermost();
  const LayerMode mode = parent.layerMode_;
  OpenLayer(mode);
  if (parent.child_ != nullptr) parent.child_->path_ = parent.path_;
}

void Canvas::PopLayer(double opacity) {
  Canvas* parent = ParentOfInnermost();
  if (parent == nullptr) return;
  Canvas& layer = *parent->child_;
  const double effective = IsClipMode(parent->layerMode_) ? 1.0 : opacity;
  const auto cover =
      static_cast<uint8_t>(static_cast<int64_t>(std::isfinite(effective) ? effective * 255 : 0) & 0xFF);
  const PixelArea& area = layer.area_;
  if (cover != 0 && !area.Empty() && parent->Hold(area)) {
    // The layer holds premultiplied colour, so it is composited as such, row by row.
    std::vector<agg::rgba8> colours(static_cast<size_t>(area.Width()));
    for (int y = area.top; y < area.bottom; ++y) {
      const uint8_t* source = layer.target_.row_ptr(y - area.top);
      for (agg::rgba8& colour : colours) {
        colour = agg::rgba8(source[0], source[1], source[2], source[3]);
        source += 4;
      }
      parent->rendererPre_.blend_color_hspan(area.left, y, area.Width(), colours.data(), nullptr, cover);
    }
  }
  parent->child_.reset();
}

AlphaMaskPtr Canvas::PushMaskLayer(LayerMode mode) {
  Canvas& parent = Innermost();
  AlphaMaskPtr previous = parent.alphaMask_;
  OpenLayer(mode);
  if (parent.child_ != nullptr) {
    Canvas& layer = *parent.child_;
    layer.NoLine();
    layer.state_.fillColor = agg::rgba8(255, 255, 255, 255);
    layer.state_.fillPaint = CanvasPaint::kSolid;
    layer.state_.fillServer.reset();
  }
  return previous;
}

void Canvas::CommitMaskLayer() {
  Canvas* parent = ParentOfInnermost();
  if (parent == nullptr) return;
  const Canvas& layer = *parent->child_;
  AlphaMaskPtr mask = AlphaMask::Create(layer.area_, budget_);
  const PixelArea& area = mask->Area();
  const bool clip = IsCoverageLayer(layer.layerMode_);
  for (int y = area.top; y < area.bottom; ++y) {
    const uint8_t* source = layer.target_.row_ptr(y - area.top);
    uint8_t* target = mask->Row(y);
    for (int x = 0; x < area.Width(); ++x, source += 4) {
      target[x] = clip ? source[0]
                       : static_cast<uint8_t>(0.2125 * source[0] + 0.7154 * source[1] + 0.0721 * source[2]);
    }
  }
  parent->alphaMask_ = std::move(mask);
  parent->child_.reset();
}

}  // namespace render
