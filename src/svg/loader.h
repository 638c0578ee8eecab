#pragma once

#include <string_view>

#include "svg/document.h"
#include "svg/load_result.h"

namespace svg {

// Reads SVG text (a file, or text handed over directly) into document. Returns false with error code
// 1 (file can't be opened), 2 (no XML parser) or 3 (XML not well formed, or beyond the reader's
// limits). svg::exception from a value parser passes out, with error.line at the offending element.
// On success extent holds the root's viewport, or the drawing's bounding box when the root has no
// usable size.
bool Load(SVGDocument& document, LoadError& error, bool fromText, std::u16string_view pathOrText,
          DocumentExtent& extent);

}  // namespace svg
