// PdfLibraryDocument on MuPDF. MuPDF reports errors by longjmp, so every call into it sits in a small
// function below whose frame holds no object with a destructor; the class only sees return values.
#include <mupdf/fitz.h>
#include <mupdf/pdf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "formats/pdf/pdf_library.h"
#include "formats/pdf/pdf_page_source.h"

namespace formats::pdf {
namespace {

constexpr size_t kMessageSize = 256;
// The resource store of one call; pages are drawn once, so a small store only limits caching.
constexpr size_t kStoreBytes = size_t{64} << 20;
// Letter size, which MuPDF also lays a page without a usable media box out on.
constexpr double kDefaultPageWidth = 612.0;
constexpr double kDefaultPageHeight = 792.0;

void Quiet(void*, const char*) {}

void KeepMessage(fz_context* ctx, char* message) {
  std::snprintf(message, kMessageSize, "%s", fz_caught_message(ctx));
}

fz_matrix ToMatrix(const agg::trans_affine& m) {
  return fz_make_matrix(static_cast<float>(m.sx), static_cast<float>(m.shy), static_cast<float>(m.shx),
                        static_cast<float>(m.sy), static_cast<float>(m.tx), static_cast<float>(m.ty));
}

fz_context* NewContext(char* message) {
  fz_context* ctx = fz_new_context(nullptr, nullptr, kStoreBytes);
  if (ctx == nullptr) {
    std::snprintf(message, kMessageSize, "the PDF library could not start");
    return nullptr;
  }
  // The library's own diagnostics would go to stderr; failures come back through the calls instead.
  fz_set_warning_callback(ctx, Quiet, nullptr);
  fz_set_error_callback(ctx, Quiet, nullptr);
  fz_disable_icc(ctx);
  return ctx;
}

pdf_document* OpenDocument(fz_context* ctx, const char* path, int* pageCount, char* message) {
  pdf_document* doc = nullptr;
  fz_var(doc);
  fz_try(ctx) {
    doc = pdf_open_document(ctx, path);
    // A document locked by a user password is not given one.
    if (pdf_needs_password(ctx, doc) && !pdf_authenticate_password(ctx, doc, "")) {
      fz_throw(ctx, FZ_ERROR_GENERIC, "the document is protected by a password");
    }
    *pageCount = pdf_count_pages(ctx, doc);
  }
  fz_catch(ctx) {
    KeepMessage(ctx, message);
    pdf_drop_document(ctx, doc);
    return nullptr;
  }
  return doc;
}

void CloseDocument(fz_context* ctx, pdf_document* doc) {
  fz_try(ctx) { pdf_drop_document(ctx, doc); }
  fz_catch(ctx) {}
}

// The normalised media box and rotation code of a page object (inherited entries included).
void PageObjectGeometry(fz_context* ctx, pdf_obj* page, double* width, double* height, int* rotation) {
  const fz_rect box = pdf_to_rect(ctx, pdf_dict_get_inheritable(ctx, page, PDF_NAME(MediaBox)));
  *width = std::fabs(static_cast<double>(box.x1) - box.x0);
  *height = std::fabs(static_cast<double>(box.y1) - box.y0);
  if (!(*width > 0.0 && *height > 0.0 && std::isfinite(*width) && std::isfinite(*height))) {
    *width = kDefaultPageWidth;
    *height = kDefaultPageHeight;
  }
  const int degrees = pdf_to_int(ctx, pdf_dict_get_inheritable(ctx, page, PDF_NAME(Rotate)));
  *rotation = (degrees % 360 + 360) % 360 / 90;
}

int ReadGeometry(fz_context* ctx, pdf_document* doc, int index, double* width, double* height, int* rotation,
                 char* message) {
  fz_try(ctx) { PageObjectGeometry(ctx, pdf_lookup_page_obj(ctx, doc, index), width, height, rotation); }
  fz_catch(ctx) {
    KeepMessage(ctx, message);
    return 0;
  }
  return 1;
}

struct PageWalk {
  double width = 0.0;
  double height = 0.0;
  uint32_t nodes = 0;
};

// A depth-first walk of the page tree visits every page once, where looking pages up by number would
// walk the tree again for each; the node count also stops a tree that loops back on itself.
void WalkPageTree(fz_context* ctx, pdf_obj* node, int depth, PageWalk* walk) {
  if (++walk->nodes > 2 * kMaxPages + 1024 || depth > 256) {
    fz_throw(ctx, FZ_ERROR_GENERIC, "the page tree is too large or too deep");
  }
  pdf_obj* kids = pdf_dict_get(ctx, node, PDF_NAME(Kids));
  if (pdf_is_array(ctx, kids) && !pdf_name_eq(ctx, pdf_dict_get(ctx, node, PDF_NAME(Type)), PDF_NAME(Page))) {
    const int count = pdf_array_len(ctx, kids);
    for (int i = 0; i < count; ++i) WalkPageTree(ctx, pdf_array_get(ctx, kids, i), depth + 1, walk);
    return;
  }
  double width = 0.0, height = 0.0;
  int rotation = 0;
  PageObjectGeometry(ctx, node, &width, &height, &rotation);
  walk->width = std::max(walk->width, width);
  walk->height = std::max(walk->height, height);
}

int MeasurePages(fz_context* ctx, pdf_document* doc, PageWalk* walk, char* message) {
  fz_try(ctx) { WalkPageTree(ctx, pdf_dict_getp(ctx, pdf_trailer(ctx, doc), "Root/Pages"), 0, walk); }
  fz_catch(ctx) {
    KeepMessage(ctx, message);
    return 0;
  }
  return 1;
}

// Drawing through a draw device onto the caller's samples; each job draws within it and rethrows.
using DrawJob = void (*)(fz_context* ctx, fz_device* device, const void* job);

int DrawOnto(fz_context* ctx, unsigned char* samples, int width, int height, DrawJob draw, const void* job,
             char* message) {
  fz_pixmap* pixmap = nullptr;
  fz_device* device = nullptr;
  int ok = 1;
  fz_var(pixmap);
  fz_var(device);
  fz_try(ctx) {
    pixmap = fz_new_pixmap_with_data(ctx, fz_device_rgb(ctx), width, height, nullptr, 1, width * 4, samples);
    device = fz_new_draw_device(ctx, fz_identity, pixmap);
    draw(ctx, device, job);
    fz_close_device(ctx, device);
  }
  fz_always(ctx) {
    fz_drop_device(ctx, device);
    fz_drop_pixmap(ctx, pixmap);
  }
  fz_catch(ctx) {
    KeepMessage(ctx, message);
    ok = 0;
  }
  return ok;
}

struct PageJob {
  pdf_document* doc;
  int index;
  fz_matrix pdfToPixels;
};

void RunPage(fz_context* ctx, fz_device* device, const void* job) {
  const auto* page = static_cast<const PageJob*>(job);
  pdf_page* loaded = pdf_load_page(ctx, page->doc, page->index);
  fz_try(ctx) {
    fz_rect mediabox;
    fz_matrix pageToFitz;
    // MuPDF runs a page in its own upright space; undo that to draw from the file's PDF space.
    pdf_page_transform(ctx, loaded, &mediabox, &pageToFitz);
    pdf_run_page(ctx, loaded, device, fz_concat(fz_invert_matrix(pageToFitz), page->pdfToPixels), nullptr);
  }
  fz_always(ctx) { fz_drop_page(ctx, &loaded->super); }
  fz_catch(ctx) { fz_rethrow(ctx); }
}

struct RectangleJob {
  const double* rect;  // x, y, w, h
  const float* rgb;
  float alpha;
  fz_matrix toPixels;
};

void FillRect(fz_context* ctx, fz_device* device, const void* job) {
  const auto* fill = static_cast<const RectangleJob*>(job);
  fz_path* path = fz_new_path(ctx);
  fz_try(ctx) {
    const double* r = fill->rect;
    fz_rectto(ctx, path, static_cast<float>(r[0]), static_cast<float>(r[1]), static_cast<float>(r[0] + r[2]),
              static_cast<float>(r[1] + r[3]));
    fz_fill_path(ctx, device, path, 0, fill->toPixels, fz_device_rgb(ctx), fill->rgb, fill->alpha,
                 fz_default_color_params);
  }
  fz_always(ctx) { fz_drop_path(ctx, path); }
  fz_catch(ctx) { fz_rethrow(ctx); }
}

bool Drawable(const Raster& target, std::string& message) {
  // MuPDF addresses pixmaps with int sizes and strides.
  if (target.width == 0 || target.height == 0 || target.width > (1u << 20) / 4 || target.height > (1u << 20)) {
    message = "the raster size is out of range";
    return false;
  }
  return true;
}

}  // namespace

struct PdfLibraryDocument::Handles {
  Handles() = default;
  Handles(const Handles&) = delete;
  Handles& operator=(const Handles&) = delete;
  ~Handles() {
    if (doc != nullptr) CloseDocument(ctx, doc);
    if (ctx != nullptr) fz_drop_context(ctx);
  }

  fz_context* ctx = nullptr;
  pdf_document* doc = nullptr;
  int pageCount = 0;
};

PdfLibraryDocument::PdfLibraryDocument(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}
PdfLibraryDocument::~PdfLibraryDocument() = default;

std::unique_ptr<PdfLibraryDocument> PdfLibraryDocument::Open(const std::string& path, std::string& message) {
  char text[kMessageSize] = {};
  auto handles = std::make_unique<Handles>();
  handles->ctx = NewContext(text);
  if (handles->ctx != nullptr) handles->doc = OpenDocument(handles->ctx, path.c_str(), &handles->pageCount, text);
  if (handles->doc == nullptr) {
    message = text;
    return nullptr;
  }
  return std::unique_ptr<PdfLibraryDocument>(new PdfLibraryDocument(std::move(handles)));
}

int32_t PdfLibraryDocument::PageCount() const { return handles_->pageCount; }

bool PdfLibraryDocument::LargestPage(double& width, double& height, std::string& message) {
  char text[kMessageSize] = {};
  PageWalk walk;
  if (!MeasurePages(handles_->ctx, handles_->doc, &walk, text)) {
    message = text;
    return false;
  }
  width = walk.width;
  height = walk.height;
  return true;
}

bool PdfLibraryDocument::Geometry(int32_t page, PageGeometry& geometry, std::string& message) {
  char text[kMessageSize] = {};
  if (page < 1 || page > handles_->pageCount) {
    message = "no page " + std::to_string(page);
    return false;
  }
  if (!ReadGeometry(handles_->ctx, handles_->doc, page - 1, &geometry.width, &geometry.height, &geometry.rotation,
                    text)) {
    message = text;
    return false;
  }
  return true;
}

bool PdfLibraryDocument::DrawPage(int32_t page, const agg::trans_affine& pdfToPixels, Raster& target,
                                  std::string& message) {
  char text[kMessageSize] = {};
  if (!Drawable(target, message)) return false;
  if (page < 1 || page > handles_->pageCount) {
    message = "no page " + std::to_string(page);
    return false;
  }
  const PageJob job{handles_->doc, page - 1, ToMatrix(pdfToPixels)};
  if (!DrawOnto(handles_->ctx, target.pixels.get(), static_cast<int>(target.width), static_cast<int>(target.height),
                RunPage, &job, text)) {
    message = text;
    return false;
  }
  return true;
}

bool PdfLibraryDocument::FillRectangle(const double rect[4], const double rgb[3], double opacity,
                                       const agg::trans_affine& toPixels, Raster& target, std::string& message) {
  char text[kMessageSize] = {};
  if (!Drawable(target, message)) return false;
  const float colour[3] = {static_cast<float>(rgb[0]), static_cast<float>(rgb[1]), static_cast<float>(rgb[2])};
  const RectangleJob job{rect, colour, static_cast<float>(opacity), ToMatrix(toPixels)};
  if (!DrawOnto(handles_->ctx, target.pixels.get(), static_cast<int>(target.width), static_cast<int>(target.height),
                FillRect, &job, text)) {
    message = text;
    return false;
  }
  return true;
}

}  // namespace formats::pdf
