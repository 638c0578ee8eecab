#include "svg/element.h"

#include <algorithm>

namespace svg {

void Rect::Unite(const Rect& other) {
  if (other.IsEmpty()) return;
  if (IsEmpty()) {
    *this = other;
    return;
  }
  x1 = std::min(x1, other.x1);
  y1 = std::min(y1, other.y1);
  x2 = std::max(x2, other.x2);
  y2 = std::max(y2, other.y2);
}

SVGElement::~SVGElement() {
  if (borrowedChildren) {
    for (auto& child : children) static_cast<void>(child.release());
  }
}

bool SVGElement::GetBBox(Rect&, const BoundsQuery&, const agg::trans_affine&) { return false; }

bool SVGElement::WriteSVG(std::u16string* out, SvgScriptCallback* callback) {
  if (out == nullptr) return false;
  for (const AttributeBinding& binding : Attributes()) {
    if (binding.value->IsSpecified()) AppendAttribute(*out, binding.name, binding.value->ToText(callback));
  }
  return true;
}

bool SVGElement::ReadAttribute(std::u16string_view name, std::u16string_view value, bool& script) {
  // Drawings written for SVG 2 name their references plain "href".
  const std::u16string_view wanted = name == u"href" ? u"xlink:href" : name;
  for (const AttributeBinding& binding : Attributes()) {
    if (binding.name == wanted) {
      script = binding.value->Set(value);
      return true;
    }
  }
  return false;
}

SVGElement* SVGElement::AppendChild(std::unique_ptr<SVGElement> child) {
  child->parent = this;
  children.push_back(std::move(child));
  return children.back().get();
}

agg::trans_affine SVGElement::OwnTransform(SvgScriptCallback* callback) const {
  // Later declarations of one store apply first, as when styles are merged.
  agg::trans_affine combined;
  for (const Declaration& declaration : style.Declarations()) {
    if (declaration.id != PropertyId::kTransform) continue;
    agg::trans_affine own = declaration.transform;
    if (declaration.type == DeclarationType::kScript) {
      if (callback == nullptr) continue;
      own = ParseTransformList(Expand(callback, declaration.text));
    }
    own.multiply(combined);
    combined = own;
  }
  return combined;
}

void SVGElement::AppendAttribute(std::u16string& out, std::u16string_view name, std::u16string_view text) {
  if (text.empty()) return;
  out += u' ';
  out += name;
  out += u"=\"";
  out += text;
  out += u'"';
}

}  // namespace svg
