#pragma once

#include <agg_path_storage.h>

#include <cstdint>
#include <string>

#include "svg/path_data.h"

namespace svg {

// The concrete segment classes. Each absolute/relative pair shares its geometry; the relative one
// offsets its points by the last vertex already in the path.

class SVGPathSegClosePath final : public SVGPathSeg {
 public:
  SVGPathSegClosePath() : SVGPathSeg(1, u'Z') {}
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;
};

class SVGPathSegMoveto : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegMoveto(uint32_t type, char16_t letter, double x, double y)
      : SVGPathSeg(type, letter), x_(x), y_(y) {}

 private:
  double x_, y_;
};

class SVGPathSegLineto : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegLineto(uint32_t type, char16_t letter, double x, double y)
      : SVGPathSeg(type, letter), x_(x), y_(y) {}

 private:
  double x_, y_;
};

class SVGPathSegCurvetoCubic : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegCurvetoCubic(uint32_t type, char16_t letter, double x, double y, double x1, double y1, double x2,
                         double y2)
      : SVGPathSeg(type, letter), x_(x), y_(y), x1_(x1), y1_(y1), x2_(x2), y2_(y2) {}

 private:
  double x_, y_, x1_, y1_, x2_, y2_;
};

class SVGPathSegCurvetoQuadratic : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegCurvetoQuadratic(uint32_t type, char16_t letter, double x, double y, double x1, double y1)
      : SVGPathSeg(type, letter), x_(x), y_(y), x1_(x1), y1_(y1) {}

 private:
  double x_, y_, x1_, y1_;
};

class SVGPathSegArc : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegArc(uint32_t type, char16_t letter, double x, double y, double r1, double r2, double angle,
                bool largeArc, bool sweep)
      : SVGPathSeg(type, letter),
        x_(x),
        y_(y),
        r1_(r1),
        r2_(r2),
        angle_(angle),
        largeArc_(largeArc),
        sweep_(sweep) {}

 private:
  double x_, y_, r1_, r2_;
  double angle_;  // degrees
  bool largeArc_, sweep_;
};

class SVGPathSegLinetoHorizontal : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegLinetoHorizontal(uint32_t type, char16_t letter, double x) : SVGPathSeg(type, letter), x_(x) {}

 private:
  double x_;
};

class SVGPathSegLinetoVertical : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegLinetoVertical(uint32_t type, char16_t letter, double y) : SVGPathSeg(type, letter), y_(y) {}

 private:
  double y_;
};

class SVGPathSegCurvetoCubicSmooth : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegCurvetoCubicSmooth(uint32_t type, char16_t letter, double x, double y, double x2, double y2, bool reflects)
      : SVGPathSeg(type, letter), x_(x), y_(y), x2_(x2), y2_(y2), reflects_(reflects) {}

 private:
  double x_, y_, x2_, y2_;
  bool reflects_;  // the segment before is a curve of the same kind, whose control point is mirrored
};

class SVGPathSegCurvetoQuadraticSmooth : public SVGPathSeg {
 public:
  void AppendTo(agg::path_storage& path) const override;
  void Write(std::u16string& out, char16_t previous) const override;

 protected:
  SVGPathSegCurvetoQuadraticSmooth(uint32_t type, char16_t letter, double x, double y, bool reflects)
      : SVGPathSeg(type, letter), x_(x), y_(y), reflects_(reflects) {}

 private:
  double x_, y_;
  bool reflects_;  // the segment before is a curve of the same kind, whose control point is mirrored
};

class SVGPathSegMovetoAbs final : public SVGPathSegMoveto {
 public:
  SVGPathSegMovetoAbs(double x, double y) : SVGPathSegMoveto(2, u'M', x, y) {}
};
class SVGPathSegMovetoRel final : public SVGPathSegMoveto {
 public:
  SVGPathSegMovetoRel(double x, double y) : SVGPathSegMoveto(3, u'm', x, y) {}
};
class SVGPathSegLinetoAbs final : public SVGPathSegLineto {
 public:
  SVGPathSegLinetoAbs(double x, double y) : SVGPathSegLineto(4, u'L', x, y) {}
};
class SVGPathSegLinetoRel final : public SVGPathSegLineto {
 public:
  SVGPathSegLinetoRel(double x, double y) : SVGPathSegLineto(5, u'l', x, y) {}
};
class SVGPathSegCurvetoCubicAbs final : public SVGPathSegCurvetoCubic {
 public:
  SVGPathSegCurvetoCubicAbs(double x, double y, double x1, double y1, double x2, double y2)
      : SVGPathSegCurvetoCubic(6, u'C', x, y, x1, y1, x2, y2) {}
};
class SVGPathSegCurvetoCubicRel final : public SVGPathSegCurvetoCubic {
 public:
  SVGPathSegCurvetoCubicRel(double x, double y, double x1, double y1, double x2, double y2)
      : SVGPathSegCurvetoCubic(7, u'c', x, y, x1, y1, x2, y2) {}
};
class SVGPathSegCurvetoQuadraticAbs final : public SVGPathSegCurvetoQuadratic {
 public:
  SVGPathSegCurvetoQuadraticAbs(double x, double y, double x1, double y1)
      : SVGPathSegCurvetoQuadratic(8, u'Q', x, y, x1, y1) {}
};
class SVGPathSegCurvetoQuadraticRel final : public SVGPathSegCurvetoQuadratic {
 public:
  SVGPathSegCurvetoQuadraticRel(double x, double y, double x1, double y1)
      : SVGPathSegCurvetoQuadratic(9, u'q', x, y, x1, y1) {}
};
class SVGPathSegArcAbs final : public SVGPathSegArc {
 public:
  SVGPathSegArcAbs(double x, double y, double r1, double r2, double angle, bool largeArc, bool sweep)
      : SVGPathSegArc(10, u'A', x, y, r1, r2, angle, largeArc, sweep) {}
};
class SVGPathSegArcRel final : public SVGPathSegArc {
 public:
  SVGPathSegArcRel(double x, double y, double r1, double r2, double angle, bool largeArc, bool sweep)
      : SVGPathSegArc(11, u'a', x, y, r1, r2, angle, largeArc, sweep) {}
};
class SVGPathSegLinetoHorizontalAbs final : public SVGPathSegLinetoHorizontal {
 public:
  explicit SVGPathSegLinetoHorizontalAbs(double x) : SVGPathSegLinetoHorizontal(12, u'H', x) {}
};
class SVGPathSegLinetoHorizontalRel final : public SVGPathSegLinetoHorizontal {
 public:
  explicit SVGPathSegLinetoHorizontalRel(double x) : SVGPathSegLinetoHorizontal(13, u'h', x) {}
};
class SVGPathSegLinetoVerticalAbs final : public SVGPathSegLinetoVertical {
 public:
  explicit SVGPathSegLinetoVerticalAbs(double y) : SVGPathSegLinetoVertical(14, u'V', y) {}
};
class SVGPathSegLinetoVerticalRel final : public SVGPathSegLinetoVertical {
 public:
  explicit SVGPathSegLinetoVerticalRel(double y) : SVGPathSegLinetoVertical(15, u'v', y) {}
};
class SVGPathSegCurvetoCubicSmoothAbs final : public SVGPathSegCurvetoCubicSmooth {
 public:
  SVGPathSegCurvetoCubicSmoothAbs(double x, double y, double x2, double y2, bool reflects)
      : SVGPathSegCurvetoCubicSmooth(16, u'S', x, y, x2, y2, reflects) {}
};
class SVGPathSegCurvetoCubicSmoothRel final : public SVGPathSegCurvetoCubicSmooth {
 public:
  SVGPathSegCurvetoCubicSmoothRel(double x, double y, double x2, double y2, bool reflects)
      : SVGPathSegCurvetoCubicSmooth(17, u's', x, y, x2, y2, reflects) {}
};
class SVGPathSegCurvetoQuadraticSmoothAbs final : public SVGPathSegCurvetoQuadraticSmooth {
 public:
  SVGPathSegCurvetoQuadraticSmoothAbs(double x, double y, bool reflects)
      : SVGPathSegCurvetoQuadraticSmooth(18, u'T', x, y, reflects) {}
};
class SVGPathSegCurvetoQuadraticSmoothRel final : public SVGPathSegCurvetoQuadraticSmooth {
 public:
  SVGPathSegCurvetoQuadraticSmoothRel(double x, double y, bool reflects)
      : SVGPathSegCurvetoQuadraticSmooth(19, u't', x, y, reflects) {}
};

}  // namespace svg
