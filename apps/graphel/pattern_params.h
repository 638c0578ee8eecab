#pragma once

#include <string>
#include <vector>

#include "document/vector_document.h"

namespace graphel_cli {

// Applies `render --param NAME=VALUE` settings of the texture's pattern block (patternname as an
// index or a pattern's name, patternrepeat, linewidth, linecolor, backcolor, linecap) and selects
// the pattern; false with a message on a name or value it can't take.
bool SelectPatternFromParams(document::VectorDocument& loaded, const std::vector<std::string>& params,
                             document::PatternSettings& settings, std::string& error);

}  // namespace graphel_cli
