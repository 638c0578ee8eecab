#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "host/bitmap.h"
#include "host/host_interface.h"
#include "texture/graphel.h"

namespace graphel {
namespace {

// Bitmaps up to this size are sampled from the level-10 image; larger ones are rendered whole.
constexpr int kSampledSize = 1024;
constexpr double kBitmapFootprint = 0.001;
// A renderer that takes textures as bitmaps of the size the texture chooses ("hwbitmapsize").
constexpr zal::Class_ID kBitmapRendererId{0x10062999, 0x6E8C2F9E};
constexpr int kBaseLevelForBitmaps = 10;

zal::BMM_Color_fl ToPixel(const zal::AColor& c) { return zal::BMM_Color_fl{c.r, c.g, c.b, c.a}; }

}  // namespace

zal::Bitmap* Graphel::MakeBitmap(zal::TimeValue, int size, bool mono, bool asTexture) {
  if (size <= 0) return nullptr;
  double aspect = 1.0;
  {
    const std::lock_guard lock(lock_);
    if (const document::VectorDocument* loaded = cache_.Document()) aspect = loaded->Aspect();
  }
  if (!std::isfinite(aspect) || aspect <= 0.0) aspect = 1.0;
  int width = size;
  int height = size;
  if (!asTexture && aspect > 1.0) height = std::max(1, static_cast<int>(size / aspect));
  if (!asTexture && aspect < 1.0) width = std::max(1, static_cast<int>(size * aspect));

  zal::BitmapInfo info;
  info.width = width;
  info.height = height;
  info.type = zal::BMM_TRUE_64;
  info.hasAlpha = true;
  zal::Bitmap* bitmap = zal::TheManager()->Create(info);
  if (bitmap == nullptr) return nullptr;

  const OutputSettings output = CurrentOutput();
  auto finish = [&](const zal::AColor& colour) {
    return ToPixel(texout_ != nullptr ? texout_->Filter(colour) : colour);
  };
  try {
    if (size > kSampledSize) {
      std::unique_ptr<uint8_t[]> pixels;
      {
        const std::lock_guard lock(lock_);
        if (const document::VectorDocument* loaded = cache_.Document()) pixels = loaded->RenderWhole(size);
      }
      if (pixels != nullptr) {
        std::vector<zal::BMM_Color_fl> line(static_cast<size_t>(size));
        constexpr double kByte = 1.0 / 255.0;
        for (int y = 0; y < std::min(size, height); ++y) {
          const uint8_t* p = pixels.get() + static_cast<size_t>(y) * static_cast<size_t>(size) * 4;
          for (int x = 0; x < size; ++x, p += 4) {
            line[static_cast<size_t>(x)] =
                finish(PostProcess(Rgba{p[0] * kByte, p[1] * kByte, p[2] * kByte, p[3] * kByte}, output, mono));
          }
          bitmap->PutPixels(0, y, size, line.data());
        }
      }
    } else {
      std::vector<zal::BMM_Color_fl> line(static_cast<size_t>(width));
      for (int y = 0; y < height; ++y) {
        const double v = 1.0 - 0.5 / height - static_cast<double>(y) / height;
        for (int x = 0; x < width; ++x) {
          const double u = static_cast<double>(x) / width;
          Rgba sample;
          if (asTexture) {
            const Placement placed = ApplyCropPlacement(u, v, kBitmapFootprint, kBitmapFootprint, held_.crop);
            if (placed.sample) {
              sample = ReadTile(placed.u, placed.v, placed.du, placed.dv, kBaseLevelForBitmaps, false, nullptr) *
                       placed.weight;
            }
          } else {
            sample = ReadTile(u, v, kBitmapFootprint, kBitmapFootprint, kBaseLevelForBitmaps, false, nullptr);
          }
          line[static_cast<size_t>(x)] = finish(PostProcess(sample, output, mono));
        }
        bitmap->PutPixels(0, y, width, line.data());
      }
      const std::lock_guard lock(lock_);
      cache_.ClearTiles(true);
    }
  } catch (const std::exception&) {
    bitmap->DeleteThis();
    return nullptr;
  }
  const std::lock_guard lock(lock_);
  messages_.PostMemory(cache_.BytesUsed());
  return bitmap;
}

void Graphel::RenderBitmap(zal::TimeValue t, zal::Bitmap* bitmap, float scale3D, bool filter) {
  if (bitmap == nullptr) return;
  {
    const std::lock_guard lock(lock_);
    cache_.SetGamma(CurrentGamma());
  }
  if (renderMode_ && zal::GetCOREInterface()->GetCurrentRendererClassID() == kBitmapRendererId) {
    const std::unique_ptr<zal::Bitmap, void (*)(zal::Bitmap*)> made(
        MakeBitmap(t, held_.hwBitmapSize, false, true), [](zal::Bitmap* b) { b->DeleteThis(); });
    if (made != nullptr) bitmap->Adopt(*made);
    return;
  }
  zal::Texmap::RenderBitmap(t, bitmap, scale3D, filter);
}

}  // namespace graphel
