#pragma once

#include <hb.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace text {

// A run of characters with one bidi level and one script: the unit that gets a font and is shaped.
struct TextItem {
  size_t first = 0;
  size_t count = 0;
  uint8_t level = 0;  // odd: right to left
  hb_script_t script = HB_SCRIPT_COMMON;
};

// Splits characters (code points) into items and returns them in visual order, left to right.
// Levels come from FriBidi for a paragraph of the given base direction, with trailing white space
// reset to the base level; characters of the common and inherited scripts (spaces, digits,
// punctuation, combining marks) join the script of the text around them.
std::vector<TextItem> ItemiseText(std::span<const char32_t> characters, bool rightToLeft);

}  // namespace text
