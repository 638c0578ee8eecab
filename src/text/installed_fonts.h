#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace text {

// Characters first..last of the Basic Multilingual Plane, both included.
struct UnicodeRange {
  char16_t first = 0;
  char16_t last = 0;
  bool operator==(const UnicodeRange&) const = default;
};

// Code points first..last above U+FFFF, both included.
struct SupplementaryRange {
  char32_t first = 0;
  char32_t last = 0;
  bool operator==(const SupplementaryRange&) const = default;
};

// A font's character set as fontconfig reports it; defined with the fontconfig code so that this
// header stays free of it.
class FontCoverage;

struct InstalledFont {
  std::u16string faceName;     // the family name fontconfig lists the font under
  std::u16string compactName;  // faceName with every space removed, as drawing programs write it
  uint8_t pitchAndFamily = 0;  // font class in the high four bits, pitch (1 fixed, 2 variable) in the low
  // Sorted, neither overlapping nor touching, and empty until LoadRanges fills them. The surrogate
  // block U+D800..U+DFFF is never part of ranges: surrogates are covered only in pairs, through
  // supplementaryRanges.
  std::vector<UnicodeRange> ranges;
  std::vector<SupplementaryRange> supplementaryRanges;
  std::string filePath;  // the face to open with FreeType
  int faceIndex = 0;
  // What LoadRanges reads; null for a font assembled by hand, which covers what its ranges say.
  std::shared_ptr<const FontCoverage> coverage;
};

// The installed outline fonts, one per family name, in fontconfig's order of preference for a
// pattern that asks for nothing in particular. bold and italic are set by MapPostScriptName and
// cleared at the start of each ChooseFont.
struct InstalledFontList {
  std::vector<InstalledFont> fonts;
  uint8_t bold = 0;
  uint8_t italic = 0;
};

// The process's list, built on the first call from fontconfig's default configuration (so
// FONTCONFIG_FILE decides which fonts it sees) and kept until exit. Fonts installed later are not
// seen. Concurrent first calls are safe; the list itself is not locked and must be used by one thread
// at a time.
InstalledFontList& GetInstalledFonts();

// Drops the process's list so that the next GetInstalledFonts builds it again, for tests that point
// FONTCONFIG_FILE elsewhere. References to the old list dangle afterwards.
void ResetInstalledFontsForTesting();

// Releases every fontconfig object the process holds (this list, the styled-face matcher's
// configuration) and then fontconfig's own state (FcFini), so that a leak checker at exit finds
// nothing of ours; the next use builds them again. Call only while no text is being laid out.
void ReleaseFonts();

// Builds a list from the fontconfig configuration file configFile, or from the default
// configuration when it is empty. A configuration that can't be loaded gives an empty list.
InstalledFontList ReadInstalledFonts(const std::string& configFile = {});

// Fills the ranges of list.fonts[index] from its character set; a font without one keeps empty ranges
// and is tried again at its next use. False only when index is outside the list.
bool LoadRanges(InstalledFontList& list, size_t index);

}  // namespace text
