#include "svg/number_parse.h"

#include <charconv>
#include <limits>
#include <string>

#include "platform/ascii_case.h"

namespace svg {
namespace {

// Exponents beyond this are certain overflow or underflow; saturating keeps huge exponent texts harmless.
constexpr long long kExponentCap = 1'000'000'000;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHexDigit(char16_t c) { return IsDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// Case-insensitive test that text at pos begins with the lower-case ASCII word.
bool StartsWithWord(std::u16string_view text, size_t pos, std::string_view word) {
  if (text.size() - pos < word.size()) return false;
  for (size_t i = 0; i < word.size(); ++i) {
    if (platform::ToLowerAscii(text[pos + i]) != static_cast<char16_t>(word[i])) return false;
  }
  return true;
}

// What the scanner found: where the number ends and enough about its shape to resolve a range error.
struct Scan {
  size_t end = 0;            // one past the last character of the number; 0 when there is none
  size_t mantissaBegin = 0;  // first digit after the sign (and after "0x" for hexadecimal)
  size_t exponentBegin = 0;  // first character after the exponent letter, or end when there is none
  bool hex = false;
  bool special = false;  // infinity or NaN
  double specialValue = 0.0;
};

// Reads optional sign and digits of an exponent at pos; returns the position after it, or pos when no digit.
size_t ScanExponent(std::u16string_view text, size_t pos) {
  size_t p = pos;
  if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) ++p;
  if (p >= text.size() || !IsDigit(text[p])) return pos;
  while (p < text.size() && IsDigit(text[p])) ++p;
  return p;
}

Scan ScanNumber(std::u16string_view text) {
  Scan scan;
  size_t p = 0;
  if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) ++p;
  const size_t afterSign = p;

  if (StartsWithWord(text, p, "inf")) {
    scan.special = true;
    scan.specialValue = std::numeric_limits<double>::infinity();
    scan.end = p + (StartsWithWord(text, p, "infinity") ? 8 : 3);
    return scan;
  }
  if (StartsWithWord(text, p, "nan")) {
    scan.special = true;
    scan.specialValue = std::numeric_limits<double>::quiet_NaN();
    scan.end = p + 3;
    // "nan(chars)" is accepted only with the closing parenthesis.
    if (scan.end < text.size() && text[scan.end] == u'(') {
      size_t q = scan.end + 1;
      while (q < text.size() &&
             (IsDigit(text[q]) || (platform::ToLowerAscii(text[q]) >= u'a' && platform::ToLowerAscii(text[q]) <= u'z') || text[q] == u'_')) {
        ++q;
      }
      if (q < text.size() && text[q] == u')') scan.end = q + 1;
    }
    return scan;
  }

  if (p + 1 < text.size() && text[p] == u'0' && platform::ToLowerAscii(text[p + 1]) == u'x') {
    size_t q = p + 2;
    bool digits = false;
    while (q < text.size() && IsHexDigit(text[q])) {
      ++q;
      digits = true;
    }
    if (q < text.size() && text[q] == u'.') {
      size_t r = q + 1;
      while (r < text.size() && IsHexDigit(text[r])) {
        ++r;
        digits = true;
      }
      if (digits) q = r;
    }
    if (digits) {
      scan.hex = true;
      scan.mantissaBegin = p + 2;
      scan.exponentBegin = q;
      if (q < text.size() && platform::ToLowerAscii(text[q]) == u'p') {
        const size_t e = ScanExponent(text, q + 1);
        if (e != q + 1) {
          scan.exponentBegin = q + 1;
          q = e;
        }
      }
      scan.end = q;
      return scan;
    }
    // "0x" without hexadecimal digits is the number 0 followed by text.
  }

  size_t q = afterSign;
  bool digits = false;
  while (q < text.size() && IsDigit(text[q])) {
    ++q;
    digits = true;
  }
  if (q < text.size() && text[q] == u'.') {
    ++q;
    while (q < text.size() && IsDigit(text[q])) {
      ++q;
      digits = true;
    }
  }
  if (!digits) return scan;
  scan.mantissaBegin = afterSign;
  scan.exponentBegin = q;
  if (q < text.size() && (text[q] == u'e' || text[q] == u'E')) {
    const size_t e = ScanExponent(text, q + 1);
    if (e != q + 1) {
      scan.exponentBegin = q + 1;
      q = e;
    }
  }
  scan.end = q;
  return scan;
}

// Order of magnitude (in digits of the number's base) of a number that from_chars could not represent,
// to tell overflow from underflow.
long long Magnitude(std::u16string_view text, const Scan& scan) {
  bool seenPoint = false;
  bool seenNonZero = false;
  long long integerDigits = 0;
  long long fractionZeros = 0;
  size_t p = scan.mantissaBegin;
  const size_t mantissaEnd = scan.exponentBegin == scan.end ? scan.end : scan.exponentBegin - 1;
  for (; p < mantissaEnd; ++p) {
    const char16_t c = text[p];
    if (c == u'.') {
      seenPoint = true;
      continue;
    }
    if (!seenPoint) {
      if (seenNonZero || c != u'0') {
        seenNonZero = true;
        if (integerDigits < kExponentCap) ++integerDigits;
      }
    } else if (!seenNonZero) {
      if (c != u'0') {
        seenNonZero = true;
        break;
      }
      if (fractionZeros < kExponentCap) ++fractionZeros;
    }
  }
  const long long lead = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);

  long long exponent = 0;
  if (scan.exponentBegin != scan.end) {
    size_t e = scan.exponentBegin;
    const bool negative = text[e] == u'-';
    if (text[e] == u'+' || text[e] == u'-') ++e;
    for (; e < scan.end; ++e) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[e] - u'0');
    }
    if (negative) exponent = -exponent;
  }
  // A hexadecimal digit holds four bits; the exponent after "p" counts bits.
  return scan.hex ? lead * 4 + exponent : lead + exponent;
}

}  // namespace

bool IsSpaceChar(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

double ParseNumberPrefix(std::u16string_view text, size_t* consumed) {
  const Scan scan = ScanNumber(text);
  if (consumed != nullptr) *consumed = scan.end;
  if (scan.end == 0) return 0.0;
  const bool negative = text[0] == u'-';
  if (scan.special) return negative ? -scan.specialValue : scan.specialValue;

  // The scanned characters are all ASCII, so narrowing them is exact.
  std::string narrow;
  narrow.reserve(scan.end - scan.mantissaBegin);
  for (size_t i = scan.mantissaBegin; i < scan.end; ++i) narrow.push_back(static_cast<char>(text[i]));

  double value = 0.0;
  const auto format = scan.hex ? std::chars_format::hex : std::chars_format::general;
  const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value, format);
  if (result.ec == std::errc::result_out_of_range) {
    value = Magnitude(text, scan) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (result.ec != std::errc()) {
    value = 0.0;
  }
  return negative ? -value : value;
}

double ParseLeadingNumber(std::u16string_view text, size_t* consumed) {
  size_t start = 0;
  while (start < text.size() && IsSpaceChar(text[start])) ++start;
  size_t used = 0;
  const double value = ParseNumberPrefix(text.substr(start), &used);
  if (consumed != nullptr) *consumed = used == 0 ? 0 : start + used;
  return value;
}

}  // namespace svg
