#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "document/vector_document.h"
#include "support/test_support.h"

// Drawing rules probed pixel by pixel at 1 pixel per user unit: where we follow SVG rather than the
// older reading, and how unusable references and reference loops end.
namespace {

using Colour = std::array<int, 4>;  // premultiplied R, G, B, A

constexpr Colour kClear{0, 0, 0, 0};
constexpr Colour kBlue{0, 0, 255, 255};
constexpr Colour kLime{0, 255, 0, 255};

struct Probe {
  int x, y;
  Colour colour;
  int tolerance = 2;
};

struct ProbeCase {
  const char* name;
  const char* body;
  std::vector<Probe> probes;
};

std::unique_ptr<uint8_t[]> Render(const std::string& body) {
  svg::LoadError error;
  const auto loaded = document::VectorDocument::Create(
      error, true,
      testing_support::W("<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' "
                         "width='100' height='100'>" +
                         body + "</svg>"),
      nullptr, 1.0);
  EXPECT_TRUE(loaded->Loaded()) << "load error " << error.code;
  return loaded->Loaded() ? loaded->RenderWhole(100) : nullptr;
}

void ExpectProbes(const ProbeCase& c) {
  const auto pixels = Render(c.body);
  ASSERT_NE(pixels, nullptr) << c.name;
  for (const Probe& probe : c.probes) {
    const uint8_t* p = pixels.get() + (probe.y * 100 + probe.x) * 4;
    for (int i = 0; i < 4; ++i) {
      EXPECT_NEAR(p[i], probe.colour[i], probe.tolerance)
          << c.name << " at (" << probe.x << ", " << probe.y << ") channel " << i;
    }
  }
}

// The reference images show the rest of these rules against rsvg; these are where rsvg differs or
// where a reference image would not tell.
TEST(DrawingRules, InvalidMiterLimitsAreTheDefault) {
  // The right angle needs a limit of 1.41: mitred with the default 4, bevelled with anything below.
  for (const char* limit : {"-2", "0.5", "nan", "inf"}) {
    const std::string body =
        std::string("<polyline points='20,20 60,20 60,60' fill='none' stroke='blue' stroke-width='10' "
                    "stroke-miterlimit='") +
        limit + "'/>";
    ExpectProbes({limit, body.c_str(), {{63, 17, kBlue}}});
  }
}

TEST(DrawingRules, GradientsThatCannotBeBuiltAreUnusable) {
  // Each must fall back to lime, never reach the rasteriser with a value that is not finite.
  const char* const gradients[] = {
      "<radialGradient id='g' fx='nan'>",         "<radialGradient id='g' fy='-inf'>",
      "<radialGradient id='g' r='1e999'>",        "<radialGradient id='g' cx='nan' cy='inf'>",
      "<radialGradient id='g' r='-1'>",           "<linearGradient id='g' x1='nan'>",
      "<linearGradient id='g' y2='1e400'>",       "<linearGradient id='g' gradientTransform='scale(0)'>",
      "<radialGradient id='g' gradientTransform='matrix(1e308 0 0 1e308 0 0) scale(1e308)'>",
  };
  for (const char* gradient : gradients) {
    const std::string close = gradient[1] == 'r' ? "</radialGradient>" : "</linearGradient>";
    const std::string body = std::string(gradient) + "<stop stop-color='red'/><stop offset='1' stop-color='blue'/>" +
                             close + "<rect width='100' height='100' fill='url(#g) lime'/>";
    ExpectProbes({gradient, body.c_str(), {{10, 10, kLime}, {90, 90, kLime}}});
  }
}

TEST(DrawingRules, ReferenceLoopsEndAtOnceAndDrawNothingForTheLoop) {
  const ProbeCase cases[] = {
      {"use of its own ancestor",
       "<g id='a'><rect width='10' height='10' fill='blue'/><use href='#a' x='20'/><use href='#a' y='20'/></g>",
       {{5, 5, kBlue}, {25, 5, kClear}, {5, 25, kClear}, {45, 45, kClear}}},
      {"pattern, use, pattern",
       "<pattern id='p' width='1' height='1'><use href='#r'/></pattern>"
       "<rect id='r' width='50' height='50' fill='url(#p)'/>",
       {{25, 25, kClear}}},
      {"gradient href loop",
       "<linearGradient id='a' xlink:href='#b'/><linearGradient id='b' xlink:href='#a'>"
       "<stop stop-color='red'/><stop offset='1' stop-color='red'/></linearGradient>"
       "<rect width='50' height='50' fill='url(#b)'/>",
       {{25, 25, kClear}}},
      {"mask inside its own mask",
       "<mask id='m'><rect width='100' height='100' fill='white' mask='url(#m)'/></mask>"
       "<rect width='50' height='50' fill='blue' mask='url(#m)'/>",
       {{25, 25, kClear}}},
  };
  for (const ProbeCase& c : cases) ExpectProbes(c);
}

TEST(DrawingRules, ClipPathsAndMasksKeepTheirOwnStyleAndRegions) {
  const ProbeCase cases[] = {
      {"clip-path on a clipPath",
       "<clipPath id='left'><rect width='25' height='100'/></clipPath>"
       "<clipPath id='c' clip-path='url(#left)'><rect width='50' height='50'/></clipPath>"
       "<rect width='100' height='100' fill='blue' clip-path='url(#c)'/>",
       {{10, 10, kBlue}, {40, 10, kClear}, {10, 75, kClear}}},
      {"transform on a clipPath",
       "<clipPath id='c' transform='translate(50 0)'><rect width='20' height='20'/></clipPath>"
       "<rect width='100' height='100' fill='blue' clip-path='url(#c)'/>",
       {{10, 10, kClear}, {60, 10, kBlue}}},
      {"mask on a mask",
       "<mask id='half'><rect width='25' height='100' fill='white'/></mask>"
       "<mask id='m' mask='url(#half)'><rect width='100' height='100' fill='white'/></mask>"
       "<rect width='50' height='50' fill='blue' mask='url(#m)'/>",
       {{10, 10, kBlue}, {40, 10, kClear}}},
      // The default region is the box widened by 10 % of it each side (38 to 62), not by 10 % of the viewport.
      {"bounding-box mask region",
       "<mask id='m' maskUnits='objectBoundingBox'><rect width='100' height='100' fill='white'/></mask>"
       "<rect x='40' y='40' width='20' height='20' fill='blue' stroke='blue' stroke-width='20' mask='url(#m)'/>",
       {{50, 50, kBlue}, {39, 50, kBlue}, {36, 50, kClear}, {63, 50, kClear}}},
      {"use of a symbol without width and height",
       "<symbol id='s' viewBox='0 0 10 10'><rect width='10' height='10' fill='blue'/></symbol><use href='#s'/>",
       {{10, 10, kBlue}, {90, 90, kBlue}}},
      {"percentages of a use that is a child of the root",
       "<defs><rect id='r' width='20' height='20' fill='blue'/></defs><use href='#r' x='50%' y='50%'/>",
       {{55, 55, kBlue}, {45, 45, kClear}}},
  };
  for (const ProbeCase& c : cases) ExpectProbes(c);
}

}  // namespace
