#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/zal_api.h"

namespace zal {

// 16 bits per channel, the host's storage for 64-bit colour.
struct BMM_Color_64 {
  uint16_t r = 0, g = 0, b = 0, a = 0;
};

struct BMM_Color_fl {
  float r = 0.0f, g = 0.0f, b = 0.0f, a = 0.0f;
};

inline constexpr int BMM_TRUE_64 = 7;

// Storage flags of a loaded bitmap.
inline constexpr int kStorageHasAlpha = 2;
// The colours are not multiplied by alpha yet.
inline constexpr int kStorageStraightAlpha = 4;

struct BitmapInfo {
  int width = 0;
  int height = 0;
  int type = BMM_TRUE_64;
  bool hasAlpha = true;
  std::u16string name;
  // Filled by Load: the file's gamma, whether the storage uses a gamma of its own rather than the
  // system's, and the storage flags above.
  float gamma = 1.0f;
  bool ownGamma = false;
  int storageFlags = 0;
};

// A host bitmap: width x height pixels of 64-bit colour, row 0 at the top.
class ZAL_API Bitmap {
 public:
  Bitmap(int width, int height, bool hasAlpha);
  virtual ~Bitmap();

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool HasAlpha() const { return hasAlpha_; }
  // Writes count pixels of row y from column x; channels are clamped to 0..1. Returns the number
  // written (0 when the span lies outside).
  int PutPixels(int x, int y, int count, const BMM_Color_fl* pixels);
  int GetPixels(int x, int y, int count, BMM_Color_64* pixels) const;
  // Fills every pixel from width x height x 4 bytes R, G, B, A, rows top first.
  void StoreBytes(const uint8_t* rgba);
  void DeleteThis();
  // Takes over other's pixels and size, keeping its own choice of alpha: how a renderer is handed a
  // bitmap made elsewhere.
  void Adopt(Bitmap& other);

 private:
  int width_;
  int height_;
  bool hasAlpha_;
  std::vector<BMM_Color_64> pixels_;
};

struct BitmapDeleter {
  void operator()(Bitmap* bitmap) const { bitmap->DeleteThis(); }
};
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;

// The pixels as width x height x 4 bytes R, G, B, A, rows top first, into out. 16 bits are rounded
// to 8, so bytes stored as 16 bits come back unchanged.
ZAL_API void ReadBytes(const Bitmap& bitmap, uint8_t* out);

// Creates host bitmaps; refuses sizes the host can't hold.
class ZAL_API BitmapManager {
 public:
  static constexpr int64_t kMaxPixels = int64_t{1} << 26;
  static constexpr int kMaxEdge = 1 << 16;

  // Null when the size is not positive, too large, or the memory can't be had.
  Bitmap* Create(const BitmapInfo& info);
  // Loads the PNG or JPEG file info.name into a new 16-bit bitmap and fills info's size, gamma and
  // storage fields; null when it can't. Outside silent mode a failure shows an error dialog.
  Bitmap* Load(BitmapInfo& info);
  bool SilentMode() const;
  // Returns the previous mode.
  bool SetSilentMode(bool silent);
  // The error dialogs shown so far: the stand-in keeps their texts instead of showing them.
  std::vector<std::u16string> DialogsShown() const;

 private:
  mutable std::mutex mutex_;
  bool silent_ = false;
  std::vector<std::u16string> dialogs_;
};

ZAL_API BitmapManager* TheManager();

}  // namespace zal
