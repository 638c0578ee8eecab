#pragma once

#include <string>
#include <string_view>

namespace text {

// The text of one element as it is laid out. Tabs, line feeds and carriage returns become spaces.
// Unless preserve is set, runs of spaces become one space and a leading space goes when the text
// before ended with one; trailing spaces stay. endsWithSpace says whether the text laid out before
// ended with a space (true at the start of a text element, so its leading spaces go) and is updated
// when the result is not empty.
std::u16string CollapseWhiteSpace(std::u16string_view text, bool preserve, bool& endsWithSpace);

}  // namespace text
