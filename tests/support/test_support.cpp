#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>

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

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Base64(std::string_view bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (size_t i = 0; i < bytes.size(); i += 3) {
    const size_t n = std::min<size_t>(3, bytes.size() - i);
    uint32_t group = 0;
    for (size_t k = 0; k < 3; ++k) group = group << 8 | (k < n ? static_cast<uint8_t>(bytes[i + k]) : 0u);
    for (size_t k = 0; k < 4; ++k) out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

}  // namespace testing_support
