#include <filesystem>

#include "document/load_messages.h"
#include "host/host_interface.h"
#include "platform/ascii_case.h"
#include "platform/wide_text.h"
#include "texture/graphel.h"
#include "texture/string_table.h"
#include "texture/vector_file.h"

namespace graphel {

std::u16string AbsolutePath(const std::u16string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(platform::WideToUtf8(path), error);
  return error ? path : platform::Utf8ToWide(absolute.string());
}

bool IsAcceptedVectorFile(std::u16string_view name) {
  const size_t slash = name.find_last_of(u"/\\");
  const std::u16string_view file = slash == std::u16string_view::npos ? name : name.substr(slash + 1);
  const size_t dot = file.rfind(u'.');
  if (dot == std::u16string_view::npos) return false;
  const std::u16string_view extension = file.substr(dot);
  // ".swf" is recognised by the document but never accepted as the texture's file.
  for (const std::u16string_view accepted : {u".ai", u".svg", u".svgz", u".pat", u".pdf"}) {
    if (platform::EqualsIgnoringAsciiCase(extension, accepted)) return true;
  }
  return false;
}

void VectorFileAccessor::Set(zal::PB2Value& value, zal::ReferenceMaker* owner, zal::ParamID, int, zal::TimeValue) {
  auto* texture = dynamic_cast<Graphel*>(owner);
  if (texture != nullptr) texture->AcceptFile(value.text);
}

VectorFileAccessor vectorFileAccessor;

void Graphel::AcceptFile(const std::u16string& name) {
  if (!name.empty() && !IsAcceptedVectorFile(name)) {
    const std::u16string text = StringCopy(IDS_NOT_VECTORFILE);
    const std::u16string caption = StringCopy(IDS_CLASS_NAME);
    zal::GetCOREInterface()->MessageBox(text, caption, zal::MB_OK | zal::MB_ICONWARNING);
    return;
  }
  path_ = name;
}

document::FileType Graphel::DocumentType() const {
  const document::VectorDocument* loaded = cache_.Document();
  return loaded != nullptr ? loaded->Type() : document::FileType::kNone;
}

void Graphel::Load() {
  const std::u16string absolute = AbsolutePath(path_);
  messages_.Clear();
  scriptCallback_->ForgetOutcomes();
  pdfSettings_.pageWidth = pdfSettings_.pageHeight = 0.0;
  bool loaded = false;
  {
    const std::lock_guard lock(lock_);
    cache_.SetGamma(CurrentGamma());
    loaded = cache_.LoadDocument(loadError_, svgText_.has_value(), svgText_ ? *svgText_ : absolute, true, &pdfSettings_);
  }
  if (loaded) {
    if (!forceReload_) ResetPatternChoice();
    SelectPattern();
  } else {
    LoadPlaceholderAfter(absolute);
  }
  forceReload_ = false;
}

void Graphel::ResetPatternChoice() {
  patternSettings_.patternIndex = 0;
  zal::IParamBlock2* pattern = blocks_[kPatternBlock];
  if (DocumentType() == document::FileType::kPat && pattern != nullptr && pattern->GetInt(kPatternName) != 0) {
    pattern->SetValue(kPatternName, zal::GetCOREInterface()->GetTime(), 0);
  }
}

void Graphel::LoadPlaceholderAfter(const std::u16string& shownPath) {
  svgText_.reset();
  messages_.Show(document::ShownMessage(loadError_, shownPath));
  path_.clear();
  svg::LoadError placeholderError;
  const std::lock_guard lock(lock_);
  cache_.LoadDocument(placeholderError, false, u"", true, &pdfSettings_);
}

void Graphel::SelectPattern() {
  if (DocumentType() != document::FileType::kPat) return;
  const std::lock_guard lock(lock_);
  cache_.SelectPattern(patternSettings_);
}

}  // namespace graphel
