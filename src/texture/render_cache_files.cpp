#include "texture/render_cache_files.h"

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
