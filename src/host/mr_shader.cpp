#include "host/mr_shader.h"

#include <algorithm>
#include <cmath>

#include "host/bitmap.h"
#include "platform/ascii_case.h"

namespace zal {
namespace {

std::vector<MrShaderParam> Params(const std::vector<std::string>& names) {
  std::vector<MrShaderParam> params;
  for (const std::string& name : names) {
    MrShaderParam param;
    param.name = name;
    params.push_back(std::move(param));
  }
  return params;
}

template <typename Params>
auto FindIn(Params& params, std::string_view name) -> decltype(&params.front()) {
  for (auto& param : params) {
    if (platform::EqualsIgnoringAsciiCase(std::string_view(param.name), name)) return &param;
  }
  return nullptr;
}

// The declarations the stand-in host knows.
const std::vector<std::string> kGraphelShaderParams = {
    "gamma",      "uvBlur",     "uvBlurOffs",  "uMirror",     "vMirror",        "filterResult",
    "mipMap",     "monoOutput", "rgbOutput",   "alphaSource", "applyCrop",      "cropOrPlace",
    "crop_u",     "crop_v",     "crop_w",      "crop_h",      "jitter",         "jitterAmt",
    "gbufID",     "graphelEvalCallback",       "graphelEvalCallbackHi64",       "graphelEvalArg",
    "graphelEvalArgHi64",       "coord_shader", "texout_shader"};
const std::vector<std::string> kBitmapShaderBlock = {"AlphaSource", "PreMultAlpha", "Bitmap", "Coords", "Output"};

uint64_t Address(const MrShader& shader, std::string_view low, std::string_view high) {
  const MrShaderParam* lo = shader.Find(low);
  const MrShaderParam* hi = shader.Find(high);
  if (lo == nullptr || hi == nullptr) return 0;
  return (static_cast<uint64_t>(hi->number) << 32) | static_cast<uint64_t>(lo->number);
}

// The finest level whose texels are no smaller than the footprint, as the shader chooses it.
int LevelFor(double footprint) {
  return std::clamp(static_cast<int>(std::ceil(std::log2(1.0 / std::max(footprint, 1e-9)))), 0, 24);
}

bool RenderThroughCallback(const MrShader& shader, int width, int height, std::vector<uint8_t>& rgba,
                           std::string& error) {
  const auto callback = reinterpret_cast<GraphelEvalCallback>(
      static_cast<uintptr_t>(Address(shader, "graphelEvalCallback", "graphelEvalCallbackHi64")));
  void* texture = reinterpret_cast<void*>(static_cast<uintptr_t>(Address(shader, "graphelEvalArg", "graphelEvalArgHi64")));
  if (callback == nullptr || texture == nullptr) {
    error = "the shader has no sample entry";
    return false;
  }
  const MrShaderParam* filter = shader.Find("filterResult");
  const MrShaderParam* alphaSource = shader.Find("alphaSource");
  const int alphaFrom = alphaSource != nullptr ? static_cast<int>(alphaSource->number) : 0;
  const float du = 1.0f / static_cast<float>(width), dv = 1.0f / static_cast<float>(height);
  const int level = LevelFor(std::max(du, dv));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      float out[4] = {0, 0, 0, 0};
      callback(texture, out, (static_cast<float>(x) + 0.5f) * du, 1.0f - (static_cast<float>(y) + 0.5f) * dv, du, dv,
               level, filter != nullptr && filter->number != 0.0 ? 1 : 0);
      uint8_t* pixel = rgba.data() + (static_cast<size_t>(y) * width + x) * 4;
      // The entry gives premultiplied colour; the shader takes alpha from the image, the colour's
      // intensity or nowhere (opaque, over black), and pictures are written with straight alpha.
      float alpha = std::clamp(out[3], 0.0f, 1.0f);
      if (alphaFrom == 1) alpha = std::clamp((out[0] + out[1] + out[2]) / 3.0f, 0.0f, 1.0f);
      if (alphaFrom == 2) alpha = 1.0f;
      for (int c = 0; c < 3; ++c) {
        const float straight = alpha > 0.0f ? out[c] / alpha : 0.0f;
        pixel[c] = static_cast<uint8_t>(std::lround(std::clamp(straight, 0.0f, 1.0f) * 255.0f));
      }
      pixel[3] = static_cast<uint8_t>(std::lround(alpha * 255.0f));
    }
  }
  return true;
}

bool RenderThroughPicture(MrShader& shader, int width, int height, std::vector<uint8_t>& rgba, std::string& error) {
  const MrShaderParam* file = shader.FindInBlock("Parameters", "Bitmap");
  if (file == nullptr || !file->set || file->text.empty()) {
    error = "the bitmap shader was given no picture";
    return false;
  }
  BitmapInfo info;
  info.name = file->text;
  const BitmapPtr picture(TheManager()->Load(info));
  if (picture == nullptr) {
    error = "the bitmap shader's picture can't be read";
    return false;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(picture->Width()) * picture->Height() * 4);
  ReadBytes(*picture, bytes.data());
  for (int y = 0; y < height; ++y) {
    const int sy = std::min(picture->Height() - 1, y * picture->Height() / height);
    for (int x = 0; x < width; ++x) {
      const int sx = std::min(picture->Width() - 1, x * picture->Width() / width);
      std::copy_n(bytes.data() + (static_cast<size_t>(sy) * picture->Width() + sx) * 4, 4,
                  rgba.data() + (static_cast<size_t>(y) * width + x) * 4);
    }
  }
  return true;
}

}  // namespace

MrShader::MrShader(std::string name, std::u16string instanceName, std::vector<std::string> params,
                   std::vector<std::string> blockParams)
    : name_(std::move(name)), instanceName_(std::move(instanceName)), params_(Params(params)),
      blockParams_(Params(blockParams)) {}

MrShaderParam* MrShader::Find(std::string_view name) { return FindIn(params_, name); }
const MrShaderParam* MrShader::Find(std::string_view name) const { return FindIn(params_, name); }

bool MrShader::HasBlock(std::string_view blockName) const {
  return !blockParams_.empty() && platform::EqualsIgnoringAsciiCase(blockName, std::string_view("Parameters"));
}

MrShaderParam* MrShader::FindInBlock(std::string_view blockName, std::string_view name) {
  return HasBlock(blockName) ? FindIn(blockParams_, name) : nullptr;
}

std::unique_ptr<MrShader> CreateMRShader(std::string_view name, std::u16string_view instanceName) {
  if (name == "zal_Graphel")
    return std::make_unique<MrShader>(std::string(name), std::u16string(instanceName), kGraphelShaderParams,
                                      std::vector<std::string>());
  if (name == "zal_Bitmap")
    return std::make_unique<MrShader>(std::string(name), std::u16string(instanceName), std::vector<std::string>(),
                                      kBitmapShaderBlock);
  return nullptr;
}

bool RenderOffline(Texmap& texture, TimeValue t, int width, int height, std::vector<uint8_t>& rgba,
                   std::string& error) {
  auto* translation = dynamic_cast<imrShaderTranslation*>(texture.GetInterface(kMrShaderTranslationInterfaceId));
  if (translation == nullptr) {
    error = "the texture offers the offline renderer no shader";
    return false;
  }
  std::unique_ptr<MrShader> shader = translation->GetMRShader();
  if (shader == nullptr) {
    error = "the texture's shader could not be created";
    return false;
  }
  Interval valid = FOREVER;
  translation->TranslateParameters(*shader, t, valid);
  rgba.assign(static_cast<size_t>(width) * height * 4, 0);
  return shader->Name() == "zal_Graphel" ? RenderThroughCallback(*shader, width, height, rgba, error)
                                         : RenderThroughPicture(*shader, width, height, rgba, error);
}

}  // namespace zal
