#include "texture/tile_buffer.h"

#include <sys/mman.h>

#include <utility>

namespace graphel {
namespace {

constexpr size_t kHugePage = size_t{2} << 20;
constexpr size_t kPage = 4096;

// A diagnostic count only; nothing decides anything from it.
std::atomic<int64_t> liveBytes{0};

size_t RoundUp(size_t value, size_t step) { return (value + step - 1) / step * step; }

}  // namespace

TileBuffer::TileBuffer(size_t bytes) {
  if (bytes == 0) return;
  const size_t size = RoundUp(bytes, kPage);
  // Small buffers are not worth a huge page; large ones get room to start on a 2 MiB boundary.
  const bool huge = size >= kHugePage;
  const size_t reserve = huge ? size + kHugePage : size;
  void* mapped = mmap(nullptr, reserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return;
  auto* start = static_cast<uint8_t*>(mapped);
  if (huge) {
    const auto address = reinterpret_cast<uintptr_t>(start);
    const size_t lead = RoundUp(address, kHugePage) - address;
    if (lead > 0) munmap(start, lead);
    const size_t tail = reserve - lead - size;
    if (tail > 0) munmap(start + lead + size, tail);
    start += lead;
    madvise(start, size, MADV_HUGEPAGE);
  }
  data_ = start;
  size_ = bytes;
  mapped_ = size;
  liveBytes.fetch_add(static_cast<int64_t>(mapped_), std::memory_order_relaxed);
}

TileBuffer::~TileBuffer() { Release(); }

TileBuffer::TileBuffer(TileBuffer&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)),
      mapped_(std::exchange(other.mapped_, 0)) {}

TileBuffer& TileBuffer::operator=(TileBuffer&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
    size_ = std::exchange(other.size_, 0);
    mapped_ = std::exchange(other.mapped_, 0);
  }
  return *this;
}

void TileBuffer::Release() {
  if (data_ == nullptr) return;
  munmap(data_, mapped_);
  liveBytes.fetch_sub(static_cast<int64_t>(mapped_), std::memory_order_relaxed);
  data_ = nullptr;
  size_ = mapped_ = 0;
}

int64_t TileBuffer::LiveBytes() { return liveBytes.load(std::memory_order_relaxed); }

}  // namespace graphel
