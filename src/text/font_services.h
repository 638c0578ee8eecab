#pragma once

#include <agg_font_cache_manager.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "text/face_key.h"
#include "text/font_face.h"
#include "text/glyph_engine.h"

namespace text {

// Everything one layout needs from fonts: the faces opened for shaping and the glyph outlines,
// cached per face by AGG's font cache. Not thread-safe: each thread leases its own (LeaseFontServices).
class FontServices {
 public:
  using GlyphCache = agg::font_cache_manager<GlyphIndexEngine>;
  using OutlineAdaptor = GlyphIndexEngine::path_adaptor_type;

  static constexpr size_t kMaxKeptFaces = 64;

  FontServices();
  ~FontServices();
  FontServices(const FontServices&) = delete;
  FontServices& operator=(const FontServices&) = delete;

  // The face for key, opened on first use and kept; null when it can't be opened. Pointers stay
  // valid until Trim.
  const FontFace* Face(const FaceKey& key);
  // The glyph's outline and box in font units, y down; null when the face has no such glyph. The
  // pointer is valid until the next call.
  const agg::glyph_cache* Glyph(const FontFace& face, unsigned glyphIndex);
  // Reads a glyph's outline scaled by scale and offset by (dx, dy).
  OutlineAdaptor& Outline(const agg::glyph_cache& glyph, double dx, double dy, double scale);
  // Forgets the faces when more than kMaxKeptFaces are open; called between layouts.
  void Trim();

 private:
  // AGG's cache evicts its oldest font with an overlapping memcpy once it is full, so it is
  // started afresh before that can happen.
  static constexpr unsigned kMaxCachedFonts = 32;

  GlyphIndexEngine engine_;
  std::unique_ptr<GlyphCache> cache_;
  std::unordered_set<std::string> cachedFonts_;
  std::unordered_map<FaceKey, std::unique_ptr<FontFace>, FaceKeyHash> faces_;
};

// Font services reserved for one caller; they go back to a process-wide pool when the lease ends, so
// later renders find their faces and outlines cached already.
class FontServicesLease {
 public:
  FontServicesLease();
  ~FontServicesLease();
  FontServicesLease(const FontServicesLease&) = delete;
  FontServicesLease& operator=(const FontServicesLease&) = delete;

  FontServices& operator*() { return *services_; }
  FontServices* operator->() { return services_.get(); }

 private:
  std::unique_ptr<FontServices> services_;
};

}  // namespace text
