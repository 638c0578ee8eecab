// The converter's drawings checked against line geometry computed here straight from the family
// definitions: each sampled pixel's distance to the nearest drawn dash decides whether it must be ink
// or background; pixels near an edge of the ink are left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "document/vector_document.h"
#include "formats/pat/hatch_pattern.h"
#include "support/test_support.h"

namespace {

using formats::pat::HatchLine;
using formats::pat::HatchPattern;

constexpr double kTile = 1024.0;

std::string Example(const std::string& name) {
  return std::string(GRAPHEL_TEST_DATA) + "/../../examples/" + name;
}

struct Geometry {
  double scale;      // tile units per pattern unit
  double halfWidth;  // tile units
  double dot;        // half-length of a dot, pattern units
  int cap;
};

// Signed distance, in tile units, from a point to the inked area of one dash [from, to] along a line:
// u along and q across it, in pattern units.
double DashDistance(double u, double q, double from, double to, const Geometry& g) {
  const double beyond = std::max(from - u, u - to) * g.scale;  // negative inside the dash's length
  const double across = q * g.scale - g.halfWidth;
  if (g.cap == 2) return std::max(across, beyond);
  if (g.cap == 1) return std::max(across, beyond - g.halfWidth);
  return beyond > 0.0 ? std::hypot(beyond, q * g.scale) - g.halfWidth : across;
}

double FamilyDistance(const HatchLine& line, double x, double y, const Geometry& g) {
  const double theta = line.angle * M_PI / 180.0;
  const double dx = std::cos(theta), dy = std::sin(theta);
  const double px = x - line.originX, py = y - line.originY;
  const double across = -px * dy + py * dx;
  const double nearest = line.deltaY == 0.0 ? 0.0 : std::round(across / line.deltaY);
  double best = std::numeric_limits<double>::infinity();
  for (double n = nearest - 1.0; n <= nearest + 1.0; n += 1.0) {
    if (line.deltaY == 0.0 && n != 0.0) continue;
    // The n-th line's origin moves by deltaX along the lines and deltaY across them.
    const double u = px * dx + py * dy - n * line.deltaX;
    const double q = std::fabs(across - n * line.deltaY);
    if (line.dashes.empty()) {
      best = std::min(best, q * g.scale - g.halfWidth);
      continue;
    }
    double period = 0.0;
    for (double v : line.dashes) period += std::fabs(v);
    const double first = std::floor(u / period) - 1.0;
    for (double m = first; m <= first + 2.0; m += 1.0) {
      double a = m * period;
      for (double v : line.dashes) {
        if (v > 0.0) best = std::min(best, DashDistance(u, q, a, a + v, g));
        if (v == 0.0) best = std::min(best, DashDistance(u, q, a - g.dot, a + g.dot, g));
        a += std::fabs(v);
      }
    }
  }
  return best;
}

struct ReferenceCase {
  const char* file;
  int32_t index;
  float repeat;
  float lineWidth;
  int32_t cap;
  int size;  // rendered pixels across the tile
};

class HatchReference : public ::testing::TestWithParam<ReferenceCase> {};

TEST_P(HatchReference, InkWhereTheFamiliesPutLines) {
  const ReferenceCase& c = GetParam();
  svg::LoadError error;
  auto loaded =
      document::VectorDocument::Create(error, false, testing_support::W(Example(c.file)), nullptr, 1.0);
  ASSERT_TRUE(loaded->Loaded()) << c.file;
  std::vector<HatchPattern> patterns;
  ASSERT_TRUE(formats::pat::ReadPatternFile(testing_support::W(Example(c.file)), error, patterns));
  const HatchPattern& pattern = patterns.at(static_cast<size_t>(c.index));

  document::PatternSettings settings;
  settings.patternIndex = c.index;
  settings.repeat = c.repeat;
  settings.lineWidth = c.lineWidth;
  settings.lineCap = c.cap;
  ASSERT_TRUE(loaded->SelectPattern(settings, 5));
  const auto pixels =
      loaded->RenderTile(document::PackedColour(settings.backgroundColour), c.size, c.size, 0, 0, 0);
  ASSERT_NE(pixels, nullptr);

  const double scale = kTile / c.repeat / pattern.largestDeltaY;
  const Geometry g{scale, kTile * 0.005 * c.lineWidth / 2.0, c.cap == 2 ? c.lineWidth * 0.5 / scale : 0.0001,
                   c.cap};
  const double unitsPerPixel = kTile / c.size;
  const double edge = 0.75 * unitsPerPixel;
  int ink = 0, paper = 0, wrong = 0;
  std::string firstWrong;
  for (int row = 1; row < c.size; row += 3) {
    for (int column = 2; column < c.size; column += 3) {
      // Pixel centres in pattern units, y up.
      const double x = (column + 0.5) * unitsPerPixel / scale;
      const double y = (kTile - (row + 0.5) * unitsPerPixel) / scale;
      double distance = std::numeric_limits<double>::infinity();
      for (const HatchLine& line : pattern.lines)
        distance = std::min(distance, FamilyDistance(line, x, y, g));
      const uint8_t red = pixels[(static_cast<size_t>(row) * c.size + column) * 4];
      const bool mustBeInk = distance<-edge, mustBePaper = distance> edge;
      ink += mustBeInk;
      paper += mustBePaper;
      if ((mustBeInk && red > 64) || (mustBePaper && red < 191)) {
        if (wrong++ == 0) firstWrong = std::to_string(column) + "," + std::to_string(row);
      }
    }
  }
  const int sampled = ((c.size - 1 + 2) / 3) * ((c.size - 2 + 2) / 3);
  EXPECT_GT(ink, sampled / 50) << "too little ink to judge";
  EXPECT_GT(paper, sampled / 10);
  EXPECT_EQ(wrong, 0) << ink << " ink and " << paper << " paper pixels; first wrong at " << firstWrong;
}

INSTANTIATE_TEST_SUITE_P(Examples, HatchReference,
                         ::testing::Values(ReferenceCase{"brick.pat", 0, 1.0f, 1.0f, 0, 512},
                                           ReferenceCase{"brick.pat", 0, 2.5f, 1.5f, 1, 700},
                                           ReferenceCase{"crosshatch.pat", 0, 1.0f, 1.0f, 0, 512},
                                           ReferenceCase{"crosshatch.pat", 1, 3.0f, 0.7f, 2, 1024},
                                           ReferenceCase{"twelve.pat", 0, 1.0f, 1.0f, 0, 1024},
                                           ReferenceCase{"twelve.pat", 0, 0.5f, 2.0f, 2, 1024}),
                         [](const ::testing::TestParamInfo<ReferenceCase>& info) {
                           std::string name = info.param.file;
                           name = name.substr(0, name.find('.')) + std::to_string(info.param.index) + "_cap" +
                                  std::to_string(info.param.cap) + "_" + std::to_string(info.index);
                           return name;
                         });

}  // namespace
