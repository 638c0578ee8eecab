#include "shade_scene.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace graphel_cli {
namespace {

using zal::Point3;

constexpr double kFieldOfView = 40.0 * std::numbers::pi / 180.0;
constexpr double kEpsilon = 1e-9;

struct CameraPlacement {
  Point3 eye;
  Point3 target;
};

CameraPlacement PlaceCamera(SceneObject object, bool grazing) {
  switch (object) {
    case SceneObject::kPlane:
      return grazing ? CameraPlacement{{0.0, 0.09, 1.15}, {0.0, 0.0, -0.2}}
                     : CameraPlacement{{0.0, 1.9, 2.1}, {0.0, 0.0, 0.0}};
    case SceneObject::kSphere:
      return CameraPlacement{{0.0, 0.6, 3.3}, {0.0, 0.0, 0.0}};
    case SceneObject::kCube:
      return CameraPlacement{{3.0, 2.4, 3.8}, {0.0, 0.0, 0.0}};
  }
  return {};
}

// dP/dx expressed along dPdu and dPdv (least squares): how far U and V move per pixel.
void SurfaceToTexture(const Point3& dP, const Point3& dPdu, const Point3& dPdv, double& du, double& dv) {
  const double a = zal::DotProd(dPdu, dPdu);
  const double b = zal::DotProd(dPdu, dPdv);
  const double c = zal::DotProd(dPdv, dPdv);
  const double det = a * c - b * b;
  if (std::fabs(det) < kEpsilon * std::max(1.0, a * c)) {
    du = dv = 1.0;
    return;
  }
  const double pu = zal::DotProd(dPdu, dP);
  const double pv = zal::DotProd(dPdv, dP);
  du = (c * pu - b * pv) / det;
  dv = (a * pv - b * pu) / det;
}

}  // namespace

std::optional<SceneObject> ParseSceneObject(const std::string& name) {
  if (name == "plane") return SceneObject::kPlane;
  if (name == "sphere") return SceneObject::kSphere;
  if (name == "cube") return SceneObject::kCube;
  return std::nullopt;
}

ShadeScene::ShadeScene(SceneObject object, int width, int height, bool grazing)
    : object_(object), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  const CameraPlacement camera = PlaceCamera(object, grazing);
  eye_ = camera.eye;
  forward_ = zal::Normalize(camera.target - camera.eye);
  right_ = zal::Normalize(zal::CrossProd(forward_, Point3{0.0, 1.0, 0.0}));
  up_ = zal::CrossProd(right_, forward_);
  light_ = zal::Normalize(Point3{-0.5, 1.0, 0.7});
}

std::optional<SurfaceHit> ShadeScene::Trace(int x, int y) const {
  const double tanHalf = std::tan(kFieldOfView / 2.0);
  const double aspect = static_cast<double>(width_) / height_;
  const double a = (2.0 * (x + 0.5) / width_ - 1.0) * tanHalf * aspect;
  const double b = (1.0 - 2.0 * (y + 0.5) / height_) * tanHalf;
  Ray ray;
  ray.direction = forward_ + right_ * a + up_ * b;
  ray.dDdx = right_ * (2.0 * tanHalf * aspect / width_);
  ray.dDdy = up_ * (-2.0 * tanHalf / height_);

  const std::optional<Intersection> found = Intersect(ray);
  if (!found) return std::nullopt;
  const Intersection& hit = *found;
  SurfaceHit result;
  result.position = eye_ + ray.direction * hit.t;
  result.normal = hit.normal;
  result.u = hit.u;
  result.v = hit.v;
  result.dPdu = hit.dPdu;
  result.dPdv = hit.dPdv;

  // Ray differentials: how the hit point moves to the neighbouring pixels, on the surface's plane.
  const double facing = zal::DotProd(ray.direction, hit.normal);
  if (std::fabs(facing) < kEpsilon) {
    result.du = result.dv = 1.0;
    return result;
  }
  auto transfer = [&](const Point3& dD) {
    const double dt = -hit.t * zal::DotProd(dD, hit.normal) / facing;
    return dD * hit.t + ray.direction * dt;
  };
  double dudx = 0.0, dvdx = 0.0, dudy = 0.0, dvdy = 0.0;
  SurfaceToTexture(transfer(ray.dDdx), hit.dPdu, hit.dPdv, dudx, dvdx);
  SurfaceToTexture(transfer(ray.dDdy), hit.dPdu, hit.dPdv, dudy, dvdy);
  result.du = std::max(std::fabs(dudx), std::fabs(dudy));
  result.dv = std::max(std::fabs(dvdx), std::fabs(dvdy));
  return result;
}

std::optional<ShadeScene::Intersection> ShadeScene::Intersect(const Ray& ray) const {
  switch (object_) {
    case SceneObject::kPlane: return IntersectPlane(ray);
    case SceneObject::kSphere: return IntersectSphere(ray);
    case SceneObject::kCube: return IntersectCube(ray);
  }
  return std::nullopt;
}

std::optional<ShadeScene::Intersection> ShadeScene::IntersectPlane(const Ray& ray) const {
  if (std::fabs(ray.direction.y) < kEpsilon) return std::nullopt;
  const double t = -eye_.y / ray.direction.y;
  if (t <= 0.0) return std::nullopt;
  const Point3 p = eye_ + ray.direction * t;
  if (std::fabs(p.x) > 1.0 || std::fabs(p.z) > 1.0) return std::nullopt;
  Intersection hit;
  hit.t = t;
  hit.normal = Point3{0.0, eye_.y >= 0.0 ? 1.0 : -1.0, 0.0};
  hit.u = (p.x + 1.0) / 2.0;
  hit.v = (1.0 - p.z) / 2.0;
  hit.dPdu = Point3{2.0, 0.0, 0.0};
  hit.dPdv = Point3{0.0, 0.0, -2.0};
  return hit;
}

std::optional<ShadeScene::Intersection> ShadeScene::IntersectSphere(const Ray& ray) const {
  const double a = zal::DotProd(ray.direction, ray.direction);
  const double b = 2.0 * zal::DotProd(eye_, ray.direction);
  const double c = zal::DotProd(eye_, eye_) - 1.0;
  const double disc = b * b - 4.0 * a * c;
  if (disc < 0.0) return std::nullopt;
  const double t = (-b - std::sqrt(disc)) / (2.0 * a);
  if (t <= 0.0) return std::nullopt;
  const Point3 p = zal::Normalize(eye_ + ray.direction * t);
  const double phi = std::atan2(p.x, p.z);
  const double lambda = std::asin(std::clamp(p.y, -1.0, 1.0));
  const double twoPi = 2.0 * std::numbers::pi;
  Intersection hit;
  hit.t = t;
  hit.normal = p;
  hit.u = 0.5 + phi / twoPi;
  hit.v = 0.5 + lambda / std::numbers::pi;
  hit.dPdu = Point3{std::cos(lambda) * std::cos(phi), 0.0, -std::cos(lambda) * std::sin(phi)} * twoPi;
  hit.dPdv =
      Point3{-std::sin(lambda) * std::sin(phi), std::cos(lambda), -std::sin(lambda) * std::cos(phi)} * std::numbers::pi;
  return hit;
}

std::optional<ShadeScene::Intersection> ShadeScene::IntersectCube(const Ray& ray) const {
  double near = -1e300, far = 1e300;
  const double origin[3] = {eye_.x, eye_.y, eye_.z};
  const double direction[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
  for (int axis = 0; axis < 3; ++axis) {
    if (std::fabs(direction[axis]) < kEpsilon) {
      if (std::fabs(origin[axis]) > 1.0) return std::nullopt;
      continue;
    }
    double t0 = (-1.0 - origin[axis]) / direction[axis];
    double t1 = (1.0 - origin[axis]) / direction[axis];
    if (t0 > t1) std::swap(t0, t1);
    near = std::max(near, t0);
    far = std::min(far, t1);
  }
  if (near > far || near <= 0.0) return std::nullopt;
  const Point3 p = eye_ + ray.direction * near;
  Intersection hit;
  hit.t = near;
  const double ax = std::fabs(p.x), ay = std::fabs(p.y), az = std::fabs(p.z);
  if (az >= ax && az >= ay) {
    const double s = p.z > 0.0 ? 1.0 : -1.0;
    hit.normal = Point3{0.0, 0.0, s};
    hit.u = (s * p.x + 1.0) / 2.0;
    hit.v = (p.y + 1.0) / 2.0;
    hit.dPdu = Point3{2.0 * s, 0.0, 0.0};
    hit.dPdv = Point3{0.0, 2.0, 0.0};
  } else if (ax >= ay) {
    const double s = p.x > 0.0 ? 1.0 : -1.0;
    hit.normal = Point3{s, 0.0, 0.0};
    hit.u = (1.0 - s * p.z) / 2.0;
    hit.v = (p.y + 1.0) / 2.0;
    hit.dPdu = Point3{0.0, 0.0, -2.0 * s};
    hit.dPdv = Point3{0.0, 2.0, 0.0};
  } else {
    const double s = p.y > 0.0 ? 1.0 : -1.0;
    hit.normal = Point3{0.0, s, 0.0};
    hit.u = (p.x + 1.0) / 2.0;
    hit.v = (1.0 - s * p.z) / 2.0;
    hit.dPdu = Point3{2.0, 0.0, 0.0};
    hit.dPdv = Point3{0.0, 0.0, -2.0 * s};
  }
  return hit;
}

}  // namespace graphel_cli
