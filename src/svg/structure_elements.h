#pragma once

#include "svg/element.h"

namespace svg {

class SVGSVGElement : public SVGElement, public SVGFitToViewBox, public SVGTests {
 public:
  SVGSVGElement() : SVGElement(ElementType::kSvg) {}
  std::vector<AttributeBinding> Attributes() override;
  void Render(render::RenderContext context) override;

  LengthValue x, y;
  LengthValue width{LengthUnit::kPercent, 100.0};
  LengthValue height{LengthUnit::kPercent, 100.0};

  // The viewport in the parent's user units, as last resolved.
  double resolvedX = 0.0, resolvedY = 0.0, resolvedWidth = 0.0, resolvedHeight = 0.0;
};

class SVGGroupElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGGroupElement() : SVGElement(ElementType::kG) {}
  void Render(render::RenderContext context) override;
};

class SVGAElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGAElement() : SVGElement(ElementType::kA) {}
  void Render(render::RenderContext context) override;
};

class SVGDefsElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGDefsElement() : SVGElement(ElementType::kDefs) {}
};

class SVGUnknownElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGUnknownElement() : SVGElement(ElementType::kUnknown) {}
};

class SVGTitleElement : public SVGElement {
 public:
  SVGTitleElement() : SVGElement(ElementType::kTitle) {}
  bool IsTextContent() const override { return true; }
};

class SVGDescElement : public SVGElement {
 public:
  SVGDescElement() : SVGElement(ElementType::kDesc) {}
  bool IsTextContent() const override { return true; }
};

class SVGSymbolElement : public SVGElement, public SVGFitToViewBox {
 public:
  SVGSymbolElement() : SVGElement(ElementType::kSymbol) {}
  std::vector<AttributeBinding> Attributes() override;
};

class SVGUseElement : public SVGElement, public SVGTransformable, public SVGURIReference, public SVGTests {
 public:
  SVGUseElement() : SVGElement(ElementType::kUse) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue x, y, width, height;
};

class SVGImageElement : public SVGElement,
                        public SVGFitToViewBox,
                        public SVGTransformable,
                        public SVGURIReference,
                        public SVGTests {
 public:
  SVGImageElement() : SVGElement(ElementType::kImage) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue x, y, width, height;
};

}  // namespace svg
