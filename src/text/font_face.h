#pragma once

#include <memory>

#include "text/face_key.h"

struct hb_font_t;

namespace text {

// A face opened for shaping: HarfBuzz's view of the font file at its design size (one unit per font
// unit), so that shaped positions scale to any font size exactly.
class FontFace {
 public:
  // Null when the file can't be read or holds no such face.
  static std::unique_ptr<FontFace> Open(const FaceKey& key);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FaceKey& Key() const { return key_; }
  hb_font_t* HbFont() const { return font_; }
  double UnitsPerEm() const { return unitsPerEm_; }

 private:
  FontFace(FaceKey key, hb_font_t* font, double unitsPerEm);

  FaceKey key_;
  hb_font_t* font_;
  double unitsPerEm_;
};

}  // namespace text
