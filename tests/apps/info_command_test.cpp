#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "support/run_graphel.h"
#include "support/test_support.h"

namespace {

using testing_support::CommandResult;
using testing_support::RunGraphel;

nlohmann::json Info(const std::string& arguments, int expectedExit) {
  const CommandResult result = RunGraphel("info " + arguments);
  EXPECT_EQ(result.exitCode, expectedExit) << arguments;
  return nlohmann::json::parse(result.output);
}

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

TEST(InfoCommand, PrintsTheContractFieldsInOrder) {
  const std::string path = testing_support::ScratchFolder("InfoOrder") + "/d.svg";
  testing_support::WriteFile(path, "<svg width='200' height='100'><style>rect{}</style><rect/></svg>");
  const CommandResult result = RunGraphel("info " + Quoted(path));
  ASSERT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.output.rfind("{\"type\":1,\"aspect\":2.0,\"extent\":{\"x\":0.0,\"y\":0.0,\"width\":200.0", 0), 0u)
      << result.output;
  const auto info = nlohmann::json::parse(result.output);
  EXPECT_EQ(info["elements"], 2);
  EXPECT_EQ(info["error"]["code"], 0);
  EXPECT_EQ(info["shown"], "");
  EXPECT_EQ(info["hasScripts"], false);
  EXPECT_EQ(info["patterns"], nlohmann::json::array());
  EXPECT_EQ(info["pageCount"], 0);
}

TEST(InfoCommand, TextModeReadsTheFileContentAsSvg) {
  const std::string path = testing_support::ScratchFolder("InfoText") + "/content.txt";
  testing_support::WriteFile(path, "<svg width='30' height='60'><rect fill='zls(x)'/></svg>");
  const auto info = Info("--text " + Quoted(path), 0);
  EXPECT_EQ(info["type"], 10);
  EXPECT_EQ(info["hasScripts"], true);
  EXPECT_FLOAT_EQ(info["aspect"].get<float>(), 0.5f);
}

TEST(InfoCommand, FailedLoadsExitOneWithCodeMessageAndPosition) {
  const std::string folder = testing_support::ScratchFolder("InfoErrors");
  testing_support::WriteFile(folder + "/bad.svg", "<svg>\n<rect>\n</svg>");
  const auto xml = Info(Quoted(folder + "/bad.svg"), 1);
  EXPECT_EQ(xml["error"]["code"], 3);
  EXPECT_EQ(xml["error"]["line"], 3);
  EXPECT_EQ(xml["shown"], "XML-Error: mismatched tag at line 3\n");

  testing_support::WriteFile(folder + "/path.svg", "<svg><path d='M 1 2 L 3 4 Q'/></svg>");
  const auto path = Info(Quoted(folder + "/path.svg"), 1);
  EXPECT_EQ(path["error"]["code"], 13);
  EXPECT_EQ(path["elements"], 0);

  const auto missing = Info(Quoted(folder + "/missing.svg"), 1);
  EXPECT_EQ(missing["shown"], "Couldn't open file:\n" + folder + "/missing.svg");
}

TEST(InfoCommand, BoundingBoxStandsInForAMissingSize) {
  const std::string path = testing_support::ScratchFolder("InfoBox") + "/box";
  testing_support::WriteFile(path + ".svg", "<svg width='-5'><polyline points='5,5 45,25'/></svg>");
  const auto info = Info(Quoted(path + ".svg"), 0);
  EXPECT_DOUBLE_EQ(info["extent"]["width"].get<double>(), 40.0);
  EXPECT_DOUBLE_EQ(info["extent"]["height"].get<double>(), 20.0);
}

TEST(InfoCommand, NoExtensionLoadsThePlaceholder) {
  const auto info = Info("/some/file/without_extension", 0);
  EXPECT_EQ(info["type"], 0);
  EXPECT_EQ(info["elements"], 6);
  EXPECT_EQ(info["extent"]["width"], 120.0);
}

TEST(InfoCommand, WrongUsageExitsTwo) {
  EXPECT_EQ(RunGraphel("info").exitCode, 2);
  EXPECT_EQ(RunGraphel("nonsense").exitCode, 2);
  EXPECT_EQ(RunGraphel("").exitCode, 2);
}

}  // namespace
