#include "param_values.h"

#include <charconv>
#include <iostream>

#include "colour_text.h"
#include "platform/wide_text.h"

namespace graphel_cli {
namespace {

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
    {
      const std::optional<zal::AColor> colour = ParseColourText(text);
      if (colour) value.colour = *colour;
      return colour.has_value();
    }
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

bool AssignParam(zal::IParamBlock2& block, const zal::ParamDef& def, const std::string& text, zal::TimeValue t,
                 std::string& error) {
  ParamValue value;
  if (!ParseParamValue(def.type, text, value)) {
    error = "\"" + text + "\" is not a value for " + std::string(def.name);
    return false;
  }
  if (!StoreParamValue(block, def, t, value, false)) {
    error = "the texture refused " + std::string(def.name) + "=" + text;
    return false;
  }
  if (block.LastSetClamped()) std::cerr << "graphel: " << def.name << " was brought into its range\n";
  return true;
}

}  // namespace graphel_cli
