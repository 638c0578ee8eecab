#include "text/font_face.h"

#include <hb.h>

#include <utility>

namespace text {
namespace {

struct BlobDeleter {
  void operator()(hb_blob_t* blob) const { hb_blob_destroy(blob); }
};
struct FaceDeleter {
  void operator()(hb_face_t* face) const { hb_face_destroy(face); }
};

}  // namespace

std::unique_ptr<FontFace> FontFace::Open(const FaceKey& key) {
  if (key.index < 0) return nullptr;
  const std::unique_ptr<hb_blob_t, BlobDeleter> blob(hb_blob_create_from_file_or_fail(key.file.c_str()));
  if (!blob) return nullptr;
  if (static_cast<unsigned>(key.index) >= hb_face_count(blob.get())) return nullptr;
  const std::unique_ptr<hb_face_t, FaceDeleter> face(
      hb_face_create(blob.get(), static_cast<unsigned>(key.index)));
  const unsigned unitsPerEm = hb_face_get_upem(face.get());
  if (unitsPerEm == 0 || hb_face_get_glyph_count(face.get()) == 0) return nullptr;
  hb_font_t* font = hb_font_create(face.get());
  hb_font_make_immutable(font);
  return std::unique_ptr<FontFace>(new FontFace(key, font, unitsPerEm));
}

FontFace::FontFace(FaceKey key, hb_font_t* font, double unitsPerEm)
    : key_(std::move(key)), font_(font), unitsPerEm_(unitsPerEm) {}

FontFace::~FontFace() { hb_font_destroy(font_); }

}  // namespace text
