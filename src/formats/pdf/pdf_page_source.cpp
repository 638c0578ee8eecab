#include "formats/pdf/pdf_page_source.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "document/load_messages.h"
#include "formats/pdf/page_composite.h"
#include "formats/pdf/page_frame.h"
#include "formats/pdf/pdf_library.h"
#include "platform/regular_file.h"
#include "platform/wide_text.h"

namespace formats::pdf {
namespace {

// The page colour's red, green and blue; its alpha is not used.
void PageRgb(const document::PdfPageSettings& settings, double rgb[3]) {
  rgb[0] = std::clamp(settings.pageColour.r, 0.0, 1.0);
  rgb[1] = std::clamp(settings.pageColour.g, 0.0, 1.0);
  rgb[2] = std::clamp(settings.pageColour.b, 0.0, 1.0);
}

// Draws one page, and the top page's backing when asked, into a cleared layer.
bool DrawLayer(PdfLibraryDocument& doc, const FramePlan& plan, bool top, const document::PdfPageSettings& settings,
               const agg::trans_affine& toPixels, Raster& layer) {
  std::string message;
  PageGeometry geometry;
  const int32_t page = top ? plan.topPage : plan.bottomPage;
  if (!doc.Geometry(page, geometry, message)) return false;
  const double width = settings.pageWidth;
  const double height = settings.pageHeight;
  agg::trans_affine placement = PagePlacement(geometry.rotation, top ? plan.top : plan.bottom, width, height);
  placement.multiply(toPixels);
  if (!doc.DrawPage(page, placement, layer, message)) return false;
  if (top || !plan.backing) return true;
  const BackingRect backing = TopPageBacking(geometry.rotation, plan.top, width, height);
  const double rect[4] = {backing.x, backing.y, backing.w, backing.h};
  double rgb[3];
  PageRgb(settings, rgb);
  return doc.FillRectangle(rect, rgb, plan.topOpacity, toPixels, layer, message);
}

}  // namespace

bool HasPdfHeader(const std::string& path, bool& cantOpen) {
  const platform::FileHandle file = platform::OpenRegularFile(path);
  cantOpen = file == nullptr;
  if (cantOpen) return false;
  char line[6] = {};
  if (std::fgets(line, sizeof line, file.get()) == nullptr) return false;
  return std::strcmp(line, "%PDF-") == 0;
}

uint32_t PdfPageSource::Open(std::u16string_view path, document::PdfPageSettings& settings,
                             std::u16string& detail) {
  const std::string utf8 = platform::WideToUtf8(path);
  bool cantOpen = false;
  if (!HasPdfHeader(utf8, cantOpen)) return cantOpen ? document::kErrorCantOpen : document::kErrorNotPdf;

  std::string message;
  const auto fail = [&detail, &message] {
    detail = platform::Utf8ToWide(message);
    return document::kErrorPdfLibrary;
  };
  const auto doc = PdfLibraryDocument::Open(utf8, message);
  if (doc == nullptr) return fail();
  const int32_t count = doc->PageCount();
  if (count < 0 || static_cast<uint32_t>(count) > kMaxPages) {
    message = "the document has " + std::to_string(count) + " pages, more than " + std::to_string(kMaxPages);
    return fail();
  }
  double width = 0.0;
  double height = 0.0;
  if (!doc->LargestPage(width, height, message)) return fail();
  settings.pageCount = static_cast<uint32_t>(count);
  settings.pageWidth = width;
  settings.pageHeight = height;
  settings_ = settings;
  path_ = utf8;
  return 0;
}

std::unique_ptr<uint8_t[]> PdfPageSource::RenderFrame(const agg::trans_affine& view, uint32_t width,
                                                      uint32_t height) const {
  std::string message;
  const auto doc = PdfLibraryDocument::Open(path_, message);
  if (doc == nullptr || width == 0 || height == 0) return nullptr;
  const FramePlan plan = PlanFrame(settings_);
  const agg::trans_affine toPixels = FrameToPixels(view, height);

  Raster composite(width, height);
  if (plan.background) {
    const double rect[4] = {plan.bottom.x, plan.bottom.y, settings_.pageWidth, settings_.pageHeight};
    double rgb[3];
    PageRgb(settings_, rgb);
    if (!doc->FillRectangle(rect, rgb, 1.0, toPixels, composite, message)) return nullptr;
  }
  {
    Raster layer(width, height);
    if (!DrawLayer(*doc, plan, false, settings_, toPixels, layer)) return nullptr;
    BlendLayer(composite, layer, plan.bottomAlpha);
  }
  if (plan.HasTopPage()) {
    Raster layer(width, height);
    if (!DrawLayer(*doc, plan, true, settings_, toPixels, layer)) return nullptr;
    BlendLayer(composite, layer, plan.topAlpha);
  }
  return std::move(composite.pixels);
}

}  // namespace formats::pdf
