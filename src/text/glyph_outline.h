#pragma once

#include <agg_path_storage.h>

#include "text/font_services.h"

namespace text {

class TextPath;

// Appends one glyph outline, read through outline (already scaled to user units), to path: rotated
// by degrees about the glyph origin and moved to (x, y). Off a text path the curves stay curves when
// approximationScale is 0, and are flattened at that scale otherwise (for glyphs too large for the
// canvas's own flattening). On a text path, (x, y) is along and across the path, and the outline is
// flattened, cut into segments of about one device pixel and bent along it. approximationScale is
// device pixels per user unit times two, as for the canvas's own curves.
void AppendGlyphOutline(agg::path_storage& path, FontServices::OutlineAdaptor& outline, double x, double y,
                        double degrees, const TextPath* textPath, double approximationScale);

}  // namespace text
