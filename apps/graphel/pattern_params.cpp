#include "pattern_params.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "host/param_block.h"
#include "param_values.h"
#include "platform/ascii_case.h"
#include "platform/wide_text.h"

namespace graphel_cli {
namespace {

// The texture draws patterns with its tiles' border as the margin.
constexpr int32_t kPatternMargin = 5;

enum class PatternParam { kName, kRepeat, kLineWidth, kLineColour, kBackColour, kLineCap };

struct PatternParamName {
  std::string_view name;
  PatternParam param;
  zal::ParamType2 type;
};

// The names of the texture's "pattern params" block.
constexpr std::array<PatternParamName, 6> kPatternParams = {{
    {"patternname", PatternParam::kName, zal::TYPE_STRING},
    {"patternrepeat", PatternParam::kRepeat, zal::TYPE_FLOAT},
    {"linewidth", PatternParam::kLineWidth, zal::TYPE_FLOAT},
    {"linecolor", PatternParam::kLineColour, zal::TYPE_FRGBA},
    {"backcolor", PatternParam::kBackColour, zal::TYPE_FRGBA},
    {"linecap", PatternParam::kLineCap, zal::TYPE_INT},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) { return platform::EqualsIgnoringAsciiCase(a, b); }

// A pattern is named by its index, its whole header or the header's part before the first comma.
bool FindPattern(const std::vector<std::u16string>& names, const std::string& text, int32_t& index) {
  double number = 0.0;
  if (ParseNumber(text, number)) {
    if (number != std::floor(number) || !(number >= 0.0) || number >= static_cast<double>(names.size()))
      return false;
    index = static_cast<int32_t>(number);
    return true;
  }
  for (size_t i = 0; i < names.size(); ++i) {
    const std::string name = platform::WideToUtf8(names[i]);
    if (SameIgnoringCase(name, text) || SameIgnoringCase(name.substr(0, name.find(',')), text)) {
      index = static_cast<int32_t>(i);
      return true;
    }
  }
  return false;
}

// Out-of-range numbers are held within float's range; the converter keeps its own ranges.
float ToFloat(double number) { return static_cast<float>(std::clamp(number, -1e30, 1e30)); }

document::ColourChannels Channels(const zal::AColor& colour) {
  return {colour.r, colour.g, colour.b, colour.a};
}

std::string KnownNames() {
  std::string names;
  for (const PatternParamName& entry : kPatternParams)
    names += (names.empty() ? "" : ", ") + std::string(entry.name);
  return names;
}

}  // namespace

bool SelectPatternFromParams(document::VectorDocument& loaded, const std::vector<std::string>& params,
                             document::PatternSettings& settings, std::string& error) {
  std::vector<std::u16string> names;
  loaded.PatternNames(names);
  for (const std::string& param : params) {
    const size_t equals = param.find('=');
    const std::string name = param.substr(0, equals);
    const std::string text = equals == std::string::npos ? std::string() : param.substr(equals + 1);
    const PatternParamName* found = nullptr;
    for (const PatternParamName& entry : kPatternParams) {
      if (entry.name == name) found = &entry;
    }
    if (found == nullptr) {
      error = "--param " + name + ": a hatch pattern takes " + KnownNames();
      return false;
    }
    ParamValue value;
    const bool parsed = found->param == PatternParam::kName ? FindPattern(names, text, settings.patternIndex)
                                                            : ParseParamValue(found->type, text, value);
    if (!parsed || equals == std::string::npos) {
      error = "--param " + name + ": can't use \"" + text + "\"";
      return false;
    }
    switch (found->param) {
      case PatternParam::kName:
        break;
      case PatternParam::kRepeat:
        settings.repeat = ToFloat(value.number);
        break;
      case PatternParam::kLineWidth:
        settings.lineWidth = ToFloat(value.number);
        break;
      case PatternParam::kLineColour:
        settings.lineColour = Channels(value.colour);
        break;
      case PatternParam::kBackColour:
        settings.backgroundColour = Channels(value.colour);
        break;
      case PatternParam::kLineCap:
        settings.lineCap = value.number >= 0.0 ? static_cast<int32_t>(std::min(value.number, 2.0)) : 0;
        break;
    }
  }
  if (names.empty()) return true;  // a file without patterns draws its background only
  if (!loaded.SelectPattern(settings, kPatternMargin)) {
    error = "no pattern " + std::to_string(settings.patternIndex) + " in the file";
    return false;
  }
  return true;
}

}  // namespace graphel_cli
