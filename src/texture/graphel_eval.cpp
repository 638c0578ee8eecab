#include <algorithm>
#include <cmath>

#include "host/host_interface.h"
#include "texture/fast_floor.h"
#include "texture/graphel.h"
#include "texture/graphel_sampler.h"

namespace graphel {
namespace {

// Coordinates objects whose repeats shrink the drawing below a tenth give nothing to see.
constexpr double kMinTiling = 0.1;
// Bump perturbations scale the mono value's derivative by this.
constexpr double kBumpScale = 0.01;

}  // namespace

void Graphel::CheckRenderTime(zal::TimeValue t) {
  if (renderTime_.load(std::memory_order_acquire) == t) return;
  const std::lock_guard lock(lock_);
  if (renderTime_.load(std::memory_order_relaxed) == t) return;
  renderTime_.store(t, std::memory_order_release);
  cache_.ClearTiles(false);
}

void Graphel::Prepare(zal::ShadeContext& sc) {
  if (gbufID != 0) sc.SetGBufferID(gbufID);
  CheckRenderTime(sc.CurTime());
}

void Graphel::CacheSampleSettings(zal::TimeValue t) {
  tilingHides_ = uvGen_ != nullptr && uvGen_->GetTextureTiling() != 0 &&
                 (std::fabs(uvGen_->GetUScl(t)) < kMinTiling || std::fabs(uvGen_->GetVScl(t)) < kMinTiling);
  output_ = CurrentOutput();
}

Rgba Graphel::ReadTile(double u, double v, double du, double dv, int level, bool filter, int64_t* tileIndex) {
  if (TilingHidesTexture()) return Rgba{};
  return PrepareRead(u, v, du, dv, level, filter, tileIndex).Sum();
}

TileRead Graphel::PrepareRead(double u, double v, double du, double dv, int level, bool filter, int64_t* tileIndex) {
  // Placement hands over u and v within 0..1 already: a 1 is the edge of the repeat below and must
  // not wrap to 0.
  const double fu = u >= 0.0 ? std::min(u, 1.0) : 0.0;
  const double fv = v >= 0.0 ? std::min(v, 1.0) : 0.0;
  const Tile* tile = cache_.Find(fu, fv, level);
  if (tile == nullptr) {
    const std::lock_guard lock(lock_);
    const uint64_t before = cache_.BytesUsed();
    tile = cache_.EnsureTile(fu, fv, level).tile;
    if (cache_.BytesUsed() != before) messages_.PostMemory(cache_.BytesUsed());
  }
  if (tileIndex != nullptr) *tileIndex = cache_.IndexOf(fu, fv, level);
  return TileCache::PrepareRead(tile, fu, fv, Fraction(du), Fraction(dv), level, filter && held_.filter);
}

zal::AColor Graphel::Color(zal::ShadeContext& sc, SampleTrace* trace) {
  if (!sc.doMaps) return zal::AColor{};
  Prepare(sc);
  if (uvGen_ == nullptr) return zal::AColor{};
  GraphelSampler sampler(*this, trace);
  const zal::AColor sample = uvGen_->EvalUVMap(sc, &sampler, true);
  const zal::AColor colour = PostProcess(Rgba{sample.r, sample.g, sample.b, sample.a}, output_, false);
  return texout_ != nullptr ? texout_->Filter(colour) : colour;
}

float Graphel::Mono(zal::ShadeContext& sc, SampleTrace* trace) {
  if (!sc.doMaps) return 1.0f;
  Prepare(sc);
  if (uvGen_ == nullptr) return 0.0f;
  GraphelSampler sampler(*this, trace);
  float value = 0.0f;
  if (held_.output.monoOutput == 1) {
    value = uvGen_->EvalUVMapMono(sc, &sampler, true);
  } else {
    const zal::AColor c = uvGen_->EvalUVMap(sc, &sampler, true);
    value = (c.r + c.g + c.b) / 3.0f;
  }
  return texout_ != nullptr ? texout_->Filter(value) : value;
}

zal::Point3 Graphel::NormalPerturb(zal::ShadeContext& sc, SampleTrace* trace) {
  if (!sc.doMaps) return zal::Point3{};
  Prepare(sc);
  if (uvGen_ == nullptr) return zal::Point3{};
  GraphelSampler sampler(*this, trace);
  zal::Point3 dP[2];
  uvGen_->GetBumpDP(sc, dP);
  const zal::Point2 slope = uvGen_->EvalDeriv(sc, &sampler, true);
  const zal::Point3 perturbation = (dP[0] * slope.x + dP[1] * slope.y) * kBumpScale;
  return texout_ != nullptr ? texout_->Filter(perturbation) : perturbation;
}

zal::AColor Graphel::EvalColor(zal::ShadeContext& sc) { return Color(sc, nullptr); }
float Graphel::EvalMono(zal::ShadeContext& sc) { return Mono(sc, nullptr); }
zal::Point3 Graphel::EvalNormalPerturb(zal::ShadeContext& sc) { return NormalPerturb(sc, nullptr); }
zal::AColor Graphel::ProbeColor(zal::ShadeContext& sc, SampleTrace& trace) { return Color(sc, &trace); }
float Graphel::ProbeMono(zal::ShadeContext& sc, SampleTrace& trace) { return Mono(sc, &trace); }
zal::Point3 Graphel::ProbeNormalPerturb(zal::ShadeContext& sc, SampleTrace& trace) { return NormalPerturb(sc, &trace); }

int Graphel::RenderBegin(zal::TimeValue t, unsigned) {
  const std::lock_guard lock(lock_);
  renderTime_.store(t, std::memory_order_release);
  renderMode_ = true;
  cache_.SetGamma(CurrentGamma());
  CacheSampleSettings(t);
  return 1;
}

int Graphel::RenderEnd(unsigned) {
  const std::lock_guard lock(lock_);
  cache_.ClearTiles(true);
  // The render's samplers are done: nothing reads the dropped tiles any more.
  cache_.FreeRetired();
  messages_.PostMemory(cache_.BytesUsed());
  renderMode_ = false;
  return 1;
}

}  // namespace graphel
