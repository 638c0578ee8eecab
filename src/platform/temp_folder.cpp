#include "platform/temp_folder.h"

#include <fcntl.h>
#include <unistd.h>

#include <string>
#include <system_error>

namespace platform {
namespace {

std::filesystem::path FolderPath() {
  // Computed once per process, as the folder never moves while Graphel runs; never destroyed, so
  // documents that outlive main (held in statics) can still clean up.
  static const std::filesystem::path* const path = [] {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    return new std::filesystem::path(base / "svg_temp" / std::to_string(::getpid()));
  }();
  return *path;
}

}  // namespace

std::optional<std::filesystem::path> TemporaryFolder() {
  const std::filesystem::path folder = FolderPath();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!std::filesystem::is_directory(folder, error)) return std::nullopt;
  return folder;
}

std::optional<std::filesystem::path> MakeTemporaryFile(std::string_view prefix) {
  const auto folder = TemporaryFolder();
  if (!folder) return std::nullopt;
  std::string pattern = (*folder / (std::string(prefix) + "XXXXXX")).string();
  const int fd = ::mkstemp(pattern.data());
  if (fd < 0) return std::nullopt;
  ::close(fd);
  return std::filesystem::path(pattern);
}

void ClearTemporaryFolder() {
  std::error_code error;
  std::filesystem::remove_all(FolderPath(), error);
}

}  // namespace platform
