// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include <csetjmp>

#include "platform/jpeg_file.h"

namespace platform {

struct JpegRowWriter::State {
  jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to the whole
  std::jmp_buf jump;
  jpeg_compress_struct info{};
  std::FILE* file = nullptr;
  int quality = 90;
  bool created = false;
};

namespace {

[[noreturn]] void OnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegRowWriter::State*>(info->err)->jump, 1);
}

}  // namespace

JpegRowWriter::JpegRowWriter(std::FILE* file, uint32_t width, uint32_t height, int quality)
    : state_(std::make_unique<State>()) {
  state_->file = file;
  state_->quality = quality;
  state_->info.image_width = width;
  state_->info.image_height = height;
}

JpegRowWriter::~JpegRowWriter() {
  if (state_->created) jpeg_destroy_compress(&state_->info);
}

bool JpegRowWriter::Start() {
  State& s = *state_;
  const JDIMENSION width = s.info.image_width;
  const JDIMENSION height = s.info.image_height;
  s.info.err = jpeg_std_error(&s.manager);
  s.manager.error_exit = &OnError;
  if (setjmp(s.jump)) return false;
  jpeg_create_compress(&s.info);
  s.created = true;
  jpeg_stdio_dest(&s.info, s.file);
  s.info.image_width = width;
  s.info.image_height = height;
  s.info.input_components = 3;
  s.info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&s.info);
  jpeg_set_quality(&s.info, s.quality, TRUE);
  jpeg_start_compress(&s.info, TRUE);
  return true;
}

bool JpegRowWriter::WriteRow(const uint8_t* row) {
  State& s = *state_;
  if (!s.created) return false;
  if (setjmp(s.jump)) return false;
  JSAMPROW rows[1] = {const_cast<JSAMPROW>(row)};
  jpeg_write_scanlines(&s.info, rows, 1);
  return true;
}

bool JpegRowWriter::Finish() {
  State& s = *state_;
  if (!s.created) return false;
  if (setjmp(s.jump)) return false;
  jpeg_finish_compress(&s.info);
  return true;
}

}  // namespace platform
