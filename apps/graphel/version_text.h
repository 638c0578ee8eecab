#pragma once

#include <string>

namespace graphel_cli {

// What `graphel --version` prints: the tool's version, the libraries it runs on and the optional parts built in.
std::string VersionText();

}  // namespace graphel_cli
