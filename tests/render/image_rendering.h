#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "document/vector_document.h"
#include "support/test_support.h"
#include "svg/structure_elements.h"

// Shared by the image tests: picture fixtures, and drawings rendered at their own size and probed
// pixel by pixel.
namespace image_testing {

using Colour = std::array<int, 4>;

inline constexpr Colour kClear{0, 0, 0, 0};
inline constexpr Colour kRed{255, 0, 0, 255};
inline constexpr Colour kGreen{0, 255, 0, 255};
inline constexpr Colour kBlue{0, 0, 255, 255};
inline constexpr Colour kWhite{255, 255, 255, 255};

// The bytes of tests/data/images/name. quadrants.* are 10 x 10: red top left, green top right, blue
// bottom left, white bottom right.
std::string Fixture(const std::string& name);
using testing_support::Base64;
// "data:image/png;base64," and the fixture's bytes.
std::string EmbeddedPng(const std::string& name = "quadrants.png");
std::string Svg(const std::string& body, int width = 100, int height = 100);

// A drawing loaded and rendered at its own size. The document stays alive, so the temporary folder
// is counted while it still exists (destroying the document empties it anyway).
struct Rendering {
  Rendering(const std::string& textOrPath, bool fromText, svg::SvgScriptCallback& callback, int width = 100,
            int height = 100);
  void RenderAgain();
  // Premultiplied R, G, B, A.
  Colour At(int x, int y) const;
  bool Blank() const;
  svg::SVGImageElement& FirstImage() const;

  int width;
  int height;
  std::unique_ptr<document::VectorDocument> document;
  std::unique_ptr<uint8_t[]> pixels;
  size_t temporaryFiles = 0;  // entries in this process's temporary folder after the render
};

void ExpectColour(const Rendering& r, int x, int y, const Colour& expected, int tolerance, const std::string& label);

}  // namespace image_testing
