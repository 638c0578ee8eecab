#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/geometry.h"
#include "host/mtl_base.h"
#include "host/reference.h"
#include "host/zal_api.h"

namespace zal {

// The offline renderer's shader-translation interface of a texture.
inline constexpr Interface_ID kMrShaderTranslationInterfaceId{0x1C396ABD, 0x5F964E0C};
// The renderer whose textures must come as pictures ("zal_Bitmap"): it can't call back into modules.
inline constexpr Class_ID kBitmapOnlyRendererClassId{0x3E7D7EBA, 0x14C036AB};

// One parameter of an offline-renderer shader: a number, a colour, a text or a host object.
struct MrShaderParam {
  std::string name;
  double number = 0.0;
  AColor colour;
  std::u16string text;
  ReferenceTarget* object = nullptr;
  bool set = false;
};

// A shader the host created for a plug-in: its declaration's name, the instance name, its own
// parameters and, for shaders declared with one, a parameter block named "Parameters".
class ZAL_API MrShader {
 public:
  MrShader(std::string name, std::u16string instanceName, std::vector<std::string> params,
           std::vector<std::string> blockParams);
  const std::string& Name() const { return name_; }
  const std::u16string& InstanceName() const { return instanceName_; }
  // The parameter called name, ignoring case; null when the shader has none.
  MrShaderParam* Find(std::string_view name);
  const MrShaderParam* Find(std::string_view name) const;
  // The "Parameters" block's parameter called name, ignoring case; null without the block or it.
  MrShaderParam* FindInBlock(std::string_view blockName, std::string_view name);
  bool HasBlock(std::string_view blockName) const;

 private:
  std::string name_;
  std::u16string instanceName_;
  std::vector<MrShaderParam> params_;
  std::vector<MrShaderParam> blockParams_;
};

// The host's shader-creation service: "zal_Graphel" (calls back into a module for each sample) and
// "zal_Bitmap" (reads a picture file); null for any other name.
ZAL_API std::unique_ptr<MrShader> CreateMRShader(std::string_view name, std::u16string_view instanceName);

// What a texture implements for the offline renderer.
class ZAL_API imrShaderTranslation : public BaseInterface {
 public:
  Interface_ID GetID() override { return kMrShaderTranslationInterfaceId; }
  virtual std::unique_ptr<MrShader> GetMRShader() = 0;
  virtual void TranslateParameters(MrShader& shader, TimeValue t, Interval& valid) = 0;
};

// The callback sample entry "zal_Graphel" reaches: writes R, G, B, A of the texture at (u, v) with
// footprint (du, dv) on level into out.
using GraphelEvalCallback = void (*)(void* texture, float* out, float u, float v, float du, float dv, int level,
                                     int filter);

// The offline renderer stand-in: renders a texture alone into width x height straight-alpha RGBA
// bytes through the shader the texture hands it. False, with the reason, when it can't.
ZAL_API bool RenderOffline(Texmap& texture, TimeValue t, int width, int height, std::vector<uint8_t>& rgba,
                           std::string& error);

}  // namespace zal
