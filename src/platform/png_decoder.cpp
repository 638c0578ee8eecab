#include <png.h>

#include <csetjmp>
#include <new>

#include "platform/picture_decoder.h"

namespace platform {
namespace {

// Ancillary chunks (text, ICC profiles) bigger than this are refused rather than allocated.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t{8} << 20;

// libpng reports errors by longjmp. Everything that owns memory lives in this object, outside the
// frame that is jumped back into, so a jump never skips a destructor.
class PngReader {
 public:
  PngReader() {
    png_ = png_create_read_struct(PNG_LIBPNG_VER_STRING, this, &PngReader::OnError, &PngReader::OnWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  ~PngReader() { png_destroy_read_struct(&png_, &info_, nullptr); }
  PngReader(const PngReader&) = delete;
  PngReader& operator=(const PngReader&) = delete;

  bool Read(std::FILE* file, DecodedPicture& picture, std::string& error);

 private:
  static void OnError(png_structp png, png_const_charp message) {
    auto* reader = static_cast<PngReader*>(png_get_error_ptr(png));
    reader->message_ = message;
    png_longjmp(png, 1);
  }
  // Warnings (unknown chunks, odd profiles) never stop a picture and are not printed.
  static void OnWarning(png_structp, png_const_charp) {}

  // Asks libpng for 8-bit R, G, B, A whatever the file stores.
  void RequestRgba8();

  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
  std::string message_;
  std::unique_ptr<uint8_t[]> pixels_;
  std::unique_ptr<png_bytep[]> rows_;
};

void PngReader::RequestRgba8() {
  const png_byte colourType = png_get_color_type(png_, info_);
  const png_byte bitDepth = png_get_bit_depth(png_, info_);
  const bool transparentColour = png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
  if (colourType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png_);
  if (colourType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png_);
  if (transparentColour) png_set_tRNS_to_alpha(png_);
  if (bitDepth == 16) png_set_scale_16(png_);
  if ((colourType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png_);
  if ((colourType & PNG_COLOR_MASK_ALPHA) == 0 && !transparentColour) png_set_filler(png_, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png_);
  png_read_update_info(png_, info_);
}

bool PngReader::Read(std::FILE* file, DecodedPicture& picture, std::string& error) {
  if (png_ == nullptr || info_ == nullptr) {
    error = "PNG: out of memory";
    return false;
  }
  if (setjmp(png_jmpbuf(png_))) {
    error = "PNG: " + message_;
    return false;
  }
  png_init_io(png_, file);
  png_set_user_limits(png_, kMaxPictureSide, kMaxPictureSide);
  png_set_chunk_malloc_max(png_, kMaxChunkBytes);
  png_read_info(png_, info_);

  const png_uint_32 width = png_get_image_width(png_, info_);
  const png_uint_32 height = png_get_image_height(png_, info_);
  if (!PictureSizeAllowed(width, height)) {
    error = "PNG: picture too large";
    return false;
  }
  const png_byte colourType = png_get_color_type(png_, info_);
  picture.hasAlpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png_, info_, PNG_INFO_tRNS) != 0;
  double gamma = 0.0;
  if (png_get_gAMA(png_, info_, &gamma) != 0) picture.fileGamma = gamma;

  RequestRgba8();
  const size_t stride = static_cast<size_t>(width) * 4;
  if (png_get_rowbytes(png_, info_) != stride || png_get_bit_depth(png_, info_) != 8) {
    error = "PNG: unexpected pixel layout";
    return false;
  }
  pixels_.reset(new (std::nothrow) uint8_t[stride * height]);
  rows_.reset(new (std::nothrow) png_bytep[height]);
  if (pixels_ == nullptr || rows_ == nullptr) {
    error = "PNG: out of memory";
    return false;
  }
  for (png_uint_32 y = 0; y < height; ++y) rows_[y] = pixels_.get() + y * stride;
  // A file that ends inside the image data fails here; what follows the image data is not needed.
  png_read_image(png_, rows_.get());

  picture.pixels = std::move(pixels_);
  picture.width = width;
  picture.height = height;
  return true;
}

}  // namespace

bool DecodePng(std::FILE* file, DecodedPicture& picture, std::string& error) {
  PngReader reader;
  return reader.Read(file, picture, error);
}

}  // namespace platform
