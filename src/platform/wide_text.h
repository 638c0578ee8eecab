#pragma once

#include <string>
#include <string_view>

// Text inside Graphel is UTF-16; files and the command line are UTF-8.
namespace platform {

// Invalid UTF-8 sequences become U+FFFD, so hostile input never stops a conversion.
std::u16string Utf8ToWide(std::string_view utf8);

// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::u16string_view wide);

// Code points of UTF-16 text: surrogate pairs joined, unpaired surrogates kept as they are, for
// callers that must see them (no font covers one).
std::u32string WideToCodePoints(std::u16string_view wide);

constexpr bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }
// The code point a high and a low surrogate stand for.
constexpr char32_t JoinSurrogates(char32_t high, char32_t low) {
  return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

// ASCII-only helper for literals and messages; characters above 0x7F are kept as their code units.
std::u16string Widen(std::string_view ascii);

}  // namespace platform
