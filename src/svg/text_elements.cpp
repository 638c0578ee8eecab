#include "svg/text_elements.h"

namespace svg {

std::vector<AttributeBinding> SVGTextPositioningElement::Attributes() {
  return {{u"x", &x}, {u"y", &y}, {u"dx", &dx}, {u"dy", &dy}, {u"rotate", &rotate}, {u"textLength", &textLength}};
}

std::vector<AttributeBinding> SVGTRefElement::Attributes() {
  std::vector<AttributeBinding> bindings{{u"xlink:href", &href}};
  for (const AttributeBinding& binding : SVGTextPositioningElement::Attributes()) bindings.push_back(binding);
  return bindings;
}

// textPath reads only its own attributes, not the positioning lists.
std::vector<AttributeBinding> SVGTextPathElement::Attributes() {
  return {{u"xlink:href", &href}, {u"startOffset", &startOffset}, {u"method", &method}, {u"spacing", &spacing}};
}

}  // namespace svg
