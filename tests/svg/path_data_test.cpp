#include "svg/path_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "support/test_support.h"
#include "svg/exception.h"
#include "svg/number_parse.h"

namespace {

using testing_support::N;
using testing_support::W;

constexpr unsigned kMove = agg::path_cmd_move_to;
constexpr unsigned kLine = agg::path_cmd_line_to;
constexpr unsigned kCurve3 = agg::path_cmd_curve3;
constexpr unsigned kCurve4 = agg::path_cmd_curve4;
constexpr unsigned kClose = unsigned{agg::path_cmd_end_poly} | unsigned{agg::path_flags_close};

struct Vertex {
  double x;
  double y;
  unsigned command;
  bool operator==(const Vertex&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Vertex& v) {
  return out << "(" << v.x << ", " << v.y << ", cmd " << v.command << ")";
}

std::vector<Vertex> Vertices(const agg::path_storage& path) {
  std::vector<Vertex> vertices;
  for (unsigned i = 0; i < path.total_vertices(); ++i) {
    Vertex v{};
    v.command = path.vertex(i, &v.x, &v.y);
    vertices.push_back(v);
  }
  return vertices;
}

std::vector<Vertex> Draw(const char* text) {
  svg::PathSegmentList list;
  svg::ParsePathData(W(text), list);
  agg::path_storage path;
  svg::AppendSegments(list, path);
  return Vertices(path);
}

struct Token {
  char16_t command;
  double number;
  bool operator==(const Token&) const = default;
};

std::vector<Token> Tokens(std::u16string_view text) {
  svg::PathTokenizer tokenizer(text);
  std::vector<Token> tokens;
  while (tokenizer.Next()) tokens.push_back({tokenizer.LastCommand(), tokenizer.LastNumber()});
  return tokens;
}

TEST(PathTokenizer, SplitsNumbers) {
  struct Case {
    const char* text;
    std::vector<Token> tokens;
  };
  const Case cases[] = {
      {"10-5", {{0, 10}, {0, -5}}},          {"1e-5", {{0, 1e-5}}},
      {"1E+2+3", {{0, 100}, {0, 3}}},        {"1.5.5", {{0, 1.5}, {0, 0.5}}},
      {"-.5.5.5", {{0, -0.5}, {0, 0.5}, {0, 0.5}}}, {"1e2.5e1e1", {{0, 100}, {0, 5}, {0, 0}}},
      {"-.5-.5", {{0, -0.5}, {0, -0.5}}},    {"--5 +", {{0, 0}, {0, 0}}},
      {"M1,2", {{u'M', 1}, {u'M', 2}}},      {"M L3", {{u'M', 0}, {u'L', 3}}},
      {"M 4 Z", {{u'M', 4}, {u'Z', 4}}},     {" ,\t\r\n", {}},
      {"M1\u01202", {{u'M', 1}, {u'M', 2}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Tokens(W(c.text)), c.tokens) << c.text;
}

TEST(PathTokenizer, LongNumbersAreCutAt255Characters) {
  const std::u16string digits(300, u'1');
  const auto tokens = Tokens(digits);
  ASSERT_EQ(tokens.size(), 2u);
  EXPECT_EQ(tokens[0].number, svg::ParseNumberPrefix(digits.substr(0, 255)));
  EXPECT_EQ(tokens[1].number, svg::ParseNumberPrefix(digits.substr(0, 45)));
}

TEST(PathTokenizer, NextNumberChecksTheCommand) {
  svg::PathTokenizer tokenizer(u"M 1 2 L");
  ASSERT_TRUE(tokenizer.Next());
  EXPECT_EQ(tokenizer.NextNumber(u'M'), 2.0);
  try {
    tokenizer.NextNumber(u'M');
    FAIL() << "expected code 14";
  } catch (const svg::exception& e) {
    EXPECT_EQ(e.Code(), svg::kErrorBadParameters);
    EXPECT_EQ(e.Text(), u"M");
  }
  try {
    tokenizer.NextNumber(u'L');
    FAIL() << "expected code 13";
  } catch (const svg::exception& e) {
    EXPECT_EQ(e.Code(), svg::kErrorUnexpectedEnd);
    EXPECT_EQ(e.Text(), u"");
  }
}

TEST(PathParse, SegmentsAndWrittenText) {
  struct Case {
    const char* text;
    std::vector<uint32_t> types;
    const char* written;
  };
  const Case cases[] = {
      {"M 10 20 30 40", {2, 4}, "M 10 20 L 30 40"},
      {"m 10 20 30 40", {3, 5}, "m 10 20 l 30 40"},
      {"M10-20L30,40z", {2, 4, 1}, "M 10 -20 L 30 40 Z"},
      {"M 0 0 L 10 0 L 10 10 Z", {2, 4, 4, 1}, "M 0 0 L 10 0 10 10 Z"},
      {"M0 0 Z Z", {2, 1, 1}, "M 0 0 Z Z"},
      {"M1 2C1 2 3 4 5 6 7 8 9 10 11 12", {2, 6, 6}, "M 1 2 C 1 2 3 4 5 6 7 8 9 10 11 12"},
      {"M1 2 c1 2 3 4 5 6 S1 2 3 4 s1 2 3 4", {2, 7, 16, 17}, "M 1 2 c 1 2 3 4 5 6 S 1 2 3 4 s 1 2 3 4"},
      {"M1 2 Q1 2 3 4 q1 2 3 4 T5 6 t7 8", {2, 8, 9, 18, 19}, "M 1 2 Q 1 2 3 4 q 1 2 3 4 T 5 6 t 7 8"},
      {"M1 2 A5 6 30 1 0 9 9 a 5 6 -30 0 2 1 1", {2, 10, 11}, "M 1 2 A 5 6 30 1 0 9 9 a 5 6 -30 0 1 1 1"},
      {"M1 2 H4 h5 V6 v7 8", {2, 12, 13, 14, 15, 15}, "M 1 2 H 4 h 5 V 6 v 7 8"},
      {"M0 0a20 20 0 0140 0", {2, 11}, "M 0 0 a 20 20 0 0 1 40 0"},
      {"M0 0A5 5 0 1 1.5.5", {2, 10}, "M 0 0 A 5 5 0 1 1 0.5 0.5"},
      {"M0.5 1e6", {2}, "M 0.5 1e+06"},
      {"", {}, ""},
  };
  for (const auto& c : cases) {
    svg::PathSegmentList list;
    svg::ParsePathData(W(c.text), list);
    std::vector<uint32_t> types;
    for (const auto& segment : list) types.push_back(segment->Type());
    EXPECT_EQ(types, c.types) << c.text;
    EXPECT_EQ(N(svg::WriteSegments(list)), c.written) << c.text;
  }
}

TEST(PathParse, ErrorsKeepTheSegmentsReadBefore) {
  struct Case {
    const char* text;
    int code;
    const char* offending;
    size_t segmentsKept;
  };
  const Case cases[] = {
      {"M 10 20 L 30", svg::kErrorUnexpectedEnd, "", 1},
      {"M 10 L 20 30", svg::kErrorBadParameters, "M", 0},
      {"M 0 0 C 1 2 3 4 L", svg::kErrorBadParameters, "C", 1},
      {"10 20", svg::kErrorInvalidCommand, "", 0},
      {"M 10 20 #", svg::kErrorInvalidCharacter, "#", 1},
      {"M 0 0 F 1 1", svg::kErrorInvalidCommand, "F", 1},
      {"M 0 0 L 1 1 p", svg::kErrorInvalidCommand, "p", 2},
      {"M 1 2 x", svg::kErrorInvalidCharacter, "x", 1},
  };
  for (const auto& c : cases) {
    svg::PathSegmentList list;
    svg::MoveTo(list, 99, 99, false);
    int code = 0;
    std::u16string offending;
    try {
      svg::ParsePathData(W(c.text), list);
    } catch (const svg::exception& e) {
      code = e.Code();
      offending = e.Text();
    }
    EXPECT_EQ(code, c.code) << c.text;
    EXPECT_EQ(N(offending), c.offending) << c.text;
    EXPECT_EQ(list.size(), c.segmentsKept) << c.text;
  }
}

TEST(PathSegments, AppendersSetTypeAndLetter) {
  struct Case {
    void (*append)(svg::PathSegmentList&, bool);
    uint32_t absoluteType;
    char16_t absoluteLetter;
  };
  const Case cases[] = {
      {[](svg::PathSegmentList& l, bool r) { svg::MoveTo(l, 1, 2, r); }, 2, u'M'},
      {[](svg::PathSegmentList& l, bool r) { svg::LineTo(l, 1, 2, r); }, 4, u'L'},
      {[](svg::PathSegmentList& l, bool r) { svg::CurveTo(l, 1, 2, 3, 4, 5, 6, r); }, 6, u'C'},
      {[](svg::PathSegmentList& l, bool r) { svg::QuadTo(l, 1, 2, 3, 4, r); }, 8, u'Q'},
      {[](svg::PathSegmentList& l, bool r) { svg::ArcTo(l, 1, 2, 3, true, false, 5, 6, r); }, 10, u'A'},
      {[](svg::PathSegmentList& l, bool r) { svg::HLineTo(l, 1, r); }, 12, u'H'},
      {[](svg::PathSegmentList& l, bool r) { svg::VLineTo(l, 1, r); }, 14, u'V'},
      {[](svg::PathSegmentList& l, bool r) { svg::SmoothCurveTo(l, 1, 2, 3, 4, r); }, 16, u'S'},
      {[](svg::PathSegmentList& l, bool r) { svg::SmoothQuadTo(l, 1, 2, r); }, 18, u'T'},
  };
  for (const auto& c : cases) {
    svg::PathSegmentList list;
    c.append(list, false);
    c.append(list, true);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->Type(), c.absoluteType);
    EXPECT_EQ(list[0]->Letter(), c.absoluteLetter);
    EXPECT_FALSE(list[0]->IsRelative());
    EXPECT_EQ(list[1]->Type(), c.absoluteType + 1);
    EXPECT_EQ(list[1]->Letter(), c.absoluteLetter + 32);
    EXPECT_TRUE(list[1]->IsRelative());
  }
  svg::PathSegmentList list;
  svg::ClosePath(list);
  EXPECT_EQ(list[0]->Type(), 1u);
  EXPECT_EQ(list[0]->Letter(), u'Z');
}

TEST(PathGeometry, LinesMovesAndCloses) {
  using V = std::vector<Vertex>;
  EXPECT_EQ(Draw("M 0 0 L 10 0 L 10 10 Z l 5 5"),
            (V{{0, 0, kMove}, {10, 0, kLine}, {10, 10, kLine}, {0, 0, kClose}, {5, 5, kLine}}));
  EXPECT_EQ(Draw("M 1 2 H 5 v 3 h -1 V 0"),
            (V{{1, 2, kMove}, {5, 2, kLine}, {5, 5, kLine}, {4, 5, kLine}, {4, 0, kLine}}));
  EXPECT_EQ(Draw("H 5 v 3"), V{});
  EXPECT_EQ(Draw("m 5 5 l 1 1"), (V{{5, 5, kMove}, {6, 6, kLine}}));
  EXPECT_EQ(Draw("M 10 10 c 1 1 2 2 3 3"),
            (V{{10, 10, kMove}, {11, 11, kCurve4}, {12, 12, kCurve4}, {13, 13, kCurve4}}));
  EXPECT_EQ(Draw("M 10 10 q 1 1 2 2"), (V{{10, 10, kMove}, {11, 11, kCurve3}, {12, 12, kCurve3}}));
  EXPECT_EQ(Draw("L 5 5 Z"), (V{{5, 5, kLine}, {0, 0, kClose}}));
  EXPECT_EQ(Draw("Z"), V{});
  EXPECT_EQ(Draw("M 0 0 L 1 1 Z Z"), (V{{0, 0, kMove}, {1, 1, kLine}, {0, 0, kClose}}));
  EXPECT_EQ(Draw("M 3 4 L 5 5 Z L 6 6 Z"),
            (V{{3, 4, kMove}, {5, 5, kLine}, {3, 4, kClose}, {6, 6, kLine}, {3, 4, kClose}}));
  EXPECT_EQ(Draw("M 0 0 L 1 1 Z M 5 5 L 6 6 Z m 1 1"), (V{{0, 0, kMove},
                                                          {1, 1, kLine},
                                                          {0, 0, kClose},
                                                          {5, 5, kMove},
                                                          {6, 6, kLine},
                                                          {5, 5, kClose},
                                                          {6, 6, kMove}}));
}

TEST(PathGeometry, SmoothCurvesReflectThePreviousControlPoint) {
  using V = std::vector<Vertex>;
  const V cubic = Draw("M 0 0 C 0 10 10 10 10 0 S 20 -10 20 0");
  ASSERT_EQ(cubic.size(), 7u);
  EXPECT_EQ((V{cubic.begin() + 4, cubic.end()}),
            (V{{10, -10, kCurve4}, {20, -10, kCurve4}, {20, 0, kCurve4}}));

  const V relative = Draw("M 0 0 C 0 10 10 10 10 0 s 10 -10 10 0");
  EXPECT_EQ(relative, cubic);

  const V quadratic = Draw("M 0 0 Q 5 10 10 0 T 20 0");
  EXPECT_EQ((V{quadratic.begin() + 3, quadratic.end()}), (V{{15, -10, kCurve3}, {20, 0, kCurve3}}));

  // Without a curve of its own kind just before, the first control point is the current point.
  const struct {
    const char* text;
    V tail;
  } starts[] = {
      {"M 0 0 L 10 0 S 20 10 20 0", {{10, 0, kCurve4}, {20, 10, kCurve4}, {20, 0, kCurve4}}},
      {"M 0 0 C 0 5 5 5 5 0 L 10 0 S 20 10 20 0", {{10, 0, kCurve4}, {20, 10, kCurve4}, {20, 0, kCurve4}}},
      {"M 0 0 Q 5 5 10 0 S 20 10 20 0", {{10, 0, kCurve4}, {20, 10, kCurve4}, {20, 0, kCurve4}}},
      {"M 0 0 C 0 5 5 5 10 0 T 20 0", {{10, 0, kCurve3}, {20, 0, kCurve3}}},
      {"M 0 0 Q 5 5 5 0 L 10 0 T 20 0", {{10, 0, kCurve3}, {20, 0, kCurve3}}},
      {"M 0 0 A 5 5 0 0 1 10 0 S 20 10 20 0", {{10, 0, kCurve4}, {20, 10, kCurve4}, {20, 0, kCurve4}}},
      {"M 0 0 T 10 0 T 20 0", {{0, 0, kCurve3}, {10, 0, kCurve3}, {20, 0, kCurve3}, {20, 0, kCurve3}}},
  };
  for (const auto& c : starts) {
    const V vertices = Draw(c.text);
    ASSERT_GE(vertices.size(), c.tail.size()) << c.text;
    EXPECT_EQ((V{vertices.end() - static_cast<std::ptrdiff_t>(c.tail.size()), vertices.end()}), c.tail) << c.text;
  }
  EXPECT_EQ(Draw("S 1 1 2 2 T 3 3"), V{});
  EXPECT_EQ(Draw("M 0 0 L 1 0 Z T 3 3").size(), 3u);
}

TEST(PathGeometry, ArcsBecomeCubicCurvesOrLines) {
  using V = std::vector<Vertex>;
  EXPECT_EQ(Draw("M 0 0 A 0 5 0 0 1 10 0"), (V{{0, 0, kMove}, {10, 0, kLine}}));
  EXPECT_EQ(Draw("M 0 0 A 5 1e-31 0 0 1 10 0"), (V{{0, 0, kMove}, {10, 0, kLine}}));
  EXPECT_EQ(Draw("M 0 0 A 5 5 0 0 1 0 0"), (V{{0, 0, kMove}}));
  EXPECT_EQ(Draw("A 5 5 0 0 1 10 0"), (V{{10, 0, kMove}}));
  EXPECT_EQ(Draw("M 0 0 L 1 0 Z a 5 5 0 0 1 10 0").back(), (Vertex{10, 0, kMove}));

  // Radii too small to reach the end point are scaled up, unless they are far too small.
  EXPECT_EQ(Draw("M 0 0 A 1 1 0 0 1 10 0"), (V{{0, 0, kMove}, {10, 0, kLine}}));
  for (const char* text : {"M 0 0 A 5 5 0 0 1 10 0", "M 0 0 A 2 2 0 0 1 10 0", "M 0 0 A -5 -5 0 0 1 10 0",
                           "M 0 0 a 5 5 0 1 1 10 0"}) {
    const V arc = Draw(text);
    ASSERT_GE(arc.size(), 4u) << text;
    EXPECT_EQ((arc.size() - 1) % 3, 0u) << text;
    double minY = 0.0;
    for (size_t i = 1; i < arc.size(); ++i) {
      EXPECT_EQ(arc[i].command, kCurve4) << text;
      EXPECT_LE(arc[i].y, 1e-9) << text;
      if (i % 3 == 0) {
        EXPECT_NEAR(std::hypot(arc[i].x - 5, arc[i].y), 5.0, 1e-9) << text;
        minY = std::min(minY, arc[i].y);
      }
    }
    EXPECT_NEAR(minY, -5.0, 1e-9) << text;
    EXPECT_EQ(arc.back(), (Vertex{10, 0, kCurve4})) << text;
  }

  const V swept = Draw("M 0 0 A 5 5 0 0 0 10 0");
  for (const auto& v : swept) EXPECT_GE(v.y, -1e-9);
  EXPECT_EQ(Draw("M 10 10 a 5 5 0 0 1 10 0").back(), (Vertex{20, 10, kCurve4}));
}

TEST(PathHostile, AMillionSegmentsStayLinear) {
  std::u16string text = u"M0 0";
  for (int i = 0; i < 500'000; ++i) text += u"L1 1Z";
  svg::PathSegmentList list;
  svg::ParsePathData(text, list);
  ASSERT_EQ(list.size(), 1'000'001u);
  agg::path_storage path;
  svg::AppendSegments(list, path);
  ASSERT_EQ(path.total_vertices(), 1'000'001u);
  double x = 1.0;
  double y = 1.0;
  EXPECT_EQ(path.last_vertex(&x, &y), kClose);
  EXPECT_EQ(x, 0.0);
  EXPECT_EQ(y, 0.0);
}

}  // namespace
