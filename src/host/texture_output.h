#pragma once

#include "host/mtl_base.h"
#include "host/zal_api.h"

namespace zal {

// A texture's output curves, applied to every answer it gives.
class ZAL_API TextureOutput : public MtlBase {
 public:
  SClass_ID SuperClassID() override;
  virtual AColor Filter(AColor c) = 0;
  virtual float Filter(float value) = 0;
  virtual Point3 Filter(Point3 perturbation) = 0;
};

// The host's standard output: colour = (channel x level + offset), inverted on request, times the
// output amount; alpha passes unchanged; bump perturbations scale by the amount.
class ZAL_API StdTexoutGen : public TextureOutput {
 public:
  static constexpr Class_ID kClassID{0x0000200, 0};

  Class_ID ClassID() override { return kClassID; }
  RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) override;
  void Update(TimeValue t, Interval& valid) override;
  void Reset() override;
  Interval Validity(TimeValue t) override;
  AColor Filter(AColor c) override;
  float Filter(float value) override;
  Point3 Filter(Point3 perturbation) override;

  void SetOutputAmount(float amount) { amount_ = amount; }
  void SetRGBLevel(float level) { level_ = level; }
  void SetRGBOffset(float offset) { offset_ = offset; }
  void SetInvert(bool invert) { invert_ = invert; }

 private:
  float Channel(float value) const;

  float amount_ = 1.0f;
  float level_ = 1.0f;
  float offset_ = 0.0f;
  bool invert_ = false;
};

ZAL_API TextureOutput* GetNewDefaultTextureOutput();

}  // namespace zal
