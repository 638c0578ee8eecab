#include <gtest/gtest.h>

#include <string>

#include "platform/asset_paths.h"
#include "support/test_support.h"

namespace {

using platform::ResolvedAsset;
using platform::ResolveFilePath;
using testing_support::N;
using testing_support::W;

struct ResolveCase {
  const char* base;
  const char* baseReference;
  const char* reference;
  const char* path;  // nullptr: the resolution fails
  const char* fragment;
};

TEST(ResolveFilePath, CombinesFolderBaseReferenceAndReference) {
  const ResolveCase cases[] = {
      {"/d/", "", "a.png", "/d/a.png", ""},
      {"/d", "", "a.png", "/d/a.png", ""},
      {"/d/e/", "", "../f/./a.png", "/d/f/a.png", ""},
      {"/d/e/", "", "../../../../a.png", "/a.png", ""},
      {"/d/", "", "x\\y\\..\\z//a.png", "/d/x/z/a.png", ""},
      {"/d/", "sub/", "a.png", "/d/sub/a.png", ""},
      {"/d/", "sub", "a.png", "/d/sub/a.png", ""},
      {"/d/", "/other", "a.png", "/other/a.png", ""},
      {"/d/", "\\other\\", "a.png", "/other/a.png", ""},
      {"/d/", "C:\\pics", "a.png", "C:/pics/a.png", ""},
      {"/d/", "sub/", "C:/abs/a.png", "C:/abs/a.png", ""},
      // A leading separator does not leave the drawing's folder.
      {"/d/", "", "/a.png", "/d/a.png", ""},
      {"/d/", "", "#a.png", "/d/a.png", ""},
      {"/d/", "", "a.png#frame2", "/d/a.png", "frame2"},
      {"/d/", "", "a#b#c", "/d/a#b", "c"},
      // Drawings given as text have no folder: the working folder applies.
      {"", "", "pics/a.png", "pics/a.png", ""},
      {"", "", "../b/../../a.png", "../../a.png", ""},
      {"/d/", "", "a", nullptr, ""},
      {"/d/", "", "", nullptr, ""},
  };
  for (const ResolveCase& c : cases) {
    ResolvedAsset asset;
    const bool resolved = ResolveFilePath(W(c.base), W(c.baseReference), W(c.reference), asset);
    const std::string label = std::string(c.base) + " | " + c.baseReference + " | " + c.reference;
    if (c.path == nullptr) {
      EXPECT_FALSE(resolved) << label;
      EXPECT_TRUE(asset.path.empty()) << label;
      continue;
    }
    ASSERT_TRUE(resolved) << label;
    EXPECT_EQ(N(asset.path), c.path) << label;
    EXPECT_EQ(N(asset.fragment), c.fragment) << label;
  }
}

TEST(ResolveFilePath, PathsBeyond259CharactersAreRefusedNotCut) {
  const std::string folder = "/" + std::string(250, 'f') + "/";  // 252 characters
  ResolvedAsset asset;
  EXPECT_TRUE(ResolveFilePath(W(folder), u"", W("abc.png"), asset)) << "259 characters fit";
  EXPECT_EQ(asset.path.size(), 259u);
  EXPECT_FALSE(ResolveFilePath(W(folder), u"", W("abcd.png"), asset)) << "260 do not";
  EXPECT_TRUE(asset.path.empty());
  EXPECT_FALSE(ResolveFilePath(W(folder), W("sub/dir/"), W("a.png"), asset)) << "the base reference overflows";
  EXPECT_FALSE(ResolveFilePath(W(std::string(259, 'x')), u"", W("a.png"), asset)) << "the folder alone is too long";
  // Folding ".." happens after the length check, as the text is built first.
  EXPECT_FALSE(ResolveFilePath(W(folder), u"", W("x/../abcd.png"), asset));
}

}  // namespace
