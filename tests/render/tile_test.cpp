#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>

#include "document/vector_document.h"
#include "support/font_config.h"
#include "support/test_support.h"

namespace {

using document::VectorDocument;
using testing_support::DataPath;
using testing_support::W;

std::unique_ptr<VectorDocument> Load(const std::string& text) {
  svg::LoadError error;
  auto loaded = VectorDocument::Create(error, true, W(text), nullptr, 1.0);
  EXPECT_TRUE(loaded->Loaded()) << "load error " << error.code;
  return loaded;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Svg(const std::string& body) {
  return "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='100'>" + body + "</svg>";
}

const uint8_t* Pixel(const uint8_t* buffer, int64_t size, int64_t x, int64_t y) {
  return buffer + (y * size + x) * 4;
}

// A tile is rendered with the whole image's transform shifted by whole pixels, so AGG sees the same
// sub-pixel geometry. Where the rasteriser clips an edge at the tile's left side, the clipped part
// becomes a vertical edge whose coverage rounds a little differently, and that carries along the
// scanline. Measured over these drawings: no channel differs by more than 1, and at most 0.06 % of
// the channels differ at all; anything beyond 1, or beyond 0.2 %, is a real difference.
constexpr int kWindowTolerance = 1;
constexpr double kRoundedFraction = 0.002;

void ExpectTilesEqualTheirWindow(const std::string& name, const std::string& drawing) {
  constexpr int kFull = 384, kTile = 128, kBorder = 5, kSide = kTile + 2 * kBorder;
  static constexpr uint8_t kBackground[4] = {0, 0, 0, 0};
  const auto loaded = Load(drawing);
  const auto whole = loaded->RenderWhole(kFull);
  ASSERT_NE(whole, nullptr) << name;
  int largest = 0;
  size_t rounded = 0, channels = 0;
  for (int row = 0; row < kFull / kTile; ++row) {
    for (int column = 0; column < kFull / kTile; ++column) {
      const auto tile = loaded->RenderTile(0, kFull, kTile, row, column, kBorder);
      ASSERT_NE(tile, nullptr) << name;
      for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
          const int wholeX = column * kTile - kBorder + x, wholeY = row * kTile - kBorder + y;
          const bool inside = wholeX >= 0 && wholeY >= 0 && wholeX < kFull && wholeY < kFull;
          const uint8_t* expected = inside ? Pixel(whole.get(), kFull, wholeX, wholeY) : kBackground;
          const uint8_t* actual = Pixel(tile.get(), kSide, x, y);
          for (int c = 0; c < 4; ++c, ++channels) {
            const int difference = std::abs(int{expected[c]} - int{actual[c]});
            largest = std::max(largest, difference);
            if (difference > 0) ++rounded;
          }
        }
      }
    }
  }
  EXPECT_LE(largest, kWindowTolerance) << name;
  EXPECT_LE(static_cast<double>(rounded), kRoundedFraction * static_cast<double>(channels))
      << name << ": " << rounded << " of " << channels << " channels differ";
}

TEST(TileWindow, EveryTileWithBorderEqualsItsWindowOfTheWholeImage) {
  for (const char* name : {"transforms", "stroke_dash_shapes", "clip_path_rule_and_nesting", "opacity_group",
                           "mask_units", "viewport_aspect_slice_wide", "viewport_root_viewbox"}) {
    ExpectTilesEqualTheirWindow(name, ReadText(DataPath(std::string("render/") + name + ".svg")));
  }
}

// Paint whose colour depends on where a pixel lies (gradients repeating past their ends, masks of
// gradients) and glyphs, which are left out where they can't reach the window, must not show seams.
TEST(TileWindow, GradientsMasksAndTextTilesEqualTheirWindow) {
  const testing_support::ScopedFontConfig fonts(DataPath("fonts/fonts.conf"));
  const std::pair<const char*, std::string> cases[] = {
      {"linear spreads",
       Svg("<linearGradient id='p' x1='0.4' x2='0.6'><stop stop-color='red'/><stop offset='1' stop-color='blue'/>"
           "</linearGradient>"
           "<linearGradient id='r' href='#p' spreadMethod='reflect' x1='0.45' x2='0.55' y2='0.2'/>"
           "<linearGradient id='t' href='#p' spreadMethod='repeat' gradientUnits='userSpaceOnUse' x1='3' x2='9'"
           " y1='0' y2='4'/>"
           "<rect width='100' height='33' fill='url(#p)'/><rect y='33' width='100' height='33' fill='url(#r)'/>"
           "<rect y='66' width='100' height='34' fill='url(#t)'/>")},
      {"radial spreads",
       Svg("<radialGradient id='p' r='0.1' fx='0.45'><stop stop-color='yellow'/><stop offset='0.5'"
           " stop-color='green' stop-opacity='0.5'/><stop offset='1' stop-color='navy'/></radialGradient>"
           "<radialGradient id='r' href='#p' spreadMethod='reflect'/>"
           "<radialGradient id='t' href='#p' spreadMethod='repeat'/>"
           "<rect width='50' height='50' fill='url(#p)'/><rect x='50' width='50' height='50' fill='url(#r)'/>"
           "<rect y='50' width='100' height='50' fill='url(#t)'/>")},
      {"radial spreads on circles",
       Svg("<radialGradient id='p' cx='0.4' r='0.15' fx='0.3' fy='0.6'><stop stop-color='yellow'/>"
           "<stop offset='0.5' stop-color='green' stop-opacity='0.5'/><stop offset='1' stop-color='navy'/>"
           "</radialGradient><radialGradient id='r' href='#p' spreadMethod='reflect'/>"
           "<radialGradient id='t' href='#p' spreadMethod='repeat' gradientUnits='userSpaceOnUse' cx='70' cy='75'"
           " r='6' fx='66' fy='72'/>"
           "<circle cx='25' cy='25' r='24' fill='url(#p)'/><circle cx='75' cy='25' r='24' fill='url(#r)'/>"
           "<circle cx='50' cy='75' r='24' fill='url(#t)'/>")},
      {"radial spreads under gradientTransform",
       Svg("<radialGradient id='p' r='0.2' fx='0.35' gradientTransform='rotate(30) scale(1 0.5)'>"
           "<stop stop-color='red'/><stop offset='1' stop-color='blue'/></radialGradient>"
           "<radialGradient id='r' href='#p' spreadMethod='reflect'/>"
           "<radialGradient id='t' href='#p' spreadMethod='repeat'/>"
           "<circle cx='25' cy='25' r='24' fill='url(#p)'/><ellipse cx='75' cy='25' rx='24' ry='20' fill='url(#r)'/>"
           "<circle cx='50' cy='72' r='27' fill='url(#t)'/>")},
      {"gradient masks",
       Svg("<linearGradient id='g' spreadMethod='reflect' x2='0.3'><stop stop-color='white'/>"
           "<stop offset='1' stop-opacity='0'/></linearGradient>"
           "<mask id='m'><rect width='100' height='100' fill='url(#g)'/></mask>"
           "<mask id='n' maskContentUnits='objectBoundingBox'><circle cx='0.5' cy='0.5' r='0.45' fill='url(#g)'/>"
           "</mask><rect width='100' height='100' fill='teal' mask='url(#m)'/>"
           "<g mask='url(#n)'><rect x='10' y='20' width='80' height='60' fill='orange'/></g>")},
      {"text",
       Svg("<defs><path id='arc' d='M10 90 Q50 10 90 90 M10 20 H40'/></defs>"
           "<g font-family='DejaVu Sans'><text x='2' y='30' font-size='14'>Tiles agree</text>"
           "<text x='30' y='60' font-size='22' fill='none' stroke='navy' stroke-width='2'"
           " transform='rotate(20 50 50)'>seams</text>"
           "<text font-size='9' fill='purple'><textPath href='#arc'>along a curve, past a moveto</textPath>"
           "</text><text x='-3 40 97' y='45 110 99' font-size='16' font-weight='bold'>WAV</text></g>")},
  };
  for (const auto& [name, drawing] : cases) ExpectTilesEqualTheirWindow(name, drawing);
}

// A circle of radius 0.4 S centred in an S x S image. The tile holding the point of its outline at
// the given angle (degrees, counter-clockwise from the right) is compared row by row with the exact
// area of the disc in that row, integrated numerically: the row's summed alpha is that area, pixels
// clear of the outline by more than a pixel are fully in or out. The circle is drawn as four cubic
// Beziers, which touch the true circle only at multiples of 45 degrees (elsewhere they stray by up
// to 0.027 % of the radius, 1800 pixels at 2^24), so only those angles are probed, and only where the
// outline is at most 45 degrees from upright, so that a row's area measures its horizontal position.
class CircleTile {
 public:
  CircleTile(int32_t fullSize, double angle) : centre_(fullSize / 2.0), radius_(0.4 * fullSize) {
    const double x = centre_ + radius_ * std::cos(angle * M_PI / 180);
    const double y = centre_ - radius_ * std::sin(angle * M_PI / 180);
    column_ = static_cast<int32_t>(x / kTile);
    row_ = static_cast<int32_t>(y / kTile);
    left_ = static_cast<double>(column_) * kTile - kBorder;
    top_ = static_cast<double>(row_) * kTile - kBorder;
  }

  static constexpr int32_t kTile = 256, kBorder = 5, kSide = kTile + 2 * kBorder;
  int32_t Row() const { return row_; }
  int32_t Column() const { return column_; }

  // The disc's extent on the horizontal line y (tile pixels), clamped to the tile; empty as (0, 0).
  std::pair<double, double> Span(double y) const {
    const double dy = top_ + y - centre_;
    if (dy * dy >= radius_ * radius_) return {0.0, 0.0};
    const double half = std::sqrt(radius_ * radius_ - dy * dy);
    return {std::clamp(centre_ - half - left_, 0.0, double{kSide}),
            std::clamp(centre_ + half - left_, 0.0, double{kSide})};
  }

  // The disc's area within pixel row y.
  double RowArea(int y) const {
    constexpr int kSteps = 64;
    double area = 0.0;
    for (int i = 0; i < kSteps; ++i) {
      const auto [from, to] = Span(y + (i + 0.5) / kSteps);
      area += (to - from) / kSteps;
    }
    return area;
  }

 private:
  double centre_, radius_, left_ = 0.0, top_ = 0.0;
  int32_t row_ = 0, column_ = 0;
};

void ExpectCircleEdge(int32_t fullSize, double angle) {
  SCOPED_TRACE(testing::Message() << "full size " << fullSize << ", angle " << angle);
  constexpr int kSide = CircleTile::kSide;
  const CircleTile circle(fullSize, angle);
  const auto loaded = Load(Svg("<circle cx='50' cy='50' r='40'/>"));
  const auto tile =
      loaded->RenderTile(0, fullSize, CircleTile::kTile, circle.Row(), circle.Column(), CircleTile::kBorder);
  ASSERT_NE(tile, nullptr);

  double worst = 0.0;
  int wrongPixels = 0;
  for (int y = 0; y < kSide; ++y) {
    const auto [topFrom, topTo] = circle.Span(y);
    const auto [bottomFrom, bottomTo] = circle.Span(y + 1.0);
    double covered = 0.0;
    for (int x = 0; x < kSide; ++x) {
      const int alpha = Pixel(tile.get(), kSide, x, y)[3];
      covered += alpha / 255.0;
      const bool inside = x - 1 > std::max(topFrom, bottomFrom) && x + 2 < std::min(topTo, bottomTo);
      const bool outside = x + 2 < std::min(topFrom, bottomFrom) || x - 1 > std::max(topTo, bottomTo) ||
                           (topFrom == topTo && bottomFrom == bottomTo);
      if ((inside && alpha != 255) || (outside && alpha != 0)) ++wrongPixels;
    }
    worst = std::max(worst, std::abs(covered - circle.RowArea(y)));
  }
  EXPECT_EQ(wrongPixels, 0);
  // Measured: at most 0.023 pixels of area per row at both sizes.
  EXPECT_LT(worst, 0.1);
}

TEST(DeepTiles, CircleEdgeAtTwoToTheTwentiethMatchesTheExactArea) {
  ExpectCircleEdge(1 << 20, 0.0);
  ExpectCircleEdge(1 << 20, 45.0);
  ExpectCircleEdge(1 << 20, 135.0);
}

TEST(DeepTiles, CircleEdgeAtTwoToTheTwentyFourthMatchesTheExactArea) {
  ExpectCircleEdge(1 << 24, 180.0);
  ExpectCircleEdge(1 << 24, 225.0);
  ExpectCircleEdge(1 << 24, 315.0);
}

TEST(DeepTiles, LastTileOfTheLargestPyramidLevelHasTheDrawingCorner) {
  // The bottom-right tile of a 2^24 image: row and column times the tile size still fit 32 bits.
  constexpr int32_t kFull = 1 << 24, kTile = 1024;
  const auto loaded = Load(Svg("<rect width='100' height='100' fill='#0000ff'/>"));
  const auto tile = loaded->RenderTile(0, kFull, kTile, kFull / kTile - 1, kFull / kTile - 1, 5);
  ASSERT_NE(tile, nullptr);
  constexpr int kSide = kTile + 10;
  EXPECT_EQ(Pixel(tile.get(), kSide, 5, 5)[2], 255);
  EXPECT_EQ(Pixel(tile.get(), kSide, kSide - 6, kSide - 6)[3], 255) << "last pixel of the image";
  EXPECT_EQ(Pixel(tile.get(), kSide, kSide - 5, kSide - 5)[3], 0) << "border beyond the image";
}

struct BadRequest {
  const char* what;
  int32_t fullSize, tileSize, row, column, border;
};

TEST(BadSizes, ImpossibleTileRequestsGiveNull) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr BadRequest kRequests[] = {
      {"zero tile", 256, 0, 0, 0, 0},
      {"negative tile", 256, -64, 0, 0, 0},
      {"border eats the tile", 256, 64, 0, 0, -40},
      {"negative border leaves nothing", 256, 10, 0, 0, -5},
      {"tile beyond the pixel limit", 1 << 20, 1 << 15, 0, 0, 0},
      {"largest tile and border", kMax, kMax, 0, 0, kMax},
      {"lowest tile and border", kMax, std::numeric_limits<int32_t>::min(), 0, 0,
       std::numeric_limits<int32_t>::min()},
  };
  const auto loaded = Load(Svg("<rect width='100' height='100'/>"));
  for (const BadRequest& r : kRequests) {
    EXPECT_EQ(loaded->RenderTile(0, r.fullSize, r.tileSize, r.row, r.column, r.border), nullptr) << r.what;
  }
  EXPECT_EQ(loaded->RenderWhole(0), nullptr);
  EXPECT_EQ(loaded->RenderWhole(-5), nullptr);
  EXPECT_EQ(loaded->RenderWhole(1 << 15), nullptr);
  EXPECT_EQ(loaded->RenderStretched(0, 0, 10), nullptr);
  EXPECT_EQ(loaded->RenderStretched(0, 10, -10), nullptr);
  EXPECT_EQ(loaded->RenderStretched(0, 1 << 16, 1 << 15), nullptr);
  EXPECT_EQ(loaded->RenderStretched(0, kMax, kMax), nullptr);
}

TEST(BadSizes, NegativeOrZeroFullSizeGivesNull) {
  const auto loaded = Load(Svg("<rect width='100' height='100'/>"));
  EXPECT_EQ(loaded->RenderTile(0, 0, 64, 0, 0, 0), nullptr);
  EXPECT_EQ(loaded->RenderTile(0, -256, 64, 0, 0, 0), nullptr);
  EXPECT_EQ(loaded->RenderTile(0, std::numeric_limits<int32_t>::min(), 64, 1, 1, 5), nullptr);
}

TEST(BadSizes, ZeroAreaExtentsGiveNull) {
  for (const char* text : {
           "<svg xmlns='http://www.w3.org/2000/svg' width='0' height='0'/>",
           "<svg xmlns='http://www.w3.org/2000/svg' width='100' height='0'/>",
           "<svg xmlns='http://www.w3.org/2000/svg' width='-5' height='-5'/>",
           // No size of its own and a flat bounding box: 100 wide, 0 high.
           "<svg xmlns='http://www.w3.org/2000/svg' width='0' height='0'>"
           "<line x1='0' y1='10' x2='100' y2='10' stroke='black'/></svg>",
       }) {
    const auto loaded = Load(text);
    EXPECT_EQ(loaded->RenderWhole(64), nullptr) << text;
    EXPECT_EQ(loaded->RenderTile(0, 1024, 256, 1, 1, 5), nullptr) << text;
  }
}

// Each body is drawn before an opaque green square in the middle: the square must come out, so the
// render went on past the hostile element and finished.
void ExpectSurvives(const std::string& body) {
  const auto loaded = Load(Svg(body + "<rect x='40' y='40' width='20' height='20' fill='#00ff00'/>"));
  const auto pixels = loaded->RenderWhole(100);
  ASSERT_NE(pixels, nullptr) << body;
  const uint8_t* centre = Pixel(pixels.get(), 100, 50, 50);
  EXPECT_EQ(centre[1], 255) << body;
  EXPECT_EQ(centre[3], 255) << body;
}

TEST(HostileGeometry, NonFiniteAndExtremeNumbersDoNotStopTheRender) {
  for (const char* body : {
           "<rect x='NaN' y='inf' width='1e999' height='-1e999' fill='red'/>",
           "<path d='M1e308 1e308 L-1e308 1e308 L0 -1e308 Z' fill='red' stroke='blue'/>",
           "<path d='M0 0 L50 50' stroke='blue' stroke-width='1e308' stroke-linecap='square'/>",
           "<path d='M1e-320 0 L5e-324 1' stroke='blue' stroke-linecap='round'/>",
           "<path d='M0 0 C1e300 0 1e300 1e300 0 1e300' fill='red'/>",
           "<polyline points='0,0 1e400,1e400 -1e400,5' stroke='red' stroke-dasharray='1e308 1'/>",
           "<circle cx='50' cy='50' r='1e-300' fill='red' stroke='green' stroke-width='1e-300'/>",
           // Gradients a billion times smaller than the pixels they cover, focus on the rim.
           "<radialGradient id='h' gradientUnits='userSpaceOnUse' r='1e-7' fx='1e-7' spreadMethod='reflect'>"
           "<stop stop-color='red'/><stop offset='1' stop-color='blue'/></radialGradient>"
           "<linearGradient id='k' gradientUnits='userSpaceOnUse' x2='1e-7'><stop stop-color='red'/>"
           "<stop offset='1' stop-color='blue'/></linearGradient>"
           "<rect width='100' height='50' fill='url(#h)'/><rect y='50' width='100' height='50' fill='url(#k)'/>",
       }) {
    ExpectSurvives(body);
  }
}

TEST(HostileGeometry, DegenerateTransformsDrawNothingAndDoNotStopTheRender) {
  for (const char* body : {
           "<g transform='scale(0)'><rect width='100' height='100' fill='red' stroke='red' "
           "stroke-dasharray='1 2'/></g>",
           "<g transform='matrix(0 0 0 0 0 0)'><circle r='10' fill='red' stroke='red' "
           "stroke-linejoin='round'/></g>",
           "<rect width='100' height='100' fill='red' transform='scale(1 0)'/>",
           "<g transform='translate(1e308 1e308) scale(1e308)'><rect width='1' height='1' fill='red'/></g>",
           "<svg width='100' height='100' viewBox='0 0 0 0'><rect width='100' height='100' "
           "fill='red'/></svg>",
       }) {
    ExpectSurvives(body);
  }
}

// A hundred thousand full-width segments; the hostile-file suite takes a million through the command line.
TEST(HostileGeometry, LongPathOfFullWidthSegmentsFinishes) {
  std::string d = "M0 0";
  d.reserve(1'200'000);
  for (int i = 0; i < 100'000; ++i) {
    d += i % 2 == 0 ? " L100 " : " L0 ";
    d += std::to_string(i % 100);
  }
  const auto loaded = Load(Svg("<path d='" + d + "' fill='none' stroke='black' stroke-width='0.01'/>"));
  const auto pixels = loaded->RenderWhole(64);
  ASSERT_NE(pixels, nullptr);
  EXPECT_GT(Pixel(pixels.get(), 64, 32, 32)[3], 0);
}

TEST(HostileGeometry, ThousandsOfTinyDashesFinish) {
  std::string dashes;
  for (int i = 0; i < 3000; ++i) dashes += "0.03 ";
  const auto loaded =
      Load(Svg("<polyline points='0,50 100,50 0,54 100,54' fill='none' stroke='black' "
               "stroke-width='3' stroke-dasharray='" +
               dashes + "'/>"));
  const auto pixels = loaded->RenderWhole(100);
  ASSERT_NE(pixels, nullptr);
  // Dashes and gaps of equal length far below a pixel leave every covered pixel about half covered.
  const int alpha = Pixel(pixels.get(), 100, 30, 50)[3];
  EXPECT_GT(alpha, 90);
  EXPECT_LT(alpha, 165);
}

// Each of these would take hours if every dash of the path were generated one by one.
TEST(HostileGeometry, HugeDashCountsFinish) {
  for (const char* body : {
           "<line x1='0' y1='50' x2='100' y2='50' stroke='red' stroke-dasharray='0.001 0.001' "
           "stroke-dashoffset='1e9'/>",
           "<line x1='0' y1='50' x2='100' y2='50' stroke='red' stroke-dasharray='10 10' "
           "stroke-dashoffset='-1e15'/>",
           "<line x1='0' y1='50' x2='1e9' y2='50' stroke='red' stroke-dasharray='0.001 0.001'/>",
           "<line x1='0' y1='50' x2='1e9' y2='50' stroke='red' stroke-dasharray='0.5 0.5'/>",
           "<circle cx='50' cy='50' r='1e7' fill='none' stroke='red' stroke-dasharray='1 1'/>",
           "<line x1='0' y1='0' x2='100' y2='100' stroke='red' stroke-dasharray='0 1e-7'/>",
           "<line x1='0' y1='0' x2='100' y2='100' stroke='red' stroke-dasharray='1e-300 1e-300'/>",
       }) {
    ExpectSurvives(body);
  }
}

TEST(HostileGeometry, HugeRoundedRectangleFinishes) {
  ExpectSurvives("<rect width='1e17' height='1e17' rx='1e16' fill='red'/>");
}

TEST(HostileGeometry, HugeCurvesFinish) {
  ExpectSurvives("<circle r='1e16' fill='red'/>");
  ExpectSurvives("<g transform='scale(1e10)'><circle r='1e4' fill='red'/></g>");
  ExpectSurvives("<path d='M0 0 A1e300 1e300 0 0 1 1e300 0' fill='red'/>");
}

// Dense patterns: the whole image has too many pattern tiles to draw each as vectors and repeats
// one raster tile, while a single tile's window shows few enough to draw as vectors. Every window
// must paint the pattern as the whole image does.
TEST(TileWindow, DensePatternTilesEqualTheirWindowOfTheWholeImage) {
  constexpr int kFull = 384, kTile = 128, kBorder = 5, kSide = kTile + 2 * kBorder;
  for (const char* size : {"2.5", "7", "20"}) {
    const auto loaded = Load(Svg(std::string("<defs><pattern id='p' patternUnits='userSpaceOnUse' width='") + size +
                                 "' height='" + size + "'><circle cx='1.25' cy='1.25' r='0.8' fill='#0000ff'/>"
                                 "<rect x='0.3' y='1.6' width='1.9' height='0.5' fill='#ff0000' opacity='0.5'/>"
                                 "</pattern></defs><rect x='3' y='3' width='94' height='94' fill='url(#p)'/>"));
    const auto whole = loaded->RenderWhole(kFull);
    ASSERT_NE(whole, nullptr);
    int largest = 0;
    for (int row = 0; row < kFull / kTile; ++row) {
      for (int column = 0; column < kFull / kTile; ++column) {
        const auto tile = loaded->RenderTile(0, kFull, kTile, row, column, kBorder);
        ASSERT_NE(tile, nullptr);
        for (int y = 0; y < kSide; ++y) {
          for (int x = 0; x < kSide; ++x) {
            const int wholeX = column * kTile - kBorder + x, wholeY = row * kTile - kBorder + y;
            if (wholeX < 0 || wholeY < 0 || wholeX >= kFull || wholeY >= kFull) continue;
            for (int c = 0; c < 4; ++c) {
              largest = std::max(largest, std::abs(int{Pixel(whole.get(), kFull, wholeX, wholeY)[c]} -
                                                   int{Pixel(tile.get(), kSide, x, y)[c]}));
            }
          }
        }
      }
    }
    EXPECT_LE(largest, kWindowTolerance) << "pattern tiles of " << size << " units";
  }
}

}  // namespace
