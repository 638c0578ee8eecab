#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "text/installed_fonts.h"

namespace testing_support {
namespace {

// fontconfig keeps its state until FcFini; releasing everything once the tests are done leaves a
// leak checker at exit only real leaks to report.
class FontReleaseEnvironment : public testing::Environment {
 public:
  void TearDown() override { text::ReleaseFonts(); }
};

testing::Environment* const kFontReleaseEnvironment =
    testing::AddGlobalTestEnvironment(new FontReleaseEnvironment);

}  // namespace

std::string DataPath(std::string_view name) { return std::string(GRAPHEL_TEST_DATA) + "/" + std::string(name); }

std::string ScratchFolder(std::string_view testName) {
  // ctest runs tests in parallel processes: the running test's own name keeps two tests that ask
  // for the same folder name apart.
  std::filesystem::path folder = std::filesystem::path(GRAPHEL_TEST_OUTPUT) / std::string(testName);
  if (const auto* info = ::testing::UnitTest::GetInstance()->current_test_info()) {
    folder /= std::string(info->test_suite_name()) + "." + info->name();
  }
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  return folder.string();
}

void WriteFile(const std::string& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

}  // namespace testing_support
