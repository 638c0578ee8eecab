#include "texture/render_cache_files.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>

#include "host/host_interface.h"

namespace graphel {
namespace {

bool IsCachePicture(const std::string& name) {
  constexpr std::string_view kPrefix = "graphel_";
  constexpr std::string_view kSuffix = ".png";
  return name.size() >= kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) && name.ends_with(kSuffix);
}

}  // namespace

std::string RenderCacheFolder() {
  return zal::GetCOREInterface()->GetDir(zal::APP_RENDER_CACHE_DIR) + "graphel_mentalray_cache/";
}

unsigned NextCacheNumber(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return 1;
  unsigned largest = 0;
  for (const fs::directory_entry& entry : entries) {
    const std::string name = entry.path().filename().string();
    if (entry.is_directory(error) || !name.ends_with(".png")) continue;
    const size_t underscore = name.rfind('_');
    const size_t dot = name.rfind('.');
    if (underscore == std::string::npos || dot <= underscore + 1) continue;
    unsigned number = 0;
    const auto [end, status] = std::from_chars(name.data() + underscore + 1, name.data() + dot, number);
    if (status == std::errc() && end == name.data() + dot) largest = std::max(largest, number);
  }
  return largest + 1;
}

std::string CacheFileName(const std::string& folder, unsigned number) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%03u", number);
  return folder + "graphel_" + digits + ".png";
}

int DeleteRenderCacheFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) return 0;
  int deleted = 0;
  for (const fs::directory_entry& entry : entries) {
    if (!IsCachePicture(entry.path().filename().string())) continue;
    // symlink_status: a link is not one of our pictures, whatever it points at.
    if (!fs::is_regular_file(entry.symlink_status(error))) continue;
    if (fs::remove(entry.path(), error)) ++deleted;
  }
  return deleted;
}

}  // namespace graphel
