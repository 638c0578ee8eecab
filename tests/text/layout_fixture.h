#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/vector_document.h"
#include "render/render_context.h"
#include "support/font_config.h"
#include "svg/text_elements.h"
#include "text/shaper.h"

// Text layout tests run against tests/data/text/fonts.conf (DejaVu and Noto faces only), switched in
// for each test and switched back afterwards.
namespace text_testing {

class LayoutTest : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

 private:
  std::optional<testing_support::ScopedFontConfig> fonts_;
};

// An SVG document of size x size user units (and pixels) around body.
std::string Drawing(const std::string& body, int size = 200);

// A drawing loaded from text; the text element with id "t" (or the one asked for) is measured again
// on request.
class LaidOut {
 public:
  explicit LaidOut(const std::string& body, int size = 200);

  svg::SVGTextElement& Text(std::u16string_view id = u"t") const;
  // Measures the text element and returns its records.
  const std::vector<text::GlyphRecord>& Records(std::u16string_view id = u"t") const;
  // The text element's box under the identity; empty when it has none.
  svg::Rect Box(std::u16string_view id = u"t") const;
  // Renders the drawing at its own size; premultiplied R, G, B, A per pixel.
  std::unique_ptr<uint8_t[]> Render() const;
  // Renders a size x size window, user space mapped by transform, counting the work into budget.
  std::unique_ptr<uint8_t[]> Render(const agg::trans_affine& transform, int size,
                                    render::RenderBudget& budget) const;
  int Size() const { return size_; }

 private:
  int size_;
  std::unique_ptr<document::VectorDocument> document_;
};

using Pixel = std::array<int, 4>;
Pixel At(const uint8_t* pixels, int size, int x, int y);

// The box of the pixels with any coverage; empty when none.
svg::Rect InkBox(const uint8_t* pixels, int size);

// Shapes text with the families given (the fallback "Times New Roman" appended) at weight 400.
std::vector<text::ShapedGlyph> Shape(std::u16string_view text, std::u16string_view families,
                                     text::FontServices& services, bool rightToLeft = false);

// The advance of one character in the family, in em.
double Advance(std::u16string_view character, std::u16string_view family);

}  // namespace text_testing
