#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/texture_settings.h"
#include "document/vector_document.h"
#include "texture/colour_post.h"

namespace svg {
class SvgScriptCallback;
}

namespace graphel {

// One rendered tile of the pyramid: the pixels of the tile with a border of neighbouring pixels on
// every side, or, when every pixel came out alike, just that one pixel.
struct Tile {
  std::unique_ptr<uint8_t[]> pixels;  // (tileSize + 2 x border)^2 pixels of R, G, B, A; null when uniform
  uint32_t uniform = 0;               // the one pixel, R, G, B, A in memory order
  int32_t tileSize = 0;

  size_t Bytes() const;
};

// A tile handed to a sampler: sharing it keeps the pixels alive while they are read, whatever the
// texture clears meanwhile.
struct TileRef {
  int64_t index = -1;
  std::shared_ptr<const Tile> tile;
};

// The texture's raster pyramid. Level L is the whole drawing, stretched to a square, at 2^L pixels
// on a side: levels up to 10 are single images, each level above is cut into 1024-pixel tiles
// numbered after all tiles of the levels below it. Tiles are rendered when first asked for.
// Everything but FindRecent and SampleTile runs under the owning texture's lock.
class TileCache {
 public:
  static constexpr int32_t kBorder = 5;
  static constexpr int32_t kTileSize = 1024;

  explicit TileCache(svg::SvgScriptCallback* scriptCallback);
  ~TileCache();
  TileCache(const TileCache&) = delete;
  TileCache& operator=(const TileCache&) = delete;

  // forceNew replaces the document (false, leaving no document, when the new one fails to load);
  // otherwise only the tiles are dropped.
  bool LoadDocument(svg::LoadError& error, bool fromText, std::u16string_view pathOrText, bool forceNew,
                    document::PdfPageSettings* pdfSettings);
  // Drops every tile, or every tile but the level-10 image.
  void ClearTiles(bool keepLevel10);
  // The tile holding (u, v) at level, rendered first if missing; an empty reference when it can't be
  // rendered (it is tried again next time). u and v are in 0..1.
  TileRef EnsureTile(double u, double v, int level);
  // A tile this thread fetched lately that is still current, or null: lets samplers skip the lock.
  const TileRef* FindRecent(double u, double v, int level) const;
  // Reads the tile at (u, v): nearest, or a box filter over the footprint du x dv (in texture space).
  static Rgba SampleTile(const TileRef& tile, double u, double v, double du, double dv, int level, bool filter);

  void SetGamma(double gamma);
  double Gamma() const { return gamma_; }
  void SetBackground(uint32_t background);
  // Rebuilds a hatch-pattern drawing from settings, which also give the tiles' background; false,
  // changing nothing, when the document is no pattern file or the index is out of range.
  bool SelectPattern(const document::PatternSettings& settings);
  uint32_t Background() const { return background_; }
  const document::VectorDocument* Document() const { return document_.get(); }
  uint64_t BytesUsed() const { return bytesUsed_; }
  int TopLevel() const { return topLevel_; }
  int64_t EntryCount() const { return LevelBase(topLevel_ + 1); }
  // How many entries hold a full tile and how many a single colour.
  struct Census {
    int64_t full = 0;
    int64_t uniform = 0;
  };
  Census Count() const;

  // Entry index of the first tile of a level (level >= 11), and of tile (row, column) of a level.
  static int64_t LevelBase(int level);
  static int64_t EntryIndex(int level, int64_t row, int64_t column);
  static int32_t TileSize(int level) { return level < 10 ? int32_t{1} << level : kTileSize; }

 private:
  struct Position {
    int64_t row = 0;
    int64_t column = 0;
  };
  static Position Locate(double u, double v, int level);
  std::shared_ptr<const Tile>* Entry(int64_t index);
  void Grow(int level);
  std::shared_ptr<const Tile> Render(int level, Position position);
  void FreshTable();
  void Remember(double u, double v, int level, const TileRef& ref) const;

  std::unique_ptr<document::VectorDocument> document_;
  int topLevel_ = 10;
  // Levels up to kDenseTop live in one table; the few tiles ever made of the finer levels are kept by index.
  std::vector<std::shared_ptr<const Tile>> entries_;
  std::unordered_map<int64_t, std::shared_ptr<const Tile>> sparseEntries_;
  uint64_t bytesUsed_ = 0;
  uint32_t background_ = 0;
  double gamma_ = 1.0;
  svg::SvgScriptCallback* scriptCallback_;
  // Changes whenever tiles may have been dropped, so tiles remembered by threads go stale.
  std::atomic<uint64_t> generation_{0};
  const uint64_t id_;
};

}  // namespace graphel
