#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "support/test_support.h"
#include "svg/document.h"
#include "svg/loader.h"

namespace {

using testing_support::N;
using testing_support::W;

// What a load produced that the read size could disturb: style rules, text and the element count.
struct Outcome {
  bool ok = false;
  uint32_t code = 0;
  std::vector<std::string> selectors;
  std::string text;
  size_t elements = 0;
  svg::FeedCounts counts;
};

void CollectText(const svg::SVGElement& element, std::string& text) {
  if (element.text) text += N(*element.text) + "|";
  for (const auto& child : element.children) CollectText(*child, text);
}

Outcome Describe(const svg::SVGDocument& document, bool ok, const svg::LoadError& error) {
  Outcome outcome;
  outcome.ok = ok;
  outcome.code = error.code;
  for (const auto& selector : document.styleSheet.selectorTexts) outcome.selectors.push_back(N(selector));
  CollectText(document, outcome.text);
  outcome.elements = svg::CountElements(document);
  return outcome;
}

Outcome FromFile(const std::string& path, size_t readBlock) {
  svg::SVGDocument document(1.0, nullptr);
  svg::LoadError error;
  svg::DocumentExtent extent;
  svg::FeedCounts counts;
  const bool ok = svg::LoadFile(document, error, W(path), extent, counts, readBlock);
  Outcome outcome = Describe(document, ok, error);
  outcome.counts = counts;
  return outcome;
}

Outcome FromText(std::string_view text) {
  svg::SVGDocument document(1.0, nullptr);
  svg::LoadError error;
  svg::DocumentExtent extent;
  const bool ok = svg::Load(document, error, true, W(text), extent);
  return Describe(document, ok, error);
}

// Style text is handed on in the chunks expat reports for the whole text; every block size must
// give the same rules, including one rule cut anywhere and two rules on one line (only the first).
TEST(LoaderBlocks, EveryReadSizeGivesTheRulesOfTheWholeText) {
  constexpr std::string_view kDrawings[] = {
      "<svg><style>rect{fill:red} g{fill:blue}\n.c1 { stroke : green }\n#i{opacity:.5}</style></svg>",
      "<svg><style>\r\n  text.caf\xC3\xA9 { fill: red }\r\n\xE6\x97\xA5{fill:blue}\r\n</style></svg>",
      "<svg><style>rect{fill:red}&#32;g{fill:blue}&amp;h{x:1}</style></svg>",
      "<svg><style><![CDATA[rect{fill:red}]]>g{fill:blue}<![CDATA[\nh{}]]></style></svg>",
      "<svg><style>a{fill:red}<!-- note -->b{fill:blue}</style><text>one <tspan>t\xC3\xA9</tspan> "
      "three</text></svg>",
  };
  const std::string folder = testing_support::ScratchFolder("LoaderBlocks");
  for (size_t d = 0; d < std::size(kDrawings); ++d) {
    const std::string path = folder + "/drawing" + std::to_string(d) + ".svg";
    testing_support::WriteFile(path, kDrawings[d]);
    const Outcome whole = FromText(kDrawings[d]);
    ASSERT_TRUE(whole.ok) << d;
    ASSERT_FALSE(whole.selectors.empty()) << d;
    // First blocks of every size up to the style text's end put a block boundary at every position.
    for (size_t block = 1; block <= 120; ++block) {
      const Outcome read = FromFile(path, block);
      EXPECT_TRUE(read.ok) << d << " block " << block;
      EXPECT_EQ(read.selectors, whole.selectors) << d << " block " << block;
      EXPECT_EQ(read.text, whole.text) << d << " block " << block;
      EXPECT_EQ(read.elements, whole.elements) << d << " block " << block;
    }
  }
}

// expat re-scans a long token (an embedded picture) on every block it spans: growing blocks keep the
// bytes handed over, re-scans included, within twice the file.
TEST(LoaderBlocks, LongTokenIsFedInGrowingBlocks) {
  const std::string folder = testing_support::ScratchFolder("LoaderLargeBlocks");
  for (const size_t payload : {size_t{1000}, 3 * svg::kReadBlock, 9 * svg::kReadBlock + 5}) {
    const std::string path = folder + "/picture" + std::to_string(payload) + ".svg";
    const std::string text = "<svg><image width='1' height='1' xlink:href='data:image/png;base64," +
                             std::string(payload, 'A') + "'/></svg>";
    testing_support::WriteFile(path, text);
    const Outcome read = FromFile(path, svg::kReadBlock);
    EXPECT_TRUE(read.ok) << payload;
    EXPECT_EQ(read.elements, 2u) << payload;
    // Blocks of 1, 2, 4, ... MiB: each re-scan is at most the bytes fed so far, which double.
    uint32_t blocks = 1;
    for (size_t covered = svg::kReadBlock; covered <= text.size(); covered = covered * 2 + svg::kReadBlock) ++blocks;
    EXPECT_EQ(read.counts.parseCalls, blocks) << payload;
    EXPECT_LE(read.counts.largestBlock, text.size()) << payload;
  }
}

// Opening a pipe would wait for a writer forever; devices never end.
TEST(LoaderBlocks, OnlyRegularFilesAreOpened) {
  const std::string folder = testing_support::ScratchFolder("LoaderNotRegular");
  const std::string pipe = folder + "/pipe.svg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {pipe, std::string("/dev/zero"), folder, folder + "/missing.svg"}) {
    const Outcome read = FromFile(path, svg::kReadBlock);
    EXPECT_FALSE(read.ok) << path;
    EXPECT_EQ(read.code, 1u) << path;
    EXPECT_EQ(read.counts.parseCalls, 0u) << path;
  }
}

}  // namespace
