#include "support/png_reader.h"

#include <png.h>

namespace testing_support {
namespace {

// Larger references than this are a mistake in the test data, not something to allocate for.
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;

// png_image must be released on every path once begin_read has succeeded.
class ImageReader {
 public:
  ImageReader() { image_.version = PNG_IMAGE_VERSION; }
  ~ImageReader() { png_image_free(&image_); }
  ImageReader(const ImageReader&) = delete;
  ImageReader& operator=(const ImageReader&) = delete;
  png_image& Image() { return image_; }

 private:
  png_image image_{};
};

}  // namespace

bool ReadPng(const std::string& path, std::vector<uint8_t>& rgba, uint32_t& width, uint32_t& height,
             std::string& error) {
  rgba.clear();
  width = height = 0;
  ImageReader reader;
  png_image& image = reader.Image();
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    error = path + ": " + image.message;
    return false;
  }
  if (uint64_t{image.width} * image.height > kMaxPixels) {
    error = path + ": image too large";
    return false;
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) {
    error = path + ": " + image.message;
    return false;
  }
  width = image.width;
  height = image.height;
  rgba = std::move(pixels);
  return true;
}

}  // namespace testing_support
