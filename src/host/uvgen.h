#pragma once

#include "host/mtl_base.h"
#include "host/shade_context.h"
#include "host/zal_api.h"

namespace zal {

// Tiling flags of a coordinates object.
inline constexpr int U_WRAP = 1;
inline constexpr int V_WRAP = 2;
inline constexpr int U_MIRROR = 4;
inline constexpr int V_MIRROR = 8;

// A texture's coordinates object: turns a shading point's coordinates into samples of the texture.
class ZAL_API UVGen : public MtlBase {
 public:
  SClass_ID SuperClassID() override;
  virtual AColor EvalUVMap(ShadeContext& sc, MapSampler* sampler, bool filter) = 0;
  virtual float EvalUVMapMono(ShadeContext& sc, MapSampler* sampler, bool filter) = 0;
  // The rate of change of the sampler's mono value along U and V.
  virtual Point2 EvalDeriv(ShadeContext& sc, MapSampler* sampler, bool filter) = 0;
  // Surface derivatives along the texture's U and V.
  virtual void GetBumpDP(ShadeContext& sc, Point3 dP[2]) = 0;
  virtual int GetTextureTiling() = 0;
  virtual float GetUScl(TimeValue t) = 0;
  virtual float GetVScl(TimeValue t) = 0;
  virtual float GetBlur(TimeValue t) = 0;
  virtual float GetBlurOffs(TimeValue t) = 0;
};

// The host's standard coordinates object: tiling (repeats) and offset per axis, wrap or mirror per
// axis, blur. Without wrap or mirror on an axis, coordinates outside 0..1 read nothing. Mirroring
// squeezes the image and its mirror image into each repeat and passes the footprint unchanged, as
// textures double it themselves.
class ZAL_API StdUVGen : public UVGen {
 public:
  static constexpr Class_ID kClassID{0x0000100, 0};

  Class_ID ClassID() override { return kClassID; }
  RefResult NotifyRefChanged(const Interval&, ReferenceTarget*, PartID, RefMessage) override;
  void Update(TimeValue t, Interval& valid) override;
  void Reset() override;
  Interval Validity(TimeValue t) override;

  AColor EvalUVMap(ShadeContext& sc, MapSampler* sampler, bool filter) override;
  float EvalUVMapMono(ShadeContext& sc, MapSampler* sampler, bool filter) override;
  Point2 EvalDeriv(ShadeContext& sc, MapSampler* sampler, bool filter) override;
  void GetBumpDP(ShadeContext& sc, Point3 dP[2]) override;
  int GetTextureTiling() override { return tiling_; }
  float GetUScl(TimeValue) override { return uScale_; }
  float GetVScl(TimeValue) override { return vScale_; }
  float GetBlur(TimeValue) override { return blur_; }
  float GetBlurOffs(TimeValue) override { return blurOffset_; }

  void SetTextureTiling(int flags) { tiling_ = flags; }
  void SetUScl(float scale) { uScale_ = scale; }
  void SetVScl(float scale) { vScale_ = scale; }
  void SetUOffs(float offset) { uOffset_ = offset; }
  void SetVOffs(float offset) { vOffset_ = offset; }
  // Blur is kept within 0.01..100 and its offset within 0..1, as the host's spinners do.
  void SetBlur(float blur);
  void SetBlurOffs(float offset);
  void SetMapChannel(int channel) { channel_ = channel; }

 private:
  struct Mapped {
    bool inside = true;
    double u = 0.0, v = 0.0, du = 0.0, dv = 0.0;
  };
  Mapped Map(ShadeContext& sc) const;

  int tiling_ = U_WRAP | V_WRAP;
  float uScale_ = 1.0f, vScale_ = 1.0f;
  float uOffset_ = 0.0f, vOffset_ = 0.0f;
  float blur_ = 1.0f, blurOffset_ = 0.0f;
  int channel_ = 1;
};

ZAL_API UVGen* GetNewDefaultUVGen();

}  // namespace zal
