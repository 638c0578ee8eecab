#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace graphel_cli {

// The folders the user opened the editor on: the page may list and load files inside them and
// nowhere else, so a browser tab can't read the rest of the machine through the server.
class EditorFolders {
 public:
  // Each folder is kept in canonical form; ones that don't exist are left out.
  explicit EditorFolders(const std::vector<std::string>& folders);

  const std::vector<std::filesystem::path>& Roots() const { return roots_; }
  // The canonical path when it lies inside one of the folders (links resolved first), else nullopt.
  std::optional<std::filesystem::path> Resolve(const std::string& path) const;
  // The sub-folders and files of folder, names sorted, each with whether the texture reads it:
  // {"folder": ..., "parent": ... or null, "entries": [{"name", "path", "folder", "accepted"}]}.
  // nullopt when folder is not inside the roots or can't be read.
  std::optional<nlohmann::json> List(const std::string& folder) const;

 private:
  std::vector<std::filesystem::path> roots_;
};

}  // namespace graphel_cli
