#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace {

struct CommandResult {
  int exitCode = -1;
  std::string errors;
};

// Runs graphel and keeps what it wrote to stderr.
CommandResult RunGraphelErrors(const std::string& arguments) {
  CommandResult result;
  const std::string command = std::string(GRAPHEL_BINARY) + " " + arguments + " 2>&1 >/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[4096];
  size_t count = 0;
  while ((count = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.errors.append(buffer, count);
  const int status = pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

TEST(RenderCommand, UndecodablePicturesAreListedOnceAndTheRenderStillSucceeds) {
  const std::string folder = testing_support::ScratchFolder("RenderImageErrors");
  std::filesystem::copy_file(testing_support::DataPath("images/quadrants.png"), folder + "/good.png");
  testing_support::WriteFile(folder + "/broken.png", "not a picture");
  testing_support::WriteFile(folder + "/d.svg",
                             "<svg xmlns:xlink='http://www.w3.org/1999/xlink' width='20' height='20'>"
                             "<image width='10' height='10' xlink:href='good.png'/>"
                             "<image width='10' height='10' xlink:href='broken.png'/>"
                             "<image width='10' height='10' xlink:href='broken.png'/>"
                             "<image width='10' height='10' xlink:href='missing.jpg'/></svg>");
  const std::string output = folder + "/out.png";
  const CommandResult result = RunGraphelErrors("render '" + folder + "/d.svg' -o '" + output + "' --size 40");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.errors, "image decode error: " + folder + "/broken.png\nimage decode error: " + folder +
                               "/missing.jpg\n");
  EXPECT_TRUE(std::filesystem::exists(output));
}

}  // namespace
