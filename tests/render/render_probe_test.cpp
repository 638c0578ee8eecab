#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

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

// One pixel's expectation: every channel exactly, or one channel within a tolerance.
struct Probe {
  int x, y;
  int channel;  // 0..3, or -1 for all four of colour
  Colour colour;
  int tolerance = 0;
};
Probe Pixel(int x, int y, Colour colour) { return {x, y, -1, colour}; }
Probe Alpha(int x, int y, int alpha, int tolerance = 0) { return {x, y, 3, {0, 0, 0, alpha}, tolerance}; }
Probe Red(int x, int y, int red, int tolerance) { return {x, y, 0, {red, 0, 0, 0}, tolerance}; }
Probe Blue(int x, int y, int blue, int tolerance) { return {x, y, 2, {0, 0, blue, 0}, tolerance}; }

struct Case {
  const char* name;
  std::string body;
  std::vector<Probe> probes;  // none: the render must merely finish
};

// One drawing per rule of rendering, probed at pixels whose value the rule fixes.
TEST(RenderProbes, EachRuleShowsAtItsPixels) {
  const std::string ring = "d='M10 10 H90 V90 H10 Z M30 30 H70 V70 H30 Z'";
  const Case cases[] = {
      {"style attribute beats rules, rules beat presentation attributes",
       "<style>rect { fill: blue }</style><rect width='50' height='50' fill='red'/>"
       "<rect x='50' width='50' height='50' style='fill: lime'/>",
       {Pixel(25, 25, {0, 0, 255, 255}), Pixel(75, 25, {0, 255, 0, 255})}},
      {"class and id rules apply, inherited values reach children",
       "<style>.warm { fill: orange }</style><style>#cold { fill: navy }</style>"
       "<g class='warm'><rect width='50' height='50'/></g><rect id='cold' x='50' width='50' height='50'/>",
       {Pixel(25, 25, {255, 165, 0, 255}), Pixel(75, 25, {0, 0, 128, 255})}},
      {"unknown elements and their children are not drawn",
       "<RECT width='100' height='100'/><foo><rect width='100' height='100'/></foo>", {Alpha(50, 50, 0)}},
      {"display none hides the subtree, hidden can be overridden",
       "<g display='none'><rect width='50' height='50' display='inline'/></g>"
       "<g visibility='hidden'><rect x='50' width='25' height='50'/>"
       "<rect x='75' width='25' height='50' visibility='visible'/></g>",
       {Alpha(25, 25, 0), Alpha(60, 25, 0), Alpha(90, 25, 255)}},
      {"group opacity blends the layer, fill-opacity replaces alpha",
       "<g opacity='0.5'><rect width='50' height='50' fill='white'/></g>"
       "<rect x='50' width='50' height='50' fill='red' fill-opacity='0.5'/>"
       "<rect y='50' width='50' height='50' fill='rgb(0,0,0)' opacity='1'/>",
       {Alpha(25, 25, 127), Alpha(75, 25, 128), Alpha(25, 75, 255)}},
      {"rounded corners are clamped to half their side (50 x 20 cuts the corner)",
       "<rect x='0' y='30' width='100' height='40' rx='80'/>", {Alpha(50, 50, 255), Alpha(1, 31, 0), Alpha(50, 31, 255)}},
      {"a circle of radius 0 draws nothing, even stroked",
       "<circle cx='50' cy='50' r='0' stroke='black' stroke-width='20'/>", {Alpha(50, 50, 0)}},
      {"nonzero fills the ring's hole", "<path " + ring + "/>", {Alpha(50, 50, 255)}},
      {"evenodd leaves the hole", "<path fill-rule='evenodd' " + ring + "/>", {Alpha(50, 50, 0), Alpha(20, 20, 255)}},
      {"a nested svg fits its view box with preserveAspectRatio (scale 5, centred from x 25 to 75)",
       "<svg x='0' y='0' width='100' height='50' viewBox='0 0 10 10'><rect width='10' height='10' fill='blue'/></svg>"
       "<svg x='0' y='50' width='100' height='50' viewBox='0 0 10 10' preserveAspectRatio='xMinYMin meet'>"
       "<rect width='10' height='10' fill='red'/></svg>",
       {Alpha(20, 25, 0), Pixel(50, 25, {0, 0, 255, 255}), Alpha(80, 25, 0), Pixel(10, 75, {255, 0, 0, 255}),
        Alpha(60, 75, 0)}},
      {"a nested svg clips its content unless overflow is visible",
       "<svg width='50' height='50'><rect width='100' height='20'/></svg>"
       "<svg y='50' width='50' height='50' overflow='visible'><rect width='100' height='20'/></svg>",
       {Alpha(75, 10, 0), Alpha(75, 60, 255)}},
      {"a clip path in bounding-box units keeps the left half",
       "<clipPath id='c' clipPathUnits='objectBoundingBox'><rect width='0.5' height='1'/></clipPath>"
       "<rect x='20' y='20' width='60' height='60' clip-path='url(#c)'/>",
       {Alpha(30, 50, 255), Alpha(70, 50, 0)}},
      {"overflow visible on a group ignores its clip path",
       "<clipPath id='c'><rect width='10' height='10'/></clipPath>"
       "<g clip-path='url(#c)' overflow='visible'><rect width='100' height='100'/></g>",
       {Alpha(50, 50, 255)}},
      {"mask luminance scales alpha",
       "<mask id='m'><rect width='100' height='100' fill='white' opacity='0.5'/></mask>"
       "<mask id='k'><rect width='100' height='100' fill='black'/></mask>"
       "<rect width='50' height='100' fill='blue' mask='url(#m)'/>"
       "<rect x='50' width='50' height='100' fill='blue' mask='url(#k)'/>",
       {Alpha(25, 50, 127, 2), Alpha(75, 50, 0)}},
      {"a clip path referring to itself ends",
       "<clipPath id='c' clip-path='url(#c)'><rect width='50' height='50' clip-path='url(#c)'/></clipPath>"
       "<rect width='100' height='100' clip-path='url(#c)'/>",
       {}},
      {"a linear gradient runs across the bounding box",
       "<linearGradient id='g'><stop offset='0' stop-color='black'/><stop offset='1' stop-color='white'/>"
       "</linearGradient><rect width='100' height='100' fill='url(#g)'/>",
       {Red(2, 50, 0, 10), Red(50, 50, 128, 4), Red(97, 50, 255, 10)}},
      {"href chains borrow stops, one stop is a solid colour, no stops paint nothing, fallbacks",
       "<linearGradient id='base'><stop offset='0' stop-color='red'/><stop offset='1' stop-color='blue'/>"
       "</linearGradient><linearGradient id='vertical' xlink:href='#base' x2='0' y2='1'/>"
       "<linearGradient id='one'><stop stop-color='lime'/></linearGradient><linearGradient id='none'/>"
       "<rect width='50' height='50' fill='url(#vertical)'/><rect x='50' width='50' height='50' fill='url(#one)'/>"
       "<rect y='50' width='50' height='50' fill='url(#none) red'/>"
       "<rect x='50' y='50' width='50' height='50' fill='url(#missing) yellow'/>",
       {Red(25, 2, 255, 15), Blue(25, 47, 255, 35), Pixel(75, 25, {0, 255, 0, 255}), Alpha(25, 75, 0),
        Pixel(75, 75, {255, 255, 0, 255})}},
      {"a radial gradient is bright at the focus and pads beyond its radius",
       "<radialGradient id='g'><stop offset='0' stop-color='white'/><stop offset='1' stop-color='black'/>"
       "</radialGradient><rect width='100' height='100' fill='url(#g)'/>",
       {Red(50, 50, 255, 10), Red(50, 2, 0, 20), Red(2, 2, 0, 5)}},
      {"pattern tiles repeat in user space",
       "<pattern id='p' width='20' height='20' patternUnits='userSpaceOnUse'><rect width='10' height='10' "
       "fill='black'/></pattern><rect width='100' height='100' fill='url(#p)'/>",
       {Alpha(5, 5, 255), Alpha(15, 5, 0), Alpha(45, 45, 255), Alpha(55, 45, 0)}},
      {"dense patterns stay bounded and cover half of every tile",
       "<pattern id='p' width='0.5' height='0.5' patternUnits='userSpaceOnUse'><rect width='0.5' height='0.25' "
       "fill='black'/></pattern><rect width='100' height='100' fill='url(#p)'/>",
       {Alpha(50, 50, 128, 20)}},
      {"a pattern using itself falls back",
       "<pattern id='p' width='20' height='20' patternUnits='userSpaceOnUse'>"
       "<rect width='20' height='20' fill='url(#p) green'/></pattern><rect width='100' height='100' fill='url(#p)'/>",
       {Pixel(50, 50, {0, 128, 0, 255})}},
      {"use places its target at x, y under its transform ((10, 0) turned 90 degrees, moved to (50, 60))",
       "<defs><rect id='r' width='10' height='10'/></defs>"
       "<use xlink:href='#r' x='10' transform='translate(50 50) rotate(90)'/>",
       {Alpha(45, 65, 255), Alpha(55, 65, 0)}},
      {"a symbol's view box scales into the use's size",
       "<symbol id='s' viewBox='0 0 10 10'><rect width='10' height='10' fill='red'/></symbol>"
       "<use xlink:href='#s' width='50' height='50'/>",
       {Pixel(45, 45, {255, 0, 0, 255}), Alpha(55, 55, 0)}},
      {"a use of itself draws nothing", "<use id='u' xlink:href='#u'/><rect width='10' height='10'/>",
       {Alpha(5, 5, 255)}},
      {"groups using themselves twice end at the nesting and expansion limits",
       "<g id='g'><rect width='1' height='1'/><use xlink:href='#g'/><use xlink:href='#g'/></g>", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Rendered r(Svg(c.body), 100);
    ASSERT_TRUE(r.Ok());
    for (const Probe& probe : c.probes) {
      const Colour actual = r.At(probe.x, probe.y);
      if (probe.channel < 0) {
        EXPECT_EQ(actual, probe.colour) << "at " << probe.x << "," << probe.y;
      } else {
        EXPECT_NEAR(actual[probe.channel], probe.colour[probe.channel], probe.tolerance)
            << "channel " << probe.channel << " at " << probe.x << "," << probe.y;
      }
    }
  }
}

}  // namespace
