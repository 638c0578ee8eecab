// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <new>

#include "platform/picture_decoder.h"

namespace platform {
namespace {

struct JpegErrors {
  jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf jump;
  bool endOfData = false;
  char message[JMSG_LENGTH_MAX] = {};
};

JpegErrors& ErrorsOf(j_common_ptr info) { return *reinterpret_cast<JpegErrors*>(info->err); }

[[noreturn]] void OnError(j_common_ptr info) {
  JpegErrors& errors = ErrorsOf(info);
  errors.manager.format_message(info, errors.message);
  std::longjmp(errors.jump, 1);
}

// libjpeg pads a file that ends early with grey and only warns; such a picture is refused instead.
// Other warnings (stray bytes between markers) leave a usable picture, as viewers treat them.
void OnMessage(j_common_ptr info, int level) {
  JpegErrors& errors = ErrorsOf(info);
  if (level >= 0) return;
  ++errors.manager.num_warnings;
  if (errors.manager.msg_code == JWRN_JPEG_EOF) errors.endOfData = true;
}

void OnProgress(j_common_ptr info) {
  if (!info->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= kMaxJpegScans) return;
  JpegErrors& errors = ErrorsOf(info);
  std::snprintf(errors.message, sizeof errors.message, "more than %d scans", kMaxJpegScans);
  std::longjmp(errors.jump, 1);
}

// Adobe applications write CMYK inverted, which libjpeg passes through unchanged.
void CmykToRgba(uint8_t* pixels, size_t count, bool inverted) {
  for (size_t i = 0; i < count; ++i, pixels += 4) {
    unsigned c = pixels[0], m = pixels[1], y = pixels[2], k = pixels[3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    pixels[0] = static_cast<uint8_t>((c * k + 127) / 255);
    pixels[1] = static_cast<uint8_t>((m * k + 127) / 255);
    pixels[2] = static_cast<uint8_t>((y * k + 127) / 255);
    pixels[3] = 255;
  }
}

// libjpeg reports errors by longjmp; everything that owns memory lives in this object, outside
// the frame that is jumped back into.
class JpegReader {
 public:
  JpegReader() {
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = &OnError;
    errors_.manager.emit_message = &OnMessage;
    progress_.progress_monitor = &OnProgress;
  }
  ~JpegReader() {
    if (created_) jpeg_destroy_decompress(&info_);
  }
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  bool Read(std::FILE* file, DecodedPicture& picture, std::string& error);

 private:
  jpeg_decompress_struct info_{};
  JpegErrors errors_{};
  jpeg_progress_mgr progress_{};
  bool created_ = false;
  std::unique_ptr<uint8_t[]> pixels_;
};

bool JpegReader::Read(std::FILE* file, DecodedPicture& picture, std::string& error) {
  if (setjmp(errors_.jump)) {
    error = std::string("JPEG: ") + errors_.message;
    return false;
  }
  jpeg_create_decompress(&info_);
  created_ = true;
  info_.mem->max_memory_to_use = kMaxJpegWorkingMemory;
  info_.progress = &progress_;
  jpeg_stdio_src(&info_, file);
  jpeg_read_header(&info_, TRUE);
  if (!PictureSizeAllowed(info_.image_width, info_.image_height)) {
    error = "JPEG: picture too large";
    return false;
  }
  const bool cmyk = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
  info_.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_RGBA;
  jpeg_start_decompress(&info_);
  if (info_.output_components != 4 || info_.output_width != info_.image_width ||
      info_.output_height != info_.image_height) {
    error = "JPEG: unexpected pixel layout";
    return false;
  }
  const uint32_t width = info_.output_width;
  const uint32_t height = info_.output_height;
  const size_t stride = static_cast<size_t>(width) * 4;
  pixels_.reset(new (std::nothrow) uint8_t[stride * height]);
  if (pixels_ == nullptr) {
    error = "JPEG: out of memory";
    return false;
  }
  while (info_.output_scanline < height) {
    JSAMPROW row = pixels_.get() + static_cast<size_t>(info_.output_scanline) * stride;
    if (jpeg_read_scanlines(&info_, &row, 1) != 1) break;
  }
  if (errors_.endOfData || info_.output_scanline < height) {
    error = "JPEG: data ends before the picture does";
    return false;
  }
  if (cmyk) CmykToRgba(pixels_.get(), static_cast<size_t>(width) * height, info_.saw_Adobe_marker != 0);

  picture.pixels = std::move(pixels_);
  picture.width = width;
  picture.height = height;
  picture.hasAlpha = false;
  return true;
}

}  // namespace

bool DecodeJpeg(std::FILE* file, DecodedPicture& picture, std::string& error) {
  JpegReader reader;
  return reader.Read(file, picture, error);
}

}  // namespace platform
