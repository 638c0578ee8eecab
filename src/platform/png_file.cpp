#include "platform/png_file.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/regular_file.h"

namespace platform {
bool WritePng(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height, std::string& error) {
  FileHandle file(std::fopen(path.c_str(), "wb"));
  if (file == nullptr) {
    error = "can't open " + path + " for writing";
    return false;
  }
  PngRowWriter writer(file.get(), width, height, 8);
  bool written = writer.Start();
  for (uint32_t y = 0; written && y < height; ++y) written = writer.WriteRow(pixels + static_cast<size_t>(y) * width * 4);
  if (!written || !writer.Finish()) {
    error = "can't write PNG data to " + path;
    return false;
  }
  return true;
}

std::string EncodePng(const uint8_t* pixels, uint32_t width, uint32_t height) {
  char* buffer = nullptr;
  size_t size = 0;
  bool written = false;
  {
    FileHandle stream(open_memstream(&buffer, &size));
    if (stream == nullptr) return {};
    PngRowWriter writer(stream.get(), width, height, 8);
    written = writer.Start();
    for (uint32_t y = 0; written && y < height; ++y) written = writer.WriteRow(pixels + static_cast<size_t>(y) * width * 4);
    written = written && writer.Finish();
  }  // closing the stream settles buffer and size
  const std::unique_ptr<char, decltype(&std::free)> owned(buffer, &std::free);
  return written && buffer != nullptr ? std::string(buffer, size) : std::string();
}

PngRowWriter::PngRowWriter(std::FILE* file, uint32_t width, uint32_t height, int bitDepth)
    : file_(file),
      width_(width),
      height_(height),
      bitDepth_(bitDepth),
      png_(png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr)) {
  if (png_ != nullptr) info_ = png_create_info_struct(png_);
}

PngRowWriter::~PngRowWriter() { png_destroy_write_struct(&png_, &info_); }

bool PngRowWriter::Start() {
  if (png_ == nullptr || info_ == nullptr) return false;
  if (setjmp(png_jmpbuf(png_))) return false;
  png_init_io(png_, file_);
  png_set_IHDR(png_, info_, width_, height_, bitDepth_, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png_, 1);
  png_set_filter(png_, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
  png_set_compression_strategy(png_, Z_RLE);
  png_write_info(png_, info_);
  return true;
}

bool PngRowWriter::WriteRow(const uint8_t* row) {
  if (png_ == nullptr || info_ == nullptr) return false;
  if (setjmp(png_jmpbuf(png_))) return false;
  png_write_row(png_, row);
  return true;
}

bool PngRowWriter::Finish() {
  if (png_ == nullptr || info_ == nullptr) return false;
  if (setjmp(png_jmpbuf(png_))) return false;
  png_write_end(png_, nullptr);
  return true;
}

void Unpremultiply(uint8_t* pixels, size_t pixelCount) {
  for (size_t i = 0; i < pixelCount; ++i, pixels += 4) {
    const unsigned alpha = pixels[3];
    if (alpha == 255) continue;
    if (alpha == 0) {
      pixels[0] = pixels[1] = pixels[2] = 0;
      continue;
    }
    for (int c = 0; c < 3; ++c) pixels[c] = static_cast<uint8_t>(std::min(255u, (pixels[c] * 255u + alpha / 2) / alpha));
  }
}

}  // namespace platform
