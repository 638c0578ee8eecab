#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace render {

// The error code reported through the script callback when a render runs short of memory.
inline constexpr uint32_t kRenderMemoryError = 92;

// Work and memory shared by one whole render, against drawings that expand themselves
// exponentially or stack layers deeply.
struct RenderBudget {
  static constexpr uint64_t kMaxExpansions = 100000;
  // Offscreen layers and masks may hold this much, or four times the rendered image if that is more.
  static constexpr size_t kMinLayerBytes = size_t{256} << 20;

  uint64_t maxExpansions = kMaxExpansions;
  uint64_t expansions = 0;
  uint64_t vertices = 0;  // outline vertices handed to the rasteriser, a measure of the work done
  uint64_t glyphsFlattened = 0;  // glyph outlines handed to the rasteriser, a measure of text work
  size_t maxLayerBytes = kMinLayerBytes;
  size_t layerBytes = 0;
  size_t peakLayerBytes = 0;
  bool memoryRefused = false;  // some content was not drawn for want of layer memory
  bool coverageDropped = false;  // a row of pixels held more edges than the rasteriser keeps

  // Counts one use instance or one rendering of pattern content; false once the budget is spent.
  bool Spend() {
    if (expansions >= maxExpansions) return false;
    ++expansions;
    return true;
  }

  // Claims bytes of layer memory; false (and nothing claimed) beyond the limit.
  bool Reserve(size_t bytes) {
    if (bytes > maxLayerBytes - layerBytes) {
      memoryRefused = true;
      return false;
    }
    layerBytes += bytes;
    peakLayerBytes = std::max(peakLayerBytes, layerBytes);
    return true;
  }
  void Release(size_t bytes) { layerBytes -= std::min(bytes, layerBytes); }
};

}  // namespace render
