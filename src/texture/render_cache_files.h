#pragma once

#include <string>

namespace graphel {

// The folder where the offline renderer's picture cache is kept, with a trailing separator.
std::string RenderCacheFolder();

// Deletes the cache pictures "graphel_*.png" in folder: plain files only, never folders or special
// files. A missing folder is not an error. Returns how many were deleted.
int DeleteRenderCacheFiles(const std::string& folder);

}  // namespace graphel
