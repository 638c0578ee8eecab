#pragma once

#include <string>
#include <vector>

namespace hostile {

// How a child process ended and what it cost.
struct ChildUsage {
  int exitCode = -1;  // -1 when it did not exit normally
  int signal = 0;     // the signal that ended it, 0 when it exited
  long maxResidentKiB = 0;
  std::string output;  // standard output
};

// Runs program with arguments, standard error discarded. After cpuSeconds of its own CPU time the
// kernel stops it with SIGXCPU: a ceiling on runaway work that machine load cannot trip.
ChildUsage RunLimited(const std::string& program, const std::vector<std::string>& arguments,
                      unsigned cpuSeconds = 30);

}  // namespace hostile
