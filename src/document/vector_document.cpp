#include "document/vector_document.h"

#include "document/load_messages.h"
#include "platform/locale_guard.h"
#include "svg/exception.h"
#include "svg/loader.h"

namespace document {

VectorDocument::VectorDocument(FileType type, double gamma, svg::SvgScriptCallback* scriptCallback)
    : svg_(std::make_unique<svg::SVGDocument>(gamma, scriptCallback)), type_(type), gamma_(gamma) {}

std::unique_ptr<VectorDocument> VectorDocument::Create(LoadError& error, bool fromText,
                                                       std::u16string_view pathOrText,
                                                       svg::SvgScriptCallback* scriptCallback, double gamma) {
  const platform::LocaleGuard locale;
  const FileType type = fromText ? FileType::kSvgText : FileTypeFromPath(pathOrText);
  std::unique_ptr<VectorDocument> document(new VectorDocument(type, gamma, scriptCallback));
  if (type == FileType::kSvgz) {
    document->LoadCompressed(error, pathOrText);
  } else if (!document->Dispatch(error, fromText, pathOrText)) {
    document->Discard();
  }
  return document;
}

bool VectorDocument::Dispatch(LoadError& error, bool fromText, std::u16string_view pathOrText) {
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
    case FileType::kPdf:
      error.code = kErrorUnsupportedFormat;
      error.SetMessage(type_ == FileType::kPat ? u"Hatch-pattern files (.pat) can't be read by this build yet"
                                               : u"PDF and Illustrator files can't be read by this build yet");
      break;
    case FileType::kSwf:
      break;
  }
  return error.code == 0;
}

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
  names.insert(names.end(), patternNames_.begin(), patternNames_.end());
}

}  // namespace document
