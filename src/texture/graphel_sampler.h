#pragma once

#include "host/shade_context.h"
#include "texture/colour_post.h"
#include "texture/graphel_probe.h"

namespace graphel {

class Graphel;

// What the texture's coordinates object calls back while it evaluates a UV map: one sample of the
// pyramid per call, with cropping, placement and jitter, level choice and mip blending. Colours come
// back premultiplied, before post-processing. Made per evaluation, on the render thread's stack.
class GraphelSampler : public zal::MapSampler {
 public:
  // trace, when given, records how the first sample was taken.
  GraphelSampler(Graphel& texture, SampleTrace* trace) : texture_(texture), trace_(trace) {}

  zal::AColor Sample(zal::ShadeContext& sc, double u, double v) override;
  zal::AColor SampleFilter(zal::ShadeContext& sc, double u, double v, double du, double dv) override;
  float SampleMono(zal::ShadeContext& sc, double u, double v) override;
  float SampleMonoFilter(zal::ShadeContext& sc, double u, double v, double du, double dv) override;

 private:
  Rgba OneSample(zal::ShadeContext& sc, double u, double v, double du, double dv, bool filter);
  float Mono(const Rgba& sample) const;

  Graphel& texture_;
  SampleTrace* trace_;
};

}  // namespace graphel
