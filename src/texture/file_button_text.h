#pragma once

#include <string>
#include <string_view>

namespace graphel {

// The host's interface font stands in as a fixed-width measure: every character is this wide.
inline constexpr int kButtonCharacterWidth = 7;
// The file button of the "Parameters" panel.
inline constexpr int kFileButtonWidth = 160;

// The text width in pixels under the fixed-width measure.
int TextWidth(std::u16string_view text);

// What the file button shows for path: "None" for an empty path, else the path with slashes as
// backslashes, fitted into the button's width less 10 pixels by cutting the folder part from its end
// and marking the cut with "..." before the last backslash; when no folder is left, the file name is
// cut from its end and followed by "...".
std::u16string FileButtonText(std::u16string_view path, int buttonWidth = kFileButtonWidth);

}  // namespace graphel
