#pragma once

#include <agg_renderer_scanline.h>
#include <agg_scanline_u.h>
#include <agg_span_allocator.h>

// Template part of Canvas: paint servers render their spans through the current alpha mask.
namespace render {

template <typename SpanGenerator>
void Canvas::RenderSpans(Rasterizer& rasterizer, SpanGenerator& generator) {
  Canvas& canvas = Innermost();
  agg::span_allocator<agg::rgba8> allocator;
  canvas.ForEachBand(rasterizer, [&] {
    if (canvas.alphaMask_ != nullptr) {
      agg::scanline_u8_am<AlphaMask> masked(*canvas.alphaMask_);
      agg::render_scanlines_aa(rasterizer, masked, canvas.renderer_, allocator, generator);
    } else {
      agg::render_scanlines_aa(rasterizer, canvas.scanline_, canvas.renderer_, allocator, generator);
    }
  });
}

template <typename SpanGenerator>
void Canvas::RenderSpansPre(Rasterizer& rasterizer, SpanGenerator& generator) {
  Canvas& canvas = Innermost();
  agg::span_allocator<agg::rgba8> allocator;
  canvas.ForEachBand(rasterizer, [&] {
    if (canvas.alphaMask_ != nullptr) {
      agg::scanline_u8_am<AlphaMask> masked(*canvas.alphaMask_);
      agg::render_scanlines_aa(rasterizer, masked, canvas.rendererPre_, allocator, generator);
    } else {
      agg::render_scanlines_aa(rasterizer, canvas.scanline_, canvas.rendererPre_, allocator, generator);
    }
  });
}

}  // namespace render
