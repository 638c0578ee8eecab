#include "host/texture_output.h"

namespace zal {

SClass_ID TextureOutput::SuperClassID() { return TEXOUTPUT_CLASS_ID; }

RefResult StdTexoutGen::NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) { return REF_DONTCARE; }
void StdTexoutGen::Update(TimeValue, Interval&) {}
Interval StdTexoutGen::Validity(TimeValue) { return FOREVER; }

void StdTexoutGen::Reset() {
  amount_ = level_ = 1.0f;
  offset_ = 0.0f;
  invert_ = false;
}

float StdTexoutGen::Channel(float value) const {
  float result = value * level_ + offset_;
  if (invert_) result = 1.0f - result;
  return result * amount_;
}

AColor StdTexoutGen::Filter(AColor c) { return AColor{Channel(c.r), Channel(c.g), Channel(c.b), c.a}; }
float StdTexoutGen::Filter(float value) { return Channel(value); }
Point3 StdTexoutGen::Filter(Point3 perturbation) { return perturbation * amount_; }

TextureOutput* GetNewDefaultTextureOutput() { return new StdTexoutGen(); }

}  // namespace zal
