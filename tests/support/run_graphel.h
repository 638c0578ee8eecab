#pragma once

#include <string>

namespace testing_support {

struct CommandResult {
  int exitCode = -1;
  std::string output;  // standard output, or standard error when that was asked for
};

enum class Stream { kStandardOutput, kStandardError };

// Runs the built graphel tool with arguments (already quoted for the shell), keeping one stream.
CommandResult RunGraphel(const std::string& arguments, Stream kept = Stream::kStandardOutput);

}  // namespace testing_support
