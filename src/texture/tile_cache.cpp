#include "texture/tile_cache.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "host/locale_handler.h"

namespace graphel {

TileCache::TileCache(svg::SvgScriptCallback* scriptCallback) : scriptCallback_(scriptCallback) { FreshTable(); }

TileCache::~TileCache() = default;

int64_t TileCache::LevelBase(int level) {
  if (level <= 11) return 11;
  // base(L) = 11 + (4^(L-10) - 4) / 3
  const int64_t power = int64_t{1} << (2 * (level - 10));
  return 11 + (power - 4) / 3;
}

int64_t TileCache::EntryIndex(int level, int64_t row, int64_t column) {
  if (level <= 10) return level;
  return LevelBase(level) + row * (int64_t{1} << (level - 10)) + column;
}

TileCache::Position TileCache::Locate(double u, double v, int level) const {
  u = std::clamp(std::isnan(u) ? 0.0 : u, 0.0, 1.0);
  v = std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0);
  const double last = static_cast<double>((int64_t{1} << level) - 1);
  Position position{static_cast<int64_t>((1.0 - v) * last) >> 10, static_cast<int64_t>(u * last) >> 10};
  if (level >= 10 && mirrorRows_.load(std::memory_order_relaxed)) {
    position.row = TileTable::GridSide(level) - 1 - position.row;
  }
  return position;
}

void TileCache::FreshTable() {
  table_.Clear(false);
  topLevel_ = 10;
}

void TileCache::ClearTiles(bool keepLevel10) {
  table_.Clear(keepLevel10);
  const Tile* overview = keepLevel10 ? table_.Find(10, 0, 0) : nullptr;
  bytesUsed_ = overview != nullptr ? overview->Bytes() : 0;
  topLevel_ = 10;
}

bool TileCache::LoadDocument(svg::LoadError& error, bool fromText, std::u16string_view pathOrText, bool forceNew,
                             document::PdfPageSettings* pdfSettings) {
  if (!forceNew) {
    ClearTiles(false);
    return true;
  }
  const zal::ZalLocaleHandler english;
  document_.reset();
  ClearTiles(false);
  if (!pathOrText.empty()) ++documentLoads_;
  document_ = document::VectorDocument::Create(error, fromText, pathOrText, scriptCallback_, gamma_, pdfSettings);
  if (!document_->Loaded()) {
    document_.reset();
    mirrorRows_.store(false, std::memory_order_relaxed);
    return false;
  }
  mirrorRows_.store(document_->Type() == document::FileType::kPdf, std::memory_order_relaxed);
  background_ = 0;
  FreshTable();
  return true;
}

void TileCache::SetGamma(double gamma) {
  gamma_ = gamma;
  if (document_ != nullptr) document_->SetGamma(gamma);
}

void TileCache::SetBackground(uint32_t background) {
  if (background == background_) return;
  background_ = background;
  ClearTiles(false);
}

bool TileCache::SelectPattern(const document::PatternSettings& settings) {
  if (document_ == nullptr || !document_->SelectPattern(settings, kBorder)) return false;
  background_ = document::PackedColour(settings.backgroundColour);
  ClearTiles(false);
  return true;
}

std::unique_ptr<Tile> TileCache::Render(int level, Position position) {
  if (document_ == nullptr) return nullptr;
  const int32_t size = TileSize(level);
  std::unique_ptr<uint8_t[]> buffer =
      document_->RenderTile(background_, int32_t{1} << level, size, static_cast<int32_t>(position.row),
                            static_cast<int32_t>(position.column), kBorder);
  if (buffer == nullptr) return nullptr;

  const size_t edge = static_cast<size_t>(size) + 2 * kBorder;
  const size_t count = edge * edge;
  uint32_t first = 0;
  std::memcpy(&first, buffer.get(), 4);
  bool uniform = true;
  for (size_t i = 1; i < count && uniform; ++i) uniform = std::memcmp(buffer.get() + i * 4, &first, 4) == 0;
  if (uniform) return std::make_unique<Tile>(size, first);
  // The renderer's buffer is copied into memory that huge pages can back.
  auto tile = std::make_unique<Tile>(size);
  if (!tile->Valid()) return nullptr;
  std::memcpy(tile->Pixels(), buffer.get(), count * 4);
  return tile;
}

const Tile* TileCache::Find(double u, double v, int level) const {
  level = std::clamp(level, 0, kMaxLevel);
  const Position position = Locate(u, v, level);
  return table_.Find(level, position.row, position.column);
}

int64_t TileCache::IndexOf(double u, double v, int level) const {
  level = std::clamp(level, 0, kMaxLevel);
  const Position position = Locate(u, v, level);
  return EntryIndex(level, position.row, position.column);
}

TileRef TileCache::EnsureTile(double u, double v, int level) {
  level = std::clamp(level, 0, kMaxLevel);
  const Position position = Locate(u, v, level);
  topLevel_ = std::max(topLevel_, level);
  TileRef ref;
  ref.index = EntryIndex(level, position.row, position.column);
  ref.tile = table_.Find(level, position.row, position.column);
  if (ref.tile != nullptr) return ref;
  std::unique_ptr<Tile> rendered = Render(level, position);
  if (rendered == nullptr) return ref;
  const uint64_t bytes = rendered->Bytes();
  const Tile* kept = rendered.get();
  if (!table_.Put(level, position.row, position.column, std::move(rendered))) return ref;
  bytesUsed_ += bytes;
  ref.tile = kept;
  return ref;
}

}  // namespace graphel
