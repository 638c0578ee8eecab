#pragma once

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>

namespace platform {

// Writes an 8-bit RGBA PNG from rows of straight (un-premultiplied) R, G, B, A bytes, top row first.
// Returns false, with a message in error, when the file can't be written.
bool WritePng(const std::string& path, const uint8_t* pixels, uint32_t width, uint32_t height, std::string& error);

// The same PNG in memory, for a picture sent over the network rather than saved; empty on failure.
std::string EncodePng(const uint8_t* pixels, uint32_t width, uint32_t height);

// Encodes an RGBA PNG row by row into an open file, so a large image never has to be held whole.
// libpng reports failures by longjmp; every call catches its own and answers false.
class PngRowWriter {
 public:
  // bitDepth is 8 (rows of bytes) or 16 (rows of big-endian 16-bit channels).
  PngRowWriter(std::FILE* file, uint32_t width, uint32_t height, int bitDepth);
  ~PngRowWriter();
  PngRowWriter(const PngRowWriter&) = delete;
  PngRowWriter& operator=(const PngRowWriter&) = delete;

  bool Start();
  bool WriteRow(const uint8_t* row);
  bool Finish();

 private:
  std::FILE* file_;
  uint32_t width_;
  uint32_t height_;
  int bitDepth_;
  png_structp png_;
  png_infop info_ = nullptr;
};

// Converts premultiplied R, G, B, A bytes to straight alpha in place.
void Unpremultiply(uint8_t* pixels, size_t pixelCount);

}  // namespace platform
