#pragma once

#include <agg_path_storage.h>

#include "svg/element.h"
#include "svg/path_data.h"

namespace svg {

// The path element and the six basic shapes share one render and one bounding box; each builds its
// own outline.
class SVGPathElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGPathElement() : SVGPathElement(ElementType::kPath) {}

  bool ReadAttribute(std::u16string_view name, std::u16string_view value, bool& script) override;
  bool WriteSVG(std::u16string* out, SvgScriptCallback* callback) override;
  bool GetBBox(Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix) override;
  void Render(render::RenderContext context) override;

  // Replaces path by the outline in the element's user units. Script-valued geometry is evaluated
  // through callback; a parse error there goes to the callback's error report.
  virtual void BuildPath(agg::path_storage& path, SvgScriptCallback* callback);

  // Parses d (or keeps it as a script); throws svg::exception on malformed data.
  bool SetPathData(std::u16string_view text);

  PathSegmentList segments;
  std::u16string pathScript;

 protected:
  explicit SVGPathElement(ElementType type) : SVGElement(type) {}
};

class SVGRectElement : public SVGPathElement {
 public:
  SVGRectElement() : SVGPathElement(ElementType::kRect) {}
  std::vector<AttributeBinding> Attributes() override;
  void BuildPath(agg::path_storage& path, SvgScriptCallback* callback) override;

  LengthValue x, y, width, height, rx, ry;
};

class SVGCircleElement : public SVGPathElement {
 public:
  SVGCircleElement() : SVGPathElement(ElementType::kCircle) {}
  std::vector<AttributeBinding> Attributes() override;
  void BuildPath(agg::path_storage& path, SvgScriptCallback* callback) override;

  LengthValue cx, cy, r;
};

class SVGEllipseElement : public SVGPathElement {
 public:
  SVGEllipseElement() : SVGPathElement(ElementType::kEllipse) {}
  std::vector<AttributeBinding> Attributes() override;
  void BuildPath(agg::path_storage& path, SvgScriptCallback* callback) override;

  LengthValue cx, cy, rx, ry;
};

class SVGLineElement : public SVGPathElement {
 public:
  SVGLineElement() : SVGPathElement(ElementType::kLine) {}
  std::vector<AttributeBinding> Attributes() override;
  void BuildPath(agg::path_storage& path, SvgScriptCallback* callback) override;

  LengthValue x1, y1, x2, y2;
};

class SVGPolyLineElement : public SVGPathElement {
 public:
  SVGPolyLineElement() : SVGPolyLineElement(ElementType::kPolyline) {}
  std::vector<AttributeBinding> Attributes() override;
  void BuildPath(agg::path_storage& path, SvgScriptCallback* callback) override;

  PointListValue points;

 protected:
  explicit SVGPolyLineElement(ElementType type) : SVGPathElement(type) {}
};

class SVGPolygonElement : public SVGPolyLineElement {
 public:
  SVGPolygonElement() : SVGPolyLineElement(ElementType::kPolygon) {}
};

}  // namespace svg
