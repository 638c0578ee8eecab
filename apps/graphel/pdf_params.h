#pragma once

#include <string>

#include "document/texture_settings.h"

namespace graphel_cli {

// The PDF page settings of a render before any --param: the texture's defaults.
document::PdfPageSettings DefaultPdfSettings();

// Applies one "NAME=VALUE" of the texture's PDF parameters (pdf_page, continous, transition_mode,
// transitiondir, transparent, pagecolor) to settings; false with a message for anything else.
bool ApplyPdfParam(const std::string& assignment, document::PdfPageSettings& settings, std::string& error);

}  // namespace graphel_cli
