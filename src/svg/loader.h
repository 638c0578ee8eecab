#pragma once

#include <cstddef>
#include <cstdint>
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

// Files are read in blocks of this size, doubled after every block up to kMaxReadBlock: expat
// re-scans an unfinished token from its start on every block, so small blocks made a long token (an
// embedded picture, a long attribute) cost time quadratic in its length.
inline constexpr size_t kReadBlock = size_t{1} << 20;
inline constexpr size_t kMaxReadBlock = size_t{1} << 30;

// What the XML parser was handed during one load.
struct FeedCounts {
  uint32_t parseCalls = 0;
  size_t largestBlock = 0;
};

// Load of a file, as Load does it, with a first block of readBlock bytes; the result never depends
// on readBlock. Only a regular file is opened: a pipe or device fails with code 1.
bool LoadFile(SVGDocument& document, LoadError& error, std::u16string_view path, DocumentExtent& extent,
              FeedCounts& counts, size_t readBlock = kReadBlock);

}  // namespace svg
