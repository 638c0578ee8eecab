#include "platform/temp_folder.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <string>
#include <system_error>

namespace platform {
namespace {

// A folder name that is a process id, or 0.
pid_t ProcessIdOf(const std::string& name) {
  pid_t id = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
  return error == std::errc() && end == name.data() + name.size() && id > 0 ? id : 0;
}

// The process's claim on its folder: stale folders go when it is first needed, its own at exit.
class FolderOwner {
 public:
  explicit FolderOwner(std::filesystem::path folder) : folder_(std::move(folder)), process_(::getpid()) {
    RemoveStaleTemporaryFolders(folder_.parent_path());
  }
  ~FolderOwner() {
    // A forked child shares the cached name but not the folder.
    if (::getpid() != process_) return;
    std::error_code error;
    std::filesystem::remove_all(folder_, error);
  }
  FolderOwner(const FolderOwner&) = delete;
  FolderOwner& operator=(const FolderOwner&) = delete;

 private:
  std::filesystem::path folder_;
  pid_t process_;
};

std::filesystem::path FolderPath() {
  // Computed once per process, as the folder never moves while Graphel runs; never destroyed, so
  // documents that outlive main (held in statics) can still clean up.
  static const std::filesystem::path* const path = [] {
    std::error_code error;
    std::filesystem::path base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    return new std::filesystem::path(base / "svg_temp" / std::to_string(::getpid()));
  }();
  static const FolderOwner owner(*path);
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

size_t RemoveStaleTemporaryFolders(const std::filesystem::path& root) {
  std::error_code error;
  std::filesystem::directory_iterator entries(root, error);
  if (error) return 0;
  size_t removed = 0;
  for (const std::filesystem::directory_entry& entry : entries) {
    const pid_t process = ProcessIdOf(entry.path().filename().string());
    if (process == 0 || process == ::getpid() || !entry.is_directory(error) || entry.is_symlink(error)) continue;
    // EPERM means the process runs under another user: only ESRCH says it is gone.
    if (::kill(process, 0) == 0 || errno != ESRCH) continue;
    if (std::filesystem::remove_all(entry.path(), error) != static_cast<std::uintmax_t>(-1) && !error) ++removed;
  }
  return removed;
}

void ClearTemporaryFolder() {
  std::error_code error;
  std::filesystem::remove_all(FolderPath(), error);
}

}  // namespace platform
