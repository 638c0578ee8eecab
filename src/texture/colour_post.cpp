#include "texture/colour_post.h"

#include "host/gamma.h"

namespace graphel {

zal::AColor PostProcess(const Rgba& sample, const OutputSettings& settings, bool mono) {
  // Premultiplied RGB out of premultiplied RGB without gamma: un-premultiplying and multiplying
  // again cancel, which spares three divisions on the common path.
  if (!mono && !settings.gammaCorrect && settings.rgbOutput == 0 &&
      (settings.alphaSource == 0 || settings.alphaSource == 2)) {
    const bool clear = sample.a == 0.0;
    const auto channel = [clear](double c) { return clear ? 0.0f : static_cast<float>(c); };
    const float alpha = settings.alphaSource == 2 ? 1.0f : static_cast<float>(sample.a);
    return zal::AColor{channel(sample.r), channel(sample.g), channel(sample.b), alpha};
  }
  float r = 0.0f, g = 0.0f, b = 0.0f;
  float a = static_cast<float>(sample.a);
  if (a != 0.0f) {
    r = static_cast<float>(sample.r) / a;
    g = static_cast<float>(sample.g) / a;
    b = static_cast<float>(sample.b) / a;
  }
  if (settings.gammaCorrect) {
    r = zal::GammaMgr::DeGammaCorrect(r, settings.displayGamma);
    g = zal::GammaMgr::DeGammaCorrect(g, settings.displayGamma);
    b = zal::GammaMgr::DeGammaCorrect(b, settings.displayGamma);
  }
  switch (settings.alphaSource) {
    case 1:
      a = (r + g + b) * a / 3.0f;
      break;
    case 2:
      r *= a;
      g *= a;
      b *= a;
      a = 1.0f;
      break;
    default:
      break;
  }
  if (mono) {
    if (settings.monoOutput == 0) a = (r + g + b) / 3.0f;
    return zal::AColor{a, a, a, a};
  }
  if (settings.rgbOutput == 0) return zal::AColor{r * a, g * a, b * a, a};
  return zal::AColor{a, a, a, a};
}

}  // namespace graphel
