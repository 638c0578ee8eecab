#include "pdf_params.h"

#include "param_values.h"
#include "texture/block_settings.h"
#include "texture/param_blocks.h"

namespace graphel_cli {

PdfParams::PdfParams() : block_(std::make_unique<zal::IParamBlock2>(graphel::kPdfDesc, nullptr)) {}

PdfParams::~PdfParams() = default;

bool PdfParams::Apply(const std::string& assignment, std::string& error) {
  const size_t equals = assignment.find('=');
  const std::string name = assignment.substr(0, equals);
  const zal::ParamDef* def = graphel::kPdfDesc.FindParam(name);
  if (equals == std::string::npos || def == nullptr || def->id == graphel::kPreview) {
    error = "--param wants NAME=VALUE with a PDF parameter name, got \"" + assignment + "\"";
    return false;
  }
  return AssignParam(*block_, *def, assignment.substr(equals + 1), 0, error);
}

document::PdfPageSettings PdfParams::Settings() const {
  zal::Interval valid = zal::FOREVER;
  return graphel::PdfSettingsAt(*block_, 0, valid, document::PdfPageSettings{});
}

}  // namespace graphel_cli
