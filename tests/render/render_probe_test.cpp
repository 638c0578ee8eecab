#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "document/vector_document.h"
#include "support/test_support.h"

namespace {

// A drawing rendered whole at its own size (or size x size), with single-pixel probes.
class Rendered {
 public:
  Rendered(const std::string& text, int size) : size_(size) {
    svg::LoadError error;
    document_ = document::VectorDocument::Create(error, true, testing_support::W(text), nullptr, 1.0);
    EXPECT_TRUE(document_->Loaded()) << testing_support::N(error.message);
    if (document_->Loaded()) pixels_ = document_->RenderWhole(size);
  }
  bool Ok() const { return pixels_ != nullptr; }
  // R, G, B, A of pixel (x, y), premultiplied.
  std::array<int, 4> At(int x, int y) const {
    const uint8_t* p = pixels_.get() + (static_cast<size_t>(y) * size_ + x) * 4;
    return {p[0], p[1], p[2], p[3]};
  }
  int Alpha(int x, int y) const { return At(x, y)[3]; }

 private:
  int size_;
  std::unique_ptr<document::VectorDocument> document_;
  std::unique_ptr<uint8_t[]> pixels_;
};

std::string Svg(const std::string& body, int size = 100) {
  const std::string s = std::to_string(size);
  return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='" + s +
         "' height='" + s + "'>" + body + "</svg>";
}

using Colour = std::array<int, 4>;

TEST(Cascade, StyleAttributeBeatsRulesAndRulesBeatPresentationAttributes) {
  Rendered r(Svg("<style>rect { fill: blue }</style>"
                 "<rect width='50' height='50' fill='red'/>"
                 "<rect x='50' width='50' height='50' style='fill: lime'/>"),
             100);
  ASSERT_TRUE(r.Ok());
  EXPECT_EQ(r.At(25, 25), (Colour{0, 0, 255, 255}));
  EXPECT_EQ(r.At(75, 25), (Colour{0, 255, 0, 255}));
}

TEST(Cascade, ClassAndIdRulesApplyAndInheritedValuesReachChildren) {
  Rendered r(Svg("<style>.warm { fill: orange }</style><style>#cold { fill: navy }</style>"
                 "<g class='warm'><rect width='50' height='50'/></g><rect id='cold' x='50' width='50' height='50'/>"),
             100);
  EXPECT_EQ(r.At(25, 25), (Colour{255, 165, 0, 255}));
  EXPECT_EQ(r.At(75, 25), (Colour{0, 0, 128, 255}));
}

TEST(Cascade, UnknownElementsAndTheirChildrenAreNotDrawn) {
  Rendered r(Svg("<RECT width='100' height='100'/><foo><rect width='100' height='100'/></foo>"), 100);
  EXPECT_EQ(r.Alpha(50, 50), 0);
}

TEST(Visibility, DisplayNoneHidesTheSubtreeAndHiddenCanBeOverridden) {
  Rendered r(Svg("<g display='none'><rect width='50' height='50' display='inline'/></g>"
                 "<g visibility='hidden'><rect x='50' width='25' height='50'/>"
                 "<rect x='75' width='25' height='50' visibility='visible'/></g>"),
             100);
  EXPECT_EQ(r.Alpha(25, 25), 0);
  EXPECT_EQ(r.Alpha(60, 25), 0);
  EXPECT_EQ(r.Alpha(90, 25), 255);
}

TEST(Opacity, GroupOpacityBlendsTheLayerAndFillOpacityReplacesAlpha) {
  Rendered r(Svg("<g opacity='0.5'><rect width='50' height='50' fill='white'/></g>"
                 "<rect x='50' width='50' height='50' fill='red' fill-opacity='0.5'/>"
                 "<rect y='50' width='50' height='50' fill='rgb(0,0,0)' opacity='1'/>"),
             100);
  EXPECT_EQ(r.Alpha(25, 25), 127);
  EXPECT_EQ(r.At(75, 25)[3], 128);
  EXPECT_EQ(r.Alpha(25, 75), 255);
}

TEST(Shapes, RoundedCornersAreClampedToHalfTheirSide) {
  Rendered r(Svg("<rect x='0' y='30' width='100' height='40' rx='80'/>"), 100);
  EXPECT_EQ(r.Alpha(50, 50), 255);
  EXPECT_EQ(r.Alpha(1, 31), 0) << "corner radius 50 x 20 cuts the corner";
  EXPECT_EQ(r.Alpha(50, 31), 255);
}

TEST(Shapes, ZeroRadiusCircleDrawsNothingEvenWithStroke) {
  Rendered r(Svg("<circle cx='50' cy='50' r='0' stroke='black' stroke-width='20'/>"), 100);
  EXPECT_EQ(r.Alpha(50, 50), 0);
}

TEST(Shapes, EvenOddFillRuleLeavesAHole) {
  const std::string ring = "d='M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z'";
  Rendered nonZero(Svg("<path " + ring + "/>"), 100);
  Rendered evenOdd(Svg("<path fill-rule='evenodd' " + ring + "/>"), 100);
  EXPECT_EQ(nonZero.Alpha(50, 50), 255);
  EXPECT_EQ(evenOdd.Alpha(50, 50), 0);
  EXPECT_EQ(evenOdd.Alpha(20, 20), 255);
}

TEST(Viewports, NestedSvgMapsItsViewBoxWithPreserveAspectRatio) {
  // The 10 x 10 view box is fitted into 100 x 50: scale 5, centred (x from 25 to 75).
  Rendered r(Svg("<svg x='0' y='0' width='100' height='50' viewBox='0 0 10 10'>"
                 "<rect width='10' height='10' fill='blue'/></svg>"
                 "<svg x='0' y='50' width='100' height='50' viewBox='0 0 10 10' preserveAspectRatio='xMinYMin meet'>"
                 "<rect width='10' height='10' fill='red'/></svg>"),
             100);
  EXPECT_EQ(r.Alpha(20, 25), 0);
  EXPECT_EQ(r.At(50, 25), (Colour{0, 0, 255, 255}));
  EXPECT_EQ(r.Alpha(80, 25), 0);
  EXPECT_EQ(r.At(10, 75), (Colour{255, 0, 0, 255}));
  EXPECT_EQ(r.Alpha(60, 75), 0);
}

TEST(Viewports, NestedSvgClipsItsContentUnlessOverflowIsVisible) {
  Rendered r(Svg("<svg width='50' height='50'><rect width='100' height='20'/></svg>"
                 "<svg y='50' width='50' height='50' overflow='visible'><rect width='100' height='20'/></svg>"),
             100);
  EXPECT_EQ(r.Alpha(75, 10), 0);
  EXPECT_EQ(r.Alpha(75, 60), 255);
}

TEST(ClipAndMask, ClipPathInBoundingBoxUnitsKeepsTheLeftHalf) {
  Rendered r(Svg("<clipPath id='c' clipPathUnits='objectBoundingBox'><rect width='0.5' height='1'/></clipPath>"
                 "<rect x='20' y='20' width='60' height='60' clip-path='url(#c)'/>"),
             100);
  EXPECT_EQ(r.Alpha(30, 50), 255);
  EXPECT_EQ(r.Alpha(70, 50), 0);
}

TEST(ClipAndMask, OverflowVisibleOnAGroupIgnoresItsClipPath) {
  Rendered r(Svg("<clipPath id='c'><rect width='10' height='10'/></clipPath>"
                 "<g clip-path='url(#c)' overflow='visible'><rect width='100' height='100'/></g>"),
             100);
  EXPECT_EQ(r.Alpha(50, 50), 255);
}

TEST(ClipAndMask, MaskLuminanceScalesAlpha) {
  Rendered r(Svg("<mask id='m'><rect width='100' height='100' fill='white' opacity='0.5'/></mask>"
                 "<mask id='k'><rect width='100' height='100' fill='black'/></mask>"
                 "<rect width='50' height='100' fill='blue' mask='url(#m)'/>"
                 "<rect x='50' width='50' height='100' fill='blue' mask='url(#k)'/>"),
             100);
  EXPECT_NEAR(r.Alpha(25, 50), 127, 2);
  EXPECT_EQ(r.Alpha(75, 50), 0);
}

TEST(ClipAndMask, SelfReferencingClipPathDoesNotRecurseForever) {
  Rendered r(Svg("<clipPath id='c' clip-path='url(#c)'><rect width='50' height='50' clip-path='url(#c)'/></clipPath>"
                 "<rect width='100' height='100' clip-path='url(#c)'/>"),
             100);
  EXPECT_TRUE(r.Ok());
}

TEST(Gradients, LinearGradientRunsAcrossTheBoundingBox) {
  Rendered r(Svg("<linearGradient id='g'><stop offset='0' stop-color='black'/><stop offset='1' stop-color='white'/>"
                 "</linearGradient><rect width='100' height='100' fill='url(#g)'/>"),
             100);
  EXPECT_LT(r.At(2, 50)[0], 10);
  EXPECT_NEAR(r.At(50, 50)[0], 128, 4);
  EXPECT_GT(r.At(97, 50)[0], 245);
}

TEST(Gradients, HrefChainsBorrowStopsAndOneStopIsASolidColour) {
  Rendered r(Svg("<linearGradient id='base'><stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/>"
                 "</linearGradient><linearGradient id='vertical' xlink:href='#base' x2='0' y2='1'/>"
                 "<linearGradient id='one'><stop stop-color='lime'/></linearGradient>"
                 "<linearGradient id='none'/>"
                 "<rect width='50' height='50' fill='url(#vertical)'/>"
                 "<rect x='50' width='50' height='50' fill='url(#one)'/>"
                 "<rect y='50' width='50' height='50' fill='url(#none) red'/>"
                 "<rect x='50' y='50' width='50' height='50' fill='url(#missing) yellow'/>"),
             100);
  EXPECT_GT(r.At(25, 2)[0], 240);
  EXPECT_GT(r.At(25, 47)[2], 220);
  EXPECT_EQ(r.At(75, 25), (Colour{0, 255, 0, 255}));
  EXPECT_EQ(r.Alpha(25, 75), 0) << "a gradient without stops paints nothing";
  EXPECT_EQ(r.At(75, 75), (Colour{255, 255, 0, 255}));
}

TEST(Gradients, RadialGradientIsBrightAtTheFocus) {
  Rendered r(Svg("<radialGradient id='g'><stop offset='0' stop-color='white'/><stop offset='1' stop-color='black'/>"
                 "</radialGradient><rect width='100' height='100' fill='url(#g)'/>"),
             100);
  EXPECT_GT(r.At(50, 50)[0], 245);
  EXPECT_LT(r.At(50, 2)[0], 20);
  EXPECT_LT(r.At(2, 2)[0], 5) << "pad keeps the last colour beyond the radius";
}

TEST(Patterns, TilesRepeatInUserSpace) {
  Rendered r(Svg("<pattern id='p' width='20' height='20' patternUnits='userSpaceOnUse'>"
                 "<rect width='10' height='10' fill='black'/></pattern>"
                 "<rect width='100' height='100' fill='url(#p)'/>"),
             100);
  EXPECT_EQ(r.Alpha(5, 5), 255);
  EXPECT_EQ(r.Alpha(15, 5), 0);
  EXPECT_EQ(r.Alpha(45, 45), 255);
  EXPECT_EQ(r.Alpha(55, 45), 0);
}

TEST(Patterns, DensePatternsStayBoundedAndCoverTheShape) {
  Rendered r(Svg("<pattern id='p' width='0.5' height='0.5' patternUnits='userSpaceOnUse'>"
                 "<rect width='0.5' height='0.25' fill='black'/></pattern>"
                 "<rect width='100' height='100' fill='url(#p)'/>"),
             100);
  EXPECT_NEAR(r.Alpha(50, 50), 128, 20) << "half of every tile is covered";
}

TEST(Patterns, APatternUsingItselfFallsBack) {
  Rendered r(Svg("<pattern id='p' width='20' height='20' patternUnits='userSpaceOnUse'>"
                 "<rect width='20' height='20' fill='url(#p) green'/></pattern>"
                 "<rect width='100' height='100' fill='url(#p)'/>"),
             100);
  EXPECT_EQ(r.At(50, 50), (Colour{0, 128, 0, 255}));
}

TEST(Use, PlacesTheTargetAtXYUnderItsTransform) {
  Rendered r(Svg("<defs><rect id='r' width='10' height='10'/></defs>"
                 "<use xlink:href='#r' x='10' transform='translate(50 50) rotate(90)'/>"),
             100);
  // (10, 0) rotated by 90 degrees lands on (0, 10), moved to (50, 60); the instance spans x 40..50.
  EXPECT_EQ(r.Alpha(45, 65), 255);
  EXPECT_EQ(r.Alpha(55, 65), 0);
}

TEST(Use, SymbolViewBoxScalesIntoTheUseSize) {
  Rendered r(Svg("<symbol id='s' viewBox='0 0 10 10'><rect width='10' height='10' fill='red'/></symbol>"
                 "<use xlink:href='#s' width='50' height='50'/>"),
             100);
  EXPECT_EQ(r.At(45, 45), (Colour{255, 0, 0, 255}));
  EXPECT_EQ(r.Alpha(55, 55), 0);
}

TEST(Use, CyclesAndSelfReferencesDrawNothingAndEnd) {
  Rendered self(Svg("<use id='u' xlink:href='#u'/><rect width='10' height='10'/>"), 100);
  EXPECT_EQ(self.Alpha(5, 5), 255);
  // Each group holds two uses of itself without ids: the nesting and expansion limits end it.
  Rendered bomb(Svg("<g id='g'><rect width='1' height='1'/><use xlink:href='#g'/><use xlink:href='#g'/></g>"), 100);
  EXPECT_TRUE(bomb.Ok());
}

}  // namespace
