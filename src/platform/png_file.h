#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Writes an 8-bit RGBA PNG from rows of straight (un-premultiplied) R, G, B, A bytes, top row first.
// Returns false, with a message in error, when the file can't be written.
bool WritePng(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height, std::string& error);

// Converts premultiplied R, G, B, A bytes to straight alpha in place.
void Unpremultiply(uint8_t* pixels, size_t pixelCount);

}  // namespace platform
