#include "text/glyph_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <algorithm>

namespace text {
namespace {

// Outline coordinates are stored with six fractional bits, as AGG's integer path storage expects.
constexpr int kCoordinateScale = 64;
// The largest font-unit coordinate that survives that storage (one bit carries the command).
constexpr FT_Pos kMaxCoordinate = (1 << 23) - 1;
// Synthetic bold thickens strokes by 1/24 em, synthetic oblique leans 12 degrees.
constexpr int kEmboldenDivisor = 24;
constexpr FT_Fixed kObliqueShear = 0x0366A;

// FT_Outline_Decompose callbacks writing into the engine's integer path; y is flipped to point down.
struct Sink {
  agg::path_storage_integer<int32_t, 6>* path;

  int32_t X(const FT_Vector* v) { return Coordinate(v->x); }
  int32_t Y(const FT_Vector* v) { return Coordinate(-v->y); }
  // Coordinates past what the storage holds are clamped; no real font comes near them.
  static int32_t Coordinate(FT_Pos value) {
    return static_cast<int32_t>(std::clamp<FT_Pos>(value, -kMaxCoordinate, kMaxCoordinate) *
                                kCoordinateScale);
  }
};

int MoveTo(const FT_Vector* to, void* user) {
  auto* sink = static_cast<Sink*>(user);
  sink->path->move_to(sink->X(to), sink->Y(to));
  return 0;
}

int LineTo(const FT_Vector* to, void* user) {
  auto* sink = static_cast<Sink*>(user);
  sink->path->line_to(sink->X(to), sink->Y(to));
  return 0;
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
  auto* sink = static_cast<Sink*>(user);
  sink->path->curve3(sink->X(control), sink->Y(control), sink->X(to), sink->Y(to));
  return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* user) {
  auto* sink = static_cast<Sink*>(user);
  sink->path->curve4(sink->X(control1), sink->Y(control1), sink->X(control2), sink->Y(control2), sink->X(to),
                     sink->Y(to));
  return 0;
}

constexpr FT_Outline_Funcs kDecomposeFuncs = {MoveTo, LineTo, ConicTo, CubicTo, 0, 0};

std::string SignatureOf(const FaceKey& key) {
  return key.file + "," + std::to_string(key.index) + (key.syntheticBold ? ",bold" : "") +
         (key.syntheticItalic ? ",oblique" : "");
}

}  // namespace

struct GlyphIndexEngine::Library {
  FT_Library handle = nullptr;
  ~Library() {
    if (handle != nullptr) FT_Done_FreeType(handle);
  }
};

struct GlyphIndexEngine::OpenFace {
  FaceKey key;
  FT_Face face = nullptr;
  std::string signature;
  ~OpenFace() {
    if (face != nullptr) FT_Done_Face(face);
  }
};

GlyphIndexEngine::GlyphIndexEngine() : library_(std::make_unique<Library>()) {
  if (FT_Init_FreeType(&library_->handle) != 0) library_->handle = nullptr;
}

GlyphIndexEngine::~GlyphIndexEngine() {
  faces_.clear();
  library_.reset();
}

bool GlyphIndexEngine::SelectFace(const FaceKey& key) {
  if (current_ != nullptr && current_->key == key) return true;
  auto found = std::find_if(faces_.begin(), faces_.end(), [&](const auto& open) { return open->key == key; });
  if (found == faces_.end()) {
    if (library_->handle == nullptr || key.index < 0) return false;
    auto open = std::make_unique<OpenFace>();
    open->key = key;
    open->signature = SignatureOf(key);
    if (FT_New_Face(library_->handle, key.file.c_str(), key.index, &open->face) != 0) {
      open->face = nullptr;
      return false;
    }
    if (faces_.size() >= kMaxOpenFaces) {
      if (current_ == faces_.front().get()) current_ = nullptr;
      faces_.erase(faces_.begin());
    }
    faces_.push_back(std::move(open));
    found = std::prev(faces_.end());
  }
  current_ = found->get();
  signature_ = current_->signature;
  ++changeStamp_;
  return true;
}

bool GlyphIndexEngine::prepare_glyph(unsigned glyphIndex) {
  path_.remove_all();
  bounds_ = agg::rect_i(1, 1, 0, 0);
  advanceX_ = advanceY_ = 0.0;
  glyphIndex_ = glyphIndex;
  if (current_ == nullptr) return false;
  FT_Face face = current_->face;
  if (glyphIndex >= static_cast<unsigned>(face->num_glyphs)) return false;
  if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_NO_SCALE | FT_LOAD_IGNORE_TRANSFORM) != 0) return false;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  FT_Outline& outline = slot->outline;
  if (current_->key.syntheticBold && outline.n_points > 0) {
    const FT_Pos strength = std::max<FT_Pos>(1, face->units_per_EM / kEmboldenDivisor);
    FT_Outline_EmboldenXY(&outline, strength, strength);
  }
  if (current_->key.syntheticItalic) {
    FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
    FT_Outline_Transform(&outline, &shear);
  }
  advanceX_ = static_cast<double>(slot->advance.x);
  advanceY_ = static_cast<double>(slot->advance.y);
  if (outline.n_points == 0) return true;

  Sink sink{&path_};
  if (FT_Outline_Decompose(&outline, &kDecomposeFuncs, &sink) != 0) {
    path_.remove_all();
    return false;
  }
  FT_BBox box;
  if (FT_Outline_Get_BBox(&outline, &box) == 0) {
    const auto clampUnit = [](FT_Pos v) {
      return static_cast<int>(std::clamp<FT_Pos>(v, -kMaxCoordinate, kMaxCoordinate));
    };
    bounds_ =
        agg::rect_i(clampUnit(box.xMin), clampUnit(-box.yMax), clampUnit(box.xMax), clampUnit(-box.yMin));
  }
  return true;
}

}  // namespace text
