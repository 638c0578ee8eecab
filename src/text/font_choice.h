#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "text/installed_fonts.h"

namespace text {

// Picks the font for one run of text, characters[first, first + count) (clamped to the span), from
// the candidate family names in order: a generic name ("serif", "sans-serif", "monospace", "cursive",
// "fantasy") takes the first installed font of its class that covers the run, any other name is
// mapped by MapPostScriptName and takes the first font whose faceName or compactName equals it
// exactly and that covers the run. When no candidate gives a font, the first installed font that
// covers the run is taken. Null when no font covers it.
//
// A font covers the run when it has every character: a BMP character through its ranges, a code
// point above U+FFFF, or a surrogate pair standing for one, through its supplementaryRanges; an
// unpaired surrogate and a value above U+10FFFF are covered by no font.
//
// list.bold and list.italic are cleared first and afterwards say what the mapped names tried
// carried, also when the font came from a later candidate.
const InstalledFont* ChooseFont(InstalledFontList& list, std::span<const char32_t> characters, size_t first,
                                size_t count, std::vector<std::u16string> candidates);

}  // namespace text
