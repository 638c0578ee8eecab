#pragma once

#include <cstddef>
#include <cstdint>

// Limits a real drawing never meets; they keep hostile files from exhausting the stack or memory.
namespace svg {

// Deeper nesting fails the load; rendering and bounding boxes recurse once per level.
inline constexpr uint32_t kMaxElementDepth = 512;
// More elements fail the load (about 1 KiB each).
inline constexpr uint32_t kMaxElementCount = 1'000'000;
// A compressed drawing that expands beyond this fails the load.
inline constexpr uint64_t kMaxDecompressedBytes = 256ull * 1024 * 1024;
// Style-sheet text collected before a rule is complete.
inline constexpr size_t kStyleSheetBufferSize = 4096;

}  // namespace svg
