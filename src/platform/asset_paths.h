#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// Longest file path the renderer builds; anything longer is refused rather than cut.
inline constexpr size_t kMaxAssetPath = 259;

// Removes "." segments and folds ".." into the segment before it; "/" and "\" both separate and
// runs of separators become one "/". A ".." above the root of an absolute path is dropped, one at
// the start of a relative path is kept.
std::u16string CanonicalisePath(std::u16string_view path);

struct ResolvedAsset {
  std::u16string path;      // canonical, without the fragment
  std::u16string fragment;  // the text after the last "#", without it
};

// Resolves a linked file against the drawing's folder (basePath, may be empty for drawings given as
// text: then the reference is taken relative to the working folder) and the nearest xml:base
// (baseReference). false when the reference is too short, a step overflows kMaxAssetPath, or
// nothing is left.
bool ResolveFilePath(std::u16string_view basePath, std::u16string_view baseReference, std::u16string_view reference,
                     ResolvedAsset& out);

}  // namespace platform
