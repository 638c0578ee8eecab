#include "render/references.h"

#include <algorithm>

#include "svg/document.h"

namespace render {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::u16string_view LocalReference(std::u16string_view text) {
  text = Trim(text);
  if (text.substr(0, 4) == u"url(") {
    text.remove_prefix(4);
    text = text.substr(0, text.find(u')'));
    text = Trim(text);
    if (!text.empty() && (text.front() == u'"' || text.front() == u'\'')) {
      const char16_t quote = text.front();
      text.remove_prefix(1);
      text = text.substr(0, text.find(quote));
    }
  }
  text = Trim(text);
  return !text.empty() && text.front() == u'#' ? text : std::u16string_view();
}

std::u16string_view PaintFallback(std::u16string_view text) {
  const size_t close = text.find(u')');
  if (close == std::u16string_view::npos) return {};
  return Trim(text.substr(close + 1));
}

bool IsOnReferenceChain(std::u16string_view reference, const RenderContext& context) {
  if (reference.size() < 2 || reference.front() != u'#') return false;
  const std::u16string_view id = reference.substr(1);
  const auto& chain = context.referenceChain;
  return std::find(chain.begin(), chain.end(), id) != chain.end();
}

svg::SVGElement* ResolveGuarded(svg::SVGElement& element, std::u16string_view reference,
                                const RenderContext& context, bool fromTopmostRoot) {
  if (reference.size() < 2 || reference.front() != u'#') return nullptr;
  if (IsOnReferenceChain(reference, context)) return nullptr;
  const std::u16string_view id = reference.substr(1);
  svg::SVGElement* root = &element;
  if (fromTopmostRoot) {
    while (root->ownerSvg != nullptr) root = root->ownerSvg;
  } else if (element.ownerSvg != nullptr) {
    root = element.ownerSvg;
  }
  return svg::FindById(root, id);
}

bool Contains(const svg::SVGElement& ancestor, const svg::SVGElement& element) {
  for (const svg::SVGElement* at = &element; at != nullptr; at = at->parent) {
    if (at == &ancestor) return true;
  }
  return false;
}

ReferenceGuard::ReferenceGuard(RenderContext& context, const svg::SVGElement& element) : context_(context) {
  if (element.id) {
    context_.referenceChain.push_back(*element.id);
    pushed_ = true;
  }
}

ReferenceGuard::~ReferenceGuard() {
  if (pushed_) context_.referenceChain.pop_back();
}

}  // namespace render
