#include "platform/picture_decoder.h"

#include <algorithm>
#include <array>

#include "platform/regular_file.h"

namespace platform {
namespace {

constexpr std::array<uint8_t, 8> kPngSignature{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr std::array<uint8_t, 3> kJpegStart{0xFF, 0xD8, 0xFF};

}  // namespace

PictureFormat SniffPictureFormat(const uint8_t* bytes, size_t size) {
  if (size >= kPngSignature.size() && std::equal(kPngSignature.begin(), kPngSignature.end(), bytes)) {
    return PictureFormat::kPng;
  }
  if (size >= kJpegStart.size() && std::equal(kJpegStart.begin(), kJpegStart.end(), bytes)) {
    return PictureFormat::kJpeg;
  }
  return PictureFormat::kUnknown;
}

bool PictureSizeAllowed(uint64_t width, uint64_t height) {
  return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

bool DecodePictureFile(const std::string& path, DecodedPicture& picture, std::string& error) {
  picture = DecodedPicture{};
  const FileHandle file = OpenRegularFile(path);
  if (file == nullptr) {
    error = "can't open " + path + " as a regular file";
    return false;
  }
  std::array<uint8_t, 8> head{};
  const size_t read = std::fread(head.data(), 1, head.size(), file.get());
  if (std::fseek(file.get(), 0, SEEK_SET) != 0) {
    error = "can't read " + path;
    return false;
  }
  bool decoded = false;
  switch (SniffPictureFormat(head.data(), read)) {
    case PictureFormat::kPng:
      decoded = DecodePng(file.get(), picture, error);
      break;
    case PictureFormat::kJpeg:
      decoded = DecodeJpeg(file.get(), picture, error);
      break;
    case PictureFormat::kUnknown:
      error = "neither PNG nor JPEG data";
      break;
  }
  if (!decoded) picture = DecodedPicture{};
  return decoded;
}

}  // namespace platform
