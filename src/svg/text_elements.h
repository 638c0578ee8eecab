#pragma once

#include "svg/element.h"

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
