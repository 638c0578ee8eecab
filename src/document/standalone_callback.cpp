#include "document/standalone_callback.h"

#include <algorithm>

#include "platform/picture_decoder.h"
#include "platform/wide_text.h"

namespace document {

void StandaloneCallback::ReportError(uint32_t code, std::u16string_view message) {
  Report report{code, std::u16string(message)};
  if (std::find(reports_.begin(), reports_.end(), report) == reports_.end()) reports_.push_back(std::move(report));
}

bool LoadPictureFile(svg::PictureRecord& picture) {
  platform::DecodedPicture decoded;
  std::string error;
  if (!platform::DecodePictureFile(platform::WideToUtf8(picture.path), decoded, error)) return false;
  picture.pixels = std::move(decoded.pixels);
  picture.width = decoded.width;
  picture.height = decoded.height;
  picture.gamma = decoded.fileGamma > 0.0 ? static_cast<float>(decoded.fileGamma) : 1.0f;
  // Colours are used as stored, as browsers do; the file's gamma is only reported.
  picture.applyGamma = false;
  picture.hasAlpha = decoded.hasAlpha;
  // The decoder gives straight alpha, which the renderer premultiplies exactly when hasAlpha is set
  // and flag4Clear is not.
  picture.flag4Clear = false;
  return true;
}

}  // namespace document
