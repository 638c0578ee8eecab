#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "svg/document.h"
#include "svg/exception.h"
#include "svg/loader.h"
#include "svg/resource_elements.h"
#include "svg/shape_elements.h"
#include "svg/text_elements.h"

namespace {

using testing_support::N;
using testing_support::W;

struct Loaded {
  std::unique_ptr<svg::SVGDocument> document = std::make_unique<svg::SVGDocument>(1.0, nullptr);
  svg::LoadError error;
  svg::DocumentExtent extent;
  bool ok = false;
};

Loaded LoadText(std::string_view text) {
  Loaded loaded;
  loaded.ok = svg::Load(*loaded.document, loaded.error, true, W(text), loaded.extent);
  return loaded;
}

svg::SVGElement& Child(svg::SVGElement& parent, size_t index) { return *parent.children.at(index); }

const svg::Declaration* Own(const svg::SVGElement& element, svg::PropertyId id) { return element.style.Find(id); }

TEST(LoaderTree, BuildsElementsWithTypesParentsAndOwners) {
  Loaded loaded = LoadText(
      "<svg width='200' height='100'><g id='group'><rect width='5' height='5'/><svg id='inner'>"
      "<circle r='3'/></svg></g><RECT/><altGlyph/><style>rect{fill:red}</style></svg>");
  ASSERT_TRUE(loaded.ok);
  svg::SVGDocument& root = *loaded.document;
  ASSERT_EQ(root.children.size(), 3u) << "style creates no element";
  svg::SVGElement& group = Child(root, 0);
  EXPECT_EQ(group.type, svg::ElementType::kG);
  EXPECT_EQ(group.parent, &root);
  EXPECT_EQ(group.ownerSvg, &root);
  svg::SVGElement& inner = Child(group, 1);
  EXPECT_EQ(inner.type, svg::ElementType::kSvg);
  EXPECT_EQ(Child(inner, 0).ownerSvg, &inner);
  EXPECT_EQ(Child(root, 1).type, svg::ElementType::kUnknown) << "tags are case-sensitive";
  EXPECT_EQ(Child(root, 2).type, svg::ElementType::kUnknown) << "altGlyph is built as unknown";
  EXPECT_EQ(svg::CountElements(root), 7u);
  EXPECT_DOUBLE_EQ(loaded.extent.width, 200.0);
  EXPECT_DOUBLE_EQ(loaded.extent.height, 100.0);
}

TEST(LoaderTree, RootThatIsNotSvgLeavesTheDocumentEmptyButSucceeds) {
  Loaded loaded = LoadText("<g><rect width='5' height='5'/></g>");
  EXPECT_TRUE(loaded.ok);
  EXPECT_TRUE(loaded.document->children.empty());
}

TEST(LoaderTree, AttributesGoToTheElementsOwnValues) {
  Loaded loaded = LoadText(
      "<svg><rect x='1' y='2mm' width='50%' height='4' rx='5' ry='6'/>"
      "<linearGradient id='g' x1='10' gradientUnits='userSpaceOnUse' spreadMethod='reflect'/>"
      "<polygon points='0,0 10,0 10,10'/><stop offset='50%'/></svg>");
  ASSERT_TRUE(loaded.ok);
  auto& rect = static_cast<svg::SVGRectElement&>(Child(*loaded.document, 0));
  EXPECT_DOUBLE_EQ(rect.y.ToUserUnits(nullptr, 1024, 12), 7.559055118110236);
  EXPECT_DOUBLE_EQ(rect.width.ToUserUnits(nullptr, 400, 12), 200.0);
  auto& gradient = static_cast<svg::SVGLinearGradientElement&>(Child(*loaded.document, 1));
  EXPECT_EQ(gradient.gradientUnits.Get(nullptr), svg::kUserSpaceOnUse);
  EXPECT_EQ(gradient.spreadMethod.Get(nullptr), 1u);
  auto& polygon = static_cast<svg::SVGPolygonElement&>(Child(*loaded.document, 2));
  EXPECT_EQ(polygon.points.Items().size(), 3u);
  auto& stop = static_cast<svg::SVGStopElement&>(Child(*loaded.document, 3));
  EXPECT_DOUBLE_EQ(stop.offset.Get(nullptr), 0.5);
}

TEST(LoaderTree, IdIsComparedExactly) {
  Loaded loaded = LoadText("<svg><rect ID='upper'/><rect id='lower'/></svg>");
  ASSERT_TRUE(loaded.ok);
  EXPECT_FALSE(Child(*loaded.document, 0).id.has_value());
  EXPECT_EQ(N(*Child(*loaded.document, 1).id), "lower");
}

TEST(LoaderText, WordsAroundATspanBecomeAnonymousTspans) {
  Loaded loaded = LoadText("<svg><text>one <tspan>two</tspan> three</text></svg>");
  ASSERT_TRUE(loaded.ok);
  svg::SVGElement& text = Child(*loaded.document, 0);
  ASSERT_EQ(text.children.size(), 3u);
  EXPECT_EQ(N(*Child(text, 0).text), "one ");
  svg::SVGElement& tspan = Child(text, 1);
  EXPECT_FALSE(tspan.text.has_value());
  ASSERT_EQ(tspan.children.size(), 1u);
  EXPECT_EQ(N(*Child(tspan, 0).text), "two");
  EXPECT_EQ(N(*Child(text, 2).text), " three");
  for (const auto& child : text.children) EXPECT_EQ(child->type, svg::ElementType::kTSpan);
}

TEST(LoaderText, AnchorInsideTextHoldsItsContentInATspan) {
  Loaded loaded = LoadText("<svg><text><a>link</a></text></svg>");
  ASSERT_TRUE(loaded.ok);
  svg::SVGElement& anchor = Child(Child(*loaded.document, 0), 0);
  EXPECT_EQ(anchor.type, svg::ElementType::kA);
  ASSERT_EQ(anchor.children.size(), 1u);
  // The anonymous tspan opened with the anchor stays current, so the text lands one level deeper.
  svg::SVGElement& holder = Child(anchor, 0);
  EXPECT_EQ(holder.type, svg::ElementType::kTSpan);
  ASSERT_EQ(holder.children.size(), 1u);
  ASSERT_TRUE(Child(holder, 0).text.has_value());
  EXPECT_EQ(N(*Child(holder, 0).text), "link");
}

TEST(LoaderText, TitleAndDescKeepTheirTextAndTrefGetsNone) {
  Loaded loaded = LoadText("<svg><title>T&amp;itle</title><desc>About</desc><text><tref>x</tref></text></svg>");
  ASSERT_TRUE(loaded.ok);
  EXPECT_EQ(N(*Child(*loaded.document, 0).text), "T&itle");
  EXPECT_EQ(N(*Child(*loaded.document, 1).text), "About");
  EXPECT_TRUE(Child(Child(*loaded.document, 2), 0).children.empty());
  EXPECT_TRUE(Child(*loaded.document, 0).IsTextContent());
}

TEST(LoaderStyle, StyleAttributeWinsOverPresentationAttributeInAnyOrder) {
  Loaded loaded = LoadText(
      "<svg><rect fill='blue' style='fill:red'/><rect style='fill:red' fill='blue'/>"
      "<rect style='fill:red; fill:blue'/></svg>");
  ASSERT_TRUE(loaded.ok);
  for (size_t i = 0; i < 3; ++i) {
    const svg::SVGElement& rect = Child(*loaded.document, i);
    const svg::Declaration* fill = nullptr;
    // The computed fill is the last replacing declaration; the style attribute's blocks later ones.
    for (const auto& declaration : rect.style.Declarations()) {
      if (declaration.id == svg::PropertyId::kFill) fill = &declaration;
    }
    ASSERT_NE(fill, nullptr);
    EXPECT_DOUBLE_EQ(fill->paint.r, 255.0) << "rect " << i;
    EXPECT_DOUBLE_EQ(fill->paint.b, 0.0) << "rect " << i;
  }
}

TEST(LoaderStyle, StyleSheetRulesSplitSelectorsAndLoseSecondRuleOnALine) {
  Loaded loaded = LoadText(
      "<svg><style>\n"
      "g rect { fill: red; fill: blue }\n"
      ".c1 { stroke: green }\n"
      "#a { opacity: 0.5 } #b { opacity: 0.25 }\n"
      "</style></svg>");
  ASSERT_TRUE(loaded.ok);
  const svg::StyleSheet& sheet = loaded.document->styleSheet;
  ASSERT_EQ(sheet.rules.size(), 4u);
  EXPECT_EQ(N(sheet.rules[0].selector), "g");
  EXPECT_EQ(N(sheet.rules[1].selector), "rect");
  EXPECT_EQ(sheet.rules[1].declarations.Declarations().size(), 2u) << "both fills are kept in store order";
  EXPECT_EQ(N(sheet.rules[2].selector), ".c1");
  EXPECT_EQ(N(sheet.rules[3].selector), "#a") << "the second rule of one chunk is lost";
  EXPECT_EQ(sheet.selectorTexts.size(), 3u);
  EXPECT_FALSE(sheet.rules[0].declarations.Declarations()[0].fromStyleAttribute);
}

TEST(LoaderStyle, CommentsAreBlankedInStyleAttributesAndRules) {
  Loaded loaded = LoadText(
      "<svg><style>/* lead */ rect /* x */ { /* y */ stroke-width: 3 }</style>"
      "<rect style='/* fill:red; */ stroke: blue'/></svg>");
  ASSERT_TRUE(loaded.ok);
  ASSERT_EQ(loaded.document->styleSheet.rules.size(), 1u);
  EXPECT_EQ(N(loaded.document->styleSheet.rules[0].selector), "rect");
  const svg::SVGElement& rect = Child(*loaded.document, 0);
  EXPECT_EQ(Own(rect, svg::PropertyId::kFill), nullptr);
  ASSERT_NE(Own(rect, svg::PropertyId::kStroke), nullptr);
  EXPECT_TRUE(Own(rect, svg::PropertyId::kStroke)->fromStyleAttribute);
}

TEST(LoaderStyle, ClassListsAndInheritFlag) {
  Loaded loaded = LoadText("<svg><rect class=' a\tb\nc ' fill='inherit' color-profile='x' cursor='y'/></svg>");
  ASSERT_TRUE(loaded.ok);
  const svg::SVGElement& rect = Child(*loaded.document, 0);
  ASSERT_NE(rect.classList, nullptr);
  ASSERT_EQ(rect.classList->Items().size(), 3u);
  EXPECT_EQ(N(rect.classList->Items()[1]), "b");
  ASSERT_NE(Own(rect, svg::PropertyId::kFill), nullptr);
  EXPECT_TRUE(Own(rect, svg::PropertyId::kFill)->inherit);
  EXPECT_EQ(Own(rect, svg::PropertyId::kColorProfile), nullptr);
  EXPECT_EQ(Own(rect, svg::PropertyId::kCursor), nullptr);
}

TEST(LoaderScripts, ScriptValuesSetTheFlagWherePlainValuesDoNot) {
  EXPECT_FALSE(LoadText("<svg><rect fill='red'/></svg>").document->hasScripts);
  for (const char* text : {"<svg><rect fill='zls(c)'/></svg>", "<svg><rect width='zls(w)'/></svg>",
                           "<svg><rect class='zls(k)'/></svg>", "<svg><text>zls(t)</text></svg>",
                           "<svg><path d='zls(d)'/></svg>"}) {
    Loaded loaded = LoadText(text);
    ASSERT_TRUE(loaded.ok) << text;
    EXPECT_TRUE(loaded.document->hasScripts) << text;
  }
}

TEST(LoaderErrors, MalformedXmlReportsExpatTextLineAndColumn) {
  Loaded loaded = LoadText("<svg>\n  <rect>\n</svg>");
  EXPECT_FALSE(loaded.ok);
  EXPECT_EQ(loaded.error.code, 3u);
  EXPECT_EQ(N(loaded.error.message), "mismatched tag");
  EXPECT_EQ(loaded.error.line, 3u);
  EXPECT_EQ(loaded.error.column, 2u);

  Loaded empty = LoadText("");
  EXPECT_EQ(empty.error.code, 3u);
  EXPECT_EQ(N(empty.error.message), "no element found");
}

TEST(LoaderErrors, ValueParserExceptionsPassOutWithTheElementsLine) {
  auto document = std::make_unique<svg::SVGDocument>(1.0, nullptr);
  svg::LoadError error;
  svg::DocumentExtent extent;
  try {
    svg::Load(*document, error, true, W("<svg>\n<g/>\n<path d='M 10 20 L 30'/></svg>"), extent);
    FAIL() << "expected svg::exception";
  } catch (const svg::exception& thrown) {
    EXPECT_EQ(thrown.Code(), 13);
  }
  EXPECT_EQ(error.line, 3u);

  try {
    svg::Load(*document, error, true, W("<svg><polyline points='10'/></svg>"), extent);
    FAIL() << "expected svg::exception";
  } catch (const svg::exception& thrown) {
    EXPECT_EQ(thrown.Code(), 15);
  }
}

TEST(LoaderErrors, MissingFileIsCodeOne) {
  auto document = std::make_unique<svg::SVGDocument>(1.0, nullptr);
  svg::LoadError error;
  svg::DocumentExtent extent;
  EXPECT_FALSE(svg::Load(*document, error, false, u"/nonexistent/drawing.svg", extent));
  EXPECT_EQ(error.code, 1u);
}

TEST(LoaderLimits, DeepNestingFailsCleanlyInsteadOfExhaustingTheStack) {
  std::string text = "<svg>";
  for (int i = 0; i < 100000; ++i) text += "<g>";
  for (int i = 0; i < 100000; ++i) text += "</g>";
  text += "</svg>";
  Loaded loaded = LoadText(text);
  EXPECT_FALSE(loaded.ok);
  EXPECT_EQ(loaded.error.code, 3u);
  EXPECT_NE(N(loaded.error.message).find("nested deeper"), std::string::npos);
}

TEST(LoaderLimits, HugeAttributeValueLoads) {
  std::string text = "<svg><rect width='10' height='10' class='";
  text.append(50u * 1024 * 1024, 'k');
  text += "'/></svg>";
  Loaded loaded = LoadText(text);
  EXPECT_TRUE(loaded.ok);
}

TEST(LoaderExtent, FallsBackToTheBoundingBoxOfTheShapes) {
  Loaded loaded = LoadText(
      "<svg width='0'><rect x='10' y='20' width='30' height='40'/>"
      "<g transform='translate(100 0)'><circle cx='0' cy='0' r='10'/></g>"
      "<rect x='1000' width='5' height='5' display='none'/></svg>");
  ASSERT_TRUE(loaded.ok);
  EXPECT_NEAR(loaded.extent.width, 110.0 - 10.0, 1e-9);
  EXPECT_NEAR(loaded.extent.height, 60.0 - -10.0, 1e-9);
}

TEST(LoaderExtent, PercentagesReferToTheViewBoxOr1024) {
  Loaded viewBox = LoadText("<svg viewBox='0 0 300 150' width='50%'/>");
  EXPECT_DOUBLE_EQ(viewBox.extent.width, 150.0);
  EXPECT_DOUBLE_EQ(viewBox.extent.height, 150.0);
  Loaded plain = LoadText("<svg height='2in'/>");
  EXPECT_DOUBLE_EQ(plain.extent.width, 1024.0);
  EXPECT_DOUBLE_EQ(plain.extent.height, 192.0);
}

TEST(LoaderExtent, EmptyDrawingWithoutSizeKeepsZeroExtent) {
  Loaded loaded = LoadText("<svg width='0' height='0'><g/></svg>");
  ASSERT_TRUE(loaded.ok);
  EXPECT_EQ(loaded.extent.width, 0.0);
  EXPECT_EQ(loaded.extent.height, 0.0);
}

}  // namespace
