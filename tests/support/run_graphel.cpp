#include "support/run_graphel.h"

#include <sys/wait.h>

#include <cstdio>

namespace testing_support {

CommandResult RunGraphel(const std::string& arguments, Stream kept) {
  CommandResult result;
  const char* redirection = kept == Stream::kStandardOutput ? " 2>/dev/null" : " 2>&1 >/dev/null";
  const std::string command = std::string(GRAPHEL_BINARY) + " " + arguments + redirection;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t count = 0;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, count);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace testing_support
