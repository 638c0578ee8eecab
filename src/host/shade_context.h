#pragma once

#include "host/geometry.h"
#include "host/zal_api.h"
#include "host/zal_types.h"

namespace zal {

// What a render thread knows about the point being shaded.
class ZAL_API ShadeContext {
 public:
  virtual ~ShadeContext();
  virtual TimeValue CurTime() = 0;
  // Texture coordinates of the point, and the footprint of the sample in those coordinates.
  virtual Point3 UVW(int channel) = 0;
  virtual Point3 DUVW(int channel) = 0;
  // Surface derivatives dP/du, dP/dv, dP/dw.
  virtual void DPdUVW(Point3 dP[3], int channel) = 0;
  // True while shading the material editor's sample displays.
  virtual bool InMtlEditor();
  virtual void SetGBufferID(int id);

  bool doMaps = true;
  bool filterMaps = true;
  int gbufferId = 0;
};

// A shading point whose every answer is set by the caller: the stand-in renderer fills one per pixel.
class ZAL_API PointShadeContext : public ShadeContext {
 public:
  TimeValue CurTime() override { return time; }
  Point3 UVW(int) override { return uvw; }
  Point3 DUVW(int) override { return duvw; }
  void DPdUVW(Point3 dP[3], int) override;
  bool InMtlEditor() override { return inMtlEditor; }

  TimeValue time = 0;
  Point3 uvw;
  Point3 duvw;
  Point3 dPdu{1.0, 0.0, 0.0};
  Point3 dPdv{0.0, 1.0, 0.0};
  bool inMtlEditor = false;
};

// What a texture offers its coordinates object: samples at given coordinates.
class ZAL_API MapSampler {
 public:
  virtual ~MapSampler();
  virtual AColor Sample(ShadeContext& sc, double u, double v) = 0;
  virtual AColor SampleFilter(ShadeContext& sc, double u, double v, double du, double dv) = 0;
  virtual float SampleMono(ShadeContext& sc, double u, double v);
  virtual float SampleMonoFilter(ShadeContext& sc, double u, double v, double du, double dv);
};

}  // namespace zal
