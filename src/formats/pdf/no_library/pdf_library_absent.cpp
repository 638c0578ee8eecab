// PdfLibraryDocument for builds without MuPDF (GRAPHEL_WITH_PDF=OFF): nothing ever opens.
#include "formats/pdf/pdf_library.h"

namespace formats::pdf {

struct PdfLibraryDocument::Handles {};

PdfLibraryDocument::PdfLibraryDocument(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
PdfLibraryDocument::~PdfLibraryDocument() = default;

std::unique_ptr<PdfLibraryDocument> PdfLibraryDocument::Open(const std::string&, std::string& message) {
  message = "this build has no PDF library (configured with GRAPHEL_WITH_PDF=OFF)";
  return nullptr;
}

int32_t PdfLibraryDocument::PageCount() const { return 0; }

bool PdfLibraryDocument::LargestPage(double&, double&, std::string& message) {
  message = "no PDF library";
  return false;
}

bool PdfLibraryDocument::Geometry(int32_t, PageGeometry&, std::string& message) {
  message = "no PDF library";
  return false;
}

bool PdfLibraryDocument::DrawPage(int32_t, const agg::trans_affine&, Raster&, std::string& message) {
  message = "no PDF library";
  return false;
}

bool PdfLibraryDocument::FillRectangle(const double*, const double*, double, const agg::trans_affine&, Raster&,
                                       std::string& message) {
  message = "no PDF library";
  return false;
}

}  // namespace formats::pdf
