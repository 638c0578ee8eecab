#include "editor_folders.h"

#include <algorithm>
#include <system_error>

#include "platform/wide_text.h"
#include "texture/vector_file.h"

namespace graphel_cli {

namespace fs = std::filesystem;

namespace {

bool IsWithin(const fs::path& path, const fs::path& root) {
  auto mismatch = std::mismatch(root.begin(), root.end(), path.begin(), path.end());
  return mismatch.first == root.end();
}

// A listing this long is no use on a page; the rest is left out and said so.
constexpr size_t kMaxEntries = 2000;

}  // namespace

EditorFolders::EditorFolders(const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    std::error_code error;
    const fs::path canonical = fs::canonical(folder, error);
    if (error || !fs::is_directory(canonical, error)) continue;
    if (std::find(roots_.begin(), roots_.end(), canonical) == roots_.end()) roots_.push_back(canonical);
  }
}

std::optional<fs::path> EditorFolders::Resolve(const std::string& path) const {
  if (path.empty() || path.find('\0') != std::string::npos) return std::nullopt;
  std::error_code error;
  const fs::path canonical = fs::weakly_canonical(fs::path(path), error);
  if (error || !canonical.is_absolute()) return std::nullopt;
  for (const fs::path& root : roots_) {
    if (IsWithin(canonical, root)) return canonical;
  }
  return std::nullopt;
}

std::optional<nlohmann::json> EditorFolders::List(const std::string& folder) const {
  const std::optional<fs::path> resolved = Resolve(folder);
  std::error_code error;
  if (!resolved || !fs::is_directory(*resolved, error)) return std::nullopt;
  nlohmann::json entries = nlohmann::json::array();
  fs::directory_iterator it(*resolved, fs::directory_options::skip_permission_denied, error);
  if (error) return std::nullopt;
  bool truncated = false;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    if (entries.size() >= kMaxEntries) {
      truncated = true;
      break;
    }
    const bool isFolder = it->is_directory(error);
    const std::string name = it->path().filename().string();
    entries.push_back({{"name", name},
                       {"path", it->path().string()},
                       {"folder", isFolder},
                       {"accepted", !isFolder && graphel::IsAcceptedVectorFile(platform::Utf8ToWide(name))}});
  }
  std::sort(entries.begin(), entries.end(), [](const nlohmann::json& a, const nlohmann::json& b) {
    if (a["folder"] != b["folder"]) return a["folder"].get<bool>();
    return a["name"].get<std::string>() < b["name"].get<std::string>();
  });
  nlohmann::json parent = nullptr;
  if (Resolve(resolved->parent_path().string()) && resolved->parent_path() != *resolved) parent = resolved->parent_path().string();
  return nlohmann::json{{"folder", resolved->string()}, {"parent", parent}, {"entries", entries}, {"truncated", truncated}};
}

}  // namespace graphel_cli
