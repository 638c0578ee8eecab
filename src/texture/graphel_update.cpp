#include <algorithm>

#include "host/gamma.h"
#include "platform/wide_text.h"
#include "texture/block_settings.h"
#include "texture/graphel.h"
#include "texture/vector_file.h"

namespace graphel {
namespace {

// Reads one parameter and notes whether it changed.
template <typename T, typename Read>
void Take(T& held, Read read, bool& changed, bool counts = true) {
  const T value = read();
  if (counts && value != held) changed = true;
  held = value;
}

}  // namespace

double Graphel::CurrentGamma() {
  const zal::GammaMgr& gamma = zal::gammaMgr();
  return gamma.IsEnabled() ? gamma.GetDisplayGamma() : 1.0;
}

OutputSettings Graphel::CurrentOutput() const {
  OutputSettings output = held_.output;
  const zal::GammaMgr& gamma = zal::gammaMgr();
  output.gammaCorrect = gamma.IsEnabled();
  output.displayGamma = gamma.GetDisplayGamma();
  return output;
}

bool Graphel::ReadParams(zal::TimeValue t) {
  zal::IParamBlock2& block = *blocks_[kParamsBlock];
  auto boolean = [&](zal::ParamID id) {
    int value = 0;
    block.GetValue(id, t, value, ivalid_);
    return value != 0;
  };
  auto integer = [&](zal::ParamID id) {
    int value = 0;
    block.GetValue(id, t, value, ivalid_);
    return value;
  };
  auto number = [&](zal::ParamID id) {
    double value = 0.0;
    block.GetValue(id, t, value, ivalid_);
    return value;
  };

  held_.filter = boolean(kFilter);
  held_.mipmap = boolean(kMipmap);
  held_.output.monoOutput = integer(kMonoOutput);
  held_.output.rgbOutput = integer(kRgbOutput);
  held_.output.alphaSource = integer(kAlphaSource);

  bool changed = false;
  CropSettings& crop = held_.crop;
  Take(crop.apply, [&] { return boolean(kApplyCrop); }, changed);
  crop.place = integer(kCropOrPlace) == 1;
  Take(crop.u, [&] { return number(kCropU); }, changed, crop.apply);
  Take(crop.v, [&] { return number(kCropV); }, changed, crop.apply);
  Take(crop.w, [&] { return number(kCropW); }, changed, crop.apply);
  Take(crop.h, [&] { return number(kCropH); }, changed, crop.apply);
  crop.jitter = boolean(kJitter);
  Take(crop.jitterAmount, [&] { return number(kJitterAmount); }, changed, crop.jitter);

  if (zal::IParamBlock2* advanced = blocks_[kAdvancedBlock]) {
    int megabytes = 0;
    advanced->GetValue(kMemLimit, t, megabytes, ivalid_);
    held_.memLimitBytes = static_cast<uint64_t>(std::max(megabytes, 0)) << 20;
    advanced->GetValue(kHwBitmapSize, t, held_.hwBitmapSize, ivalid_);
  }
  return changed;
}

bool Graphel::ReadPatternParams(zal::TimeValue t) {
  zal::IParamBlock2* block = blocks_[kPatternBlock];
  if (block == nullptr) return false;
  const document::PatternSettings next =
      PatternSettingsAt(*block, t, ivalid_, held_.output.alphaSource == kAlphaFromImage);
  const bool changed = !SamePatternSettings(next, patternSettings_);
  patternSettings_ = next;
  return changed;
}

bool Graphel::ReadPdfParams(zal::TimeValue t) {
  zal::IParamBlock2* block = blocks_[kPdfBlock];
  if (block == nullptr) return false;
  const document::PdfPageSettings next = PdfSettingsAt(*block, t, ivalid_, pdfSettings_);
  const bool changed = !SamePdfSettings(next, pdfSettings_);
  pdfSettings_ = next;
  return changed;
}

void Graphel::Update(zal::TimeValue t, zal::Interval& valid) {
  if (blocks_[kParamsBlock] == nullptr) return;
  try {
    if (!texoutValid_.InInterval(t)) {
      texoutValid_ = zal::FOREVER;
      if (texout_ != nullptr) texout_->Update(t, texoutValid_);
    }
    if (!ivalid_.InInterval(t)) {
      ivalid_ = zal::FOREVER;
      if (uvGen_ != nullptr) {
        uvGen_->Update(t, ivalid_);
        blur_ = uvGen_->GetBlur(t);
        blurOffset_ = uvGen_->GetBlurOffs(t);
        const int tiling = uvGen_->GetTextureTiling();
        uMirror_ = (tiling & zal::U_MIRROR) != 0;
        vMirror_ = (tiling & zal::V_MIRROR) != 0;
      }
      const std::u16string file = blocks_[kParamsBlock]->GetStr(kVectorFile);
      if (IsAcceptedVectorFile(file)) path_ = file;

      bool changed = ReadParams(t);
      const document::FileType type = DocumentType();
      if (type == document::FileType::kPat) changed = ReadPatternParams(t) || changed;
      if (type == document::FileType::kPdf) changed = ReadPdfParams(t) || changed;

      const bool svg = type == document::FileType::kSvg || type == document::FileType::kSvgz ||
                       type == document::FileType::kSvgText;
      if (svg && cache_.Document()->HasScriptExpressions()) {
        scriptCallback_->SetTime(t);
        ivalid_.SetInstant(t);
        ReloadOrClear();
      } else if (changed) {
        ReloadOrClear();
      }
      NotifyDependents(zal::FOREVER, zal::PART_ALL, zal::REFMSG_CHANGE);
      NotifyDependents(zal::FOREVER, zal::PART_TEXMAP, zal::REFMSG_TEXMAP_CHANGED);
    }
  } catch (const std::exception& error) {
    messages_.Show(platform::Utf8ToWide(error.what()));
  }
  CacheSampleSettings(t);
  {
    // Updates come between renders, when no sampler reads the tiles dropped since the last one.
    const std::lock_guard lock(lock_);
    cache_.FreeRetired();
  }
  valid &= texoutValid_;
  valid &= ivalid_;
}

void Graphel::ReloadOrClear() {
  messages_.Clear();
  scriptCallback_->ForgetOutcomes();
  const std::u16string absolute = AbsolutePath(path_);
  bool loaded = false;
  {
    const std::lock_guard lock(lock_);
    cache_.SetGamma(CurrentGamma());
    loaded = cache_.LoadDocument(loadError_, svgText_.has_value(), svgText_ ? *svgText_ : absolute,
                                 DocumentType() == document::FileType::kPdf, &pdfSettings_);
  }
  if (loaded) {
    SelectPattern();
  } else {
    LoadPlaceholderAfter(absolute);
  }
}

}  // namespace graphel
