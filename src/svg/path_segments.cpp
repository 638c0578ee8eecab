#include "svg/path_segments.h"

#include <agg_bezier_arc.h>

#include <cmath>
#include <initializer_list>

#include "svg/values.h"

namespace svg {
namespace {

constexpr double kDegreesToRadians = 3.14159265358979323846 / 180.0;
constexpr double kMinimumRadius = 1e-30;
constexpr double kMinimumArcChord = 1e-30;
constexpr double kArcJoinDistance = 1e-14;

struct Offset {
  double x = 0.0;
  double y = 0.0;
};

// What a relative segment adds to its points: the last vertex stored, whatever its command.
Offset OffsetFor(const SVGPathSeg& segment, const agg::path_storage& path) {
  Offset offset;
  if (segment.IsRelative() && path.total_vertices() > 0) path.last_vertex(&offset.x, &offset.y);
  return offset;
}

void WriteNumbers(std::u16string& out, const SVGPathSeg& segment, char16_t previous,
                  std::initializer_list<double> numbers) {
  if (segment.Letter() != previous) {
    out.push_back(segment.Letter());
    out.push_back(u' ');
  }
  bool first = true;
  for (const double number : numbers) {
    if (!first) out.push_back(u' ');
    out += FormatNumber(number);
    first = false;
  }
}

// Start of a smooth curve: the previous control point mirrored through the last vertex when the
// segment before is a curve of the same kind, else the last vertex itself. False when there is no
// vertex to continue from.
bool SmoothControlPoint(const agg::path_storage& path, bool reflects, double& cx, double& cy) {
  if (!agg::is_vertex(path.last_vertex(&cx, &cy))) return false;
  double px = 0.0;
  double py = 0.0;
  if (reflects && agg::is_curve(path.prev_vertex(&px, &py))) {
    cx = 2.0 * cx - px;
    cy = 2.0 * cy - py;
  }
  return true;
}

// Start of the current subpath. A closing vertex written by this file already carries it, so the
// search stops there too and long runs of closed subpaths stay linear.
void SubpathStart(const agg::path_storage& path, double& x, double& y) {
  x = 0.0;
  y = 0.0;
  for (unsigned i = path.total_vertices(); i-- > 0;) {
    double vx = 0.0;
    double vy = 0.0;
    const unsigned command = path.vertex(i, &vx, &vy);
    if (agg::is_move_to(command) || agg::is_close(command)) {
      x = vx;
      y = vy;
      return;
    }
  }
}

}  // namespace

void SVGPathSegClosePath::AppendTo(agg::path_storage& path) const {
  double lastX = 0.0;
  double lastY = 0.0;
  if (!agg::is_vertex(path.last_vertex(&lastX, &lastY))) return;
  double startX = 0.0;
  double startY = 0.0;
  SubpathStart(path, startX, startY);
  path.vertices().add_vertex(startX, startY,
                             unsigned{agg::path_cmd_end_poly} | unsigned{agg::path_flags_close});
}

// The letter is repeated on every close so that written path data keeps one segment per close.
void SVGPathSegClosePath::Write(std::u16string& out, char16_t) const { out.push_back(Letter()); }

void SVGPathSegMoveto::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  path.move_to(x_ + o.x, y_ + o.y);
}

void SVGPathSegMoveto::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x_, y_});
}

void SVGPathSegLineto::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  path.line_to(x_ + o.x, y_ + o.y);
}

void SVGPathSegLineto::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x_, y_});
}

void SVGPathSegCurvetoCubic::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  path.curve4(x1_ + o.x, y1_ + o.y, x2_ + o.x, y2_ + o.y, x_ + o.x, y_ + o.y);
}

void SVGPathSegCurvetoCubic::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x1_, y1_, x2_, y2_, x_, y_});
}

void SVGPathSegCurvetoQuadratic::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  path.curve3(x1_ + o.x, y1_ + o.y, x_ + o.x, y_ + o.y);
}

void SVGPathSegCurvetoQuadratic::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x1_, y1_, x_, y_});
}

void SVGPathSegArc::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  const double x = x_ + o.x;
  const double y = y_ + o.y;
  double lastX = 0.0;
  double lastY = 0.0;
  if (!agg::is_vertex(path.last_vertex(&lastX, &lastY))) {
    path.move_to(x, y);
    return;
  }
  if (std::fabs(r1_) < kMinimumRadius || std::fabs(r2_) < kMinimumRadius) {
    path.line_to(x, y);
    return;
  }
  if (std::hypot(x - lastX, y - lastY) < kMinimumArcChord) return;

  // The AGG arc scales radii that are too small to reach the end point, and gives up on absurd ones.
  agg::bezier_arc_svg arc(lastX, lastY, std::fabs(r1_), std::fabs(r2_), angle_ * kDegreesToRadians, largeArc_,
                          sweep_, x, y);
  if (!arc.radii_ok()) {
    path.line_to(x, y);
    return;
  }
  arc.rewind(0);
  double vx = 0.0;
  double vy = 0.0;
  unsigned command = arc.vertex(&vx, &vy);
  if (agg::is_stop(command)) return;
  if (std::hypot(vx - lastX, vy - lastY) >= kArcJoinDistance) path.line_to(vx, vy);
  while (!agg::is_stop(command = arc.vertex(&vx, &vy))) path.vertices().add_vertex(vx, vy, command);
}

void SVGPathSegArc::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {r1_, r2_, angle_, largeArc_ ? 1.0 : 0.0, sweep_ ? 1.0 : 0.0, x_, y_});
}

void SVGPathSegLinetoHorizontal::AppendTo(agg::path_storage& path) const {
  if (path.total_vertices() == 0) return;
  double lastX = 0.0;
  double lastY = 0.0;
  path.last_vertex(&lastX, &lastY);
  path.line_to(IsRelative() ? lastX + x_ : x_, lastY);
}

void SVGPathSegLinetoHorizontal::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x_});
}

void SVGPathSegLinetoVertical::AppendTo(agg::path_storage& path) const {
  if (path.total_vertices() == 0) return;
  double lastX = 0.0;
  double lastY = 0.0;
  path.last_vertex(&lastX, &lastY);
  path.line_to(lastX, IsRelative() ? lastY + y_ : y_);
}

void SVGPathSegLinetoVertical::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {y_});
}

void SVGPathSegCurvetoCubicSmooth::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  double cx = 0.0;
  double cy = 0.0;
  if (!SmoothControlPoint(path, reflects_, cx, cy)) return;
  path.curve4(cx, cy, x2_ + o.x, y2_ + o.y, x_ + o.x, y_ + o.y);
}

void SVGPathSegCurvetoCubicSmooth::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x2_, y2_, x_, y_});
}

void SVGPathSegCurvetoQuadraticSmooth::AppendTo(agg::path_storage& path) const {
  const Offset o = OffsetFor(*this, path);
  double cx = 0.0;
  double cy = 0.0;
  if (!SmoothControlPoint(path, reflects_, cx, cy)) return;
  path.curve3(cx, cy, x_ + o.x, y_ + o.y);
}

void SVGPathSegCurvetoQuadraticSmooth::Write(std::u16string& out, char16_t previous) const {
  WriteNumbers(out, *this, previous, {x_, y_});
}

}  // namespace svg
