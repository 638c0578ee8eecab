#include "texture/tile_table.h"

#include <new>

namespace graphel {

TileTable::~TileTable() {
  Clear(false);
  FreeRetired();
}

bool TileTable::Put(int level, int64_t row, int64_t column, std::unique_ptr<Tile> tile) {
  LevelIndex& index = levels_[static_cast<size_t>(level)];
  const int64_t side = GridSide(level);
  if (index.directory == nullptr) {
    index.directory.reset(new (std::nothrow) Directory[static_cast<size_t>(side)]);
    if (index.directory == nullptr) return false;
    for (int64_t i = 0; i < side; ++i) index.directory[i].store(nullptr, std::memory_order_relaxed);
    directories_[static_cast<size_t>(level)].store(index.directory.get(), std::memory_order_release);
  }
  Slot* slots = index.directory[row].load(std::memory_order_relaxed);
  if (slots == nullptr) {
    std::unique_ptr<Slot[]> made(new (std::nothrow) Slot[static_cast<size_t>(side)]);
    if (made == nullptr) return false;
    for (int64_t i = 0; i < side; ++i) made[i].store(nullptr, std::memory_order_relaxed);
    slots = made.get();
    index.rows.push_back(std::move(made));
    index.directory[row].store(slots, std::memory_order_release);
  }
  filled_.reserve(filled_.size() + 1);
  filled_.push_back(Filled{level, &slots[column]});
  ++index.tiles;
  slots[column].store(tile.release(), std::memory_order_release);
  return true;
}

void TileTable::Clear(bool keepLevel10) {
  std::vector<Filled> kept;
  for (const Filled& filled : filled_) {
    if (keepLevel10 && filled.level == 10) {
      kept.push_back(filled);
      continue;
    }
    retired_.emplace_back(filled.slot->exchange(nullptr, std::memory_order_acq_rel));
    --levels_[static_cast<size_t>(filled.level)].tiles;
  }
  filled_ = std::move(kept);
}

void TileTable::FreeRetired() {
  retired_.clear();
  for (size_t level = 0; level < levels_.size(); ++level) {
    LevelIndex& index = levels_[level];
    if (index.tiles != 0 || index.directory == nullptr) continue;
    directories_[level].store(nullptr, std::memory_order_release);
    index.rows.clear();
    index.directory.reset();
  }
}

int64_t TileTable::FullCount() const {
  int64_t count = 0;
  for (const Filled& filled : filled_) count += filled.slot->load(std::memory_order_relaxed)->Uniform() ? 0 : 1;
  return count;
}

int64_t TileTable::UniformCount() const { return static_cast<int64_t>(filled_.size()) - FullCount(); }

}  // namespace graphel
