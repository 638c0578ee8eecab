#include "pattern_params.h"

#include <cmath>
#include <string_view>

#include "host/param_block.h"
#include "param_values.h"
#include "platform/ascii_case.h"
#include "platform/wide_text.h"
#include "texture/block_settings.h"
#include "texture/param_blocks.h"

namespace graphel_cli {
namespace {

// The texture draws patterns with its tiles' border as the margin.
constexpr int32_t kPatternMargin = 5;

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

std::string KnownNames() {
  std::string names;
  for (const zal::ParamDef& def : graphel::kPatternDesc.params) names += (names.empty() ? "" : ", ") + std::string(def.name);
  return names;
}

}  // namespace

bool SelectPatternFromParams(document::VectorDocument& loaded, const std::vector<std::string>& params,
                             document::PatternSettings& settings, std::string& error) {
  std::vector<std::u16string> names;
  loaded.PatternNames(names);
  // The texture's own block, so names, ranges and defaults are the texture's.
  zal::IParamBlock2 block(graphel::kPatternDesc, nullptr);
  for (const std::string& param : params) {
    const size_t equals = param.find('=');
    const std::string name = param.substr(0, equals);
    const std::string text = equals == std::string::npos ? std::string() : param.substr(equals + 1);
    const zal::ParamDef* def = graphel::kPatternDesc.FindParam(name);
    if (def == nullptr) {
      error = "--param " + name + ": a hatch pattern takes " + KnownNames();
      return false;
    }
    int32_t index = 0;
    if (equals == std::string::npos || (def->id == graphel::kPatternName && !FindPattern(names, text, index))) {
      error = "--param " + name + ": can't use \"" + text + "\"";
      return false;
    }
    const bool stored = def->id == graphel::kPatternName ? block.SetValue(def->id, 0, index)
                                                         : AssignParam(block, *def, text, 0, error);
    if (!stored) return false;
  }
  zal::Interval valid = zal::FOREVER;
  settings = graphel::PatternSettingsAt(block, 0, valid, false);
  if (names.empty()) return true;  // a file without patterns draws its background only
  if (!loaded.SelectPattern(settings, kPatternMargin)) {
    error = "no pattern " + std::to_string(settings.patternIndex) + " in the file";
    return false;
  }
  return true;
}

}  // namespace graphel_cli
