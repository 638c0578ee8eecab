#include "colour_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "param_values.h"
#include "svg/colour.h"

namespace graphel_cli {
namespace {

bool AllHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

std::optional<zal::AColor> FromHexDigits(std::string_view digits) {
  uint32_t packed = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), packed, 16);
  if (digits.size() == 6) packed = (packed << 8) | 0xFF;
  return zal::AColor{((packed >> 24) & 0xFF) / 255.0f, ((packed >> 16) & 0xFF) / 255.0f,
                     ((packed >> 8) & 0xFF) / 255.0f, (packed & 0xFF) / 255.0f};
}

std::optional<zal::AColor> FromFractions(std::string_view text) {
  std::vector<double> channels;
  size_t start = 0;
  while (channels.size() < 5) {
    const size_t comma = text.find(',', start);
    double value = 0.0;
    if (!ParseNumber(std::string(text.substr(start, comma - start)), value) || !std::isfinite(value)) {
      return std::nullopt;
    }
    channels.push_back(value);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (channels.size() != 3 && channels.size() != 4) return std::nullopt;
  if (channels.size() == 3) channels.push_back(1.0);
  return zal::AColor{static_cast<float>(channels[0]), static_cast<float>(channels[1]),
                     static_cast<float>(channels[2]), static_cast<float>(channels[3])};
}

}  // namespace

std::optional<zal::AColor> ParseColourText(std::string_view text) {
  if (text.find(',') != std::string_view::npos && text.find('(') == std::string_view::npos) {
    return FromFractions(text);
  }
  const std::string_view digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if ((digits.size() == 8 || (digits.size() == 6 && text[0] != '#')) && AllHex(digits)) return FromHexDigits(digits);
  agg::rgba8 colour;
  if (!svg::TryParseColour(text, colour)) return std::nullopt;
  return zal::AColor{colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f};
}

uint32_t PackPremultiplied(const zal::AColor& colour) {
  auto byte = [](double value) { return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255.0)); };
  const double alpha = std::clamp(static_cast<double>(colour.a), 0.0, 1.0);
  const uint8_t bytes[4] = {byte(colour.r * alpha), byte(colour.g * alpha), byte(colour.b * alpha), byte(alpha)};
  uint32_t packed = 0;
  std::memcpy(&packed, bytes, 4);
  return packed;
}

CLI::Validator ColourValidator() {
  return CLI::Validator(
      [](const std::string& text) -> std::string {
        if (ParseColourText(text)) return {};
        return "\"" + text + "\" is not a colour: give a name, #rgb, #rrggbb, rgb(...), RRGGBBAA or r,g,b[,a] in 0..1";
      },
      "COLOUR");
}

}  // namespace graphel_cli
