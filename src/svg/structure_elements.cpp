#include "svg/structure_elements.h"

namespace svg {

std::vector<AttributeBinding> SVGSVGElement::Attributes() {
  return {{u"x", &x},
          {u"y", &y},
          {u"width", &width},
          {u"height", &height},
          {u"viewBox", &viewBox},
          {u"preserveAspectRatio", &preserveAspectRatio}};
}

std::vector<AttributeBinding> SVGSymbolElement::Attributes() {
  return {{u"viewBox", &viewBox}, {u"preserveAspectRatio", &preserveAspectRatio}};
}

std::vector<AttributeBinding> SVGUseElement::Attributes() {
  return {{u"x", &x}, {u"y", &y}, {u"width", &width}, {u"height", &height}, {u"xlink:href", &href}};
}

std::vector<AttributeBinding> SVGImageElement::Attributes() {
  return {{u"x", &x},
          {u"y", &y},
          {u"width", &width},
          {u"height", &height},
          {u"preserveAspectRatio", &preserveAspectRatio},
          {u"xlink:href", &href}};
}

}  // namespace svg
