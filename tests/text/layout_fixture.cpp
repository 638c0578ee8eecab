#include "text/layout_fixture.h"

#include "platform/wide_text.h"
#include "render/traversal.h"
#include "support/test_support.h"
#include "svg/document.h"
#include "text/installed_fonts.h"
#include "text/text_state.h"

namespace text_testing {

void LayoutTest::SetUp() { fonts_.emplace(testing_support::DataPath("text/fonts.conf")); }

void LayoutTest::TearDown() { fonts_.reset(); }

std::string Drawing(const std::string& body, int size) {
  const std::string s = std::to_string(size);
  return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='" + s +
         "' height='" + s + "' viewBox='0 0 " + s + " " + s + "'>" + body + "</svg>";
}

LaidOut::LaidOut(const std::string& body, int size) : size_(size) {
  svg::LoadError error;
  document_ =
      document::VectorDocument::Create(error, true, testing_support::W(Drawing(body, size)), nullptr, 1.0);
  EXPECT_TRUE(document_->Loaded()) << testing_support::N(error.message);
}

svg::SVGTextElement& LaidOut::Text(std::u16string_view id) const {
  svg::SVGElement* element = svg::FindById(document_->Svg(), id);
  auto* text = dynamic_cast<svg::SVGTextElement*>(element);
  if (text == nullptr) throw std::runtime_error("no text element with that id");
  return *text;
}

const std::vector<text::GlyphRecord>& LaidOut::Records(std::u16string_view id) const {
  Box(id);
  return Text(id).glyphRecords.records;
}

svg::Rect LaidOut::Box(std::u16string_view id) const {
  svg::Rect box;
  Text(id).GetBBox(box, svg::BoundsQuery{nullptr, &document_->Svg()->styleSheet, nullptr},
                   agg::trans_affine());
  return box;
}

std::unique_ptr<uint8_t[]> LaidOut::Render() const { return document_->RenderWhole(size_); }

std::unique_ptr<uint8_t[]> LaidOut::Render(const agg::trans_affine& transform, int size,
                                           render::RenderBudget& budget) const {
  return render::RenderDocument(*document_->Svg(), transform, agg::rgba8(0, 0, 0, 0), size, size, &budget);
}

Pixel At(const uint8_t* pixels, int size, int x, int y) {
  const uint8_t* p = pixels + (static_cast<size_t>(y) * size + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

svg::Rect InkBox(const uint8_t* pixels, int size) {
  svg::Rect box;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if (At(pixels, size, x, y)[3] != 0) box.Unite(svg::Rect{double(x), double(y), x + 1.0, y + 1.0});
    }
  }
  return box;
}

std::vector<text::ShapedGlyph> Shape(std::u16string_view text, std::u16string_view families,
                                     text::FontServices& services, bool rightToLeft) {
  text::ShapeRequest request;
  request.families = text::ParseFontFamilies(families, u"Times New Roman");
  request.rightToLeft = rightToLeft;
  const std::u32string characters = platform::WideToCodePoints(text);
  return text::ShapeText(characters, request, services);
}

double Advance(std::u16string_view character, std::u16string_view family) {
  text::FontServicesLease services;
  const std::vector<text::ShapedGlyph> glyphs = Shape(character, family, *services);
  return glyphs.size() == 1 ? glyphs[0].advanceX : -1.0;
}

}  // namespace text_testing
