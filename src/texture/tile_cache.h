#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>

#include "document/texture_settings.h"
#include "document/vector_document.h"
#include "texture/colour_post.h"
#include "texture/tile.h"
#include "texture/tile_table.h"

namespace svg {
class SvgScriptCallback;
}

namespace graphel {

// A tile handed to a sampler with its entry number. The tile stays readable until the cache's next
// FreeRetired, whatever the cache clears meanwhile.
struct TileRef {
  int64_t index = -1;
  const Tile* tile = nullptr;
};

// A box filter's pixels along one axis, kept within the tile and its border, with the partial
// coverage of the first and the last.
struct Box {
  int32_t first = 0;
  int32_t last = 0;
  double firstWeight = 1.0;
  double lastWeight = 1.0;

  double Weight(int32_t i) const {
    if (i == first) return firstWeight;
    return i == last ? lastWeight : 1.0;
  }
};

// A tile read whose pixels are known but not yet fetched: samplers work out every read of a sample
// first and prefetch them together, so their cache misses overlap.
struct TileRead {
  const Tile* tile = nullptr;
  Box columns;
  Box rows;

  void Prefetch() const;
  Rgba Sum() const;
};

// The texture's raster pyramid. Level L is the whole drawing, stretched to a square, at 2^L pixels
// on a side: levels up to 10 are single images, each level above is cut into 1024-pixel tiles
// numbered after all tiles of the levels below it. Tiles are rendered when first asked for.
// Find, PrepareRead and SampleTile run without a lock; everything else under the owning texture's.
class TileCache {
 public:
  static constexpr int32_t kBorder = Tile::kBorder;
  static constexpr int32_t kTileSize = 1024;
  static constexpr int kMaxLevel = TileTable::kLevels - 1;

  explicit TileCache(svg::SvgScriptCallback* scriptCallback);
  ~TileCache();
  TileCache(const TileCache&) = delete;
  TileCache& operator=(const TileCache&) = delete;

  // forceNew replaces the document (false, leaving no document, when the new one fails to load);
  // otherwise only the tiles are dropped.
  bool LoadDocument(svg::LoadError& error, bool fromText, std::u16string_view pathOrText, bool forceNew,
                    document::PdfPageSettings* pdfSettings);
  // Drops every tile, or every tile but the level-10 image. Dropped tiles stay readable until
  // FreeRetired.
  void ClearTiles(bool keepLevel10);
  // Frees the tiles dropped since the last call; only when no sampler is reading (render end, update).
  void FreeRetired() { table_.FreeRetired(); }
  // The tile holding (u, v) at level, rendered first if missing; an empty reference when it can't be
  // rendered (it is tried again next time). u and v are in 0..1.
  TileRef EnsureTile(double u, double v, int level);
  // The tile holding (u, v) at level if it exists, without rendering and without a lock.
  const Tile* Find(double u, double v, int level) const;
  // The entry number of the tile holding (u, v) at level.
  int64_t IndexOf(double u, double v, int level) const;

  // Works out a read of the tile at (u, v): nearest, or a box filter over the footprint du x dv (in
  // texture space).
  static TileRead PrepareRead(const Tile* tile, double u, double v, double du, double dv, int level, bool filter);
  static Rgba SampleTile(const TileRef& tile, double u, double v, double du, double dv, int level, bool filter) {
    return PrepareRead(tile.tile, u, v, du, dv, level, filter).Sum();
  }

  void SetGamma(double gamma);
  double Gamma() const { return gamma_; }
  void SetBackground(uint32_t background);
  // Rebuilds a hatch-pattern drawing from settings, which also give the tiles' background; false,
  // changing nothing, when the document is no pattern file or the index is out of range.
  bool SelectPattern(const document::PatternSettings& settings);
  uint32_t Background() const { return background_; }
  const document::VectorDocument* Document() const { return document_.get(); }
  uint64_t BytesUsed() const { return bytesUsed_; }
  // How many drawings (not placeholders) this cache has read from a file or text.
  uint64_t DocumentLoads() const { return documentLoads_; }
  int TopLevel() const { return topLevel_; }
  int64_t EntryCount() const { return LevelBase(topLevel_ + 1); }
  // How many entries hold a full tile and how many a single colour.
  struct Census {
    int64_t full = 0;
    int64_t uniform = 0;
  };
  Census Count() const { return Census{table_.FullCount(), table_.UniformCount()}; }

  // Entry index of the first tile of a level (level >= 11), and of tile (row, column) of a level.
  static int64_t LevelBase(int level);
  static int64_t EntryIndex(int level, int64_t row, int64_t column);
  static int32_t TileSize(int level) { return level < 10 ? int32_t{1} << level : kTileSize; }

 private:
  struct Position {
    int64_t row = 0;
    int64_t column = 0;
  };
  // The tile (row, column) of level holding (u, v), rows of PDF pages mirrored as they are numbered.
  Position Locate(double u, double v, int level) const;
  std::unique_ptr<Tile> Render(int level, Position position);
  void FreshTable();

  std::unique_ptr<document::VectorDocument> document_;
  int topLevel_ = 10;
  TileTable table_;
  uint64_t bytesUsed_ = 0;
  uint64_t documentLoads_ = 0;
  uint32_t background_ = 0;
  double gamma_ = 1.0;
  svg::SvgScriptCallback* scriptCallback_;
  // Read by samplers without the lock; changes only with the document.
  std::atomic<bool> mirrorRows_{false};
};

}  // namespace graphel
