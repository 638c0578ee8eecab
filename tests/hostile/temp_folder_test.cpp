#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "hostile/child_run.h"
#include "platform/temp_folder.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

// A process id that no longer runs: a child that has exited and been reaped.
pid_t DeadProcessId() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return child;
}

void MakeFolderWithFile(const fs::path& folder) {
  fs::create_directories(folder);
  testing_support::WriteFile((folder / "svgAbc123.png").string(), "left by a killed load");
}

TEST(TemporaryFolders, OnlyFoldersOfDeadProcessesAreRemoved) {
  const fs::path root = testing_support::ScratchFolder("StaleTemporaryFolders");
  const fs::path elsewhere = testing_support::ScratchFolder("StaleTemporaryTarget");
  const std::string dead = std::to_string(DeadProcessId());
  const std::string deadLinked = std::to_string(DeadProcessId());
  for (const std::string& name : {dead, std::to_string(::getpid()), std::to_string(::getppid()), std::string("keep"),
                                 std::string("12x")}) {
    MakeFolderWithFile(root / name);
  }
  MakeFolderWithFile(elsewhere);
  fs::create_directory_symlink(elsewhere, root / deadLinked);

  EXPECT_EQ(platform::RemoveStaleTemporaryFolders(root), 1u);
  EXPECT_FALSE(fs::exists(root / dead));
  for (const std::string& name : {std::to_string(::getpid()), std::to_string(::getppid()), std::string("keep"),
                                 std::string("12x"), deadLinked}) {
    EXPECT_TRUE(fs::exists(root / name)) << name;
  }
  EXPECT_TRUE(fs::exists(elsewhere / "svgAbc123.png")) << "a link is never followed";
  EXPECT_EQ(platform::RemoveStaleTemporaryFolders(root / "missing"), 0u);
}

// A compressed drawing goes through a temporary copy: the run must leave no folder of its own, and
// the folder a killed run left behind is gone after the next one.
TEST(TemporaryFolders, CommandLeavesNothingAndSweepsWhatDeadRunsLeft) {
  const fs::path scratch = testing_support::ScratchFolder("TemporaryFolderRuns");
  const fs::path drawing = scratch / "drawing.svgz";
  gzFile file = gzopen(drawing.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  gzputs(file, "<svg width='10' height='10'><image width='1' height='1' xlink:href='data:image/png;base64,AAAA'/>"
               "<rect width='5' height='5'/></svg>");
  gzclose(file);
  const fs::path root = scratch / "svg_temp";
  const fs::path stale = root / std::to_string(DeadProcessId());
  MakeFolderWithFile(stale);

  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved != nullptr ? saved : "";
  ::setenv("TMPDIR", scratch.c_str(), 1);
  const hostile::ChildUsage usage = hostile::RunLimited(GRAPHEL_BINARY, {"info", drawing.string()});
  if (saved != nullptr) {
    ::setenv("TMPDIR", savedValue.c_str(), 1);
  } else {
    ::unsetenv("TMPDIR");
  }

  EXPECT_EQ(usage.exitCode, 0) << usage.output;
  EXPECT_FALSE(fs::exists(stale));
  ASSERT_TRUE(fs::is_directory(root));
  EXPECT_TRUE(fs::is_empty(root)) << fs::directory_iterator(root)->path();
}

}  // namespace
