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

  // The gradient vector runs across the box unless told otherwise.
  LengthValue x1, y1;
  LengthValue x2{LengthUnit::kPercent, 100.0};
  LengthValue y2;
};

class SVGRadialGradientElement : public SVGGradientElement {
 public:
  SVGRadialGradientElement() : SVGGradientElement(ElementType::kRadialGradient) {}
  std::vector<AttributeBinding> Attributes() override;

  LengthValue cx{LengthUnit::kPercent, 50.0};
  LengthValue cy{LengthUnit::kPercent, 50.0};
  LengthValue r{LengthUnit::kPercent, 50.0};
  // -999 stands for "the same as cx / cy".
  LengthValue fx{LengthUnit::kNone, -999.0};
  LengthValue fy{LengthUnit::kNone, -999.0};
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
  KeywordValue patternUnits{KeywordGroup::kUnits, kObjectBoundingBox};
  KeywordValue patternContentUnits{KeywordGroup::kUnits, kUserSpaceOnUse};
  TransformValue patternTransform;
};

class SVGClipPathElement : public SVGElement, public SVGTransformable, public SVGTests {
 public:
  SVGClipPathElement() : SVGElement(ElementType::kClipPath) {}
  std::vector<AttributeBinding> Attributes() override;

  KeywordValue clipPathUnits{KeywordGroup::kUnits, kUserSpaceOnUse};
};

class SVGMaskElement : public SVGElement, public SVGTests {
 public:
  SVGMaskElement() : SVGElement(ElementType::kMask) {}
  std::vector<AttributeBinding> Attributes() override;

  // The mask region reaches a tenth beyond the box on every side unless told otherwise.
  LengthValue x{LengthUnit::kPercent, -10.0};
  LengthValue y{LengthUnit::kPercent, -10.0};
  LengthValue width{LengthUnit::kPercent, 120.0};
  LengthValue height{LengthUnit::kPercent, 120.0};
  KeywordValue maskUnits{KeywordGroup::kUnits, kObjectBoundingBox};
  KeywordValue maskContentUnits{KeywordGroup::kUnits, kUserSpaceOnUse};
};

}  // namespace svg
