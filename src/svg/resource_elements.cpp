#include "svg/resource_elements.h"

namespace svg {

std::vector<AttributeBinding> SVGLinearGradientElement::Attributes() {
  return {{u"x1", &x1},
          {u"y1", &y1},
          {u"x2", &x2},
          {u"y2", &y2},
          {u"gradientUnits", &gradientUnits},
          {u"spreadMethod", &spreadMethod},
          {u"gradientTransform", &gradientTransform},
          {u"xlink:href", &href}};
}

std::vector<AttributeBinding> SVGRadialGradientElement::Attributes() {
  return {{u"cx", &cx},
          {u"cy", &cy},
          {u"r", &r},
          {u"fx", &fx},
          {u"fy", &fy},
          {u"gradientUnits", &gradientUnits},
          {u"spreadMethod", &spreadMethod},
          {u"gradientTransform", &gradientTransform},
          {u"xlink:href", &href}};
}

std::vector<AttributeBinding> SVGStopElement::Attributes() { return {{u"offset", &offset}}; }

std::vector<AttributeBinding> SVGPatternElement::Attributes() {
  return {{u"x", &x},
          {u"y", &y},
          {u"width", &width},
          {u"height", &height},
          {u"patternUnits", &patternUnits},
          {u"patternContentUnits", &patternContentUnits},
          {u"patternTransform", &patternTransform},
          {u"viewBox", &viewBox},
          {u"preserveAspectRatio", &preserveAspectRatio},
          {u"xlink:href", &href}};
}

std::vector<AttributeBinding> SVGClipPathElement::Attributes() { return {{u"clipPathUnits", &clipPathUnits}}; }

std::vector<AttributeBinding> SVGMaskElement::Attributes() {
  return {{u"x", &x},
          {u"y", &y},
          {u"width", &width},
          {u"height", &height},
          {u"maskUnits", &maskUnits},
          {u"maskContentUnits", &maskContentUnits}};
}

}  // namespace svg
