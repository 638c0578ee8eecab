#pragma once

#include "host/geometry.h"
#include "host/reference.h"
#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

class Bitmap;
class IParamBlock2;
class ShadeContext;
class UVGen;

// Materials, textures and their helper objects: things that update per time and can be reset.
class ZAL_API MtlBase : public ReferenceTarget {
 public:
  virtual void Update(TimeValue t, Interval& valid) = 0;
  virtual void Reset() = 0;
  virtual Interval Validity(TimeValue t) = 0;
  virtual int NumParamBlocks();
  virtual IParamBlock2* GetParamBlock(int i);
  virtual IParamBlock2* GetParamBlockByID(BlockID id);

  int GetGBufID() const { return gbufID; }
  void SetGBufID(int id) { gbufID = id; }

 protected:
  int gbufID = 0;
};

inline constexpr int TEXRENDER_MODE_DEFAULT = 0;

// A texture map as render threads see it.
class ZAL_API Texmap : public MtlBase {
 public:
  SClass_ID SuperClassID() override;
  virtual AColor EvalColor(ShadeContext& sc) = 0;
  // Defaults to the intensity of the colour.
  virtual float EvalMono(ShadeContext& sc);
  virtual Point3 EvalNormalPerturb(ShadeContext& sc) = 0;
  virtual int RenderBegin(TimeValue t, unsigned flags);
  virtual int RenderEnd(unsigned flags);
  virtual UVGen* GetTheUVGen();
  // Fills bitmap with the texture over the whole UV square; the host's version shades one colour
  // evaluation per pixel, each with a footprint of one pixel.
  virtual void RenderBitmap(TimeValue t, Bitmap* bitmap, float scale3D, bool filter);
};

}  // namespace zal
