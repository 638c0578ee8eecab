#include "document/vector_document.h"

#include "document/load_messages.h"
#include "formats/pat/hatch_converter.h"
#include "formats/pdf/pdf_page_source.h"
#include "platform/locale_guard.h"
#include "render/traversal.h"
#include "svg/exception.h"
#include "svg/loader.h"

namespace document {
namespace {

// Hatch patterns are drawn into a square of this many units, which is also their extent.
constexpr double kPatternTileSize = 1024.0;

}  // namespace

VectorDocument::VectorDocument(FileType type, double gamma, svg::SvgScriptCallback* scriptCallback)
    : svg_(std::make_unique<svg::SVGDocument>(gamma, scriptCallback)),
      type_(type),
      gamma_(gamma),
      scriptCallback_(scriptCallback) {}

VectorDocument::~VectorDocument() = default;

std::unique_ptr<VectorDocument> VectorDocument::Create(LoadError& error, bool fromText,
                                                       std::u16string_view pathOrText,
                                                       svg::SvgScriptCallback* scriptCallback, double gamma,
                                                       PdfPageSettings* pdfSettings) {
  const platform::LocaleGuard locale;
  const FileType type = fromText ? FileType::kSvgText : FileTypeFromPath(pathOrText);
  std::unique_ptr<VectorDocument> document(new VectorDocument(type, gamma, scriptCallback));
  if (type == FileType::kSvgz) {
    document->LoadCompressed(error, pathOrText);
  } else if (!document->Dispatch(error, fromText, pathOrText, pdfSettings)) {
    document->Discard();
  }
  return document;
}

bool VectorDocument::Dispatch(LoadError& error, bool fromText, std::u16string_view pathOrText,
                              PdfPageSettings* pdfSettings) {
  error.Clear();
  switch (type_) {
    case FileType::kNone:
      BuildPlaceholderDrawing(*svg_);
      extent_.width = extent_.height = 120.0;
      break;
    case FileType::kSvg:
    case FileType::kSvgz:
    case FileType::kSvgText:
      try {
        svg::Load(*svg_, error, fromText, pathOrText, extent_);
      } catch (const svg::exception& thrown) {
        error.code = static_cast<uint32_t>(thrown.Code());
        error.SetMessage(thrown.Text());
      }
      break;
    case FileType::kPat:
      // The drawing stays empty until a pattern is selected.
      formats::pat::ReadPatternFile(pathOrText, error, patterns_);
      extent_.width = extent_.height = kPatternTileSize;
      break;
    case FileType::kPdf:
      LoadPdf(error, pathOrText, pdfSettings);
      break;
    case FileType::kSwf:
      break;
  }
  return error.code == 0;
}

void VectorDocument::LoadPdf(LoadError& error, std::u16string_view path, PdfPageSettings* pdfSettings) {
  PdfPageSettings unshared;
  pdf_ = std::make_unique<formats::pdf::PdfPageSource>();
  std::u16string detail;
  error.code = pdf_->Open(path, pdfSettings != nullptr ? *pdfSettings : unshared, detail);
  error.SetMessage(detail);
  if (error.code != 0) return;
  extent_.x = extent_.y = 0.0;
  extent_.width = pdf_->Settings().pageWidth;
  extent_.height = pdf_->Settings().pageHeight;
}

uint32_t VectorDocument::PageCount() const { return pdf_ != nullptr ? pdf_->Settings().pageCount : 0; }

float VectorDocument::Aspect() const {
  if (extent_.height == 0.0) return 1.0f;
  return static_cast<float>(extent_.width / extent_.height);
}

void VectorDocument::SetGamma(double gamma) {
  gamma_ = gamma;
  if (svg_ != nullptr) svg_->gamma = gamma;
}

void VectorDocument::PatternNames(std::vector<std::u16string>& names) const {
  if (type_ != FileType::kPat) return;
  for (const formats::pat::HatchPattern& pattern : patterns_) names.push_back(pattern.name);
}

bool VectorDocument::SelectPattern(const PatternSettings& settings, int32_t margin) {
  if (type_ != FileType::kPat || svg_ == nullptr || settings.patternIndex < 0 ||
      static_cast<size_t>(settings.patternIndex) >= patterns_.size()) {
    return false;
  }
  svg_ = std::make_unique<svg::SVGDocument>(gamma_, scriptCallback_);
  formats::pat::ConvertPattern(*svg_, patterns_[static_cast<size_t>(settings.patternIndex)], settings,
                               kPatternTileSize, margin);
  return true;
}

}  // namespace document

namespace document {
namespace {

agg::rgba8 Unpack(uint32_t background) {
  // Packed R, G, B, A in memory order.
  const auto* bytes = reinterpret_cast<const uint8_t*>(&background);
  return agg::rgba8(bytes[0], bytes[1], bytes[2], bytes[3]);
}

}  // namespace

// The drawing's centre to the origin, stretched to fullWidth x fullHeight, the window's corner at
// (left, top) of that image moved to the buffer's origin.
std::unique_ptr<uint8_t[]> VectorDocument::RenderWindow(uint32_t background, double fullWidth, double fullHeight,
                                                        double left, double top, uint32_t width,
                                                        uint32_t height) const {
  const double w = extent_.width;
  const double h = extent_.height;
  agg::trans_affine transform = agg::trans_affine_translation(-w / 2, -h / 2);
  transform.multiply(agg::trans_affine_scaling(fullWidth / w, fullHeight / h));
  transform.multiply(agg::trans_affine_translation(fullWidth / 2 - left, fullHeight / 2 - top));
  const platform::LocaleGuard locale;
  if (type_ == FileType::kPdf) return pdf_ != nullptr ? pdf_->RenderFrame(transform, width, height) : nullptr;
  return render::RenderDocument(*svg_, transform, Unpack(background), width, height);
}

bool VectorDocument::HasArea() const { return svg_ != nullptr && extent_.width > 0.0 && extent_.height > 0.0; }

std::unique_ptr<uint8_t[]> VectorDocument::RenderTile(uint32_t background, int32_t fullSize, int32_t tileSize,
                                                      int32_t row, int32_t column, int32_t border) const {
  if (!HasArea() || fullSize <= 0 || tileSize <= 0 || border < 0) return nullptr;
  const int64_t size = static_cast<int64_t>(tileSize) + 2 * static_cast<int64_t>(border);
  if (size <= 0 || size > kMaxRenderPixels / size) return nullptr;
  // The products are 32-bit integers, as the pyramid addresses tiles that way.
  const auto columnOffset = static_cast<int32_t>(static_cast<uint32_t>(tileSize) * static_cast<uint32_t>(column));
  const auto rowOffset = static_cast<int32_t>(static_cast<uint32_t>(tileSize) * static_cast<uint32_t>(row));
  return RenderWindow(background, fullSize, fullSize, static_cast<double>(columnOffset) - border,
                      static_cast<double>(rowOffset) - border,
                      static_cast<uint32_t>(size), static_cast<uint32_t>(size));
}

std::unique_ptr<uint8_t[]> VectorDocument::RenderStretched(uint32_t background, int32_t width,
                                                           int32_t height) const {
  if (!HasArea() || width <= 0 || height <= 0 || int64_t{width} * height > kMaxRenderPixels) return nullptr;
  return RenderWindow(background, width, height, 0.0, 0.0, static_cast<uint32_t>(width),
                      static_cast<uint32_t>(height));
}

}  // namespace document
