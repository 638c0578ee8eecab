#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "document/standalone_callback.h"
#include "render/image_rendering.h"
#include "support/test_support.h"

namespace {

using document::StandaloneCallback;
using namespace image_testing;

struct Placement {
  const char* attribute;
  double alignX, alignY;  // 0, 0.5 or 1; negative: stretched
  bool slice;
};

// Where each quadrant of the 10 x 10 picture should land, worked out from the viewport rules alone,
// then probed on a grid away from the quadrant borders and the picture's edges.
TEST(ImagePlacement, EveryPreserveAspectRatioAgreesWithTheViewportRules) {
  const Placement placements[] = {
      {"none", -1, -1, false},          {"xMinYMin", 0, 0, false},        {"xMidYMin", 0.5, 0, false},
      {"xMaxYMin", 1, 0, false},        {"xMinYMid", 0, 0.5, false},      {"xMidYMid", 0.5, 0.5, false},
      {"xMaxYMid", 1, 0.5, false},      {"xMinYMax", 0, 1, false},        {"xMidYMax", 0.5, 1, false},
      {"xMaxYMax", 1, 1, false},        {"xMinYMin slice", 0, 0, true},   {"xMidYMin slice", 0.5, 0, true},
      {"xMaxYMin slice", 1, 0, true},   {"xMinYMid slice", 0, 0.5, true}, {"xMidYMid slice", 0.5, 0.5, true},
      {"xMaxYMid slice", 1, 0.5, true}, {"xMinYMax slice", 0, 1, true},   {"xMidYMax slice", 0.5, 1, true},
      {"xMaxYMax slice", 1, 1, true},
  };
  const std::array<int, 4> viewports[] = {{0, 0, 100, 50}, {20, 0, 50, 100}};
  const Colour quadrants[2][2] = {{kRed, kGreen}, {kBlue, kWhite}};
  for (const auto& [vx, vy, vw, vh] : viewports) {
    for (const Placement& p : placements) {
      StandaloneCallback callback;
      const Rendering r(Svg("<image x='" + std::to_string(vx) + "' y='" + std::to_string(vy) + "' width='" +
                            std::to_string(vw) + "' height='" + std::to_string(vh) + "' preserveAspectRatio='" +
                            p.attribute + "' xlink:href='" + EmbeddedPng() + "'/>"),
                        true, callback);
      const std::string label = std::string(p.attribute) + " in " + std::to_string(vw) + "x" + std::to_string(vh);
      const bool stretched = p.alignX < 0;
      const double sx = (stretched ? vw : p.slice ? std::max(vw, vh) : std::min(vw, vh)) / 10.0;
      const double sy = stretched ? vh / 10.0 : sx;
      const double ox = vx + (stretched ? 0 : (vw - 10 * sx) * p.alignX);
      const double oy = vy + (stretched ? 0 : (vh - 10 * sy) * p.alignY);
      for (int y = 2; y < 100; y += 4) {
        for (int x = 2; x < 100; x += 4) {
          const double cx = x + 0.5, cy = y + 0.5;
          const double u = (cx - ox) / sx, v = (cy - oy) / sy;
          // Filtering blends half a picture pixel on each side of an edge; the clip softens one pixel.
          const double nearX = std::min({std::fabs(cx - vx), std::fabs(cx - vx - vw), std::fabs(u) * sx,
                                         std::fabs(u - 5) * sx, std::fabs(u - 10) * sx});
          const double nearY = std::min({std::fabs(cy - vy), std::fabs(cy - vy - vh), std::fabs(v) * sy,
                                         std::fabs(v - 5) * sy, std::fabs(v - 10) * sy});
          if (nearX < sx / 2 + 1 || nearY < sy / 2 + 1) continue;
          const bool inViewport = cx > vx && cx < vx + vw && cy > vy && cy < vy + vh;
          const bool inPicture = u > 0 && u < 10 && v > 0 && v < 10;
          ExpectColour(r, x, y, inViewport && inPicture ? quadrants[v >= 5][u >= 5] : kClear, 2, label);
        }
      }
      EXPECT_EQ(r.temporaryFiles, 0u) << label;
    }
  }
}

TEST(ImagePlacement, SizesTransformAndTheDefaultMeet) {
  StandaloneCallback callback;
  const Rendering r(Svg("<image width='100' height='50' xlink:href='" + EmbeddedPng() + "'/>" +
                        "<image x='5' y='50' transform='translate(10 20)' xlink:href='" + EmbeddedPng() + "'/>" +
                        "<image x='50' y='55' width='40' xlink:href='" + EmbeddedPng() + "'/>"),
                    true, callback);
  // A 10 x 10 picture in 100 x 50 is scaled by 5 and centred.
  ExpectColour(r, 24, 10, kClear, 0, "left of the picture");
  ExpectColour(r, 25, 10, kRed, 0, "first column");
  ExpectColour(r, 74, 40, kWhite, 0, "last column");
  ExpectColour(r, 75, 40, kClear, 0, "right of the picture");
  // No width or height: the picture's own size, under the element's transform.
  ExpectColour(r, 15, 70, kRed, 0, "own size, translated");
  ExpectColour(r, 24, 79, kWhite, 0, "own size, last pixel");
  ExpectColour(r, 25, 79, kClear, 0, "own size ends after ten pixels");
  // Only a width: the height keeps the picture's proportions.
  ExpectColour(r, 89, 94, kWhite, 2, "height follows the width");
  ExpectColour(r, 89, 96, kClear, 0, "height follows the width");
}

// Ten times smaller, a picture whose every fourth column is white averages to about a quarter of
// white; sampling alone would alternate between half white and black.
TEST(ImagePlacement, ReducedPictureAveragesItsPixels) {
  StandaloneCallback callback;
  const Rendering r(Svg("<image width='8' height='1' preserveAspectRatio='none' xlink:href='" +
                            EmbeddedPng("stripes.png") + "'/>", 8, 1),
                    true, callback, 8, 1);
  for (int x = 2; x < 6; ++x) ExpectColour(r, x, 0, {64, 64, 64, 255}, 30, "reduced stripes");
}

TEST(ImageData, EmbeddedPngWithLineBreaksEqualsWithout) {
  const std::string plain = Base64(Fixture("quadrants.png"));
  std::string broken;
  for (size_t i = 0; i < plain.size(); i += 16) broken += plain.substr(i, 16) + (i % 32 == 0 ? "\n  " : "\r\n\t");
  StandaloneCallback callbackA, callbackB;
  const std::string start = "<image width='100' height='100' xlink:href='data:image/png;base64,";
  const Rendering a(Svg(start + plain + "'/>"), true, callbackA);
  const Rendering b(Svg(start + broken + "'/>"), true, callbackB);
  ExpectColour(a, 10, 10, kRed, 0, "plain");
  EXPECT_TRUE(std::equal(a.pixels.get(), a.pixels.get() + 40000, b.pixels.get()));
  EXPECT_TRUE(callbackB.Reports().empty());
}

TEST(ImageData, MediaTypeDecidesWhatIsDrawn) {
  const std::string jpeg = Base64(Fixture("quadrants.jpg"));
  const std::pair<std::string, bool> cases[] = {
      {"data:image/jpg;base64," + jpeg, true},
      {"data:image/jpeg;base64," + jpeg, true},
      {"data:image/JPEG;base64," + jpeg, true},
      {"data:image/jpe;base64," + jpeg, false},
      {"DATA:Image/PNG;Base64," + Base64(Fixture("quadrants.png")), true},
      {"data:image/gif;base64,R0lGODlhAQABAAAAACw=", false},
      {"data:image/svg+xml;base64,PHN2Zy8+", false},
  };
  for (const auto& [href, drawn] : cases) {
    StandaloneCallback callback;
    const Rendering r(Svg("<image width='100' height='100' xlink:href='" + href + "'/>"), true, callback);
    const std::string label = href.substr(0, 30);
    EXPECT_EQ(!r.Blank(), drawn) << label;
    EXPECT_TRUE(callback.Reports().empty()) << "unsupported kinds are skipped without a report: " << label;
    EXPECT_EQ(r.temporaryFiles, 0u) << label;
    if (drawn) {
      ExpectColour(r, 10, 10, kRed, 4, label);
      EXPECT_EQ(testing_support::N(r.FirstImage().pictureExtension), (href[11] | 0x20) == 'j' ? "jpg" : "png") << label;
    }
  }
}

TEST(ImageOpacity, OwnOpacityIsTheDrawsMasterAlphaAndMultipliesWithTheGroup) {
  const std::array<std::string, 3> cases[] = {
      {"", "", "255"},
      {"opacity='0.5'", "", "128"},
      {"", "opacity='0.5'", "127"},
      {"opacity='0.5'", "opacity='0.5'", "64"},
      {"style='opacity:0.25'", "", "64"},
      {"opacity='0'", "", "0"},
  };
  for (const auto& [image, group, alpha] : cases) {
    StandaloneCallback callback;
    const Rendering r(Svg("<g " + group + "><image " + image + " width='100' height='100' xlink:href='" +
                          EmbeddedPng() + "'/></g>"),
                      true, callback);
    const int expected = std::stoi(alpha);
    ExpectColour(r, 80, 80, {expected, expected, expected, expected}, 1, image + " in g " + group);
  }
}

TEST(ImageOpacity, PictureIsDrawnThroughTheClipPathMask) {
  StandaloneCallback callback;
  const Rendering r(Svg("<clipPath id='c'><rect width='50' height='100'/></clipPath>"
                        "<image clip-path='url(#c)' width='100' height='100' xlink:href='" + EmbeddedPng() + "'/>"),
                    true, callback);
  ExpectColour(r, 10, 10, kRed, 0, "inside the clip");
  ExpectColour(r, 80, 80, kClear, 0, "outside the clip");
}

}  // namespace
