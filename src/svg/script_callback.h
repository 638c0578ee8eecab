#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include <agg_trans_affine.h>

namespace svg {

// A raster picture handed back by the host; pixels are R, G, B, A bytes, rows top first.
struct PictureRecord {
  std::u16string path;
  std::unique_ptr<uint8_t[]> pixels;
  uint32_t width = 0;
  uint32_t height = 0;
  float gamma = 1.0f;
  bool applyGamma = false;
  bool hasAlpha = false;
  bool flag4Clear = false;
};

// The model's only link to its host: expression evaluation, error reports and picture loading.
class SvgScriptCallback {
 public:
  virtual ~SvgScriptCallback() = default;
  virtual void Begin(const agg::trans_affine& renderTransform) = 0;
  virtual void End() = 0;
  // Appends the expression's value, as text, to result.
  virtual void Evaluate(std::u16string_view expression, std::u16string& result) = 0;
  virtual void ReportError(uint32_t code, std::u16string_view message) = 0;
  virtual bool LoadPicture(PictureRecord& picture) = 0;
  virtual bool IsAvailable() const { return true; }
};

}  // namespace svg
