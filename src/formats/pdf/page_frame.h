#pragma once

#include <agg_trans_affine.h>

#include <cstdint>

#include "document/texture_settings.h"

namespace formats::pdf {

enum TransitionMode : uint32_t { kBlend = 0, kScroll = 1, kMoveIn = 2, kMoveOut = 3 };

// A page's shift in PDF page coordinates (y upwards).
struct PageOffset {
  double x = 0.0;
  double y = 0.0;
};

// What one frame shows: one page, or two pages part-way through a transition.
struct FramePlan {
  int32_t bottomPage = 1;  // 1-based
  int32_t topPage = 0;     // 0 when the frame shows one page
  float t = 0.0f;          // progress of the transition, 0 when there is none
  PageOffset bottom;
  PageOffset top;
  double topOpacity = 1.0;
  uint32_t bottomAlpha = 255;  // global alpha of each layer when it is blended in
  uint32_t topAlpha = 255;
  bool background = false;  // a page-colour rectangle under everything
  bool backing = false;     // a page-colour rectangle under the top page, drawn on the bottom page

  bool HasTopPage() const { return topPage > 0; }
};

// The pages, offsets and alphas of a frame for the settings at their current page position; W and H
// are the document's largest page width and height.
FramePlan PlanFrame(const document::PdfPageSettings& settings);

// The combined mode-and-direction case: 0 for Blend, 1-4 Scroll, 5-12 Move In, 13-20 Move Out.
uint32_t TransitionCase(uint32_t mode, uint32_t direction);

// Where a page's content goes in the frame: its rotation code (0-3, quarter turns clockwise) turned
// back, moved by the offset. Maps PDF page space to frame space, both y upwards.
agg::trans_affine PagePlacement(int rotation, PageOffset offset, double width, double height);

// The rectangle (x, y, w, h) in frame space that backs the top page, by the bottom page's rotation code.
struct BackingRect {
  double x, y, w, h;
};
BackingRect TopPageBacking(int bottomRotation, PageOffset top, double width, double height);

// Frame space (y upwards) to buffer pixels (rows from the top) for a view transform that maps the
// drawing's user units to pixels. Rows are filled bottom-up in the view's vertical direction, so a
// whole page comes out upright while tile rows count from the bottom, as the pyramid expects of PDF.
agg::trans_affine FrameToPixels(const agg::trans_affine& view, uint32_t pixelHeight);

}  // namespace formats::pdf
