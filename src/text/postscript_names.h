#pragma once

#include <string>

namespace text {

struct InstalledFontList;

// Rewrites a face name as drawing programs write it ("ArialMT", "Arial-BoldMT",
// "TimesNewRomanPS-BoldItalicMT") into the family name it stands for ("Arial", "TimesNewRoman", which
// matches the compact name of "Times New Roman"), and sets list.bold and list.italic for the style it
// carried. The flags are only ever set here, never cleared.
void MapPostScriptName(InstalledFontList& list, std::u16string& name);

}  // namespace text
