#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "texture/tile.h"

namespace graphel {

// Where the pyramid's tiles live: per level a directory of rows, per row a slot for each column,
// every one an atomic pointer, so samplers find an existing tile without a lock. Rows and
// directories are made when first needed. Cleared tiles are retired rather than freed, since a
// sampler may still be reading them, and are freed at the next quiet moment (FreeRetired).
// Everything but Find runs under the owning texture's lock.
class TileTable {
 public:
  static constexpr int kLevels = 25;

  TileTable() = default;
  ~TileTable();
  TileTable(const TileTable&) = delete;
  TileTable& operator=(const TileTable&) = delete;

  // The tile (row, column) of level, or null. row and column must lie within the level's grid.
  const Tile* Find(int level, int64_t row, int64_t column) const {
    const Directory* directory = directories_[static_cast<size_t>(level)].load(std::memory_order_acquire);
    if (directory == nullptr) return nullptr;
    const Slot* slots = directory[row].load(std::memory_order_acquire);
    if (slots == nullptr) return nullptr;
    return slots[column].load(std::memory_order_acquire);
  }

  // Stores tile, which must not exist yet; false when the index can't be had.
  bool Put(int level, int64_t row, int64_t column, std::unique_ptr<Tile> tile);
  // Retires every tile, or every tile but the one of level 10.
  void Clear(bool keepLevel10);
  // Frees retired tiles and the rows of levels left empty. No sampler may be reading.
  void FreeRetired();
  // How many tiles are held, full and uniform.
  int64_t FullCount() const;
  int64_t UniformCount() const;

  static int64_t GridSide(int level) { return level <= 10 ? 1 : int64_t{1} << (level - 10); }

 private:
  using Slot = std::atomic<Tile*>;
  using Directory = std::atomic<Slot*>;
  struct Filled {
    int level;
    Slot* slot;
  };
  struct LevelIndex {
    std::unique_ptr<Directory[]> directory;
    std::vector<std::unique_ptr<Slot[]>> rows;
    int64_t tiles = 0;
  };

  std::array<std::atomic<Directory*>, kLevels> directories_{};
  std::array<LevelIndex, kLevels> levels_;
  std::vector<Filled> filled_;
  std::vector<std::unique_ptr<Tile>> retired_;
};

}  // namespace graphel
