#include "svg/document.h"

#include "platform/temp_folder.h"
#include "svg/element_factory.h"

namespace svg {
namespace {

bool IsSplitChar(char16_t c) { return c == u' ' || c == u'\t' || c == u','; }

}  // namespace

SVGDocument::~SVGDocument() { platform::ClearTemporaryFolder(); }

bool SVGDocument::OpenElement(ElementType type) {
  if (current_ == nullptr) {
    if (type != ElementType::kSvg) return false;
    current_ = this;
    currentSvg_ = this;
    return true;
  }
  std::unique_ptr<SVGElement> element = CreateElement(type);
  if (element == nullptr) return false;
  element->ownerSvg = currentSvg_;
  element->viewportElement = currentSvg_;
  current_ = current_->AppendChild(std::move(element));
  if (type == ElementType::kSvg) currentSvg_ = static_cast<SVGSVGElement*>(current_);
  return true;
}

bool SVGDocument::CloseElement() {
  if (current_ == nullptr) return false;
  current_ = current_ == this ? nullptr : current_->parent;
  return current_ != nullptr;
}

void SVGDocument::SetProperty(PropertyId id, std::u16string_view text, uint32_t flags) {
  if ((flags & kFlagToRule) != 0) {
    svg::SetProperty(pendingRule, id, text, flags & ~kFlagFromStyleAttribute);
    return;
  }
  if (current_ == nullptr) return;
  const ElementType type = current_->type;
  const bool withClipRect = type == ElementType::kSvg || type == ElementType::kSymbol ||
                            type == ElementType::kImage || type == ElementType::kPattern;
  svg::SetProperty(current_->style, id, text, flags, withClipRect);
}

void SVGDocument::SetScriptProperty(PropertyId id, std::u16string_view text, uint32_t flags) {
  if ((flags & kFlagToRule) != 0) {
    svg::SetScriptProperty(pendingRule, id, text, flags & ~kFlagFromStyleAttribute);
  } else if (current_ != nullptr) {
    svg::SetScriptProperty(current_->style, id, text, flags);
  }
}

void SVGDocument::SetId(std::u16string_view text) {
  if (current_ != nullptr) current_->id = std::u16string(text);
}

void SVGDocument::SetXmlBase(std::u16string_view text) {
  if (current_ != nullptr) current_->xmlBase.Set(text);
}

void SVGDocument::SetXmlSpace(std::u16string_view text) {
  if (current_ != nullptr) current_->xmlSpace.Set(text);
}

bool SVGDocument::SetClass(std::u16string_view text) {
  if (current_ == nullptr) return false;
  if (current_->classList == nullptr) current_->classList = std::make_unique<StringListValue>();
  return current_->classList->Set(text);
}

void SVGDocument::AddStyleRule(std::u16string_view selector) {
  styleSheet.selectorTexts.emplace_back(selector);
  size_t i = 0;
  while (i < selector.size()) {
    while (i < selector.size() && IsSplitChar(selector[i])) ++i;
    const size_t start = i;
    while (i < selector.size() && !IsSplitChar(selector[i])) ++i;
    if (i > start) styleSheet.rules.push_back(StyleRule{std::u16string(selector.substr(start, i - start)), pendingRule});
  }
}

SVGElement* FindById(SVGElement* start, std::u16string_view id) {
  if (start == nullptr) return nullptr;
  for (const auto& child : start->children) {
    if (child->id && *child->id == id) return child.get();
    if (SVGElement* found = FindById(child.get(), id)) return found;
  }
  return nullptr;
}

SVGElement* ResolveReference(SVGElement* element, std::u16string_view reference) {
  if (element == nullptr || reference.empty() || reference.front() != u'#') return nullptr;
  SVGElement* root = element;
  while (root->ownerSvg != nullptr) root = root->ownerSvg;
  return FindById(root, reference.substr(1));
}

size_t CountElements(const SVGElement& root) {
  size_t count = 1;
  for (const auto& child : root.children) count += CountElements(*child);
  return count;
}

}  // namespace svg
