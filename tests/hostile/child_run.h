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

// CPU seconds a child may spend before the kernel stops it with SIGXCPU: a ceiling on runaway work
// that machine load cannot trip (it counts the child's own CPU, not elapsed time).
inline constexpr unsigned kCpuSecondsLimit = 30;

// Runs program with arguments, standard error discarded, under the CPU ceiling.
ChildUsage RunLimited(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace hostile
