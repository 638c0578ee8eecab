#include "formats/pdf/pdf_maker.h"

#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <cstdio>
#include <cstring>

namespace pdf_testing {
namespace {

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

// MuPDF reports errors by longjmp: nothing with a destructor lives in this frame.
int SaveEncrypted(fz_context* ctx, const char* from, const char* to, const char* userPassword) {
  pdf_document* doc = nullptr;
  int ok = 1;
  fz_var(doc);
  fz_try(ctx) {
    doc = pdf_open_document(ctx, from);
    pdf_write_options options = pdf_default_write_options;
    options.do_encrypt = PDF_ENCRYPT_AES_128;
    options.permissions = -1;
    std::snprintf(options.opwd_utf8, sizeof options.opwd_utf8, "owner-secret");
    std::snprintf(options.upwd_utf8, sizeof options.upwd_utf8, "%s", userPassword);
    pdf_save_document(ctx, doc, to, &options);
  }
  fz_always(ctx) { pdf_drop_document(ctx, doc); }
  fz_catch(ctx) { ok = 0; }
  return ok;
}

}  // namespace

std::string MakePdf(const std::vector<PageSpec>& pages) {
  // Objects: 1 catalog, 2 page tree, 3 font, 4 graphics state, then a page and its content per page.
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>",
      "",
      "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
      "<< /Type /ExtGState /ca 0.5 /CA 0.5 >>",
  };
  std::string kids;
  for (const PageSpec& page : pages) {
    const size_t pageObject = objects.size() + 1;
    kids += std::to_string(pageObject) + " 0 R ";
    objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(page.width) + " " +
                      Number(page.height) + "] /Rotate " + std::to_string(page.rotate) +
                      " /Resources << /Font << /F1 3 0 R >> /ExtGState << /Half 4 0 R >> >> /Contents " +
                      std::to_string(pageObject + 1) + " 0 R >>");
    objects.push_back("<< /Length " + std::to_string(page.content.size()) + " >>\nstream\n" + page.content +
                      "\nendstream");
  }
  objects[1] = "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>";

  std::string file = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
  std::vector<size_t> offsets;
  for (size_t i = 0; i < objects.size(); ++i) {
    offsets.push_back(file.size());
    file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  const size_t xref = file.size();
  file += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
  for (const size_t offset : offsets) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
    file += entry;
  }
  file += "trailer\n<< /Size " + std::to_string(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
          std::to_string(xref) + "\n%%EOF\n";
  return file;
}

PageSpec SolidPage(double width, double height, double r, double g, double b) {
  return PageSpec{width, height,
                  Number(r) + " " + Number(g) + " " + Number(b) + " rg 0 0 " + Number(width) + " " + Number(height) +
                      " re f",
                  0};
}

bool EncryptPdf(const std::string& from, const std::string& to, const std::string& userPassword) {
  fz_context* ctx = fz_new_context(nullptr, nullptr, FZ_STORE_DEFAULT);
  if (ctx == nullptr) return false;
  const int ok = SaveEncrypted(ctx, from.c_str(), to.c_str(), userPassword.c_str());
  fz_drop_context(ctx);
  return ok != 0;
}

}  // namespace pdf_testing
