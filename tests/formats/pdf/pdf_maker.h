#pragma once

#include <string>
#include <vector>

namespace pdf_testing {

// One page of a PDF written by MakePdf. The content stream may use /F1 (Helvetica) and /Half (an
// ExtGState with fill and stroke opacity 0.5).
struct PageSpec {
  double width = 100.0;
  double height = 100.0;
  std::string content;
  int rotate = 0;
};

// A complete PDF file (header, objects, cross-reference table, trailer) with the pages in order.
std::string MakePdf(const std::vector<PageSpec>& pages);

// A page filled with one colour (r, g, b in 0..1) over its whole media box.
PageSpec SolidPage(double width, double height, double r, double g, double b);

// Writes a copy of the PDF at from to to, encrypted with AES-128; an empty user password leaves the
// document readable without one. False when the PDF library fails.
bool EncryptPdf(const std::string& from, const std::string& to, const std::string& userPassword);

}  // namespace pdf_testing
