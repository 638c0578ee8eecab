#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "render/canvas.h"

namespace {

struct Surface {
  explicit Surface(int size) : width(size), pixels(static_cast<size_t>(size) * size * 4, 0) {
    canvas.Attach(pixels.data(), size, size, size * 4);
    canvas.ClearAll(agg::rgba8(0, 0, 0, 0));
  }
  const uint8_t* At(int x, int y) const { return pixels.data() + (static_cast<size_t>(y) * width + x) * 4; }

  int width;
  std::vector<uint8_t> pixels;
  render::Canvas canvas;
};

void FillRect(render::Canvas& canvas, double x1, double y1, double x2, double y2, agg::rgba8 colour) {
  canvas.SetFillColor(colour);
  canvas.NoLine();
  canvas.AddRectangle(x1, y1, x2, y2);
  canvas.DrawPath();
}

TEST(CanvasBasics, ClearAllWritesTheColourUnblended) {
  Surface surface(4);
  surface.canvas.ClearAll(agg::rgba8(10, 20, 30, 0));
  EXPECT_EQ(surface.At(3, 3)[0], 10);
  EXPECT_EQ(surface.At(3, 3)[3], 0);
}

TEST(CanvasBasics, SolidFillIsPremultipliedOverTransparent) {
  Surface surface(8);
  FillRect(surface.canvas, 0, 0, 8, 8, agg::rgba8(255, 0, 0, 128));
  EXPECT_NEAR(surface.At(4, 4)[0], 128, 1);
  EXPECT_EQ(surface.At(4, 4)[3], 128);
}

TEST(CanvasBasics, HalfCoveredPixelGetsHalfAlpha) {
  Surface surface(8);
  FillRect(surface.canvas, 0, 0, 4.5, 8, agg::rgba8(0, 0, 255, 255));
  EXPECT_EQ(surface.At(3, 2)[3], 255);
  EXPECT_NEAR(surface.At(4, 2)[3], 128, 2);
  EXPECT_EQ(surface.At(5, 2)[3], 0);
}

TEST(CanvasLayers, PopLayerBlendsWithTheOpacityAsCover) {
  Surface surface(8);
  surface.canvas.PushLayer();
  FillRect(surface.canvas, 0, 0, 8, 8, agg::rgba8(0, 255, 0, 255));
  EXPECT_EQ(surface.At(1, 1)[3], 0) << "drawing goes into the layer while it is open";
  surface.canvas.PopLayer(0.5);
  EXPECT_EQ(surface.At(1, 1)[3], 127);
  EXPECT_NEAR(surface.At(1, 1)[1], 127, 1);
}

TEST(CanvasLayers, NestedLayersMultiplyTheirOpacities) {
  Surface surface(4);
  surface.canvas.PushLayer();
  surface.canvas.PushLayer();
  FillRect(surface.canvas, 0, 0, 4, 4, agg::rgba8(255, 255, 255, 255));
  surface.canvas.PopLayer(0.5);
  surface.canvas.PopLayer(0.5);
  EXPECT_NEAR(surface.At(2, 2)[3], 64, 1);
}

TEST(CanvasMasks, ClipLayerCoverageBecomesTheMask) {
  Surface surface(8);
  render::AlphaMaskPtr previous = surface.canvas.PushMaskLayer(render::LayerMode::kClip);
  EXPECT_EQ(previous, nullptr);
  // A clip layer draws coverage only: the colour set here does not matter.
  FillRect(surface.canvas, 0, 0, 4, 8, agg::rgba8(10, 10, 10, 30));
  surface.canvas.CommitMaskLayer();
  FillRect(surface.canvas, 0, 0, 8, 8, agg::rgba8(255, 0, 0, 255));
  EXPECT_EQ(surface.At(2, 2)[3], 255);
  EXPECT_EQ(surface.At(6, 2)[3], 0);
}

TEST(CanvasMasks, NestedClipsIntersect) {
  Surface surface(8);
  surface.canvas.PushMaskLayer(render::LayerMode::kClip);
  FillRect(surface.canvas, 0, 0, 6, 8, agg::rgba8(255, 255, 255, 255));
  surface.canvas.CommitMaskLayer();
  const render::AlphaMaskPtr outer = surface.canvas.CurrentAlphaMask();
  surface.canvas.PushMaskLayer(render::LayerMode::kClip);
  FillRect(surface.canvas, 2, 0, 8, 8, agg::rgba8(255, 255, 255, 255));
  surface.canvas.CommitMaskLayer();
  FillRect(surface.canvas, 0, 0, 8, 8, agg::rgba8(0, 0, 255, 255));
  EXPECT_EQ(surface.At(1, 1)[3], 0);
  EXPECT_EQ(surface.At(3, 1)[3], 255);
  EXPECT_EQ(surface.At(7, 1)[3], 0);
  surface.canvas.SetAlphaMask(outer);
  FillRect(surface.canvas, 0, 0, 8, 8, agg::rgba8(0, 0, 255, 255));
  EXPECT_EQ(surface.At(1, 1)[3], 255) << "restoring the outer mask drops the inner clip";
}

TEST(CanvasMasks, MaskLayerUsesLuminance) {
  Surface surface(4);
  surface.canvas.PushMaskLayer(render::LayerMode::kMask);
  FillRect(surface.canvas, 0, 0, 4, 4, agg::rgba8(255, 0, 0, 255));
  surface.canvas.CommitMaskLayer();
  FillRect(surface.canvas, 0, 0, 4, 4, agg::rgba8(255, 255, 255, 255));
  // 0.2125 * 255 = 54.
  EXPECT_NEAR(surface.At(1, 1)[3], 54, 1);
}

// One black stroke along a horizontal line per case, probed for alpha.
TEST(CanvasStroke, WidthCapsAndDashesShowInCoverage) {
  struct AlphaProbe {
    int x, y, alpha, tolerance;
  };
  struct Case {
    const char* name;
    int size;
    double width;
    agg::line_cap_e cap;
    std::vector<double> dashes;
    double fromX, toX, y;
    std::vector<AlphaProbe> probes;
  };
  const Case cases[] = {
      {"square caps reach half the width beyond the end", 20, 4, agg::square_cap, {}, 5, 15, 10,
       {{10, 9, 255, 0}, {10, 13, 0, 0}, {4, 10, 255, 0}}},
      {"dashes leave gaps", 40, 2, agg::butt_cap, {5, 5}, 0, 40, 10, {{2, 10, 255, 0}, {7, 10, 0, 0}, {12, 10, 255, 0}}},
      {"sub-pixel dashes draw the stroke at its average coverage", 20, 6, agg::butt_cap, {0.01, 0.03}, 0, 1e9, 10,
       {{10, 10, 64, 2}}},
      {"a billion dashes: only the visible ones are made", 32, 2, agg::butt_cap, {1, 1}, -1e9, 1e9, 16,
       {{0, 16, 255, 0}, {1, 16, 0, 0}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Surface surface(c.size);
    render::Canvas& canvas = surface.canvas;
    canvas.NoFill();
    canvas.SetLineColor(agg::rgba8(0, 0, 0, 255));
    canvas.SetLineWidth(c.width);
    canvas.SetLineCap(c.cap);
    for (size_t i = 0; i + 1 < c.dashes.size(); i += 2) canvas.AddDash(c.dashes[i], c.dashes[i + 1]);
    canvas.Path().move_to(c.fromX, c.y);
    canvas.Path().line_to(c.toX, c.y);
    canvas.DrawPath();
    for (const AlphaProbe& probe : c.probes) {
      EXPECT_NEAR(surface.At(probe.x, probe.y)[3], probe.alpha, probe.tolerance) << probe.x << "," << probe.y;
    }
  }
}

TEST(CanvasRobustness, NonFiniteAndHugeCoordinatesDrawWhatIsFinite) {
  Surface surface(16);
  render::Canvas& canvas = surface.canvas;
  canvas.SetFillColor(agg::rgba8(0, 0, 0, 255));
  canvas.NoLine();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  canvas.Path().move_to(0, 0);
  canvas.Path().line_to(nan, 5);
  canvas.Path().line_to(1e300, -1e300);
  canvas.Path().close_polygon();
  canvas.DrawPath();
  canvas.ResetPath();
  canvas.SetTransform(agg::trans_affine_scaling(0.0));
  canvas.AddRectangle(0, 0, 10, 10);
  canvas.DrawPath();
  canvas.SetTransform(agg::trans_affine_translation(-4e9, -4e9));
  canvas.AddRectangle(0, 0, 8e9 + 8, 8e9 + 8);
  canvas.DrawPath();
  EXPECT_EQ(surface.At(8, 8)[3], 255) << "a rectangle far outside the tile still covers it";
}

TEST(CanvasUnitsBox, MapsTheUnitSquareOntoTheBox) {
  Surface surface(20);
  const svg::Rect box{10, 0, 20, 10};
  surface.canvas.SetUnitsBox(&box);
  FillRect(surface.canvas, 0, 0, 0.5, 1, agg::rgba8(0, 0, 0, 255));
  EXPECT_EQ(surface.At(12, 5)[3], 255);
  EXPECT_EQ(surface.At(17, 5)[3], 0);
  EXPECT_EQ(surface.At(5, 5)[3], 0);
}

}  // namespace

namespace {

// Strokes a dashed zigzag onto a canvas whose transform shifts the drawing by (-offsetX, -offsetY).
std::vector<uint8_t> DashedZigzag(int size, double offsetX, double offsetY) {
  Surface surface(size);
  render::Canvas& canvas = surface.canvas;
  canvas.SetTransform(agg::trans_affine_translation(-offsetX, -offsetY));
  canvas.NoFill();
  canvas.SetLineColor(agg::rgba8(0, 0, 0, 255));
  canvas.SetLineWidth(3);
  canvas.SetLineCap(agg::round_cap);
  canvas.AddDash(7, 4);
  canvas.AddDash(1, 4);
  canvas.SetDashStart(3);
  canvas.Path().move_to(-5000, 10);
  for (int i = 0; i < 400; ++i) canvas.Path().line_to(-5000 + 25 * (i + 1), i % 2 == 0 ? 60 : 10);
  canvas.DrawPath();
  return surface.pixels;
}

TEST(CanvasDashes, WindowedDashesMatchTheWholeStroke) {
  const std::vector<uint8_t> whole = DashedZigzag(128, 0, 0);
  const std::vector<uint8_t> window = DashedZigzag(64, 32, 16);
  int differing = 0;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const uint8_t* a = &whole[((y + 16) * 128 + x + 32) * 4];
      const uint8_t* b = &window[(y * 64 + x) * 4];
      if (std::abs(a[3] - b[3]) > 1) ++differing;
    }
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
