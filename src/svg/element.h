#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <agg_trans_affine.h>

#include "svg/element_types.h"
#include "svg/property_store.h"
#include "svg/values.h"

namespace render {
class Canvas;
struct RenderContext;
}  // namespace render

namespace svg {

class SVGSVGElement;
class SvgScriptCallback;
struct StyleSheet;

// Axis-aligned box; empty while x1 > x2 or y1 > y2.
struct Rect {
  double x1 = 0.0, y1 = 0.0, x2 = -1.0, y2 = -1.0;

  bool IsEmpty() const { return x1 > x2 || y1 > y2; }
  void Unite(const Rect& other);
};

// What a bounding-box query needs besides the element: script evaluation, the style sheet (for
// display), and the canvas whose font engine measures text (may be null).
struct BoundsQuery {
  SvgScriptCallback* callback = nullptr;
  const StyleSheet* styleSheet = nullptr;
  render::Canvas* canvas = nullptr;
};

// One attribute an element class reads into one of its values.
struct AttributeBinding {
  std::u16string_view name;
  ValueBase* value;
};

class SVGStylable {
 public:
  virtual ~SVGStylable() = default;

  std::unique_ptr<StringListValue> classList;  // created by the first class attribute
  PropertyStore style;                          // the element's own declarations
};

class SVGTransformable {
 public:
  virtual ~SVGTransformable() = default;
};

class SVGFitToViewBox {
 public:
  virtual ~SVGFitToViewBox() = default;

  ViewBoxValue viewBox;
  PreserveAspectRatioValue preserveAspectRatio;
};

class SVGURIReference {
 public:
  virtual ~SVGURIReference() = default;

  StringValue href;
};

// Conditional-processing lists; the reader never fills them.
class SVGTests {
 public:
  virtual ~SVGTests() = default;

  StringListValue requiredFeatures;
  StringListValue requiredExtensions;
  StringListValue systemLanguage;
};

class SVGElement : public SVGStylable {
 public:
  explicit SVGElement(ElementType type) : type(type) {}
  ~SVGElement() override;
  SVGElement(const SVGElement&) = delete;
  SVGElement& operator=(const SVGElement&) = delete;

  // Draws the element (and, for containers, its subtree); consumes its own copy of the context.
  virtual void Render(render::RenderContext context);
  virtual bool IsTextContent() const { return false; }
  // Widens box by the element's own geometry under matrix; false when it has none.
  virtual bool GetBBox(Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix);
  // Appends the element's own attributes (" name=\"value\"" each); false when out is null.
  virtual bool WriteSVG(std::u16string* out, SvgScriptCallback* callback);
  // Takes an attribute this class reads itself; script is set when the value held "zls(".
  virtual bool ReadAttribute(std::u16string_view name, std::u16string_view value, bool& script);
  // The attributes this class reads itself, in the order they are written back.
  virtual std::vector<AttributeBinding> Attributes() { return {}; }

  SVGElement* AppendChild(std::unique_ptr<SVGElement> child);
  // The transform declared by the element itself (identity when none).
  agg::trans_affine OwnTransform(SvgScriptCallback* callback) const;
  bool IsViewportElement() const { return type == ElementType::kSvg; }

  std::optional<std::u16string> id;
  StringValue xmlBase;
  KeywordValue xmlSpace{KeywordGroup::kXmlSpace};
  SVGSVGElement* ownerSvg = nullptr;
  SVGElement* viewportElement = nullptr;
  SVGElement* parent = nullptr;
  ElementType type;
  std::vector<std::unique_ptr<SVGElement>> children;
  // Set on temporary elements that share another element's children; they are then not destroyed.
  bool borrowedChildren = false;
  std::optional<std::u16string> text;

  // Reference values for lengths, refreshed while rendering.
  double viewportWidth = 1024.0;
  double viewportHeight = 1024.0;
  double fontSize = 12.0;
  double viewportDiagonal = 1024.0;

 protected:
  // " name=\"text\"" when text is not empty.
  static void AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view text);
};

}  // namespace svg
