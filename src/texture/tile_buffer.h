#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace graphel {

// Memory for tile pixels and their summed-area tables, mapped on 2 MiB boundaries and marked for
// transparent huge pages: random samples over many tiles then miss the TLB far less often.
class TileBuffer {
 public:
  TileBuffer() = default;
  explicit TileBuffer(size_t bytes);
  ~TileBuffer();
  TileBuffer(TileBuffer&& other) noexcept;
  TileBuffer& operator=(TileBuffer&& other) noexcept;
  TileBuffer(const TileBuffer&) = delete;
  TileBuffer& operator=(const TileBuffer&) = delete;

  uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }
  explicit operator bool() const { return data_ != nullptr; }

  // Bytes held by all tile buffers of the process: lets tests see that tiles die with their texture.
  static int64_t LiveBytes();

 private:
  void Release();

  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t mapped_ = 0;
};

}  // namespace graphel
