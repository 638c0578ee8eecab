#include "host/uvgen.h"

#include <algorithm>
#include <cmath>

namespace zal {
namespace {

// Folds a coordinate of the doubled, mirrored repeat back into 0..1.
double Mirror(double u) {
  const double m = 2.0 * u - 2.0 * std::floor(u);
  return m <= 1.0 ? m : 2.0 - m;
}

// The smallest step the derivative is measured over, so a zero footprint still sees a change.
constexpr double kMinDerivativeStep = 1.0 / 4096.0;

}  // namespace

SClass_ID UVGen::SuperClassID() { return UVGEN_CLASS_ID; }

RefResult StdUVGen::NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) { return REF_DONTCARE; }
void StdUVGen::Update(TimeValue, Interval&) {}
Interval StdUVGen::Validity(TimeValue) { return FOREVER; }

void StdUVGen::Reset() {
  tiling_ = U_WRAP | V_WRAP;
  uScale_ = vScale_ = 1.0f;
  uOffset_ = vOffset_ = 0.0f;
  blur_ = 1.0f;
  blurOffset_ = 0.0f;
}

void StdUVGen::SetBlur(float blur) { blur_ = std::isnan(blur) ? 1.0f : std::clamp(blur, 0.01f, 100.0f); }
void StdUVGen::SetBlurOffs(float offset) { blurOffset_ = std::isnan(offset) ? 0.0f : std::clamp(offset, 0.0f, 1.0f); }

StdUVGen::Mapped StdUVGen::Map(ShadeContext& sc) const {
  const Point3 uvw = sc.UVW(channel_);
  const Point3 duvw = sc.DUVW(channel_);
  Mapped mapped;
  mapped.u = uvw.x * uScale_ + uOffset_;
  mapped.v = uvw.y * vScale_ + vOffset_;
  mapped.du = std::fabs(duvw.x * uScale_);
  mapped.dv = std::fabs(duvw.y * vScale_);
  if (tiling_ & U_MIRROR) {
    mapped.u = Mirror(mapped.u);
  } else if (!(tiling_ & U_WRAP) && !(mapped.u >= 0.0 && mapped.u <= 1.0)) {
    mapped.inside = false;
  }
  if (tiling_ & V_MIRROR) {
    mapped.v = Mirror(mapped.v);
  } else if (!(tiling_ & V_WRAP) && !(mapped.v >= 0.0 && mapped.v <= 1.0)) {
    mapped.inside = false;
  }
  return mapped;
}

AColor StdUVGen::EvalUVMap(ShadeContext& sc, MapSampler* sampler, bool filter) {
  const Mapped m = Map(sc);
  if (!m.inside || sampler == nullptr) return AColor{};
  return filter ? sampler->SampleFilter(sc, m.u, m.v, m.du, m.dv) : sampler->Sample(sc, m.u, m.v);
}

float StdUVGen::EvalUVMapMono(ShadeContext& sc, MapSampler* sampler, bool filter) {
  const Mapped m = Map(sc);
  if (!m.inside || sampler == nullptr) return 0.0f;
  return filter ? sampler->SampleMonoFilter(sc, m.u, m.v, m.du, m.dv) : sampler->SampleMono(sc, m.u, m.v);
}

Point2 StdUVGen::EvalDeriv(ShadeContext& sc, MapSampler* sampler, bool filter) {
  const Mapped m = Map(sc);
  if (!m.inside || sampler == nullptr) return {};
  const double hu = std::isfinite(m.du) ? std::max(m.du, kMinDerivativeStep) : kMinDerivativeStep;
  const double hv = std::isfinite(m.dv) ? std::max(m.dv, kMinDerivativeStep) : kMinDerivativeStep;
  auto mono = [&](double u, double v) {
    return filter ? sampler->SampleMonoFilter(sc, u, v, m.du, m.dv) : sampler->SampleMono(sc, u, v);
  };
  return Point2{(mono(m.u + hu, m.v) - mono(m.u - hu, m.v)) / (2.0 * hu),
                (mono(m.u, m.v + hv) - mono(m.u, m.v - hv)) / (2.0 * hv)};
}

void StdUVGen::GetBumpDP(ShadeContext& sc, Point3 dP[2]) {
  Point3 surface[3];
  sc.DPdUVW(surface, channel_);
  dP[0] = uScale_ != 0.0f ? surface[0] * (1.0 / uScale_) : Point3{};
  dP[1] = vScale_ != 0.0f ? surface[1] * (1.0 / vScale_) : Point3{};
}

UVGen* GetNewDefaultUVGen() { return new StdUVGen(); }

}  // namespace zal
