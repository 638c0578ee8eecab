#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "formats/pat/hatch_pattern.h"
#include "support/test_support.h"

namespace {

using formats::pat::HatchPattern;
using formats::pat::ReadPatterns;
using testing_support::N;

std::vector<HatchPattern> Read(const std::string& text) {
  std::vector<HatchPattern> patterns;
  ReadPatterns(text, patterns);
  return patterns;
}

std::string Names(const std::vector<HatchPattern>& patterns) {
  std::string names;
  for (const HatchPattern& pattern : patterns) names += "[" + N(pattern.name) + "]";
  return names;
}

TEST(PatternReader, HeadersCommentsAndStrayLines) {
  using namespace std::string_view_literals;
  const struct {
    std::string_view text;
    const char* names;
    size_t firstLines;
  } cases[] = {
      {"*A,first\n0,0,0,0,1\n*B\n90,0,0,0,1\n45,0,0,0,1\n"sv, "[A,first][B]", 1},
      {"  *SPACED , with description ; comment\r\n0 0 0 0 1\n"sv, "[SPACED , with description]", 1},
      {"0,0,0,0,1\n; stray lines before any header belong to nothing\n*LATE\n"sv, "[LATE]", 0},
      {"*C\n\n;0,0,0,0,1\n   \n\t0,0,0,0,1 ; a comment after the numbers\n"sv, "[C]", 1},
      {""sv, "", 0},
      {"no header at all\n1,2,3\n"sv, "", 0},
      {"*END\n45,0,0,0,.5,.25,-.25"sv, "[END]", 1},  // ends inside a definition without a newline
      {"*NUL\0ignored\n0,0,0,0,1\n"sv, "[NUL]", 1},
  };
  for (const auto& c : cases) {
    const auto patterns = Read(std::string(c.text));
    EXPECT_EQ(Names(patterns), c.names) << std::string(c.text);
    if (!patterns.empty()) {
      EXPECT_EQ(patterns[0].lines.size(), c.firstLines) << std::string(c.text);
    }
  }
}

TEST(PatternReader, NumbersOfADefinitionLine) {
  const struct {
    const char* line;
    double angle, originX, originY, deltaX, deltaY;
    std::vector<double> dashes;
    double largestDeltaY;
  } cases[] = {
      {"-45, 1,2, 3,4, .5,-.25,0", 315, 1, 2, 3, 4, {0.5, -0.25, 0.0}, 4},
      {"405\t0.5 ,, -0.5", 45, 0.5, -0.5, 0, 0, {}, 1},
      {"720,0,0,0,-0.5", 0, 0, 0, 0, -0.5, {}, 1},
      {"30,x,1e1y,,-2", 30, 0, 10, -2, 0, {}, 1},
      {"-360,0,0,0,-3", 0, 0, 0, 0, -3, {}, 3},
  };
  for (const auto& c : cases) {
    const auto patterns = Read(std::string("*P\n") + c.line + "\n");
    ASSERT_EQ(patterns.size(), 1u);
    ASSERT_EQ(patterns[0].lines.size(), 1u) << c.line;
    const auto& line = patterns[0].lines[0];
    EXPECT_DOUBLE_EQ(line.angle, c.angle) << c.line;
    EXPECT_DOUBLE_EQ(line.originX, c.originX) << c.line;
    EXPECT_DOUBLE_EQ(line.originY, c.originY) << c.line;
    EXPECT_DOUBLE_EQ(line.deltaX, c.deltaX) << c.line;
    EXPECT_DOUBLE_EQ(line.deltaY, c.deltaY) << c.line;
    EXPECT_EQ(line.dashes, c.dashes) << c.line;
    EXPECT_DOUBLE_EQ(patterns[0].largestDeltaY, c.largestDeltaY) << c.line;
  }
}

TEST(PatternReader, HostileInputStaysWithinItsLimits) {
  using namespace formats::pat;
  // A long header keeps its first characters as the name; the rest of the line is not read again.
  const auto longHeader = Read("*" + std::string(5000, 'N') + "\n0,0,0,0,1\n");
  ASSERT_EQ(longHeader.size(), 1u);
  EXPECT_EQ(longHeader[0].name.size(), kMaxNameLength);
  EXPECT_EQ(longHeader[0].lines.size(), 1u);

  std::string many;
  for (size_t i = 0; i <= kMaxPatterns; ++i) many += "*P" + std::to_string(i) + "\n";
  const auto patterns = Read(many);
  ASSERT_EQ(patterns.size(), kMaxPatterns);
  EXPECT_EQ(N(patterns.back().name), "P" + std::to_string(kMaxPatterns - 1));

  std::string families = "*F\n";
  for (size_t i = 0; i <= kMaxFamilies; ++i) families += "0,0,0,0,1\n";
  EXPECT_EQ(Read(families)[0].lines.size(), kMaxFamilies);

  std::string dashes = "*D\n0,0,0,0,1";
  for (size_t i = 0; i < 2 * kMaxDashes; ++i) dashes += ",1";
  EXPECT_EQ(Read(dashes)[0].lines[0].dashes.size(), kMaxDashes);

  std::string binary;
  for (int i = 0; i < 70000; ++i) binary += static_cast<char>((i * 7919) % 256);
  for (const HatchPattern& pattern : Read(binary)) EXPECT_LE(pattern.name.size(), kMaxNameLength);

  const auto nan = Read("*N\nnan,0,0,0,inf\n");
  EXPECT_TRUE(std::isnan(nan[0].lines[0].angle));
}

}  // namespace
