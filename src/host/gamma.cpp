#include "host/gamma.h"

#include <cmath>

namespace zal {

float GammaMgr::DeGammaCorrect(float value, float gamma) {
  if (!(value > 0.0f) || !(gamma > 0.0f)) return value > 0.0f ? value : 0.0f;
  return std::pow(value, gamma);
}

GammaMgr& gammaMgr() {
  static GammaMgr manager;
  return manager;
}

}  // namespace zal
