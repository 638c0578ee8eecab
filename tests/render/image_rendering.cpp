#include "render/image_rendering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/temp_folder.h"
#include "support/test_support.h"

namespace image_testing {

std::string Fixture(const std::string& name) {
  std::ifstream in(testing_support::DataPath("images/" + name), std::ios::binary);
  EXPECT_TRUE(in.good()) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string EmbeddedPng(const std::string& name) { return "data:image/png;base64," + Base64(Fixture(name)); }

std::string Svg(const std::string& body, int width, int height) {
  return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='" +
         std::to_string(width) + "' height='" + std::to_string(height) + "'>" + body + "</svg>";
}

Rendering::Rendering(const std::string& textOrPath, bool fromText, svg::SvgScriptCallback& callback, int width,
                     int height)
    : width(width), height(height) {
  svg::LoadError error;
  document = document::VectorDocument::Create(error, fromText, testing_support::W(textOrPath), &callback, 1.0);
  EXPECT_TRUE(document->Loaded()) << testing_support::N(error.message);
  RenderAgain();
}

void Rendering::RenderAgain() {
  pixels.reset();
  if (document->Loaded()) pixels = document->RenderStretched(0, width, height);
  EXPECT_NE(pixels, nullptr);
  temporaryFiles = 0;
  if (const auto folder = platform::TemporaryFolder()) {
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(*folder)) ++temporaryFiles;
  }
}

Colour Rendering::At(int x, int y) const {
  if (pixels == nullptr) return {-1, -1, -1, -1};
  const uint8_t* p = pixels.get() + (static_cast<size_t>(y) * width + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

bool Rendering::Blank() const {
  if (pixels == nullptr) return false;
  const uint8_t* begin = pixels.get();
  const uint8_t* end = begin + static_cast<size_t>(width) * height * 4;
  return std::all_of(begin, end, [](uint8_t byte) { return byte == 0; });
}

svg::SVGImageElement& Rendering::FirstImage() const {
  svg::SVGElement* element = document->Svg();
  while (element->type != svg::ElementType::kImage) element = element->children.at(0).get();
  return static_cast<svg::SVGImageElement&>(*element);
}

void ExpectColour(const Rendering& r, int x, int y, const Colour& expected, int tolerance, const std::string& label) {
  const Colour actual = r.At(x, y);
  for (int c = 0; c < 4; ++c) {
    EXPECT_NEAR(actual[c], expected[c], tolerance) << label << " at (" << x << ", " << y << ") channel " << c;
  }
}

}  // namespace image_testing
