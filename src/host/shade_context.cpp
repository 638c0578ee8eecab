#include "host/shade_context.h"

namespace zal {

ShadeContext::~ShadeContext() = default;
bool ShadeContext::InMtlEditor() { return false; }
void ShadeContext::SetGBufferID(int id) { gbufferId = id; }

void PointShadeContext::DPdUVW(Point3 dP[3], int) {
  dP[0] = dPdu;
  dP[1] = dPdv;
  dP[2] = CrossProd(dPdu, dPdv);
}

MapSampler::~MapSampler() = default;

float MapSampler::SampleMono(ShadeContext& sc, double u, double v) {
  const AColor c = Sample(sc, u, v);
  return (c.r + c.g + c.b) / 3.0f;
}

float MapSampler::SampleMonoFilter(ShadeContext& sc, double u, double v, double du, double dv) {
  const AColor c = SampleFilter(sc, u, v, du, dv);
  return (c.r + c.g + c.b) / 3.0f;
}

}  // namespace zal
