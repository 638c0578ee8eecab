#include "host/bitmap.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace zal {
namespace {

uint16_t ToChannel(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 1.0f) return 65535;
  return static_cast<uint16_t>(std::lround(value * 65535.0f));
}

}  // namespace

Bitmap::Bitmap(int width, int height, bool hasAlpha)
    : width_(width), height_(height), hasAlpha_(hasAlpha),
      pixels_(static_cast<size_t>(width) * static_cast<size_t>(height)) {}

Bitmap::~Bitmap() = default;

int Bitmap::PutPixels(int x, int y, int count, const BMM_Color_fl* pixels) {
  if (pixels == nullptr || y < 0 || y >= height_ || x < 0 || x >= width_ || count <= 0) return 0;
  const int written = std::min(count, width_ - x);
  BMM_Color_64* row = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) + x;
  for (int i = 0; i < written; ++i) {
    row[i] = {ToChannel(pixels[i].r), ToChannel(pixels[i].g), ToChannel(pixels[i].b),
              hasAlpha_ ? ToChannel(pixels[i].a) : uint16_t{65535}};
  }
  return written;
}

int Bitmap::GetPixels(int x, int y, int count, BMM_Color_64* pixels) const {
  if (pixels == nullptr || y < 0 || y >= height_ || x < 0 || x >= width_ || count <= 0) return 0;
  const int read = std::min(count, width_ - x);
  const BMM_Color_64* row = pixels_.data() + static_cast<size_t>(y) * static_cast<size_t>(width_) + x;
  std::copy(row, row + read, pixels);
  return read;
}

void Bitmap::DeleteThis() { delete this; }

void Bitmap::Adopt(Bitmap& other) {
  width_ = other.width_;
  height_ = other.height_;
  pixels_ = std::move(other.pixels_);
  if (!hasAlpha_) {
    for (BMM_Color_64& pixel : pixels_) pixel.a = 65535;
  }
  other.width_ = other.height_ = 0;
  other.pixels_.clear();
}

Bitmap* BitmapManager::Create(const BitmapInfo& info) {
  if (info.width <= 0 || info.height <= 0 || info.width > kMaxEdge || info.height > kMaxEdge) return nullptr;
  if (int64_t{info.width} * info.height > kMaxPixels) return nullptr;
  try {
    return new Bitmap(info.width, info.height, info.hasAlpha);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

bool BitmapManager::SetSilentMode(bool silent) {
  const bool previous = silent_;
  silent_ = silent;
  return previous;
}

BitmapManager* TheManager() {
  static BitmapManager manager;
  return &manager;
}

}  // namespace zal
