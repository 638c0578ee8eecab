#include "render/image_compare.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/png_file.h"
#include "support/png_reader.h"

namespace render_testing {

bool LoadReference(const std::string& path, Image& image, std::string& error) {
  if (!testing_support::ReadPng(path, image.rgba, image.width, image.height, error)) return false;
  for (size_t i = 0; i < image.rgba.size(); i += 4) {
    const unsigned alpha = image.rgba[i + 3];
    for (size_t c = 0; c < 3; ++c)
      image.rgba[i + c] = static_cast<uint8_t>((image.rgba[i + c] * alpha + 127) / 255);
  }
  return true;
}

Image FromBuffer(const uint8_t* premultiplied, uint32_t width, uint32_t height) {
  Image image;
  image.width = width;
  image.height = height;
  image.rgba.assign(premultiplied, premultiplied + static_cast<size_t>(width) * height * 4);
  return image;
}

namespace {

// Neighbouring pixels this close count as one colour.
constexpr int kFlatSpread = 2;

int PixelDifference(const uint8_t* a, const uint8_t* b) {
  int largest = 0;
  for (int c = 0; c < 4; ++c) largest = std::max(largest, std::abs(int{a[c]} - int{b[c]}));
  return largest;
}

// True when the pixel and its eight neighbours hold the same colour: away from any edge, where
// anti-aliasing can't explain a difference.
bool IsFlat(const Image& image, size_t index) {
  const auto x = static_cast<int64_t>(index % image.width);
  const auto y = static_cast<int64_t>(index / image.width);
  const uint8_t* centre = &image.rgba[index * 4];
  for (int64_t dy = -1; dy <= 1; ++dy) {
    for (int64_t dx = -1; dx <= 1; ++dx) {
      const int64_t nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= image.width || ny >= image.height) continue;
      if (PixelDifference(centre, &image.rgba[static_cast<size_t>(ny * image.width + nx) * 4]) > kFlatSpread)
        return false;
    }
  }
  return true;
}

}  // namespace

Difference Compare(const Image& expected, const Image& actual, int channelTolerance) {
  Difference difference;
  difference.pixels = static_cast<size_t>(expected.width) * expected.height;
  uint64_t sum = 0;
  for (size_t i = 0; i < expected.rgba.size() && i < actual.rgba.size(); i += 4) {
    const int largest = PixelDifference(&expected.rgba[i], &actual.rgba[i]);
    difference.largest = std::max(difference.largest, largest);
    if (largest > channelTolerance) {
      ++difference.outliers;
      if (IsFlat(expected, i / 4)) ++difference.flatOutliers;
    }
    for (size_t c = 0; c < 4; ++c)
      sum += static_cast<uint64_t>(std::abs(int{expected.rgba[i + c]} - int{actual.rgba[i + c]}));
  }
  if (difference.pixels > 0)
    difference.mean = static_cast<double>(sum) / (4.0 * static_cast<double>(difference.pixels));
  return difference;
}

bool Within(const Difference& difference, const Tolerance& tolerance) {
  const auto pixels = static_cast<double>(difference.pixels);
  return static_cast<double>(difference.outliers) <= tolerance.outlierFraction * pixels &&
         static_cast<double>(difference.flatOutliers) <= tolerance.flatFraction * pixels &&
         difference.mean <= tolerance.meanLimit;
}

std::string Describe(const Difference& difference) {
  char text[200];
  std::snprintf(
      text, sizeof text,
      "%zu of %zu pixels outside the channel tolerance (%.3f %%), %zu of them away from edges, mean %.3f, "
      "largest %d",
      difference.outliers, difference.pixels,
      difference.pixels > 0
          ? 100.0 * static_cast<double>(difference.outliers) / static_cast<double>(difference.pixels)
          : 0.0,
      difference.flatOutliers, difference.mean, difference.largest);
  return text;
}

bool WriteComparison(const std::string& path, const Image& expected, const Image& actual,
                     int channelTolerance, std::string& error) {
  const uint32_t width = expected.width;
  const uint32_t height = expected.height;
  const size_t stride = static_cast<size_t>(width) * 3 * 4;
  std::vector<uint8_t> sheet(stride * height, 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      const size_t source = (static_cast<size_t>(y) * width + x) * 4;
      uint8_t* row = sheet.data() + y * stride;
      std::copy_n(&expected.rgba[source], 4, row + x * 4);
      std::copy_n(&actual.rgba[source], 4, row + (2 * width + x) * 4);
      const int difference = PixelDifference(&expected.rgba[source], &actual.rgba[source]);
      uint8_t* marked = row + (width + x) * 4;
      if (difference > channelTolerance) {
        marked[0] = 255, marked[1] = 0, marked[2] = 255;
      } else {
        marked[0] = marked[1] = marked[2] = static_cast<uint8_t>(std::min(255, difference * 8));
      }
      marked[3] = 255;
    }
  }
  platform::Unpremultiply(sheet.data(), sheet.size() / 4);
  return platform::WritePng(path, sheet.data(), width * 3, height, error);
}

}  // namespace render_testing
