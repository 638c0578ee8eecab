#include "support/test_support.h"

#include <filesystem>
#include <fstream>

namespace testing_support {

std::string DataPath(std::string_view name) { return std::string(GRAPHEL_TEST_DATA) + "/" + std::string(name); }

std::string ScratchFolder(std::string_view testName) {
  const std::filesystem::path folder = std::filesystem::path(GRAPHEL_TEST_OUTPUT) / std::string(testName);
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace testing_support
