#pragma once

#include <string>
#include <vector>

#include <agg_trans_affine.h>

#include "render/alpha_mask.h"
#include "render/render_budget.h"
#include "svg/element.h"
#include "svg/property_store.h"

namespace svg {
struct StyleSheet;
class SvgScriptCallback;
}  // namespace svg

namespace render {

class Canvas;
class ClipCache;

// The render state that travels down the tree, one copy per element.
struct RenderContext {
  svg::PropertyStore style;  // the cascaded computed style of the element being rendered
  const svg::StyleSheet* styleSheet = nullptr;
  svg::SvgScriptCallback* scriptCallback = nullptr;
  Canvas* canvas = nullptr;
  AlphaMaskPtr savedMask;          // the mask to restore once this element is done
  agg::trans_affine baseTransform;  // outermost user space -> pixels; fixed for the whole walk
  svg::Rect unitsBox;               // the box objectBoundingBox pattern content refers to
  bool patternForFill = false;
  std::vector<std::u16string> referenceChain;  // ids being expanded, against reference loops
  std::u16string basePath;
  std::u16string baseReference;
  double viewportWidth = 1024.0;
  double viewportHeight = 1024.0;
  double viewportDiagonal = 1024.0;
  double fontSize = 12.0;
  uint32_t depth = 0;  // element nesting plus use and pattern expansions, against runaway recursion
  RenderBudget* budget = nullptr;
  ClipCache* clipCache = nullptr;  // one per render

  svg::BoundsQuery Bounds() const { return svg::BoundsQuery{scriptCallback, styleSheet, canvas}; }
};

}  // namespace render
