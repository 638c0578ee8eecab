#include "hostile/child_run.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hostile {

ChildUsage RunLimited(const std::string& program, const std::vector<std::string>& arguments,
                      unsigned cpuSeconds) {
  ChildUsage usage;
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return usage;
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit cpu{cpuSeconds, cpuSeconds + 5};  // SIGXCPU first, SIGKILL only if it is ignored
    ::setrlimit(RLIMIT_CPU, &cpu);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(pipeEnds[1], STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::close(pipeEnds[0]);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  ::close(pipeEnds[1]);
  if (child < 0) {
    ::close(pipeEnds[0]);
    return usage;
  }
  char buffer[4096];
  ssize_t count = 0;
  while ((count = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) usage.output.append(buffer, static_cast<size_t>(count));
  ::close(pipeEnds[0]);

  int status = 0;
  rusage resources{};
  if (::wait4(child, &status, 0, &resources) != child) return usage;
  usage.maxResidentKiB = resources.ru_maxrss;
  if (WIFEXITED(status)) usage.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) usage.signal = WTERMSIG(status);
  return usage;
}

}  // namespace hostile
