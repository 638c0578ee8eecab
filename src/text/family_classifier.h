#pragma once

#include <fontconfig/fontconfig.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

namespace text {

// Derives a face's pitch-and-family byte from what a fontconfig configuration says about its family
// names, so that a generic CSS family finds the fonts fontconfig itself would use for it. In order:
//  1. mono and charcell spacing make a fixed-pitch monospace font (dual-width fonts stay variable);
//  2. a face with a family name the configuration prefers for a generic name (the families
//     substitution puts before that name) takes the class of the generic name that ranks one of its
//     names highest, ties going to the order serif, sans-serif, monospace, cursive, fantasy; so
//     "DejaVu Serif Condensed" is serif through its typographic family "DejaVu Serif";
//  3. any other face takes the first generic name that substitution appends to its first family
//     name, which with the stock configuration is sans-serif for families it knows nothing about;
//  4. a face that gets no generic name at all is a named family (class 0).
class FamilyClassifier {
 public:
  // config must outlive the classifier.
  explicit FamilyClassifier(FcConfig* config);

  // families are the face's FC_FAMILY values (UTF-8), spacing its FC_SPACING value.
  uint8_t PitchAndFamily(std::span<const std::string> families, int spacing) const;

 private:
  struct Preference {
    size_t rank;
    uint8_t fontClass;
  };

  uint8_t FallbackClass(std::string_view family) const;

  FcConfig* config_;
  std::unordered_map<std::string, Preference> preferred_;
};

}  // namespace text
