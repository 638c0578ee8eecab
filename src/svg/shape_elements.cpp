#include "svg/shape_elements.h"

#include "svg/values.h"

namespace svg {

// The basic shapes read and write their attributes through their bindings; only path has d.
bool SVGPathElement::ReadAttribute(std::u16string_view name, std::u16string_view value, bool& script) {
  if (type != ElementType::kPath) return SVGElement::ReadAttribute(name, value, script);
  if (name != u"d") return false;
  script = SetPathData(value);
  return true;
}

bool SVGPathElement::SetPathData(std::u16string_view text) {
  if (ContainsScript(text)) {
    pathScript = std::u16string(text);
    return true;
  }
  ParsePathData(text, segments);
  return false;
}

bool SVGPathElement::WriteSVG(std::u16string* out, SvgScriptCallback* callback) {
  if (type != ElementType::kPath) return SVGElement::WriteSVG(out, callback);
  if (out == nullptr) return false;
  if (!pathScript.empty()) {
    AppendAttribute(*out, u"d", Expand(callback, pathScript));
    return true;
  }
  *out += u" d=\"";
  *out += WriteSegments(segments);
  *out += u'"';
  return true;
}

bool SVGPathElement::GetBBox(Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix) {
  agg::path_storage path;
  BuildPath(path, query.callback);
  Rect own;
  for (unsigned i = 0; i < path.total_vertices(); ++i) {
    double x = 0.0, y = 0.0;
    if (!agg::is_vertex(path.vertex(i, &x, &y))) continue;
    matrix.transform(&x, &y);
    own.Unite(Rect{x, y, x, y});
  }
  box.Unite(own);
  return !box.IsEmpty();
}

std::vector<AttributeBinding> SVGRectElement::Attributes() {
  return {{u"x", &x}, {u"y", &y}, {u"width", &width}, {u"height", &height}, {u"rx", &rx}, {u"ry", &ry}};
}

std::vector<AttributeBinding> SVGCircleElement::Attributes() { return {{u"cx", &cx}, {u"cy", &cy}, {u"r", &r}}; }

std::vector<AttributeBinding> SVGEllipseElement::Attributes() {
  return {{u"cx", &cx}, {u"cy", &cy}, {u"rx", &rx}, {u"ry", &ry}};
}

std::vector<AttributeBinding> SVGLineElement::Attributes() {
  return {{u"x1", &x1}, {u"y1", &y1}, {u"x2", &x2}, {u"y2", &y2}};
}

std::vector<AttributeBinding> SVGPolyLineElement::Attributes() { return {{u"points", &points}}; }

}  // namespace svg
