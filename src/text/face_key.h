#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace text {

// One face of a font file as drawn: the file, the face inside it, and the styles that have to be
// made up because the family has no face of its own for them.
struct FaceKey {
  std::string file;
  int index = 0;
  bool syntheticBold = false;
  bool syntheticItalic = false;

  bool operator==(const FaceKey&) const = default;
};

struct FaceKeyHash {
  size_t operator()(const FaceKey& key) const {
    const size_t flags = (key.syntheticBold ? 1u : 0u) | (key.syntheticItalic ? 2u : 0u);
    return std::hash<std::string>()(key.file) ^
           (static_cast<size_t>(key.index) * 31 + flags) * 0x9E3779B97F4A7C15ull;
  }
};

}  // namespace text
