#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace platform {

// The folder for decompressed drawings and decoded images: svg_temp/<process id>/ under the system's
// temporary folder. Created with its parents on every call; nullopt when it can't be made. The
// process id keeps concurrent Graphel processes (render-farm nodes on one machine) out of each
// other's files.
std::optional<std::filesystem::path> TemporaryFolder();

// Creates a new, empty, uniquely named file in the temporary folder; nullopt on failure.
std::optional<std::filesystem::path> MakeTemporaryFile(std::string_view prefix);

// Deletes every file in the temporary folder and the folder itself; errors are ignored.
void ClearTemporaryFolder();

// Removes the per-process folders under root (root/<process id>/) of processes that no longer run,
// left by a load that was killed. Returns how many were removed. The first use of the temporary
// folder in a process does this for svg_temp, and normal exit removes the process's own folder.
size_t RemoveStaleTemporaryFolders(const std::filesystem::path& root);

}  // namespace platform
