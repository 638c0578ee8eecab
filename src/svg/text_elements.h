#pragma once

#include "svg/element.h"
#include "text/glyph_record.h"

namespace svg {

class SVGTextContentElement : public SVGElement, public SVGTests {
 public:
  bool IsTextContent() const override { return true; }

 protected:
  explicit SVGTextContentElement(ElementType type) : SVGElement(type) {}
};

class SVGTextPositioningElement : public SVGTextContentElement {
 public:
  std::vector<AttributeBinding> Attributes() override;

  LengthListValue x, y, dx, dy;
  NumberListValue rotate;
  LengthValue textLength;

 protected:
  explicit SVGTextPositioningElement(ElementType type) : SVGTextContentElement(type) {}
};

class SVGTextElement : public SVGTextPositioningElement, public SVGTransformable {
 public:
  SVGTextElement() : SVGTextPositioningElement(ElementType::kText) {}

  // Lays out and draws the whole text subtree.
  void Render(render::RenderContext context) override;
  // Lays the text out again and widens box by its glyph boxes under matrix.
  bool GetBBox(Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix) override;

  // Every glyph of the text as the last layout placed it, in the element's user space.
  text::GlyphRecordList glyphRecords;
};

class SVGTSpanElement : public SVGTextPositioningElement {
 public:
  SVGTSpanElement() : SVGTextPositioningElement(ElementType::kTSpan) {}
};

class SVGTRefElement : public SVGTextPositioningElement, public SVGURIReference {
 public:
  SVGTRefElement() : SVGTextPositioningElement(ElementType::kTRef) {}
  std::vector<AttributeBinding> Attributes() override;
};

class SVGTextPathElement : public SVGTextPositioningElement, public SVGURIReference {
 public:
  SVGTextPathElement() : SVGTextPositioningElement(ElementType::kTextPath) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue startOffset;
  KeywordValue method{KeywordGroup::kTextPathMethod};
  KeywordValue spacing{KeywordGroup::kTextPathSpacing};
};

}  // namespace svg
