#include "shade_image.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "host/shade_context.h"
#include "progress_bar.h"

namespace graphel_cli {
namespace {

constexpr int kMaxThreads = 256;
constexpr double kAmbient = 0.3;
constexpr zal::Point3 kSurfaceGrey{0.72, 0.72, 0.72};

uint8_t ToByte(double value) {
  if (!(value > 0.0)) return 0;
  if (value >= 1.0) return 255;
  return static_cast<uint8_t>(std::lround(value * 255.0));
}

zal::Point3 Sky(int y, int height) {
  const double f = static_cast<double>(y) / std::max(height - 1, 1);
  return zal::Point3{0.55, 0.68, 0.86} * (1.0 - f) + zal::Point3{0.9, 0.92, 0.95} * f;
}

// One pixel: the texture over a grey surface, lit by one light and an ambient term.
zal::Point3 ShadePixel(zal::Texmap& texture, const ShadeScene& scene, zal::PointShadeContext& sc, int x, int y,
                       int height, bool bump) {
  const std::optional<SurfaceHit> hit = scene.Trace(x, y);
  if (!hit) return Sky(y, height);
  sc.uvw = zal::Point3{hit->u, hit->v, 0.0};
  sc.duvw = zal::Point3{hit->du, hit->dv, 0.0};
  sc.dPdu = hit->dPdu;
  sc.dPdv = hit->dPdv;
  zal::Point3 normal = hit->normal;
  if (bump) normal = zal::Normalize(normal + texture.EvalNormalPerturb(sc));
  const zal::AColor colour = texture.EvalColor(sc);
  const double cover = 1.0 - std::clamp(static_cast<double>(colour.a), 0.0, 1.0);
  const zal::Point3 albedo = zal::Point3{colour.r, colour.g, colour.b} + kSurfaceGrey * cover;
  const double light = kAmbient + (1.0 - kAmbient) * std::max(0.0, zal::DotProd(normal, scene.LightDirection()));
  return albedo * light;
}

}  // namespace

std::vector<uint8_t> ShadeImage(zal::Texmap& texture, zal::TimeValue t, const ShadeImageSettings& settings,
                                ProgressBar* progress) {
  const ShadeScene scene(settings.object, settings.width, settings.height, settings.grazing);
  std::vector<uint8_t> pixels(static_cast<size_t>(settings.width) * settings.height * 4);
  const int threads = std::clamp(
      settings.threads > 0 ? settings.threads : static_cast<int>(std::thread::hardware_concurrency()), 1, kMaxThreads);
  texture.RenderBegin(t, 0);
  std::atomic<int> nextRow{0};
  auto work = [&] {
    zal::PointShadeContext sc;
    sc.time = t;
    for (int y = nextRow++; y < settings.height; y = nextRow++) {
      uint8_t* row = pixels.data() + static_cast<size_t>(y) * settings.width * 4;
      for (int x = 0; x < settings.width; ++x) {
        const zal::Point3 c = ShadePixel(texture, scene, sc, x, y, settings.height, settings.bump);
        row[x * 4 + 0] = ToByte(c.x);
        row[x * 4 + 1] = ToByte(c.y);
        row[x * 4 + 2] = ToByte(c.z);
        row[x * 4 + 3] = 255;
      }
      if (progress != nullptr) progress->Advance();
    }
  };
  std::vector<std::thread> workers;
  for (int i = 1; i < threads; ++i) workers.emplace_back(work);
  work();
  for (std::thread& worker : workers) worker.join();
  texture.RenderEnd(0);
  return pixels;
}

}  // namespace graphel_cli
