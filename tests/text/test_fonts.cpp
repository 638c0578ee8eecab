#include "text/test_fonts.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/test_support.h"

namespace text_testing {
namespace {

class TestFontEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    setenv("FONTCONFIG_FILE", TestFontConfig().c_str(), 1);
    text::ResetInstalledFontsForTesting();
  }
};

testing::Environment* const kTestFontEnvironment = testing::AddGlobalTestEnvironment(new TestFontEnvironment);

}  // namespace

std::string TestFontConfig() { return testing_support::DataPath("fonts/fonts.conf"); }

const text::InstalledFont* FindFont(const text::InstalledFontList& list, std::u16string_view faceName) {
  for (const text::InstalledFont& font : list.fonts) {
    if (font.faceName == faceName) return &font;
  }
  return nullptr;
}

}  // namespace text_testing
