#include <algorithm>
#include <cmath>

#include <agg_bezier_arc.h>

#include "svg/exception.h"
#include "svg/script_callback.h"
#include "svg/shape_elements.h"

namespace svg {
namespace {

constexpr double kFullTurn = 6.283185307179586;

void AddEllipse(agg::path_storage& path, double cx, double cy, double rx, double ry) {
  agg::bezier_arc arc(cx, cy, rx, ry, 0.0, kFullTurn);
  path.concat_path(arc);
  path.close_polygon();
}

// Corners as quarter-ellipse cubics, so they are flattened at the resolution they are drawn at.
void AddRoundedRect(agg::path_storage& path, double x1, double y1, double x2, double y2, double rx, double ry) {
  constexpr double kKappa = 0.5522847498307936;
  const double kx = rx * kKappa, ky = ry * kKappa;
  path.move_to(x1 + rx, y1);
  path.line_to(x2 - rx, y1);
  path.curve4(x2 - rx + kx, y1, x2, y1 + ry - ky, x2, y1 + ry);
  path.line_to(x2, y2 - ry);
  path.curve4(x2, y2 - ry + ky, x2 - rx + kx, y2, x2 - rx, y2);
  path.line_to(x1 + rx, y2);
  path.curve4(x1 + rx - kx, y2, x1, y2 - ry + ky, x1, y2 - ry);
  path.line_to(x1, y1 + ry);
  path.curve4(x1, y1 + ry - ky, x1 + rx - kx, y1, x1 + rx, y1);
  path.close_polygon();
}

void ReportParseError(SvgScriptCallback* callback, const exception& error) {
  if (callback != nullptr) callback->ReportError(static_cast<uint32_t>(error.Code()), error.Text());
}

}  // namespace

void SVGPathElement::BuildPath(agg::path_storage& path, SvgScriptCallback* callback) {
  path.remove_all();
  if (!pathScript.empty() && callback != nullptr) {
    const std::u16string expanded = Expand(callback, pathScript);
    if (!expanded.empty()) {
      try {
        ParsePathData(expanded, segments);
      } catch (const exception& error) {
        ReportParseError(callback, error);
      }
    }
  }
  AppendSegments(segments, path);
}

void SVGRectElement::BuildPath(agg::path_storage& path, SvgScriptCallback* callback) {
  path.remove_all();
  const double left = x.ToUserUnits(callback, viewportWidth, fontSize);
  const double top = y.ToUserUnits(callback, viewportHeight, fontSize);
  const double w = width.ToUserUnits(callback, viewportWidth, fontSize);
  const double h = height.ToUserUnits(callback, viewportHeight, fontSize);
  if (!(w > 0.0) || !(h > 0.0)) return;

  const double givenRx = rx.ToUserUnits(callback, viewportWidth, fontSize);
  const double givenRy = ry.ToUserUnits(callback, viewportHeight, fontSize);
  double radiusX = givenRx == 0.0 ? givenRy : givenRx;
  double radiusY = givenRy == 0.0 ? radiusX : givenRy;
  if (radiusX > 0.0) {
    radiusX = std::min(radiusX, w / 2);
    radiusY = std::min(radiusY, h / 2);
    AddRoundedRect(path, left, top, left + w, top + h, radiusX, radiusY);
    return;
  }
  path.move_to(left, top);
  path.line_to(left + w, top);
  path.line_to(left + w, top + h);
  path.line_to(left, top + h);
  path.close_polygon();
}

void SVGCircleElement::BuildPath(agg::path_storage& path, SvgScriptCallback* callback) {
  path.remove_all();
  const double radius = r.ToUserUnits(callback, viewportDiagonal, fontSize);
  if (!(radius > 0.0)) return;
  AddEllipse(path, cx.ToUserUnits(callback, viewportWidth, fontSize),
             cy.ToUserUnits(callback, viewportHeight, fontSize), radius, radius);
}

void SVGEllipseElement::BuildPath(agg::path_storage& path, SvgScriptCallback* callback) {
  path.remove_all();
  const double radiusX = rx.ToUserUnits(callback, viewportWidth, fontSize);
  const double radiusY = ry.ToUserUnits(callback, viewportHeight, fontSize);
  if (!(radiusX > 0.0) || !(radiusY > 0.0)) return;
  AddEllipse(path, cx.ToUserUnits(callback, viewportWidth, fontSize),
             cy.ToUserUnits(callback, viewportHeight, fontSize), radiusX, radiusY);
}

void SVGLineElement::BuildPath(agg::path_storage& path, SvgScriptCallback* callback) {
  path.remove_all();
  path.move_to(x1.ToUserUnits(callback, viewportWidth, fontSize), y1.ToUserUnits(callback, viewportHeight, fontSize));
  path.line_to(x2.ToUserUnits(callback, viewportWidth, fontSize), y2.ToUserUnits(callback, viewportHeight, fontSize));
}

void SVGPolyLineElement::BuildPath(agg::path_storage& path, SvgScriptCallback* callback) {
  path.remove_all();
  if (points.HasScript() && callback != nullptr) {
    const std::u16string expanded = Expand(callback, points.ScriptText());
    if (!expanded.empty()) {
      try {
        points.ParseInto(expanded);
      } catch (const exception& error) {
        ReportParseError(callback, error);
      }
    }
  }
  const std::vector<Point>& list = points.Items();
  if (list.size() < 2) return;
  path.move_to(list[0].x, list[0].y);
  for (size_t i = 1; i < list.size(); ++i) path.line_to(list[i].x, list[i].y);
  if (type == ElementType::kPolygon) path.close_polygon();
}

}  // namespace svg
