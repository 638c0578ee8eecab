#pragma once

#include <string>
#include <string_view>

#include "render/render_context.h"

namespace svg {
class SVGElement;
}

namespace render {

// The "#id" inside a url(...) property text (leading white space and quotes allowed); empty when
// the text names no local element.
std::u16string_view LocalReference(std::u16string_view text);

// The text after a url(...) reference: the fallback colour of a paint, or empty.
std::u16string_view PaintFallback(std::u16string_view text);

// Resolves "#id" from the outermost svg element above element, unless the id is already being
// expanded on this branch of the walk (a reference loop): then null.
svg::SVGElement* ResolveGuarded(svg::SVGElement& element, std::u16string_view reference,
                                const RenderContext& context, bool fromTopmostRoot);

// Whether "#id" is already being expanded on this branch of the walk: following it would loop.
bool IsOnReferenceChain(std::u16string_view reference, const RenderContext& context);

// Whether ancestor is element or one of its ancestors, along the parents (which lead from a use's
// instance to the use): a use of such an element would contain itself.
bool Contains(const svg::SVGElement& ancestor, const svg::SVGElement& element);

// Along an href chain (gradients, patterns), an attribute the referencing element leaves unset is
// taken from the element it references.
template <typename Value>
void TakeIfUnset(Value& mine, const Value& theirs) {
  if (!mine.IsSpecified()) mine = theirs;
}

// Keeps an id on the context's reference chain for the lifetime of the guard.
class ReferenceGuard {
 public:
  ReferenceGuard(RenderContext& context, const svg::SVGElement& element);
  ~ReferenceGuard();
  ReferenceGuard(const ReferenceGuard&) = delete;
  ReferenceGuard& operator=(const ReferenceGuard&) = delete;

 private:
  RenderContext& context_;
  bool pushed_ = false;
};

}  // namespace render
