#include "param_values.h"

#include <charconv>
#include <vector>

#include "platform/wide_text.h"

namespace graphel_cli {
namespace {

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    const size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string::npos) return parts;
    start = end + 1;
  }
}

bool ParseColour(const std::string& text, zal::AColor& colour) {
  if (!text.empty() && text[0] == '#') {
    uint32_t packed = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data() + 1, end, packed, 16);
    if (text.size() != 7 || result.ec != std::errc() || result.ptr != end) return false;
    colour = zal::AColor{((packed >> 16) & 0xFF) / 255.0f, ((packed >> 8) & 0xFF) / 255.0f, (packed & 0xFF) / 255.0f,
                         1.0f};
    return true;
  }
  const std::vector<std::string> parts = Split(text, ',');
  if (parts.size() != 3 && parts.size() != 4) return false;
  double channels[4] = {0.0, 0.0, 0.0, 1.0};
  for (size_t i = 0; i < parts.size(); ++i) {
    if (!ParseNumber(parts[i], channels[i])) return false;
  }
  colour = zal::AColor{static_cast<float>(channels[0]), static_cast<float>(channels[1]),
                       static_cast<float>(channels[2]), static_cast<float>(channels[3])};
  return true;
}

bool ParseBoolean(const std::string& text, double& value) {
  for (const char* yes : {"true", "on", "yes", "1"}) {
    if (text == yes) {
      value = 1.0;
      return true;
    }
  }
  for (const char* no : {"false", "off", "no", "0"}) {
    if (text == no) {
      value = 0.0;
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseNumber(const std::string& text, double& value) {
  const char* begin = text.data();
  const char* end = begin + text.size();
  if (begin != end && *begin == '+') ++begin;
  const auto result = std::from_chars(begin, end, value);
  return begin != end && result.ec == std::errc() && result.ptr == end;
}

bool ParseParamValue(zal::ParamType2 type, const std::string& text, ParamValue& value) {
  switch (type) {
    case zal::TYPE_FLOAT:
    case zal::TYPE_INT:
      return ParseNumber(text, value.number);
    case zal::TYPE_BOOL:
      return ParseBoolean(text, value.number);
    case zal::TYPE_FRGBA:
      return ParseColour(text, value.colour);
    case zal::TYPE_FILENAME:
    case zal::TYPE_STRING:
      value.text = platform::Utf8ToWide(text);
      return true;
    default:
      return false;
  }
}

bool StoreParamValue(zal::IParamBlock2& block, const zal::ParamDef& def, zal::TimeValue t, const ParamValue& value,
                     bool asKey) {
  switch (def.type) {
    case zal::TYPE_FLOAT:
    case zal::TYPE_INT:
    case zal::TYPE_BOOL:
      return asKey ? block.SetKey(def.id, t, value.number) : block.SetValue(def.id, t, value.number);
    case zal::TYPE_FRGBA:
      return asKey ? block.SetKey(def.id, t, value.colour) : block.SetValue(def.id, t, value.colour);
    case zal::TYPE_FILENAME:
    case zal::TYPE_STRING:
      return !asKey && block.SetValue(def.id, t, std::u16string_view(value.text));
    default:
      return false;
  }
}

}  // namespace graphel_cli
