#include "text/glyph_outline.h"

#include <agg_conv_curve.h>
#include <agg_conv_segmentator.h>
#include <agg_conv_transform.h>
#include <agg_trans_affine.h>

#include <numbers>

#include "text/text_path.h"

namespace text {

void AppendGlyphOutline(agg::path_storage& path, FontServices::OutlineAdaptor& outline, double x, double y,
                        double degrees, const TextPath* textPath, double approximationScale) {
  agg::trans_affine placement;
  if (degrees != 0.0) placement = agg::trans_affine_rotation(degrees * std::numbers::pi / 180.0);
  placement *= agg::trans_affine_translation(x, y);
  using Placed = agg::conv_transform<FontServices::OutlineAdaptor>;
  Placed placed(outline, placement);
  if (textPath == nullptr && !(approximationScale > 0.0)) {
    // Affine maps keep curves curves; the canvas flattens them at its own scale.
    path.concat_path(placed);
    return;
  }
  agg::conv_curve<Placed> curves(placed);
  curves.approximation_scale(approximationScale > 0.0 ? approximationScale : 1.0);
  if (textPath == nullptr) {
    path.concat_path(curves);
    return;
  }
  agg::conv_segmentator<agg::conv_curve<Placed>> segments(curves);
  segments.approximation_scale(approximationScale * 0.5);
  agg::conv_transform<decltype(segments), const TextPath> bent(segments, *textPath);
  path.concat_path(bent);
}

}  // namespace text
