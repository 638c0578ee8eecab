#include "text/font_classes.h"

namespace text {
namespace {

bool EqualsAscii(std::u16string_view text, std::string_view ascii) {
  if (text.size() != ascii.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != static_cast<char16_t>(static_cast<unsigned char>(ascii[i]))) return false;
  }
  return true;
}

}  // namespace

uint8_t GenericFontClass(std::u16string_view candidate) {
  for (const GenericFamily& generic : kGenericFamilies) {
    if (EqualsAscii(candidate, generic.name)) return generic.fontClass;
  }
  return kNamedFamily;
}

uint8_t EffectiveFontClass(uint8_t pitchAndFamily) {
  const uint8_t family = pitchAndFamily & 0xF0;
  const uint8_t pitch = pitchAndFamily & 0x0F;
  if (family == kSerifClass && (pitch & 1) != 0) return (pitch & 2) != 0 ? kSansSerifClass : kMonospaceClass;
  if (family == kMonospaceClass && (pitch & 2) != 0) return kSansSerifClass;
  return family;
}

}  // namespace text
