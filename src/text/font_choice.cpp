#include "text/font_choice.h"

#include <algorithm>
#include <iterator>

#include "platform/wide_text.h"
#include "text/font_classes.h"
#include "text/postscript_names.h"

namespace text {
namespace {

constexpr char32_t kLastBmpCode = 0xFFFF;
constexpr char32_t kLastCodePoint = 0x10FFFF;

// Ranges are sorted and disjoint, so the only candidate is the last range starting at or before code.
template <typename Range>
bool InRanges(const std::vector<Range>& ranges, char32_t code) {
  const auto after = std::upper_bound(ranges.begin(), ranges.end(), code,
                                      [](char32_t c, const Range& range) { return c < range.first; });
  return after != ranges.begin() && code <= static_cast<char32_t>(std::prev(after)->last);
}

bool Covers(InstalledFontList& list, size_t index, std::span<const char32_t> run) {
  InstalledFont& font = list.fonts[index];
  if (font.ranges.empty() && font.supplementaryRanges.empty()) LoadRanges(list, index);
  if (font.ranges.empty() && font.supplementaryRanges.empty()) return false;
  for (size_t i = 0; i < run.size(); ++i) {
    const char32_t c = run[i];
    if (platform::IsHighSurrogate(c) && i + 1 < run.size() && platform::IsLowSurrogate(run[i + 1])) {
      if (!InRanges(font.supplementaryRanges, platform::JoinSurrogates(c, run[i + 1]))) return false;
      ++i;
    } else if (platform::IsSurrogate(c)) {
      return false;
    } else if (c <= kLastBmpCode) {
      if (!InRanges(font.ranges, c)) return false;
    } else if (c > kLastCodePoint || !InRanges(font.supplementaryRanges, c)) {
      return false;
    }
  }
  return true;
}

const InstalledFont* FirstCovering(InstalledFontList& list, std::span<const char32_t> run, uint8_t fontClass,
                                   std::u16string_view name) {
  for (size_t i = 0; i < list.fonts.size(); ++i) {
    const InstalledFont& font = list.fonts[i];
    const bool eligible = fontClass == kNamedFamily ? font.faceName == name || font.compactName == name
                                                    : EffectiveFontClass(font.pitchAndFamily) == fontClass;
    if (eligible && Covers(list, i, run)) return &list.fonts[i];
  }
  return nullptr;
}

const InstalledFont* FirstCoveringAny(InstalledFontList& list, std::span<const char32_t> run) {
  for (size_t i = 0; i < list.fonts.size(); ++i) {
    if (Covers(list, i, run)) return &list.fonts[i];
  }
  return nullptr;
}

}  // namespace

const InstalledFont* ChooseFont(InstalledFontList& list, std::span<const char32_t> characters, size_t first,
                                size_t count, std::vector<std::u16string> candidates) {
  list.bold = 0;
  list.italic = 0;
  first = std::min(first, characters.size());
  const std::span<const char32_t> run = characters.subspan(first, std::min(count, characters.size() - first));
  for (std::u16string& candidate : candidates) {
    const uint8_t fontClass = GenericFontClass(candidate);
    if (fontClass == kNamedFamily) MapPostScriptName(list, candidate);
    if (const InstalledFont* font = FirstCovering(list, run, fontClass, candidate)) return font;
  }
  return FirstCoveringAny(list, run);
}

}  // namespace text
