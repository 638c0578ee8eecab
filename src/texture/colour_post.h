#pragma once

#include "host/geometry.h"

namespace graphel {

// A sample as the pyramid gives it: four channels in 0..1, colour premultiplied by alpha.
struct Rgba {
  double r = 0.0, g = 0.0, b = 0.0, a = 0.0;

  Rgba operator*(double s) const { return {r * s, g * s, b * s, a * s}; }
  Rgba operator+(const Rgba& o) const { return {r + o.r, g + o.g, b + o.b, a + o.a}; }
};

struct OutputSettings {
  int alphaSource = 0;  // 0 image alpha, 1 RGB intensity, 2 none (opaque)
  int rgbOutput = 0;    // 0 RGB, 1 alpha as grey
  int monoOutput = 0;   // 0 RGB intensity, 1 alpha
  bool gammaCorrect = false;
  float displayGamma = 1.0f;
};

// Un-premultiplies, removes display gamma, applies the alpha source and the output choice. For a
// mono result the grey is the alpha, or the intensity with mono output 0. The output curves of the
// texture come after this.
zal::AColor PostProcess(const Rgba& sample, const OutputSettings& settings, bool mono);

}  // namespace graphel
