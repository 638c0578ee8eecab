#pragma once

#include <atomic>

#include "host/zal_api.h"

namespace zal {

// The host's display gamma settings; off by default in the stand-in host.
class ZAL_API GammaMgr {
 public:
  bool IsEnabled() const { return enabled_.load(std::memory_order_relaxed); }
  void Enable(bool on) { enabled_.store(on, std::memory_order_relaxed); }
  float GetDisplayGamma() const { return displayGamma_.load(std::memory_order_relaxed); }
  void SetDisplayGamma(float gamma) { displayGamma_.store(gamma, std::memory_order_relaxed); }
  // Removes a display gamma from a channel value: the linear value that displays as value.
  static float DeGammaCorrect(float value, float gamma);

 private:
  std::atomic<bool> enabled_{false};
  std::atomic<float> displayGamma_{2.2f};
};

ZAL_API GammaMgr& gammaMgr();

}  // namespace zal
