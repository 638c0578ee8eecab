#pragma once

#include <cstdint>
#include <string_view>

#include <agg_color_rgba.h>

namespace svg {

// Parses an SVG colour: names (case ignored), system colour names, #rgb, #rrggbb, rgb(...) with or
// without percentages, currentColor and none. Unknown text gives opaque black.
agg::rgba8 ParseColour(std::u16string_view text, agg::rgba8 currentColour);

// Looks a colour keyword up in the named-colour table, then among the system colours; opaque black
// when unknown.
agg::rgba8 LookupColourName(std::u16string_view name);

// Refreshes the process-wide system-colour table; called at the start of every load.
void InitSystemColours();

}  // namespace svg
