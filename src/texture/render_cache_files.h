#pragma once

#include <string>

namespace graphel {

// The folder where the offline renderer's picture cache is kept, with a trailing separator.
std::string RenderCacheFolder();

// One more than the largest number in the names of the PNG files in folder (read after the name's
// last "_" up to its last "."); 1 when there are none or the folder can't be listed.
unsigned NextCacheNumber(const std::string& folder);
// folder + "graphel_" + the number in three digits or more + ".png".
std::string CacheFileName(const std::string& folder, unsigned number);

// Deletes the cache pictures "graphel_*.png" in folder: plain files only, never folders or special
// files. A missing folder is not an error. Returns how many were deleted.
int DeleteRenderCacheFiles(const std::string& folder);

}  // namespace graphel
