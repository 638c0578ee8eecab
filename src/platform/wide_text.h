#pragma once

#include <string>
#include <string_view>

// Text inside Graphel is UTF-16; files and the command line are UTF-8.
namespace platform {

// Invalid UTF-8 sequences become U+FFFD, so hostile input never stops a conversion.
std::u16string Utf8ToWide(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::u16string_view wide);

// ASCII-only helper for literals and messages; characters above 0x7F are kept as their code units.
std::u16string Widen(std::string_view ascii);

}  // namespace platform
