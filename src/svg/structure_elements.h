#pragma once

#include "svg/element.h"
#include "svg/script_callback.h"

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
  void Render(render::RenderContext context) override;

  // An instance fills its viewport unless width or height say otherwise.
  LengthValue x, y;
  LengthValue width{LengthUnit::kPercent, 100.0};
  LengthValue height{LengthUnit::kPercent, 100.0};
};

class SVGImageElement : public SVGElement,
                        public SVGFitToViewBox,
                        public SVGTransformable,
                        public SVGURIReference,
                        public SVGTests {
 public:
  SVGImageElement() : SVGElement(ElementType::kImage) {}
  std::vector<AttributeBinding> Attributes() override;
  void Render(render::RenderContext context) override;

  LengthValue x, y, width, height;

  // The decoded picture; once it holds pixels every later render reuses it.
  PictureRecord picture;
  std::u16string pictureExtension;  // "png" or "jpg" for embedded data, else the file's own
  std::u16string pictureFragment;   // the text after the last "#" of a linked file's path
  // The viewport in the element's user units, as last resolved.
  double resolvedX = 0.0, resolvedY = 0.0, resolvedWidth = 0.0, resolvedHeight = 0.0;
};

}  // namespace svg
