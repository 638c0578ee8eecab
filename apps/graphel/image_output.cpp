#include "image_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "platform/ascii_case.h"

namespace graphel_cli {
namespace {

constexpr int kJpegQuality = 92;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) { return platform::EqualsIgnoringAsciiCase(a, b); }

std::optional<ImageFormat> FormatFromName(std::string_view name) {
  if (EqualsIgnoringCase(name, "png")) return ImageFormat::kPng;
  if (EqualsIgnoringCase(name, "jpeg") || EqualsIgnoringCase(name, "jpg")) return ImageFormat::kJpeg;
  if (EqualsIgnoringCase(name, "rgba")) return ImageFormat::kRgba;
  return std::nullopt;
}

std::string Reason(int error) { return std::strerror(error); }

uint8_t Premultiply(unsigned channel, unsigned alpha) { return static_cast<uint8_t>((channel * alpha + 127) / 255); }

bool IsDeviceOrPipe(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode);
}

}  // namespace

std::optional<ImageFormat> ChooseImageFormat(std::string_view formatOption, std::string_view output) {
  if (!formatOption.empty()) return FormatFromName(formatOption);
  if (output == "-") return ImageFormat::kPng;
  const size_t dot = output.rfind('.');
  const size_t slash = output.rfind('/');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
  return FormatFromName(output.substr(dot + 1));
}

bool CheckOutputPath(const std::string& path, std::string& error) {
  if (path == "-") return true;
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) {
    error = path + ": " + Reason(EISDIR);
    return false;
  }
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty() && !std::filesystem::is_directory(parent, ignored)) {
    error = path + ": " + Reason(std::filesystem::exists(parent, ignored) ? ENOTDIR : ENOENT);
    return false;
  }
  return true;
}

ImageOutput::ImageOutput(const ImageSpec& spec) : spec_(spec) {}

ImageOutput::~ImageOutput() {
  png_.reset();
  jpeg_.reset();
  if (ownsFile_ && file_ != nullptr) std::fclose(file_);
  if (!temporaryPath_.empty()) std::remove(temporaryPath_.c_str());
}

bool ImageOutput::Fail(std::string& error, const std::string& reason) {
  error = (path_ == "-" ? std::string("standard output") : path_) + ": " + reason;
  return false;
}

bool ImageOutput::Open(const std::string& path, std::string& error) {
  path_ = path;
  if (!CheckOutputPath(path, error)) return false;
  if (path == "-") {
    file_ = stdout;
  } else if (IsDeviceOrPipe(path)) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) return Fail(error, Reason(errno));
    ownsFile_ = true;
  } else {
    const std::filesystem::path target(path);
    const std::string folder = target.has_parent_path() ? target.parent_path().string() : ".";
    std::string name = folder + "/." + target.filename().string() + ".XXXXXX";
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) return Fail(error, Reason(errno));
    temporaryPath_ = name;
    // mkstemp makes the file private; the finished picture gets the permissions a new file would.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(descriptor, 0666 & ~mask);
    file_ = fdopen(descriptor, "wb");
    if (file_ == nullptr) {
      close(descriptor);
      return Fail(error, Reason(errno));
    }
    ownsFile_ = true;
  }
  bool started = true;
  if (spec_.format == ImageFormat::kPng) {
    png_ = std::make_unique<platform::PngRowWriter>(file_, spec_.width, spec_.height, spec_.depth);
    started = png_->Start();
  } else if (spec_.format == ImageFormat::kJpeg) {
    jpeg_ = std::make_unique<platform::JpegRowWriter>(file_, spec_.width, spec_.height, kJpegQuality);
    started = jpeg_->Start();
  }
  return started || Fail(error, errno != 0 ? Reason(errno) : "can't start the image");
}

const uint8_t* ImageOutput::ConvertRow(const uint8_t* row) {
  const size_t width = spec_.width;
  const bool premultiplied = spec_.premultiplied;
  switch (spec_.format) {
    case ImageFormat::kRgba:
      if (premultiplied) return row;
      converted_.resize(width * 4);
      for (size_t x = 0; x < width; ++x) {
        const uint8_t* in = row + 4 * x;
        for (int c = 0; c < 3; ++c) converted_[4 * x + c] = Premultiply(in[c], in[3]);
        converted_[4 * x + 3] = in[3];
      }
      return converted_.data();
    case ImageFormat::kJpeg:
      // JPEG has no alpha: what is transparent shows white, as on a page.
      converted_.resize(width * 3);
      for (size_t x = 0; x < width; ++x) {
        const uint8_t* in = row + 4 * x;
        for (int c = 0; c < 3; ++c) {
          const unsigned colour = premultiplied ? in[c] : Premultiply(in[c], in[3]);
          converted_[3 * x + c] = static_cast<uint8_t>(std::min(255u, colour + 255u - in[3]));
        }
      }
      return converted_.data();
    case ImageFormat::kPng:
      break;
  }
  if (spec_.depth == 8) {
    if (!premultiplied) return row;
    converted_.assign(row, row + width * 4);
    platform::Unpremultiply(converted_.data(), width);
    return converted_.data();
  }
  // 16-bit: un-premultiplying into the wider range keeps what 8 bits would round away.
  converted_.resize(width * 8);
  for (size_t x = 0; x < width; ++x) {
    const uint8_t* in = row + 4 * x;
    const unsigned alpha = in[3];
    for (int c = 0; c < 4; ++c) {
      unsigned value = in[c] * 257u;
      if (c < 3 && premultiplied) value = alpha == 0 ? 0 : std::min(65535u, (in[c] * 65535u + alpha / 2) / alpha);
      converted_[8 * x + 2 * c] = static_cast<uint8_t>(value >> 8);
      converted_[8 * x + 2 * c + 1] = static_cast<uint8_t>(value & 0xFF);
    }
  }
  return converted_.data();
}

bool ImageOutput::WriteRows(const uint8_t* rows, uint32_t rowCount, std::string& error) {
  const size_t stride = static_cast<size_t>(spec_.width) * 4;
  for (uint32_t y = 0; y < rowCount; ++y) {
    const uint8_t* row = ConvertRow(rows + y * stride);
    errno = 0;
    bool written = false;
    if (png_ != nullptr) {
      written = png_->WriteRow(row);
    } else if (jpeg_ != nullptr) {
      written = jpeg_->WriteRow(row);
    } else {
      written = std::fwrite(row, 1, stride, file_) == stride;
    }
    if (!written) return Fail(error, errno != 0 ? Reason(errno) : "write error");
  }
  return true;
}

bool ImageOutput::Commit(std::string& error) {
  errno = 0;
  const bool finished = png_ != nullptr ? png_->Finish() : jpeg_ != nullptr ? jpeg_->Finish() : true;
  if (!finished || std::fflush(file_) != 0 || std::ferror(file_)) {
    return Fail(error, errno != 0 ? Reason(errno) : "write error");
  }
  if (ownsFile_) {
    ownsFile_ = false;
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0) return Fail(error, Reason(errno));
  }
  if (!temporaryPath_.empty()) {
    if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) return Fail(error, Reason(errno));
    temporaryPath_.clear();
  }
  return true;
}

}  // namespace graphel_cli
