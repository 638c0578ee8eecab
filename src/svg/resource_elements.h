#pragma once

#include "svg/element.h"

namespace svg {

class SVGGradientElement : public SVGElement, public SVGURIReference {
 public:
  KeywordValue gradientUnits{KeywordGroup::kUnits};
  KeywordValue spreadMethod{KeywordGroup::kSpreadMethod};
  TransformValue gradientTransform;

 protected:
  explicit SVGGradientElement(ElementType type) : SVGElement(type) {}
};

class SVGLinearGradientElement : public SVGGradientElement {
 public:
  SVGLinearGradientElement() : SVGGradientElement(ElementType::kLinearGradient) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue x1, y1, x2, y2;
};

class SVGRadialGradientElement : public SVGGradientElement {
 public:
  SVGRadialGradientElement() : SVGGradientElement(ElementType::kRadialGradient) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue cx, cy, r, fx, fy;
};

class SVGStopElement : public SVGElement {
 public:
  SVGStopElement() : SVGElement(ElementType::kStop) {}
  std::vector<AttributeBinding> Attributes() override;

  NumberValue offset;
};

class SVGPatternElement : public SVGElement, public SVGFitToViewBox, public SVGURIReference, public SVGTests {
 public:
  SVGPatternElement() : SVGElement(ElementType::kPattern) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue x, y, width, height;
  KeywordValue patternUnits{KeywordGroup::kUnits};
  KeywordValue patternContentUnits{KeywordGroup::kUnits};
  TransformValue patternTransform;
};

class SVGClipPathElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGClipPathElement() : SVGElement(ElementType::kClipPath) {}
  std::vector<AttributeBinding> Attributes() override;

  KeywordValue clipPathUnits{KeywordGroup::kUnits};
};

class SVGMaskElement : public SVGElement, public SVGTests {
 public:
  SVGMaskElement() : SVGElement(ElementType::kMask) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue x, y, width, height;
  KeywordValue maskUnits{KeywordGroup::kUnits};
  KeywordValue maskContentUnits{KeywordGroup::kUnits};
};

}  // namespace svg
