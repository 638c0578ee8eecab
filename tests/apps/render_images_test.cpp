#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using testing_support::CommandResult;

CommandResult RunGraphelErrors(const std::string& arguments) {
  return testing_support::RunGraphel(arguments, testing_support::Stream::kStandardError);
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
  EXPECT_EQ(result.output, "image decode error: " + folder + "/broken.png\nimage decode error: " + folder +
                               "/missing.jpg\n");
  EXPECT_TRUE(std::filesystem::exists(output));
}

}  // namespace
