#pragma once

#include <agg_font_cache_manager.h>
#include <agg_path_storage_integer.h>
#include <agg_scanline_storage_aa.h>
#include <agg_scanline_storage_bin.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/face_key.h"

namespace text {

// A FreeType font engine for AGG's font_cache_manager that loads glyphs by glyph index. AGG's own
// FreeType engine maps every code through the face's character map, which cannot reach the glyphs
// that shaping produces (joining forms, ligatures, conjuncts); this one is handed glyph indices.
//
// Outlines come unscaled and unhinted in font units, y pointing down, so one cached outline serves
// every font size. Synthetic bold and oblique are applied to the outline when the face key asks.
// The lower-case members are the interface font_cache_manager calls.
class GlyphIndexEngine {
 public:
  using path_adaptor_type = agg::serialized_integer_path_adaptor<int32_t, 6>;
  using gray8_adaptor_type = agg::serialized_scanlines_adaptor_aa<agg::int8u>;
  using mono_adaptor_type = agg::serialized_scanlines_adaptor_bin;

  static constexpr size_t kMaxOpenFaces = 32;

  GlyphIndexEngine();
  ~GlyphIndexEngine();
  GlyphIndexEngine(const GlyphIndexEngine&) = delete;
  GlyphIndexEngine& operator=(const GlyphIndexEngine&) = delete;

  // Makes key the face that glyphs come from, opening it when needed (the oldest of kMaxOpenFaces
  // open faces is closed first). False when the face can't be opened.
  bool SelectFace(const FaceKey& key);

  const char* font_signature() const { return signature_.c_str(); }
  int change_stamp() const { return changeStamp_; }
  bool prepare_glyph(unsigned glyphIndex);
  unsigned glyph_index() const { return glyphIndex_; }
  unsigned data_size() const { return path_.byte_size(); }
  agg::glyph_data_type data_type() const { return agg::glyph_data_outline; }
  const agg::rect_i& bounds() const { return bounds_; }
  double advance_x() const { return advanceX_; }
  double advance_y() const { return advanceY_; }
  void write_glyph_to(agg::int8u* data) const { path_.serialize(data); }
  // Kerning comes with the shaped positions; pairs are never added here.
  bool add_kerning(unsigned, unsigned, double*, double*) const { return false; }

 private:
  struct Library;
  struct OpenFace;

  std::unique_ptr<Library> library_;
  std::vector<std::unique_ptr<OpenFace>> faces_;  // oldest first
  OpenFace* current_ = nullptr;
  std::string signature_;
  int changeStamp_ = 0;

  unsigned glyphIndex_ = 0;
  agg::path_storage_integer<int32_t, 6> path_;
  agg::rect_i bounds_{1, 1, 0, 0};
  double advanceX_ = 0.0;
  double advanceY_ = 0.0;
};

}  // namespace text
