#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include <agg_color_rgba.h>

namespace svg {

// What colour text names: a colour, the keyword none, or currentColor (which the caller resolves).
// Keywords are recognised case-insensitively and by prefix, after leading white space.
enum class ColourKeyword { kColour, kNone, kCurrentColour };
ColourKeyword ClassifyColour(std::u16string_view text);

// Parses an SVG colour: names (case ignored, "transparent" included), system colour names, #rgb,
// #rgba, #rrggbb, #rrggbbaa, rgb(...) and rgba(...) with or without percentages, hsl(...) and
// hsla(...), currentColor and none. Unknown or malformed text gives opaque black.
agg::rgba8 ParseColour(std::u16string_view text, agg::rgba8 currentColour);

// The same reading for code outside the SVG reader (the command line), on UTF-16 or UTF-8 text:
// straight (not premultiplied) RGBA, and false, leaving rgba alone, when the text is not a colour
// (currentColor included, as there is no current colour outside a drawing).
bool TryParseColour(std::u16string_view text, agg::rgba8& rgba);
bool TryParseColour(std::string_view utf8, agg::rgba8& rgba);

// Looks a colour keyword up in the named-colour table, then among the system colours; opaque black
// when unknown.
agg::rgba8 LookupColourName(std::u16string_view name);
// The same lookup, with nothing when the name is unknown.
std::optional<agg::rgba8> FindColourName(std::u16string_view name);

// Refreshes the process-wide system-colour table; called at the start of every load.
void InitSystemColours();

}  // namespace svg
