#include "pdf_params.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "param_values.h"

namespace graphel_cli {
namespace {

enum class PdfField { kPage, kContinuous, kMode, kDirection, kTransparent, kColour };

struct PdfParam {
  std::string_view name;
  zal::ParamType2 type;
  PdfField field;
};

// The names and types of the texture's "pdf params" block.
constexpr PdfParam kPdfParams[] = {
    {"pdf_page", zal::TYPE_FLOAT, PdfField::kPage},
    {"continous", zal::TYPE_BOOL, PdfField::kContinuous},
    {"transition_mode", zal::TYPE_INT, PdfField::kMode},
    {"transitiondir", zal::TYPE_INT, PdfField::kDirection},
    {"transparent", zal::TYPE_BOOL, PdfField::kTransparent},
    {"pagecolor", zal::TYPE_FRGBA, PdfField::kColour},
};

uint32_t Clamped(double value, double high) {
  return std::isnan(value) ? 0 : static_cast<uint32_t>(std::clamp(value, 0.0, high));
}

}  // namespace

document::PdfPageSettings DefaultPdfSettings() {
  document::PdfPageSettings settings;
  settings.transparent = 1;
  return settings;
}

bool ApplyPdfParam(const std::string& assignment, document::PdfPageSettings& settings, std::string& error) {
  const size_t equals = assignment.find('=');
  const std::string name = assignment.substr(0, equals);
  const auto* param = std::find_if(std::begin(kPdfParams), std::end(kPdfParams),
                                   [&name](const PdfParam& p) { return p.name == name; });
  if (equals == std::string::npos || param == std::end(kPdfParams)) {
    error = "--param wants NAME=VALUE with a PDF parameter name, got \"" + assignment + "\"";
    return false;
  }
  ParamValue value;
  if (!ParseParamValue(param->type, assignment.substr(equals + 1), value)) {
    error = "\"" + assignment.substr(equals + 1) + "\" is not a value for " + name;
    return false;
  }
  switch (param->field) {
    case PdfField::kPage: settings.page = static_cast<float>(value.number); break;
    case PdfField::kContinuous: settings.continuous = value.number != 0.0 ? 1 : 0; break;
    case PdfField::kMode: settings.transitionMode = Clamped(value.number, 3.0); break;
    case PdfField::kDirection: settings.transitionDirection = Clamped(value.number, 7.0); break;
    case PdfField::kTransparent: settings.transparent = value.number != 0.0 ? 1 : 0; break;
    case PdfField::kColour:
      settings.pageColour = {value.colour.r, value.colour.g, value.colour.b, value.colour.a};
      break;
  }
  return true;
}

}  // namespace graphel_cli
