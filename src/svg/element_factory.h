#pragma once

#include <memory>

#include "svg/element.h"

namespace svg {

// Builds the element class of a type; tags 22-25 are built as unknown elements. Null for types
// without a class (style, or above 31).
std::unique_ptr<SVGElement> CreateElement(ElementType type);

}  // namespace svg
