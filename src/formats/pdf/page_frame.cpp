#include "formats/pdf/page_frame.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

namespace formats::pdf {
namespace {

// One coordinate of an offset as (constant + perT * t) times the page width (x) or height (y).
struct Term {
  double constant = 0.0;
  double perT = 0.0;
};

struct CaseOffsets {
  Term bottomX, bottomY, topX, topY;
};

constexpr Term kNone{};
constexpr Term kT{0, 1};           // t
constexpr Term kMinusT{0, -1};     // -t
constexpr Term kTMinusOne{-1, 1};  // t - 1
constexpr Term kOneMinusT{1, -1};  // 1 - t

// Indexed by TransitionCase: Blend, Scroll by quarter, Move In by direction, Move Out by direction.
constexpr CaseOffsets kCases[] = {
    {kNone, kNone, kNone, kNone},
    {kNone, kT, kNone, kTMinusOne},
    {kT, kNone, kTMinusOne, kNone},
    {kNone, kMinusT, kNone, kOneMinusT},
    {kMinusT, kNone, kOneMinusT, kNone},
    {kNone, kNone, kNone, kOneMinusT},
    {kNone, kNone, kOneMinusT, kOneMinusT},
    {kNone, kNone, kOneMinusT, kNone},
    {kNone, kNone, kOneMinusT, kTMinusOne},
    {kNone, kNone, kNone, kTMinusOne},
    {kNone, kNone, kTMinusOne, kTMinusOne},
    {kNone, kNone, kTMinusOne, kNone},
    {kNone, kNone, kTMinusOne, kOneMinusT},
    {kNone, kNone, kNone, kT},
    {kNone, kNone, kT, kT},
    {kNone, kNone, kT, kNone},
    {kNone, kNone, kT, kMinusT},
    {kNone, kNone, kNone, kMinusT},
    {kNone, kNone, kMinusT, kMinusT},
    {kNone, kNone, kMinusT, kNone},
    {kNone, kNone, kMinusT, kT},
};

double Apply(Term term, double t, double size) { return (term.constant + term.perT * t) * size; }

// The page shown first: the position truncated towards zero, at least 1 and at most the page count.
int32_t FirstPage(float page, uint32_t pageCount) {
  const int32_t last = pageCount == 0 ? 1 : static_cast<int32_t>(std::min<uint32_t>(pageCount, INT32_MAX));
  if (!(page >= 1.0f)) return 1;  // also NaN
  if (page >= static_cast<float>(last)) return last;
  return static_cast<int32_t>(page);
}

}  // namespace

uint32_t TransitionCase(uint32_t mode, uint32_t direction) {
  switch (mode) {
    case kScroll: return direction / 2 + 1;
    case kMoveIn: return direction + 5;
    case kMoveOut: return direction + 13;
    default: return 0;
  }
}

FramePlan PlanFrame(const document::PdfPageSettings& settings) {
  FramePlan plan;
  const int32_t first = FirstPage(settings.page, settings.pageCount);
  if (settings.continuous != 0) plan.t = settings.page - static_cast<float>(first);
  const bool second = settings.continuous != 0 && plan.t > 0.005f && static_cast<uint32_t>(first) < settings.pageCount;
  if (!second) plan.t = 0.0f;
  plan.bottomPage = first;
  if (second) {
    plan.topPage = first + 1;
    // The current page leaves over the next one.
    if (settings.transitionMode == kMoveOut) std::swap(plan.bottomPage, plan.topPage);
    const uint32_t k = TransitionCase(settings.transitionMode, settings.transitionDirection);
    if (k < std::size(kCases)) {
      const CaseOffsets& terms = kCases[k];
      const double t = plan.t;
      const double w = settings.pageWidth;
      const double h = settings.pageHeight;
      plan.bottom = {Apply(terms.bottomX, t, w), Apply(terms.bottomY, t, h)};
      plan.top = {Apply(terms.topX, t, w), Apply(terms.topY, t, h)};
    }
    if (settings.transitionMode == kBlend) plan.topOpacity = plan.t;
    plan.topAlpha = static_cast<uint32_t>(plan.topOpacity * 255.0);
    if (settings.transparent != 0 && settings.transitionMode == kBlend) {
      plan.bottomAlpha = static_cast<uint32_t>((1.0 - static_cast<double>(plan.t)) * 255.0);
    }
  }
  plan.background = settings.transparent == 0;
  plan.backing = second && settings.transparent == 0;
  return plan;
}

agg::trans_affine PagePlacement(int rotation, PageOffset offset, double width, double height) {
  const double x = offset.x;
  const double y = offset.y;
  // Each matrix is (a, b, c, d, e, f) with x' = a x + c y + e and y' = b x + d y + f.
  switch (rotation) {
    case 1: return agg::trans_affine(0, -1, 1, 0, y, width - x);
    case 2: return agg::trans_affine(-1, 0, 0, -1, width - x, height - y);
    case 3: return agg::trans_affine(0, 1, -1, 0, height - y, x);
    default: return agg::trans_affine(1, 0, 0, 1, x, y);
  }
}

BackingRect TopPageBacking(int bottomRotation, PageOffset top, double width, double height) {
  switch (bottomRotation) {
    case 1: return {top.y, -top.x, height, width};
    case 2: return {-top.x, -top.y, height, width};
    case 3: return {-top.y, top.x, height, width};
    default: return {top.x, top.y, width, height};
  }
}

agg::trans_affine FrameToPixels(const agg::trans_affine& view, uint32_t pixelHeight) {
  // The device matrix (a, -b, -c, d, e, f) of the view, then its rows counted from the other end.
  return agg::trans_affine(view.sx, view.shy, -view.shx, -view.sy, view.tx, pixelHeight - view.ty);
}

}  // namespace formats::pdf
