#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace platform {

// Pictures larger than this are refused from their header, before any pixel memory is taken:
// at most 16384 pixels per side and 2^26 pixels in all (256 MiB of RGBA).
inline constexpr uint32_t kMaxPictureSide = 16384;
inline constexpr uint64_t kMaxPicturePixels = uint64_t{1} << 26;

// Working memory the JPEG decoder may use besides the picture itself (progressive files keep every
// coefficient of the image).
inline constexpr long kMaxJpegWorkingMemory = 512L << 20;
// A progressive JPEG may announce thousands of tiny scans, each of which walks the whole image.
inline constexpr int kMaxJpegScans = 1000;

enum class PictureFormat { kUnknown, kPng, kJpeg };

// A decoded picture: R, G, B, A bytes with straight (un-premultiplied) alpha, rows top first,
// stride width * 4.
struct DecodedPicture {
  std::unique_ptr<uint8_t[]> pixels;
  uint32_t width = 0;
  uint32_t height = 0;
  bool hasAlpha = false;  // the file stores transparency (an alpha channel or a transparent colour)
  double fileGamma = 0.0;  // the PNG gAMA value; 0 when the file gives none
};

// PNG by its 8-byte signature, JPEG by its start-of-image marker.
PictureFormat SniffPictureFormat(const uint8_t* bytes, size_t size);

bool PictureSizeAllowed(uint64_t width, uint64_t height);

// Decodes a PNG or JPEG file, chosen by its content, never by its name. Truncated or corrupt data
// fails as a whole: no partial picture is returned. false with a reason in error.
bool DecodePictureFile(const std::string& path, DecodedPicture& picture, std::string& error);

// The two decoders, reading from the start of an open file.
bool DecodePng(std::FILE* file, DecodedPicture& picture, std::string& error);
bool DecodeJpeg(std::FILE* file, DecodedPicture& picture, std::string& error);

}  // namespace platform
