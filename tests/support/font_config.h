#pragma once

#include <string>

namespace testing_support {

// Points FONTCONFIG_FILE at configFile and starts the process's font list afresh; the previous
// setting and a fresh list come back when it ends.
class ScopedFontConfig {
 public:
  explicit ScopedFontConfig(const std::string& configFile);
  ~ScopedFontConfig();
  ScopedFontConfig(const ScopedFontConfig&) = delete;
  ScopedFontConfig& operator=(const ScopedFontConfig&) = delete;

 private:
  std::string previous_;
  bool hadPrevious_ = false;
};

}  // namespace testing_support
