#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace render_testing {

// An RGBA image whose colour channels are premultiplied by alpha, top row first.
struct Image {
  uint32_t width = 0;
  uint32_t height = 0;
  std::vector<uint8_t> rgba;
};

// How far two renderings may drift apart and still count as the same picture.
struct Tolerance {
  int channel;             // a pixel is an outlier when any channel differs by more than this
  double outlierFraction;  // at most this fraction of all pixels may be outliers
  double flatFraction;     // and at most this fraction may be outliers away from any edge
  double meanLimit;        // bound on the mean absolute channel difference over the whole image
};

struct Difference {
  int largest = 0;  // the largest channel difference seen
  size_t outliers = 0;
  size_t flatOutliers = 0;  // outliers whose neighbourhood in the expected image is one flat colour
  size_t pixels = 0;
  double mean = 0.0;
};

// Reads a PNG and premultiplies it, so that it compares with the renderer's own buffers.
bool LoadReference(const std::string& path, Image& image, std::string& error);

Image FromBuffer(const uint8_t* premultiplied, uint32_t width, uint32_t height);

// The images must have the same size.
Difference Compare(const Image& expected, const Image& actual, int channelTolerance);

bool Within(const Difference& difference, const Tolerance& tolerance);

std::string Describe(const Difference& difference);

// Writes expected | difference | actual side by side as one PNG; outliers show in magenta, smaller
// differences as grey levels scaled up eight times.
bool WriteComparison(const std::string& path, const Image& expected, const Image& actual,
                     int channelTolerance, std::string& error);

}  // namespace render_testing
