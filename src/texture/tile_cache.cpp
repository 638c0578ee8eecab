#include "texture/tile_cache.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "host/locale_handler.h"

namespace graphel {
namespace {

constexpr int kDenseTop = 16;
constexpr int kMaxLevel = 24;

std::atomic<uint64_t> nextCacheId{1};

// The last few tiles each thread fetched, so neighbouring samples find their tile without the lock.
struct RecentTile {
  uint64_t cacheId = 0;
  uint64_t generation = 0;
  int level = -1;
  int64_t row = -1;
  int64_t column = -1;
  TileRef ref;
};
struct RecentTiles {
  std::array<RecentTile, 4> slots;
  unsigned next = 0;
};
thread_local RecentTiles recentTiles;

}  // namespace

size_t Tile::Bytes() const {
  if (pixels == nullptr) return 4;
  const size_t edge = static_cast<size_t>(tileSize) + 2 * TileCache::kBorder;
  return edge * edge * 4;
}

TileCache::TileCache(svg::SvgScriptCallback* scriptCallback)
    : scriptCallback_(scriptCallback), id_(nextCacheId.fetch_add(1, std::memory_order_relaxed)) {
  FreshTable();
}

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

TileCache::Position TileCache::Locate(double u, double v, int level) {
  u = std::clamp(std::isnan(u) ? 0.0 : u, 0.0, 1.0);
  v = std::clamp(std::isnan(v) ? 0.0 : v, 0.0, 1.0);
  const double last = static_cast<double>((int64_t{1} << std::clamp(level, 0, 30)) - 1);
  return Position{static_cast<int64_t>((1.0 - v) * last) / kTileSize, static_cast<int64_t>(u * last) / kTileSize};
}

void TileCache::FreshTable() {
  entries_.assign(11, nullptr);
  sparseEntries_.clear();
  topLevel_ = 10;
}

std::shared_ptr<const Tile>* TileCache::Entry(int64_t index) {
  if (index < static_cast<int64_t>(entries_.size())) return &entries_[static_cast<size_t>(index)];
  return &sparseEntries_[index];
}

void TileCache::Grow(int level) {
  topLevel_ = level;
  const int64_t dense = LevelBase(std::min(level, kDenseTop) + 1);
  if (static_cast<int64_t>(entries_.size()) < dense) entries_.resize(static_cast<size_t>(dense));
}

void TileCache::ClearTiles(bool keepLevel10) {
  generation_.fetch_add(1, std::memory_order_release);
  std::shared_ptr<const Tile> saved = keepLevel10 ? std::move(entries_[10]) : nullptr;
  FreshTable();
  bytesUsed_ = saved != nullptr ? saved->Bytes() : 0;
  entries_[10] = std::move(saved);
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
  document_ = document::VectorDocument::Create(error, fromText, pathOrText, scriptCallback_, gamma_, pdfSettings);
  if (!document_->Loaded()) {
    document_.reset();
    return false;
  }
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

TileCache::Census TileCache::Count() const {
  Census census;
  auto add = [&census](const std::shared_ptr<const Tile>& tile) {
    if (tile == nullptr) return;
    ++(tile->pixels != nullptr ? census.full : census.uniform);
  };
  for (const auto& tile : entries_) add(tile);
  for (const auto& [index, tile] : sparseEntries_) add(tile);
  return census;
}

std::shared_ptr<const Tile> TileCache::Render(int level, Position position) {
  if (document_ == nullptr) return nullptr;
  const int32_t size = TileSize(level);
  std::unique_ptr<uint8_t[]> buffer =
      document_->RenderTile(background_, int32_t{1} << level, size, static_cast<int32_t>(position.row),
                            static_cast<int32_t>(position.column), kBorder);
  if (buffer == nullptr) return nullptr;

  auto tile = std::make_shared<Tile>();
  tile->tileSize = size;
  const size_t edge = static_cast<size_t>(size) + 2 * kBorder;
  const size_t count = edge * edge;
  uint32_t first = 0;
  std::memcpy(&first, buffer.get(), 4);
  bool uniform = true;
  for (size_t i = 1; i < count && uniform; ++i) uniform = std::memcmp(buffer.get() + i * 4, &first, 4) == 0;
  if (uniform) {
    tile->uniform = first;
  } else {
    tile->pixels = std::move(buffer);
  }
  bytesUsed_ += tile->Bytes();
  return tile;
}

TileRef TileCache::EnsureTile(double u, double v, int level) {
  level = std::clamp(level, 0, kMaxLevel);
  const Position raw = Locate(u, v, level);
  Position position = raw;
  if (level >= 10 && document_ != nullptr && document_->Type() == document::FileType::kPdf) {
    position.row = (int64_t{1} << (level - 10)) - 1 - position.row;
  }
  if (level > topLevel_) Grow(level);
  TileRef ref;
  ref.index = EntryIndex(level, position.row, position.column);
  std::shared_ptr<const Tile>* entry = Entry(ref.index);
  if (*entry == nullptr) *entry = Render(level, position);
  ref.tile = *entry;
  if (ref.tile != nullptr) Remember(u, v, level, ref);
  return ref;
}

void TileCache::Remember(double u, double v, int level, const TileRef& ref) const {
  const Position raw = Locate(u, v, level);
  const uint64_t generation = generation_.load(std::memory_order_relaxed);
  RecentTiles& recent = recentTiles;
  RecentTile& slot = recent.slots[recent.next++ % recent.slots.size()];
  slot = RecentTile{id_, generation, level, raw.row, raw.column, ref};
}

const TileRef* TileCache::FindRecent(double u, double v, int level) const {
  const Position raw = Locate(u, v, level);
  const uint64_t generation = generation_.load(std::memory_order_acquire);
  for (RecentTile& slot : recentTiles.slots) {
    if (slot.cacheId != id_) continue;
    if (slot.generation != generation) {
      slot = RecentTile{};  // stale: let the tile go
      continue;
    }
    if (slot.level == level && slot.row == raw.row && slot.column == raw.column) return &slot.ref;
  }
  return nullptr;
}

}  // namespace graphel
