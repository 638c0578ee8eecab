#include "texture/graphel_sampler.h"

#include <cmath>

#include "texture/crop_placement.h"
#include "texture/graphel.h"
#include "texture/level_choice.h"

namespace graphel {
namespace {

zal::AColor ToColour(const Rgba& c) {
  return zal::AColor{static_cast<float>(c.r), static_cast<float>(c.g), static_cast<float>(c.b), static_cast<float>(c.a)};
}

}  // namespace

Rgba GraphelSampler::OneSample(zal::ShadeContext& sc, double u, double v, double du, double dv, bool filter) {
  SampleTrace* trace = trace_;
  trace_ = nullptr;  // only the first sample of an evaluation is recorded
  const Placement placed = ApplyCropPlacement(u, v, du, dv, texture_.Held().crop);
  if (!placed.sample) return Rgba{};

  double footprintU = placed.du;
  double footprintV = placed.dv;
  if (texture_.MirrorU()) footprintU *= 2.0;
  if (texture_.MirrorV()) footprintV *= 2.0;
  const LevelChoice choice =
      ChooseLevel(footprintU, footprintV, texture_.Blur(), texture_.BlurOffset(), sc.InMtlEditor());

  int64_t tileIndex = -1;
  const double blend = MipBlendWeight(choice);
  const bool blended = texture_.Held().mipmap && blend != 1.0;
  Rgba result;
  if (!texture_.TilingHidesTexture()) {
    // Both reads are worked out before either is made, so their cache misses overlap.
    const TileRead fine = texture_.PrepareRead(placed.u, placed.v, choice.du, choice.dv, choice.level, filter,
                                               trace != nullptr ? &tileIndex : nullptr);
    TileRead coarse;
    if (blended) {
      coarse = texture_.PrepareRead(placed.u, placed.v, choice.du, choice.dv, choice.level - 1, filter, nullptr);
    }
    fine.Prefetch();
    coarse.Prefetch();
    result = fine.Sum() * placed.weight;
    if (blended) result = result * blend + coarse.Sum() * (placed.weight * (1.0 - blend));
  }
  if (trace != nullptr) {
    trace->sampled = true;
    trace->level = choice.level;
    trace->nominalSize = choice.nominalSize;
    trace->blendLevel = blended ? choice.level - 1 : -1;
    trace->blend = blended ? blend : 1.0;
    trace->tileIndex = tileIndex;
    trace->u = placed.u;
    trace->v = placed.v;
    trace->du = choice.du;
    trace->dv = choice.dv;
    trace->coverage = placed.weight;
  }
  return result;
}

float GraphelSampler::Mono(const Rgba& sample) const {
  const OutputSettings& output = texture_.Held().output;
  if (output.monoOutput == 1 && output.alphaSource == kAlphaFromImage) return static_cast<float>(sample.a);
  if (output.monoOutput == 1 && output.alphaSource == kAlphaOpaque) return 1.0f;
  return static_cast<float>((sample.r + sample.g + sample.b) / 3.0);
}

// Without a footprint the sample reads the pyramid unfiltered, at the level for no footprint.
zal::AColor GraphelSampler::Sample(zal::ShadeContext& sc, double u, double v) {
  return ToColour(OneSample(sc, u, v, 0.0, 0.0, false));
}

zal::AColor GraphelSampler::SampleFilter(zal::ShadeContext& sc, double u, double v, double du, double dv) {
  return ToColour(OneSample(sc, u, v, du, dv, true));
}

float GraphelSampler::SampleMono(zal::ShadeContext& sc, double u, double v) {
  return Mono(OneSample(sc, u, v, 0.0, 0.0, false));
}

float GraphelSampler::SampleMonoFilter(zal::ShadeContext& sc, double u, double v, double du, double dv) {
  return Mono(OneSample(sc, u, v, du, dv, true));
}

}  // namespace graphel
