#pragma once

#include <optional>
#include <string>

namespace graphel_cli {

// The whole content of a file, or nullopt when it can't be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace graphel_cli
