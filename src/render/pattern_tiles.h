#pragma once

#include "render/paint_server.h"
#include "render/pattern_paint.h"
#include "render/render_context.h"

namespace svg {
class SVGPatternElement;
}

namespace render {

// What a pattern tile renders: the pattern element (for its style), the element whose children are
// the content (itself or a pattern it references), the merged declarations and the context of the
// painted element.
struct PatternContent {
  svg::SVGPatternElement* pattern;
  const svg::SVGElement* contentFrom;
  svg::PropertyStore store;
  RenderContext context;
};

// Paints a pattern over the coverage of a fill or stroke. Few tiles are rendered as vectors, one
// by one, into a layer masked by the shape; many small tiles are rendered once into a raster tile
// that is repeated, which keeps dense patterns bounded in time.
class PatternTiles : public PaintServer {
 public:
  PatternTiles(PatternContent content, const PatternRecord& record, const svg::Rect& box, double opacity);
  void Paint(Canvas& canvas, Rasterizer& rasterizer, bool isFill) override;

 private:
  struct TileGeometry {
    double x, y, width, height;     // the tile in pattern space
    agg::trans_affine content;      // content units -> tile space (origin at the tile's corner)
    agg::trans_affine patternToUser;
  };

  TileGeometry Geometry() const;
  // The context for rendering the content with content units -> user space given by matrix.
  RenderContext ContentContext(const agg::trans_affine& contentToUser, Canvas* canvas) const;
  void RenderContent(RenderContext context) const;
  void PaintVectorTiles(Canvas& canvas, const TileGeometry& tile, int i0, int i1, int j0, int j1, bool isFill);
  void PaintRasterTile(Canvas& canvas, Rasterizer& rasterizer, const TileGeometry& tile);
  bool ContentFitsTile(const TileGeometry& tile) const;

  PatternContent content_;
  PatternRecord record_;
  svg::Rect box_;
  double opacity_;
  agg::trans_affine userTransform_;
};

}  // namespace render
