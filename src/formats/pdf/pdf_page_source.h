#pragma once

#include <agg_trans_affine.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "document/texture_settings.h"

namespace formats::pdf {

// The most pages a document may have; a bigger page tree is refused rather than walked.
inline constexpr uint32_t kMaxPages = 100000;

// A PDF or Illustrator file held by the vector document: the path and the page settings it was opened
// with. The PDF library is asked for nothing between calls: each call opens the file afresh.
class PdfPageSource {
 public:
  // Checks that the file starts with "%PDF-", counts its pages and finds the largest media-box width
  // and height. Writes pageCount, pageWidth and pageHeight into settings, then keeps a copy of them.
  // Returns 0, or the load error code (1 can't open, 31 not a PDF, 32 the library failed) with a detail.
  uint32_t Open(std::u16string_view path, document::PdfPageSettings& settings, std::u16string& detail);

  const document::PdfPageSettings& Settings() const { return settings_; }

  // The frame for the kept settings under view (the drawing's user units, y down, to pixels): a new
  // buffer of width x height premultiplied RGBA, or null when the library fails.
  std::unique_ptr<uint8_t[]> RenderFrame(const agg::trans_affine& view, uint32_t width, uint32_t height) const;

 private:
  document::PdfPageSettings settings_;
  std::string path_;  // UTF-8, as the library opens it
};

// True when the file's first line starts with "%PDF-" (read as text, at most five characters).
// Sets cantOpen when the file can't be opened at all.
bool HasPdfHeader(const std::string& path, bool& cantOpen);

}  // namespace formats::pdf
