#include <algorithm>

#include "text/glyph_record.h"

namespace text {

void ApplyTextAnchor(GlyphRecordList& list) {
  std::vector<GlyphRecord>& records = list.records;
  if (list.chunkStart >= records.size()) {
    list.chunkStart = records.size();
    return;
  }
  const uint32_t anchor = records[list.chunkStart].anchor;
  if (anchor == 1 || anchor == 2) {
    double left = 0.0, right = 0.0;
    bool any = false;
    for (size_t i = list.chunkStart; i < records.size(); ++i) {
      // A glyph without ink still occupies its origin, so a chunk of spaces keeps a width of 0.
      const GlyphRecord& r = records[i];
      const double x1 = r.HasBox() ? r.x1 : r.x;
      const double x2 = r.HasBox() ? r.x2 : r.x;
      left = any ? std::min(left, x1) : x1;
      right = any ? std::max(right, x2) : x2;
      any = true;
    }
    const double shift = (right - left) * (anchor == 1 ? 0.5 : 1.0);
    for (size_t i = list.chunkStart; i < records.size(); ++i) {
      records[i].x1 -= shift;
      records[i].x2 -= shift;
      records[i].x -= shift;
    }
  }
  list.chunkStart = records.size();
}

}  // namespace text
