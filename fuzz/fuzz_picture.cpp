#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/picture_decoder.h"

// Decodes arbitrary bytes as a picture file, the way linked and embedded images reach the decoder.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/graphel_fuzz_picture_" + std::to_string(::getpid());
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  platform::DecodedPicture picture;
  std::string error;
  const bool decoded = platform::DecodePictureFile(path, picture, error);
  if (decoded && (picture.pixels == nullptr || !platform::PictureSizeAllowed(picture.width, picture.height))) {
    __builtin_trap();
  }
  if (!decoded && picture.pixels != nullptr) __builtin_trap();
  if (decoded) {
    // Touch the last byte, so a buffer shorter than width x height x 4 shows under the sanitiser.
    volatile uint8_t last = picture.pixels[static_cast<size_t>(picture.width) * picture.height * 4 - 1];
    static_cast<void>(last);
  }
  return 0;
}
