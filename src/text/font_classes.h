#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The generic CSS families as font classes, using the values of the Windows pitch-and-family byte so
// that fonts and candidates compare by one number.
namespace text {

inline constexpr uint8_t kNamedFamily = 0;
inline constexpr uint8_t kSerifClass = 16;
inline constexpr uint8_t kSansSerifClass = 32;
inline constexpr uint8_t kMonospaceClass = 48;
inline constexpr uint8_t kCursiveClass = 64;
inline constexpr uint8_t kFantasyClass = 80;

inline constexpr uint8_t kFixedPitch = 1;
inline constexpr uint8_t kVariablePitch = 2;

struct GenericFamily {
  std::string_view name;
  uint8_t fontClass;
};

inline constexpr std::array<GenericFamily, 5> kGenericFamilies = {{
    {"serif", kSerifClass},
    {"sans-serif", kSansSerifClass},
    {"monospace", kMonospaceClass},
    {"cursive", kCursiveClass},
    {"fantasy", kFantasyClass},
}};

// The class a candidate family name asks for: one of the generic names exactly (case-sensitive), or
// kNamedFamily.
uint8_t GenericFontClass(std::u16string_view candidate);

// The class a font counts as for a generic candidate. Old fonts mark their pitch inconsistently with
// their family, so a fixed-pitch serif font counts as monospace and a variable-pitch modern or
// fixed-and-variable serif font as sans-serif.
uint8_t EffectiveFontClass(uint8_t pitchAndFamily);

}  // namespace text
