#include "svg/colour.h"

#include <cmath>
#include <cstddef>
#include <limits>

#include "svg/number_parse.h"

namespace svg {
namespace {

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + (u'a' - u'A'));
    if (c != prefix[i]) return false;
  }
  return true;
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// "#rgb" and "#rrggbb"; the digits form one number, read up to the first character that is not a
// hexadecimal digit.
agg::rgba8 ParseHexColour(std::u16string_view text) {
  char16_t digits[6];
  if (text.size() == 4) {
    for (size_t i = 0; i < 3; ++i) digits[2 * i] = digits[2 * i + 1] = text[1 + i];
  } else if (text.size() == 7) {
    for (size_t i = 0; i < 6; ++i) digits[i] = text[1 + i];
  } else {
    return agg::rgba8(0, 0, 0, 255);
  }
  uint32_t v = 0;
  for (char16_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) break;
    v = v * 16 + static_cast<uint32_t>(digit);
  }
  return agg::rgba8((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF, 255);
}

// Drops the fraction and keeps the low 8 bits, so 256 is 0 and 300 is 44. Values an int cannot hold
// read as INT_MIN, as the x86 conversion instruction gives, which makes them 0.
unsigned ChannelBits(double value) {
  int64_t whole = std::numeric_limits<int32_t>::min();
  if (std::isfinite(value) && value > -2147483649.0 && value < 2147483648.0) {
    whole = static_cast<int64_t>(std::trunc(value));
  }
  return static_cast<unsigned>(static_cast<uint64_t>(whole) & 0xFF);
}

// In single precision, so that 100% comes to exactly 255 rather than 254.99999999999997. Values beyond
// float's range end up outside an int's range either way.
double ScalePercent(double value) {
  if (!(std::fabs(value) < 1e30)) return value * 2.55;
  return static_cast<double>(static_cast<float>(value) * 2.55f);
}

bool IsRgbSeparator(char16_t c, bool percent) {
  return c == u' ' || c == u',' || c == u')' || c == u'\t' || c == u'\r' || c == u'\n' || (percent && c == u'%');
}

agg::rgba8 ParseRgbFunction(std::u16string_view args) {
  const bool percent = args.find(u'%') != std::u16string_view::npos;
  double channels[3] = {0.0, 0.0, 0.0};
  size_t count = 0;
  size_t pos = 0;
  while (count < 3 && pos < args.size()) {
    while (pos < args.size() && IsRgbSeparator(args[pos], percent)) ++pos;
    const size_t start = pos;
    while (pos < args.size() && !IsRgbSeparator(args[pos], percent)) ++pos;
    if (pos == start) break;
    double value = ParseNumberPrefix(args.substr(start, pos - start));
    if (percent) value = ScalePercent(value);
    channels[count++] = value;
  }
  return agg::rgba8(ChannelBits(channels[0]), ChannelBits(channels[1]), ChannelBits(channels[2]), 255);
}

}  // namespace

agg::rgba8 ParseColour(std::u16string_view text, agg::rgba8 currentColour) {
  if (text.data() == nullptr) return agg::rgba8(0, 0, 0, 255);
  size_t start = 0;
  while (start < text.size() && IsSpaceChar(text[start])) ++start;
  text.remove_prefix(start);

  if (StartsWithIgnoringCase(text, u"currentcolor")) return currentColour;
  if (StartsWithIgnoringCase(text, u"none")) return agg::rgba8(0, 0, 0, 0);
  if (!text.empty() && text[0] == u'#') return ParseHexColour(text);
  if (!StartsWithIgnoringCase(text, u"rgb(")) return LookupColourName(text);
  return ParseRgbFunction(text.substr(4));
}

}  // namespace svg
