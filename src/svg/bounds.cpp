#include "svg/bounds.h"

#include "svg/document.h"

namespace svg {
namespace {

// display is not inherited: the element's first own declaration wins, then the first matching rule
// (tag, classes, id); declarations that say "inherit" are passed over.
const Declaration* FirstDisplay(const PropertyStore& store) {
  for (const Declaration& declaration : store.Declarations()) {
    if (declaration.id == PropertyId::kDisplay && !declaration.inherit) return &declaration;
  }
  return nullptr;
}

}  // namespace

bool IsDisplayNone(const SVGElement& element, const StyleSheet* styleSheet) {
  const Declaration* display = FirstDisplay(element.style);
  if (display == nullptr && styleSheet != nullptr) {
    static const std::vector<std::u16string> kNoClasses;
    const auto& classes = element.classList != nullptr ? element.classList->Items() : kNoClasses;
    ForEachMatchingRule(*styleSheet, element, classes, [&](const StyleRule& rule) {
      display = FirstDisplay(rule.declarations);
      return display == nullptr;
    });
  }
  return display != nullptr && display->type == DeclarationType::kKeyword && display->keyword == kDisplayNone;
}

void SubtreeBounds(SVGElement& element, Rect& box, const BoundsQuery& query, const agg::trans_affine& matrix) {
  if (IsDisplayNone(element, query.styleSheet)) return;
  element.GetBBox(box, query, matrix);
  if (element.type == ElementType::kText) return;
  for (const auto& child : element.children) {
    agg::trans_affine childMatrix = child->OwnTransform(query.callback);
    childMatrix.multiply(matrix);
    SubtreeBounds(*child, box, query, childMatrix);
  }
}

}  // namespace svg
