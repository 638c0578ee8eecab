#include "document/texture_settings.h"

#include <cmath>
#include <cstring>

namespace document {
namespace {

uint8_t ToByte(double channel) {
  if (!(channel > 0.0)) return 0;
  if (channel >= 1.0) return 255;
  return static_cast<uint8_t>(std::floor(channel * 255.0 + 0.5));
}

}  // namespace

uint32_t PackedColour(const ColourChannels& colour) {
  const uint8_t bytes[4] = {ToByte(colour.r), ToByte(colour.g), ToByte(colour.b), ToByte(colour.a)};
  uint32_t packed = 0;
  std::memcpy(&packed, bytes, 4);
  return packed;
}

}  // namespace document
