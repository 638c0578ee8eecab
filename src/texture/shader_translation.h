#pragma once

#include <memory>
#include <string>

#include "host/mr_shader.h"

namespace graphel {

class Graphel;

// The texture's answer to the offline renderer: the "zal_Graphel" shader calling back into the
// module for every sample, or, for renderers that can't call back, "zal_Bitmap" reading a PNG the
// texture writes into the cache folder. The PNG is rewritten after every change of the texture.
class ShaderTranslation final : public zal::imrShaderTranslation {
 public:
  explicit ShaderTranslation(Graphel& texture) : texture_(texture) {}

  std::unique_ptr<zal::MrShader> GetMRShader() override;
  void TranslateParameters(zal::MrShader& shader, zal::TimeValue t, zal::Interval& valid) override;

  // Every change of the texture makes the cached picture stale.
  void MarkStale() { stale_ = true; }
  const std::string& CachedPicture() const { return cachedPath_; }

 private:
  static bool UsesPicture();
  void FillCallbackShader(zal::MrShader& shader, zal::TimeValue t);
  void FillBitmapShader(zal::MrShader& shader, zal::TimeValue t);
  // Writes a new numbered PNG when the cached one is stale or gone; false when it can't be written.
  bool MakePictureCurrent(zal::TimeValue t);

  Graphel& texture_;
  bool stale_ = true;
  std::string cachedPath_;
};

// The sample entry "zal_Graphel" calls: the tile read of texture at (u, v), premultiplied R, G, B, A.
void GraphelSampleEntry(void* texture, float* out, float u, float v, float du, float dv, int level, int filter);

}  // namespace graphel
