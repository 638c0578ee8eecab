#pragma once

#include <cstddef>
#include <string_view>

namespace svg {

// Reads the longest prefix of text that forms a number (sign, digits, fraction, exponent; also the
// hexadecimal, infinity and NaN forms), independent of the process locale. Leading white space is not
// skipped. Returns 0 and sets consumed to 0 when there is no number.
double ParseNumberPrefix(std::u16string_view text, size_t* consumed = nullptr);

// Skips leading white space (space, tab, CR, LF, FF, VT) and then reads the longest numeric prefix.
double ParseLeadingNumber(std::u16string_view text, size_t* consumed = nullptr);

bool IsSpaceChar(char16_t c);

}  // namespace svg
