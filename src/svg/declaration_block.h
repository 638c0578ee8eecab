#pragma once

#include <functional>
#include <string_view>

namespace svg {

using DeclarationSink = std::function<void(std::u16string_view name, std::u16string_view value)>;

// Splits a declaration block ("fill: red; stroke: blue") into trimmed name/value pairs; comments
// are blanked first, and empty pieces are skipped.
void ForEachDeclaration(std::u16string_view block, const DeclarationSink& sink);

// Replaces every /* ... */ by spaces; an unterminated comment blanks the rest.
std::u16string BlankComments(std::u16string_view text);

}  // namespace svg
