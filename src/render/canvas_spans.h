#pragma once

#include <agg_renderer_scanline.h>
#include <agg_scanline_u.h>
#include <agg_span_allocator.h>

// Template part of Canvas: paint servers render their spans through the current alpha mask.
namespace render {

template <typename Target, typename SpanGenerator>
void Canvas::RenderSpansTo(Rasterizer& rasterizer, Target& renderer, SpanGenerator& generator) {
  agg::span_allocator<agg::rgba8> allocator;
  ForEachBand(rasterizer, [&] {
    if (alphaMask_ != nullptr) {
      agg::scanline_u8_am<AlphaMask> masked(*alphaMask_);
      agg::render_scanlines_aa(rasterizer, masked, renderer, allocator, generator);
    } else {
      agg::render_scanlines_aa(rasterizer, scanline_, renderer, allocator, generator);
    }
  });
}

template <typename SpanGenerator>
void Canvas::RenderSpans(Rasterizer& rasterizer, SpanGenerator& generator) {
  Canvas& canvas = Innermost();
  canvas.RenderSpansTo(rasterizer, canvas.renderer_, generator);
}

template <typename SpanGenerator>
void Canvas::RenderSpansPre(Rasterizer& rasterizer, SpanGenerator& generator) {
  Canvas& canvas = Innermost();
  canvas.RenderSpansTo(rasterizer, canvas.rendererPre_, generator);
}

}  // namespace render
