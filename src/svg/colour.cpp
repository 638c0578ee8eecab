#include "svg/colour.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <string>

#include "platform/wide_text.h"
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

// "#rgb", "#rgba", "#rrggbb" and "#rrggbbaa". In the opaque forms the digits form one number, read up
// to the first character that is not a hexadecimal digit; the forms with alpha need every digit.
std::optional<agg::rgba8> ParseHexColour(std::u16string_view text) {
  const size_t count = text.size() - 1;
  if (count != 3 && count != 4 && count != 6 && count != 8) return std::nullopt;
  const bool shortForm = count < 6;
  const bool withAlpha = count == 4 || count == 8;
  char16_t digits[8];
  for (size_t i = 0; i < count; ++i) {
    if (shortForm) {
      digits[2 * i] = digits[2 * i + 1] = text[1 + i];
    } else {
      digits[i] = text[1 + i];
    }
  }
  const size_t total = shortForm ? 2 * count : count;
  uint32_t v = 0;
  for (size_t i = 0; i < total; ++i) {
    const int digit = HexDigit(digits[i]);
    if (digit < 0) {
      if (withAlpha) return std::nullopt;
      break;
    }
    v = v * 16 + static_cast<uint32_t>(digit);
  }
  if (!withAlpha) return agg::rgba8((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF, 255);
  return agg::rgba8(v >> 24, (v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
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

// A 0..1 fraction as a byte, rounded; the caller has checked that it is finite.
unsigned FractionByte(double fraction) {
  return static_cast<unsigned>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

struct Argument {
  double value = 0.0;
  bool percent = false;
};

constexpr size_t kMaxArguments = 5;

struct Arguments {
  std::array<Argument, kMaxArguments> items;
  size_t count = 0;
  bool finite = true;
};

bool IsArgumentSeparator(char16_t c) { return c == u',' || c == u'/' || c == u')' || IsSpaceChar(c); }

// The numbers between the parentheses, separated by commas, white space or "/" (before the alpha);
// a "%" ends a number and marks it as a percentage. Arguments past kMaxArguments are not read.
Arguments ReadArguments(std::u16string_view args) {
  Arguments result;
  size_t pos = 0;
  while (result.count < kMaxArguments && pos < args.size()) {
    while (pos < args.size() && IsArgumentSeparator(args[pos])) ++pos;
    const size_t start = pos;
    while (pos < args.size() && !IsArgumentSeparator(args[pos]) && args[pos] != u'%') ++pos;
    if (pos == start && (pos >= args.size() || args[pos] != u'%')) break;
    Argument& argument = result.items[result.count++];
    argument.value = ParseNumberPrefix(args.substr(start, pos - start));
    result.finite = result.finite && std::isfinite(argument.value);
    if (pos < args.size() && args[pos] == u'%') {
      argument.percent = true;
      ++pos;
    }
  }
  return result;
}

// An alpha argument: a number from 0 to 1 or a percentage.
unsigned AlphaByte(const Argument& alpha) { return FractionByte(alpha.percent ? alpha.value / 100.0 : alpha.value); }

// rgb() keeps its lenient reading (missing channels are 0, a "%" on any channel scales all three);
// rgba() needs three or four finite arguments. Both take an alpha as the fourth.
std::optional<agg::rgba8> ParseRgbFunction(std::u16string_view args, bool strict) {
  const Arguments read = ReadArguments(args);
  if (strict && (read.count < 3 || read.count > 4 || !read.finite)) return std::nullopt;
  const bool percent = read.items[0].percent || read.items[1].percent || read.items[2].percent;
  unsigned channels[3];
  for (size_t i = 0; i < 3; ++i) {
    const double value = i < read.count ? read.items[i].value : 0.0;
    channels[i] = ChannelBits(percent ? ScalePercent(value) : value);
  }
  unsigned alpha = 255;
  if (read.count >= 4) {
    if (!std::isfinite(read.items[3].value)) return std::nullopt;
    alpha = AlphaByte(read.items[3]);
  }
  return agg::rgba8(channels[0], channels[1], channels[2], alpha);
}

double HueToChannel(double m1, double m2, double hue) {
  if (hue < 0.0) hue += 1.0;
  if (hue > 1.0) hue -= 1.0;
  if (hue * 6.0 < 1.0) return m1 + (m2 - m1) * hue * 6.0;
  if (hue * 2.0 < 1.0) return m2;
  if (hue * 3.0 < 2.0) return m1 + (m2 - m1) * (2.0 / 3.0 - hue) * 6.0;
  return m1;
}

// hsl() and hsla(): hue in degrees, saturation and lightness in percent (the "%" may be left out),
// optional alpha; three or four finite arguments, or the colour is unknown.
std::optional<agg::rgba8> ParseHslFunction(std::u16string_view args) {
  const Arguments read = ReadArguments(args);
  if (read.count < 3 || read.count > 4 || !read.finite) return std::nullopt;
  const double turns = std::fmod(read.items[0].value, 360.0) / 360.0;
  const double hue = turns < 0.0 ? turns + 1.0 : turns;
  const double saturation = std::clamp(read.items[1].value / 100.0, 0.0, 1.0);
  const double lightness = std::clamp(read.items[2].value / 100.0, 0.0, 1.0);
  const double m2 =
      lightness <= 0.5 ? lightness * (saturation + 1.0) : lightness + saturation - lightness * saturation;
  const double m1 = lightness * 2.0 - m2;
  const unsigned alpha = read.count == 4 ? AlphaByte(read.items[3]) : 255;
  return agg::rgba8(FractionByte(HueToChannel(m1, m2, hue + 1.0 / 3.0)), FractionByte(HueToChannel(m1, m2, hue)),
                    FractionByte(HueToChannel(m1, m2, hue - 1.0 / 3.0)), alpha);
}

std::u16string_view SkipSpace(std::u16string_view text) {
  size_t start = 0;
  while (start < text.size() && IsSpaceChar(text[start])) ++start;
  return text.substr(start);
}

// Every form but the keywords currentColor and none, which the callers treat themselves.
std::optional<agg::rgba8> ParseColourValue(std::u16string_view text) {
  if (!text.empty() && text[0] == u'#') return ParseHexColour(text);
  if (StartsWithIgnoringCase(text, u"rgb(")) return ParseRgbFunction(text.substr(4), false);
  if (StartsWithIgnoringCase(text, u"rgba(")) return ParseRgbFunction(text.substr(5), true);
  if (StartsWithIgnoringCase(text, u"hsl(")) return ParseHslFunction(text.substr(4));
  if (StartsWithIgnoringCase(text, u"hsla(")) return ParseHslFunction(text.substr(5));
  return FindColourName(text);
}

}  // namespace

ColourKeyword ClassifyColour(std::u16string_view text) {
  text = SkipSpace(text);
  if (StartsWithIgnoringCase(text, u"currentcolor")) return ColourKeyword::kCurrentColour;
  if (StartsWithIgnoringCase(text, u"none")) return ColourKeyword::kNone;
  return ColourKeyword::kColour;
}

agg::rgba8 ParseColour(std::u16string_view text, agg::rgba8 currentColour) {
  const agg::rgba8 unknown(0, 0, 0, 255);
  if (text.data() == nullptr) return unknown;
  switch (ClassifyColour(text)) {
    case ColourKeyword::kCurrentColour:
      return currentColour;
    case ColourKeyword::kNone:
      return agg::rgba8(0, 0, 0, 0);
    case ColourKeyword::kColour:
      break;
  }
  return ParseColourValue(SkipSpace(text)).value_or(unknown);
}

bool TryParseColour(std::u16string_view text, agg::rgba8& rgba) {
  if (ClassifyColour(text) == ColourKeyword::kCurrentColour) return false;
  if (ClassifyColour(text) == ColourKeyword::kNone) {
    rgba = agg::rgba8(0, 0, 0, 0);
    return true;
  }
  const std::optional<agg::rgba8> colour = ParseColourValue(SkipSpace(text));
  if (colour) rgba = *colour;
  return colour.has_value();
}

bool TryParseColour(std::string_view utf8, agg::rgba8& rgba) {
  return TryParseColour(std::u16string_view(platform::Utf8ToWide(utf8)), rgba);
}

}  // namespace svg
