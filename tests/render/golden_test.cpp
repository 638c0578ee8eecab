#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>

#include "document/vector_document.h"
#include "render/image_compare.h"
#include "support/test_support.h"

namespace {

using render_testing::Image;
using testing_support::DataPath;
using testing_support::W;

// The references come from rsvg-convert (cairo); we draw with AGG. Both anti-alias by pixel coverage,
// but they flatten curves, offset strokes and place dash ends a little differently, so a pixel on an
// edge may differ by anything while interiors agree to rounding. Measured over these drawings: at most
// 0.62 % of the pixels differ by more than 24 in a channel, at most 0.02 % of them away from edges,
// and the mean difference is at most 0.29. So: a pixel whose channels differ by more than 24 is an
// outlier; outliers may be 1 % of the pixels (a one-pixel rim round the shapes), but only 0.05 % may
// lie away from every edge of the expected image (where anti-aliasing can't explain them: a missing
// or wrongly coloured shape); and the mean channel difference must stay under 0.5, which everything
// moved by one pixel already exceeds (GoldenTolerance below checks that these faults are caught).
constexpr render_testing::Tolerance kTolerance{24, 0.01, 0.0005, 0.5};

struct GoldenCase {
  const char* name;
  // Non-null when the case shows a known fault of our renderer: the reason, starting with "DEFECT:".
  const char* defect = nullptr;
};

std::ostream& operator<<(std::ostream& out, const GoldenCase& golden) { return out << golden.name; }

constexpr GoldenCase kCases[] = {
    {"shapes_rect"},
    {"shapes_rect_rounded"},
    {"shapes_circle_ellipse"},
    {"shapes_line_poly"},
    {"path_lines"},
    {"path_cubic"},
    {"path_quadratic"},
    {"path_arcs"},
    {"path_close_and_move"},
    {"fill_rule"},
    {"stroke_caps"},
    {"stroke_joins"},
    {"stroke_miterlimit"},
    {"stroke_dashes"},
    {"stroke_dash_offset"},
    {"stroke_dash_shapes"},
    {"stroke_transformed"},
    {"stroke_widths"},
    {"opacity_fill_stroke"},
    {"opacity_group"},
    {"opacity_element"},
    {"opacity_nested"},
    {"transforms"},
    {"display_visibility"},
    {"style_sheet"},
    {"inheritance"},
    {"colours"},
    {"units"},
    {"viewport_aspect_meet_wide"},
    {"viewport_aspect_meet_tall"},
    {"viewport_aspect_slice_wide"},
    {"viewport_aspect_slice_tall"},
    {"viewport_aspect_none"},
    {"viewport_overflow"},
    {"viewport_root_viewbox"},
    {"clip_path_user_space"},
    {"clip_path_bounding_box"},
    {"clip_path_rule_and_nesting"},
    {"clip_path_transformed"},
    {"mask_basic"},
    {"mask_units"},
    {"path_numbers_smooth"},
    {"stroke_bevel_and_dots"},
    {"colours_alpha"},
    {"gradient_bbox_transform"},
    {"pattern_bbox_transform"},
    {"paint_fallback"},
    {"use_symbol_percent"},
    {"clip_mask_own_style"},
};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Renders SVG text at the reference's size, stretched like rsvg-convert --width --height.
Image RenderLike(const std::string& text, const Image& reference) {
  svg::LoadError loadError;
  const auto loaded = document::VectorDocument::Create(loadError, true, W(text), nullptr, 1.0);
  EXPECT_TRUE(loaded->Loaded()) << "load error " << loadError.code;
  if (!loaded->Loaded()) return {};
  EXPECT_NE(static_cast<double>(reference.width), loaded->Extent().width)
      << "the reference must be drawn at a size other than the drawing's own";
  const auto width = static_cast<int32_t>(reference.width), height = static_cast<int32_t>(reference.height);
  const auto pixels =
      width == height ? loaded->RenderWhole(width) : loaded->RenderStretched(0, width, height);
  EXPECT_NE(pixels, nullptr);
  if (pixels == nullptr) return {};
  return render_testing::FromBuffer(pixels.get(), reference.width, reference.height);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

class Golden : public testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesIndependentRenderer) {
  const GoldenCase& golden = GetParam();
  if (golden.defect != nullptr) GTEST_SKIP() << golden.defect;
  const std::string name = golden.name;

  Image expected;
  std::string error;
  ASSERT_TRUE(render_testing::LoadReference(DataPath("render/" + name + ".png"), expected, error)) << error;
  const Image actual = RenderLike(ReadText(DataPath("render/" + name + ".svg")), expected);
  ASSERT_EQ(actual.rgba.size(), expected.rgba.size());

  const render_testing::Difference difference = render_testing::Compare(expected, actual, kTolerance.channel);
  RecordProperty("difference", render_testing::Describe(difference));
  if (render_testing::Within(difference, kTolerance)) return;

  const std::filesystem::path folder = std::filesystem::path(GRAPHEL_TEST_OUTPUT) / "golden";
  std::filesystem::create_directories(folder);
  const std::string sheet = (folder / (name + ".expected-diff-actual.png")).string();
  std::string writeError;
  const bool written =
      render_testing::WriteComparison(sheet, expected, actual, kTolerance.channel, writeError);
  ADD_FAILURE() << name << ": " << render_testing::Describe(difference) << "\n"
                << (written ? "expected | diff | actual written to " + sheet : writeError);
}

INSTANTIATE_TEST_SUITE_P(Drawings, Golden, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<GoldenCase>& info) {
                           return std::string(info.param.name);
                         });

// The tolerance must still see the faults it is there for, on a drawing that passes as it is.
TEST(GoldenTolerance, RejectsAShiftedAMissingAndARecolouredShape) {
  Image expected;
  std::string error;
  ASSERT_TRUE(render_testing::LoadReference(DataPath("render/shapes_circle_ellipse.png"), expected, error))
      << error;
  const std::string text = ReadText(DataPath("render/shapes_circle_ellipse.svg"));
  const std::string root = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" height=\"100\">";
  const std::pair<const char*, std::string> faults[] = {
      {"everything one pixel to the right",
       Replaced(Replaced(text, root, root + "<g transform=\"translate(0.625 0)\">"), "</svg>", "</g></svg>")},
      {"one ellipse missing", Replaced(text, "<ellipse cx=\"30\"", "<ellipse display=\"none\" cx=\"30\"")},
      {"one colour off by 56 in red", Replaced(text, "#fb8c00", "#c38c00")},
  };
  EXPECT_TRUE(render_testing::Within(
      render_testing::Compare(expected, RenderLike(text, expected), kTolerance.channel), kTolerance));
  for (const auto& [fault, faulty] : faults) {
    const Image actual = RenderLike(faulty, expected);
    ASSERT_EQ(actual.rgba.size(), expected.rgba.size()) << fault;
    const render_testing::Difference difference =
        render_testing::Compare(expected, actual, kTolerance.channel);
    EXPECT_FALSE(render_testing::Within(difference, kTolerance))
        << fault << ": " << render_testing::Describe(difference);
  }
}

}  // namespace
