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

const Declaration* RuleDisplay(const StyleSheet& sheet, std::u16string_view selector) {
  if (selector.empty()) return nullptr;
  for (const StyleRule& rule : sheet.rules) {
    if (rule.selector == selector) return FirstDisplay(rule.declarations);
  }
  return nullptr;
}

}  // namespace

bool IsDisplayNone(const SVGElement& element, const StyleSheet* styleSheet) {
  const Declaration* display = FirstDisplay(element.style);
  if (display == nullptr && styleSheet != nullptr) {
    display = RuleDisplay(*styleSheet, ElementTagName(element.type));
    if (display == nullptr && element.classList != nullptr) {
      for (const std::u16string& name : element.classList->Items()) {
        for (const StyleRule& rule : styleSheet->rules) {
          if (rule.selector.size() == name.size() + 1 && rule.selector[0] == u'.' &&
              std::u16string_view(rule.selector).substr(1) == name) {
            display = FirstDisplay(rule.declarations);
            if (display != nullptr) break;
          }
        }
        if (display != nullptr) break;
      }
    }
    if (display == nullptr && element.id) display = RuleDisplay(*styleSheet, u"#" + *element.id);
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
