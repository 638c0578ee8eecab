#pragma once

#include <CLI/CLI.hpp>

#include <cstdint>
#include <optional>
#include <string_view>

#include "host/geometry.h"

namespace graphel_cli {

// A colour typed on the command line: whatever the SVG colour parser reads (names, #rgb, #rrggbb,
// rgb(...), none), and for compatibility RRGGBBAA or RRGGBB in hexadecimal (a leading # allowed) and
// r,g,b[,a] with channels in 0..1. Channels come back in 0..1 with straight alpha; nullopt when the
// text is none of these.
std::optional<zal::AColor> ParseColourText(std::string_view text);

// The same colour as R, G, B, A bytes in memory order, premultiplied, as the renderer's background.
uint32_t PackPremultiplied(const zal::AColor& colour);

// Checks a colour option as CLI11 parses it, naming the accepted forms when it is none of them.
CLI::Validator ColourValidator();

}  // namespace graphel_cli
