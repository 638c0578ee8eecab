#pragma once

#include <agg_trans_affine.h>

#include <cstdint>
#include <memory>
#include <string>

#include "formats/pdf/page_composite.h"

namespace formats::pdf {

// The size and rotation of one page as the file states them.
struct PageGeometry {
  double width = 0.0;   // normalised media box, PDF points
  double height = 0.0;
  int rotation = 0;     // quarter turns clockwise, 0-3
};

// One PDF document opened by the PDF library for the length of one call; everything the library made
// is released with it and the file is only read. Failures return false with the library's message.
class PdfLibraryDocument {
 public:
  // Null, with a message, when the library can't open the file or this build has no PDF library.
  static std::unique_ptr<PdfLibraryDocument> Open(const std::string& path, std::string& message);
  ~PdfLibraryDocument();
  PdfLibraryDocument(const PdfLibraryDocument&) = delete;
  PdfLibraryDocument& operator=(const PdfLibraryDocument&) = delete;

  int32_t PageCount() const;
  // The largest media-box width and height over all pages, in one walk of the page tree.
  bool LargestPage(double& width, double& height, std::string& message);
  // page is 1-based.
  bool Geometry(int32_t page, PageGeometry& geometry, std::string& message);
  // Draws the page's content (and annotations) with pdfToPixels mapping its PDF space onto target.
  bool DrawPage(int32_t page, const agg::trans_affine& pdfToPixels, Raster& target, std::string& message);
  // Fills the rectangle (x, y, w, h) of a space that toPixels maps onto target.
  bool FillRectangle(const double rect[4], const double rgb[3], double opacity, const agg::trans_affine& toPixels,
                     Raster& target, std::string& message);

 private:
  struct Handles;
  explicit PdfLibraryDocument(std::unique_ptr<Handles> handles);

  std::unique_ptr<Handles> handles_;
};

}  // namespace formats::pdf
