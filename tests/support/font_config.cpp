#include "support/font_config.h"

#include <cstdlib>

#include "text/installed_fonts.h"

namespace testing_support {

ScopedFontConfig::ScopedFontConfig(const std::string& configFile) {
  const char* previous = std::getenv("FONTCONFIG_FILE");
  hadPrevious_ = previous != nullptr;
  if (hadPrevious_) previous_ = previous;
  setenv("FONTCONFIG_FILE", configFile.c_str(), 1);
  text::ResetInstalledFontsForTesting();
}

ScopedFontConfig::~ScopedFontConfig() {
  if (hadPrevious_) {
    setenv("FONTCONFIG_FILE", previous_.c_str(), 1);
  } else {
    unsetenv("FONTCONFIG_FILE");
  }
  text::ResetInstalledFontsForTesting();
}

}  // namespace testing_support
