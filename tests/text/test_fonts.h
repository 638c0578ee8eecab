#pragma once

#include <string>
#include <string_view>

#include "text/installed_fonts.h"

// The text tests see only the fonts named by tests/data/fonts/fonts.conf; FONTCONFIG_FILE points at
// it for the whole test program, so the process's font list is built from it too.
namespace text_testing {

std::string TestFontConfig();

// The font listed under faceName, or null.
const text::InstalledFont* FindFont(const text::InstalledFontList& list, std::u16string_view faceName);

}  // namespace text_testing
