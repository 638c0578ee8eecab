#pragma once

#include <utility>
#include <vector>

#include "text/fontconfig_handles.h"
#include "text/installed_fonts.h"

namespace text {

class FontCoverage {
 public:
  explicit FontCoverage(CharSetHandle charSet) : charSet_(std::move(charSet)) {}

  // Splits the character set the way the coverage test reads it: sorted, merged ranges of the Basic
  // Multilingual Plane without the surrogate block, and the code points above U+FFFF as ranges of
  // their own.
  void ToRanges(std::vector<UnicodeRange>& bmp, std::vector<SupplementaryRange>& supplementary) const;

 private:
  CharSetHandle charSet_;
};

}  // namespace text
