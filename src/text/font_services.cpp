#include "text/font_services.h"

#include <mutex>
#include <vector>

namespace text {
namespace {

// Idle services kept for reuse; more are made while several renders run at once.
constexpr size_t kMaxIdleServices = 8;

struct ServicesPool {
  std::mutex mutex;
  std::vector<std::unique_ptr<FontServices>> idle;
};

ServicesPool& Pool() {
  static ServicesPool pool;
  return pool;
}

}  // namespace

FontServices::FontServices() : cache_(std::make_unique<GlyphCache>(engine_, kMaxCachedFonts)) {}

FontServices::~FontServices() = default;

const FontFace* FontServices::Face(const FaceKey& key) {
  auto found = faces_.find(key);
  if (found == faces_.end()) found = faces_.emplace(key, FontFace::Open(key)).first;
  return found->second.get();
}

const agg::glyph_cache* FontServices::Glyph(const FontFace& face, unsigned glyphIndex) {
  if (!engine_.SelectFace(face.Key())) return nullptr;
  if (cachedFonts_.insert(engine_.font_signature()).second && cachedFonts_.size() > kMaxCachedFonts) {
    cache_ = std::make_unique<GlyphCache>(engine_, kMaxCachedFonts);
    cachedFonts_ = {engine_.font_signature()};
  }
  return cache_->glyph(glyphIndex);
}

FontServices::OutlineAdaptor& FontServices::Outline(const agg::glyph_cache& glyph, double dx, double dy,
                                                    double scale) {
  cache_->init_embedded_adaptors(&glyph, dx, dy, scale);
  return cache_->path_adaptor();
}

void FontServices::Trim() {
  if (faces_.size() > kMaxKeptFaces) faces_.clear();
}

FontServicesLease::FontServicesLease() {
  ServicesPool& pool = Pool();
  {
    const std::lock_guard lock(pool.mutex);
    if (!pool.idle.empty()) {
      services_ = std::move(pool.idle.back());
      pool.idle.pop_back();
    }
  }
  if (!services_) services_ = std::make_unique<FontServices>();
}

FontServicesLease::~FontServicesLease() {
  services_->Trim();
  ServicesPool& pool = Pool();
  const std::lock_guard lock(pool.mutex);
  if (pool.idle.size() < kMaxIdleServices) pool.idle.push_back(std::move(services_));
}

}  // namespace text
