#include "host/bitmap.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "platform/picture_decoder.h"
#include "platform/wide_text.h"

namespace zal {
namespace {

// A file gamma this close to the display standard (1/2.2) is the standard.
constexpr double kGammaTolerance = 0.01;

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

void Bitmap::StoreBytes(const uint8_t* rgba) {
  for (BMM_Color_64& pixel : pixels_) {
    pixel = {static_cast<uint16_t>(rgba[0] * 257), static_cast<uint16_t>(rgba[1] * 257),
             static_cast<uint16_t>(rgba[2] * 257), hasAlpha_ ? static_cast<uint16_t>(rgba[3] * 257) : uint16_t{65535}};
    rgba += 4;
  }
}

void Bitmap::DeleteThis() { delete this; }

void ReadBytes(const Bitmap& bitmap, uint8_t* out) {
  const int width = bitmap.Width();
  std::vector<BMM_Color_64> line(static_cast<size_t>(width));
  auto byte = [](uint16_t channel) { return static_cast<uint8_t>((channel * 255u + 32767u) / 65535u); };
  for (int y = 0; y < bitmap.Height(); ++y) {
    bitmap.GetPixels(0, y, width, line.data());
    for (const BMM_Color_64& pixel : line) {
      *out++ = byte(pixel.r);
      *out++ = byte(pixel.g);
      *out++ = byte(pixel.b);
      *out++ = byte(pixel.a);
    }
  }
}

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

bool BitmapManager::SilentMode() const {
  const std::lock_guard lock(mutex_);
  return silent_;
}

bool BitmapManager::SetSilentMode(bool silent) {
  const std::lock_guard lock(mutex_);
  const bool previous = silent_;
  silent_ = silent;
  return previous;
}

std::vector<std::u16string> BitmapManager::DialogsShown() const {
  const std::lock_guard lock(mutex_);
  return dialogs_;
}

Bitmap* BitmapManager::Load(BitmapInfo& info) {
  platform::DecodedPicture decoded;
  std::string error;
  Bitmap* bitmap = nullptr;
  if (platform::DecodePictureFile(platform::WideToUtf8(info.name), decoded, error)) {
    BitmapInfo size = info;
    size.width = static_cast<int>(decoded.width);
    size.height = static_cast<int>(decoded.height);
    size.hasAlpha = decoded.hasAlpha;
    bitmap = Create(size);
    if (bitmap == nullptr) error = "not enough memory for the bitmap";
  }
  if (bitmap == nullptr) {
    const std::lock_guard lock(mutex_);
    if (!silent_) dialogs_.push_back(info.name + u": " + platform::Utf8ToWide(error));
    return nullptr;
  }
  bitmap->StoreBytes(decoded.pixels.get());
  info.width = bitmap->Width();
  info.height = bitmap->Height();
  info.hasAlpha = decoded.hasAlpha;
  // Files in the usual display gamma are shown as stored; only a file that asks for another gamma
  // (a linear PNG, say) gets a gamma of its own.
  info.gamma = decoded.fileGamma > 0.0 ? static_cast<float>(decoded.fileGamma) : 1.0f / 2.2f;
  info.ownGamma = decoded.fileGamma > 0.0 && std::fabs(decoded.fileGamma * 2.2 - 1.0) > kGammaTolerance;
  info.storageFlags = decoded.hasAlpha ? kStorageHasAlpha | kStorageStraightAlpha : 0;
  return bitmap;
}

BitmapManager* TheManager() {
  static BitmapManager manager;
  return &manager;
}

}  // namespace zal
