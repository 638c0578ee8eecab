#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "svg/structure_elements.h"

namespace svg {

class SvgScriptCallback;

struct StyleRule {
  std::u16string selector;  // one word: a tag name, ".class" or "#id"
  PropertyStore declarations;
};

struct StyleSheet {
  std::vector<StyleRule> rules;
  std::vector<std::u16string> selectorTexts;  // each selector as written, before it was split
};

// Visits the rules that apply to element, in the order they are applied: the first rule for its tag,
// every rule for each of classNames (classes in order, rules in sheet order), the first rule for
// its id. Other selector forms never match, as words are compared whole. visit returns false to stop.
template <typename Visit>
void ForEachMatchingRule(const StyleSheet& sheet, const SVGElement& element,
                         const std::vector<std::u16string>& classNames, Visit visit) {
  if (sheet.rules.empty()) return;
  auto first = [&](std::u16string_view selector) {
    for (const StyleRule& rule : sheet.rules) {
      if (rule.selector == selector) return visit(rule);
    }
    return true;
  };
  const std::u16string_view tag = ElementTagName(element.type);
  if (!tag.empty() && !first(tag)) return;
  for (const std::u16string& name : classNames) {
    for (const StyleRule& rule : sheet.rules) {
      if (rule.selector.size() == name.size() + 1 && rule.selector[0] == u'.' &&
          std::u16string_view(rule.selector).substr(1) == name && !visit(rule)) {
        return;
      }
    }
  }
  if (element.id) first(u"#" + *element.id);
}

// A loaded drawing: the root svg element itself, plus what the whole drawing shares. Built by the
// XML reader or directly through the building operations.
class SVGDocument : public SVGSVGElement {
 public:
  SVGDocument(double gamma, SvgScriptCallback* callback) : gamma(gamma), scriptCallback(callback) {}
  ~SVGDocument() override;

  // Creates an element as the last child of the current one and makes it current. With no current
  // element only svg is accepted, and the document itself becomes the root.
  bool OpenElement(ElementType type);
  // The parent becomes current; returns whether a current element remains.
  bool CloseElement();
  SVGElement* CurrentElement() const { return current_; }

  // flags as for the property setters: kFlagToRule directs the value into the pending rule.
  void SetProperty(PropertyId id, std::u16string_view text, uint32_t flags);
  void SetScriptProperty(PropertyId id, std::u16string_view text, uint32_t flags);
  void SetId(std::u16string_view text);
  void SetXmlBase(std::u16string_view text);
  void SetXmlSpace(std::u16string_view text);
  // Returns whether the class text held a script expression.
  bool SetClass(std::u16string_view text);
  // Splits selector at space, tab and "," and adds one rule per word with the pending declarations.
  void AddStyleRule(std::u16string_view selector);

  PropertyStore pendingRule;
  StyleSheet styleSheet;
  double gamma;
  bool hasScripts = false;
  SvgScriptCallback* scriptCallback;
  std::u16string baseFolder;

 private:
  SVGElement* current_ = nullptr;
  SVGSVGElement* currentSvg_ = nullptr;
};

// Depth-first, pre-order search of start's descendants (start itself excluded).
SVGElement* FindById(SVGElement* start, std::u16string_view id);

// Resolves "#id" from the outermost svg element above element; null for other forms.
SVGElement* ResolveReference(SVGElement* element, std::u16string_view reference);

// Number of elements in the tree under root, root included.
size_t CountElements(const SVGElement& root);

}  // namespace svg
