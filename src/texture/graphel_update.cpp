#include <algorithm>

#include "host/gamma.h"
#include "platform/wide_text.h"
#include "texture/graphel.h"
#include "texture/vector_file.h"

namespace graphel {
namespace {

document::ColourChannels Channels(const zal::AColor& colour, double alpha) {
  return document::ColourChannels{colour.r, colour.g, colour.b, alpha};
}

bool SameColour(const document::ColourChannels& a, const document::ColourChannels& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

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
  document::PatternSettings next = patternSettings_;
  double number = 0.0;
  zal::AColor colour;
  block->GetValue(kPatternName, t, next.patternIndex, ivalid_);
  block->GetValue(kPatternRepeat, t, number, ivalid_);
  next.repeat = static_cast<float>(number);
  block->GetValue(kLineWidth, t, number, ivalid_);
  next.lineWidth = static_cast<float>(number);
  block->GetValue(kLineColor, t, colour, ivalid_);
  next.lineColour = Channels(colour, 1.0);
  block->GetValue(kBackColor, t, colour, ivalid_);
  next.backgroundColour = held_.output.alphaSource == kAlphaFromImage ? document::ColourChannels{0.0, 0.0, 0.0, 0.0}
                                                                      : Channels(colour, 1.0);
  block->GetValue(kLineCap, t, next.lineCap, ivalid_);

  const document::PatternSettings& held = patternSettings_;
  const bool changed = next.patternIndex != held.patternIndex || next.repeat != held.repeat ||
                       next.lineWidth != held.lineWidth || !SameColour(next.lineColour, held.lineColour) ||
                       !SameColour(next.backgroundColour, held.backgroundColour) || next.lineCap != held.lineCap;
  patternSettings_ = next;
  return changed;
}

bool Graphel::ReadPdfParams(zal::TimeValue t) {
  zal::IParamBlock2* block = blocks_[kPdfBlock];
  if (block == nullptr) return false;
  document::PdfPageSettings next = pdfSettings_;
  double page = 1.0;
  int value = 0;
  block->GetValue(kPdfPage, t, page, ivalid_);
  next.page = static_cast<float>(page);
  block->GetValue(kContinuous, t, value, ivalid_);
  next.continuous = value != 0 ? 1 : 0;
  block->GetValue(kTransitionMode, t, value, ivalid_);
  next.transitionMode = static_cast<uint32_t>(std::clamp(value, 0, 3));
  block->GetValue(kTransitionDir, t, value, ivalid_);
  next.transitionDirection = static_cast<uint32_t>(std::clamp(value, 0, 7));
  block->GetValue(kTransparent, t, value, ivalid_);
  next.transparent = value != 0 ? 1 : 0;
  if (next.transparent == 0) {
    zal::AColor colour;
    block->GetValue(kPageColor, t, colour, ivalid_);
    next.pageColour = Channels(colour, 1.0);
  }
  const document::PdfPageSettings& held = pdfSettings_;
  const bool changed = next.page != held.page || next.continuous != held.continuous ||
                       next.transitionMode != held.transitionMode ||
                       next.transitionDirection != held.transitionDirection || next.transparent != held.transparent ||
                       (next.transparent == 0 && !SameColour(next.pageColour, held.pageColour));
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
