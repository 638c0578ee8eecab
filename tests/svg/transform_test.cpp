#include <gtest/gtest.h>

#include <string>

#include "support/test_support.h"
#include "svg/script_callback.h"
#include "svg/values.h"

namespace {

using testing_support::W;

struct Mapped {
  double x;
  double y;
};

bool SameMatrix(const agg::trans_affine& a, const agg::trans_affine& b) {
  return a.sx == b.sx && a.shy == b.shy && a.shx == b.shx && a.sy == b.sy && a.tx == b.tx && a.ty == b.ty;
}

Mapped Apply(const agg::trans_affine& m, double x, double y) {
  m.transform(&x, &y);
  return {x, y};
}

class FixedCallback : public svg::SvgScriptCallback {
 public:
  std::u16string text;
  void Begin(const agg::trans_affine&) override {}
  void End() override {}
  void Evaluate(std::u16string_view, std::u16string& result) override { result += text; }
  void ReportError(uint32_t, std::u16string_view) override {}
  bool LoadPicture(svg::PictureRecord&) override { return false; }
};

TEST(TransformList, FunctionsMapPoints) {
  struct Case {
    const char* text;
    double x, y;
    double expectedX, expectedY;
  };
  const Case cases[] = {
      {"rotate(90 10 10)", 20, 10, 10, 20},
      {"rotate(90)", 1, 0, 0, 1},
      {"translate(10 0) scale(2)", 1, 1, 12, 2},
      {"scale(2) translate(10 0)", 1, 1, 22, 2},
      {"translate(10,20)", 1, 1, 11, 21},
      {"translate(5)", 1, 1, 6, 1},
      {"scale(2 3)", 1, 1, 2, 3},
      {"skewX(45)", 0, 1, 1, 1},
      {"skewY(45)", 1, 0, 1, 1},
      {"matrix(1 2 3 4 5 6)", 1, 1, 9, 12},
      {"matrix(1,0,0,1,5,6,7,8)", 0, 0, 5, 6},
      {"translate(1-2)", 0, 0, 1, -2},
      {"translate(1.5.5)", 0, 0, 1.5, 0.5},
      {"translate(-.e1 3)", 0, 0, 3, 0},
      {"translate(1e1 -.5e1)", 0, 0, 10, -5},
      {"foo(1) translate(3 4)", 0, 0, 3, 4},
      {"Translate(3 4)", 0, 0, 0, 0},
      {"rotatex(90)", 1, 0, 0, 1},
      {"translate(3 4) scale(2", 1, 1, 4, 5},
  };
  for (const auto& c : cases) {
    const Mapped p = Apply(svg::ParseTransformList(W(c.text)), c.x, c.y);
    EXPECT_NEAR(p.x, c.expectedX, 1e-12) << c.text;
    EXPECT_NEAR(p.y, c.expectedY, 1e-12) << c.text;
  }
}

TEST(TransformList, IncompleteFunctionsLeaveTheTransformUnchanged) {
  for (const char* text : {"rotate(45 10)", "matrix(1 0 0 1 5)", "translate()", "scale( )", "skewX()",
                           "rotate()", "translate(10", "translate 10 20", "", "nothing here"}) {
    EXPECT_TRUE(SameMatrix(svg::ParseTransformList(W(text)), agg::trans_affine())) << text;
  }
}

TEST(TransformList, ScaleWithOneNumberIsUniform) {
  EXPECT_TRUE(SameMatrix(svg::ParseTransformList(u"scale(2)"), svg::ParseTransformList(u"scale(2 2)")));
  EXPECT_FALSE(SameMatrix(svg::ParseTransformList(u"scale(2)"), svg::ParseTransformList(u"scale(2 1)")));
}

TEST(TransformText, MatrixOrNothingForIdentity) {
  EXPECT_EQ(svg::TransformToText(agg::trans_affine()), u"");
  EXPECT_EQ(svg::TransformToText(agg::trans_affine(1, 1e-15, 0, 1, 0, -1e-15)), u"");
  EXPECT_EQ(svg::TransformToText(agg::trans_affine(1, 0, 0, 1, 0, 2e-14)), u"matrix(1 0 0 1 0 2e-14)");
  EXPECT_EQ(svg::TransformToText(agg::trans_affine_translation(10, 20)), u"matrix(1 0 0 1 10 20)");
  EXPECT_EQ(svg::TransformToText(agg::trans_affine(0.5, 0, 0, 1e6, 0.0001, 1e-5)),
            u"matrix(0.5 0 0 1e+06 0.0001 1e-05)");
}

TEST(TransformValue, ScriptReplacesTheStoredMatrixPerCall) {
  svg::TransformValue value;
  EXPECT_FALSE(value.Set(u"translate(1 2)"));
  EXPECT_EQ(value.ToText(nullptr), u"matrix(1 0 0 1 1 2)");

  FixedCallback callback;
  callback.text = u"translate(3 4)";
  EXPECT_TRUE(value.Set(u"zls(t)"));
  EXPECT_EQ(Apply(value.Get(nullptr), 0, 0).x, 1.0);
  EXPECT_EQ(Apply(value.Get(&callback), 0, 0).y, 4.0);
  EXPECT_EQ(value.ToText(&callback), u"translate(3 4)");
  callback.text.clear();
  EXPECT_EQ(Apply(value.Get(&callback), 0, 0).x, 1.0);
}

}  // namespace
