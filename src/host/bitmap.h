#pragma once

#include <cstdint>
#include <memory>
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

struct BitmapInfo {
  int width = 0;
  int height = 0;
  int type = BMM_TRUE_64;
  bool hasAlpha = true;
  std::u16string name;
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

// Creates host bitmaps; refuses sizes the host can't hold.
class ZAL_API BitmapManager {
 public:
  static constexpr int64_t kMaxPixels = int64_t{1} << 26;
  static constexpr int kMaxEdge = 1 << 16;

  // Null when the size is not positive, too large, or the memory can't be had.
  Bitmap* Create(const BitmapInfo& info);
  bool SilentMode() const { return silent_; }
  bool SetSilentMode(bool silent);

 private:
  bool silent_ = false;
};

ZAL_API BitmapManager* TheManager();

}  // namespace zal
