#include "texture/shader_translation.h"


#include <cstdint>
#include <filesystem>
#include <vector>

#include "host/bitmap.h"
#include "host/gamma.h"
#include "host/host_interface.h"
#include "platform/png_file.h"
#include "platform/regular_file.h"
#include "platform/wide_text.h"
#include "texture/graphel.h"
#include "texture/render_cache_files.h"

namespace graphel {
namespace {

void SetNumber(zal::MrShader& shader, std::string_view name, double value) {
  if (zal::MrShaderParam* param = shader.Find(name)) {
    param->number = value;
    param->set = true;
  }
}

void SetObject(zal::MrShaderParam* param, zal::ReferenceTarget* object) {
  if (param == nullptr) return;
  param->object = object;
  param->set = true;
}

// An address as two 32-bit halves, as the shader's integer parameters carry it.
void SetAddress(zal::MrShader& shader, std::string_view low, std::string_view high, uintptr_t address) {
  const auto value = static_cast<uint64_t>(address);
  SetNumber(shader, low, static_cast<double>(value & 0xFFFFFFFFu));
  SetNumber(shader, high, static_cast<double>(value >> 32));
}

}  // namespace

bool ShaderTranslation::UsesPicture() {
  return zal::GetCOREInterface()->GetCurrentRendererClassID() == zal::kBitmapOnlyRendererClassId;
}

std::unique_ptr<zal::MrShader> ShaderTranslation::GetMRShader() {
  return zal::CreateMRShader(UsesPicture() ? "zal_Bitmap" : "zal_Graphel", texture_.InstanceName());
}

void ShaderTranslation::TranslateParameters(zal::MrShader& shader, zal::TimeValue t, zal::Interval& valid) {
  if (UsesPicture()) {
    FillBitmapShader(shader, t);
  } else {
    FillCallbackShader(shader, t);
  }
  valid &= texture_.Validity(t);
}

void ShaderTranslation::FillCallbackShader(zal::MrShader& shader, zal::TimeValue t) {
  texture_.UpdateForRenderer(t);
  const zal::GammaMgr& gamma = zal::gammaMgr();
  const HeldParams& held = texture_.Held();
  SetNumber(shader, "gamma", gamma.IsEnabled() ? gamma.GetDisplayGamma() : 1.0);
  SetNumber(shader, "uvBlur", texture_.Blur());
  SetNumber(shader, "uvBlurOffs", texture_.BlurOffset());
  SetNumber(shader, "uMirror", texture_.MirrorU() ? 1 : 0);
  SetNumber(shader, "vMirror", texture_.MirrorV() ? 1 : 0);
  SetNumber(shader, "filterResult", held.filter ? 1 : 0);
  SetNumber(shader, "mipMap", held.mipmap ? 1 : 0);
  SetNumber(shader, "monoOutput", held.output.monoOutput);
  SetNumber(shader, "rgbOutput", held.output.rgbOutput);
  SetNumber(shader, "alphaSource", held.output.alphaSource);
  SetNumber(shader, "applyCrop", held.crop.apply ? 1 : 0);
  SetNumber(shader, "cropOrPlace", held.crop.place ? 1 : 0);
  SetNumber(shader, "crop_u", held.crop.u);
  SetNumber(shader, "crop_v", held.crop.v);
  SetNumber(shader, "crop_w", held.crop.w);
  SetNumber(shader, "crop_h", held.crop.h);
  SetNumber(shader, "jitter", held.crop.jitter ? 1 : 0);
  SetNumber(shader, "jitterAmt", held.crop.jitterAmount);
  SetNumber(shader, "gbufID", 0);
  SetAddress(shader, "graphelEvalCallback", "graphelEvalCallbackHi64", reinterpret_cast<uintptr_t>(&GraphelSampleEntry));
  SetAddress(shader, "graphelEvalArg", "graphelEvalArgHi64", reinterpret_cast<uintptr_t>(&texture_));
  SetObject(shader.Find("coord_shader"), texture_.GetReference(kCoordsRef));
  SetObject(shader.Find("texout_shader"), texture_.GetReference(kOutputRef));
}

void ShaderTranslation::FillBitmapShader(zal::MrShader& shader, zal::TimeValue t) {
  if (!shader.HasBlock("Parameters") || !MakePictureCurrent(t) || cachedPath_.empty()) return;
  auto set = [&](std::string_view name, double number, std::u16string text = {}) {
    if (zal::MrShaderParam* param = shader.FindInBlock("Parameters", name)) {
      param->number = number;
      param->text = std::move(text);
      param->set = true;
    }
  };
  set("AlphaSource", 0);
  set("PreMultAlpha", 1);
  set("Bitmap", 0, platform::Utf8ToWide(cachedPath_));
  SetObject(shader.FindInBlock("Parameters", "Coords"), texture_.GetReference(kCoordsRef));
  SetObject(shader.FindInBlock("Parameters", "Output"), texture_.GetReference(kOutputRef));
}

bool ShaderTranslation::MakePictureCurrent(zal::TimeValue t) {
  if (!stale_ && platform::OpenRegularFileDescriptor(cachedPath_).Get() < 0) stale_ = true;
  if (!stale_) return true;

  const std::string folder = RenderCacheFolder();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  const std::string path = CacheFileName(folder, NextCacheNumber(folder));
  const int size = texture_.Held().hwBitmapSize;
  zal::BitmapInfo info;
  info.width = info.height = size;
  info.hasAlpha = true;
  info.name = platform::Utf8ToWide(path);
  const zal::BitmapPtr bitmap(zal::TheManager()->Create(info));
  if (bitmap == nullptr) {
    cachedPath_.clear();
    stale_ = false;
    return true;
  }
  texture_.RenderBitmap(t, bitmap.get(), 100.0f, true);
  std::vector<uint8_t> bytes(static_cast<size_t>(size) * size * 4);
  zal::ReadBytes(*bitmap, bytes.data());
  std::string reason;
  if (!platform::WritePng(path, bytes.data(), static_cast<uint32_t>(size), static_cast<uint32_t>(size), reason)) {
    return false;
  }
  cachedPath_ = path;
  stale_ = false;
  return true;
}

void GraphelSampleEntry(void* texture, float* out, float u, float v, float du, float dv, int level, int filter) {
  if (texture == nullptr || out == nullptr) return;
  const Rgba colour = static_cast<Graphel*>(texture)->ReadTile(u, v, du, dv, level, filter != 0, nullptr);
  out[0] = static_cast<float>(colour.r);
  out[1] = static_cast<float>(colour.g);
  out[2] = static_cast<float>(colour.b);
  out[3] = static_cast<float>(colour.a);
}

}  // namespace graphel
