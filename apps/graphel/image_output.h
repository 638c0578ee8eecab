#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/jpeg_file.h"
#include "platform/png_file.h"

namespace graphel_cli {

enum class ImageFormat { kPng, kJpeg, kRgba };

// The names --format accepts.
inline constexpr std::string_view kImageFormatNames[] = {"png", "jpeg", "jpg", "rgba"};

// From --format when given, else from the output name's extension (standard output is PNG);
// nullopt when neither names a known format.
std::optional<ImageFormat> ChooseImageFormat(std::string_view formatOption, std::string_view output);

struct ImageSpec {
  uint32_t width = 0;
  uint32_t height = 0;
  ImageFormat format = ImageFormat::kPng;
  int depth = 8;               // 16 for 16-bit PNG
  bool premultiplied = true;   // whether the rows handed in carry premultiplied alpha
};

// An image written row by row to a temporary file beside its final name and renamed over it only
// when complete, so a failure never leaves a partial picture. "-" writes to standard output, and an
// existing device or pipe is written in place. Errors read "PATH: reason".
class ImageOutput {
 public:
  explicit ImageOutput(const ImageSpec& spec);
  ~ImageOutput();
  ImageOutput(const ImageOutput&) = delete;
  ImageOutput& operator=(const ImageOutput&) = delete;

  bool Open(const std::string& path, std::string& error);
  // rowCount rows of width R, G, B, A bytes each, top first.
  bool WriteRows(const uint8_t* rows, uint32_t rowCount, std::string& error);
  bool Commit(std::string& error);

 private:
  bool Fail(std::string& error, const std::string& reason);
  const uint8_t* ConvertRow(const uint8_t* row);

  ImageSpec spec_;
  std::string path_;
  std::string temporaryPath_;
  std::FILE* file_ = nullptr;
  bool ownsFile_ = false;
  std::unique_ptr<platform::PngRowWriter> png_;
  std::unique_ptr<platform::JpegRowWriter> jpeg_;
  std::vector<uint8_t> converted_;
};

// Checks before any work is done that path can be written: not a folder, and in a folder that exists.
bool CheckOutputPath(const std::string& path, std::string& error);

}  // namespace graphel_cli
