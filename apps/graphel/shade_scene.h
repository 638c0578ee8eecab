#pragma once

#include <optional>
#include <string>

#include "host/geometry.h"

namespace graphel_cli {

enum class SceneObject { kPlane, kSphere, kCube };

// A point where a camera ray meets the object, with what shading needs: the surface normal, the
// texture coordinates, their footprint for this pixel (from ray differentials) and the surface
// derivatives along U and V.
struct SurfaceHit {
  zal::Point3 position;
  zal::Point3 normal;
  double u = 0.0, v = 0.0;
  double du = 0.0, dv = 0.0;
  zal::Point3 dPdu;
  zal::Point3 dPdv;
};

// A pinhole camera looking at one object: the plane (2 x 2, lying flat), the unit sphere or the
// cube of edge 2, each with texture coordinates 0..1 across (every face of the cube has its own).
class ShadeScene {
 public:
  // grazing puts the camera low over the plane, so the texture is seen from near to far.
  ShadeScene(SceneObject object, int width, int height, bool grazing);

  // What the ray through the centre of pixel (x, y) hits, if anything.
  std::optional<SurfaceHit> Trace(int x, int y) const;
  // The direction towards the light.
  zal::Point3 LightDirection() const { return light_; }

 private:
  struct Ray {
    zal::Point3 direction;  // not normalised: origin + t x direction
    zal::Point3 dDdx;
    zal::Point3 dDdy;
  };
  struct Intersection {
    double t = 0.0;
    zal::Point3 normal;
    double u = 0.0, v = 0.0;
    zal::Point3 dPdu;
    zal::Point3 dPdv;
  };

  std::optional<Intersection> Intersect(const Ray& ray) const;
  std::optional<Intersection> IntersectPlane(const Ray& ray) const;
  std::optional<Intersection> IntersectSphere(const Ray& ray) const;
  std::optional<Intersection> IntersectCube(const Ray& ray) const;

  SceneObject object_;
  int width_;
  int height_;
  zal::Point3 eye_;
  zal::Point3 forward_;
  zal::Point3 right_;
  zal::Point3 up_;
  zal::Point3 light_;
};

std::optional<SceneObject> ParseSceneObject(const std::string& name);

}  // namespace graphel_cli
