#include "render/text_layout.h"

#include <cmath>
#include <utility>

#include "platform/wide_text.h"
#include "render/computed_style.h"
#include "render/text_setup.h"
#include "render/traversal.h"
#include "svg/text_elements.h"
#include "text/shaper.h"
#include "text/white_space.h"

namespace render {
namespace {

double DeviceScale(const agg::trans_affine& m) {
  const double x = (m.sy + m.shy) * 0.707106781;
  const double y = (m.shx + m.sx) * 0.707106781;
  return std::sqrt(x * x + y * y);
}

// Whether a positioning list gives values past the first character of the next run; each glyph then
// takes one list entry, which a ligature would put out of step.
bool PositionsEachCharacter(const text::TextState& state) {
  const text::PositionLists& lists = state.lists;
  const size_t next = state.charIndex + 1;
  return lists.x.size() > next || lists.y.size() > next || lists.dx.size() > next || lists.dy.size() > next ||
         lists.rotate.size() > next;
}

class Measurer {
 public:
  Measurer(text::FontServices& services, TextLayout& layout, double approximationScale)
      : services_(services), layout_(layout), approximationScale_(approximationScale) {}

  void Element(svg::SVGElement& element, RenderContext context) {
    if (++context.depth > kMaxRenderDepth) return;
    PrepareElement(element, context);
    if (!IsDisplayed(context)) return;
    text::TextState& state = state_;
    state.font = ReadFontSettings(element, context);
    // Only an element that writes positioning lists needs them restored when it ends; copying them for
    // every element would make long runs of tspans quadratic.
    const bool ownLists = HasPositionLists(element);
    text::PositionLists saved;
    if (ownLists) {
      saved = state.lists;
      WritePositionLists(element, context, state);
    }

    const text::TextPath* outerPath = state.path;
    const double outerOffset = state.startOffset;
    const text::TextPath* path = nullptr;
    if (element.type == svg::ElementType::kTextPath) path = SetUpTextPath(element, context);
    const double shift = BaselineShift(element, context);
    state.baselineShift += shift;

    const size_t pathFirst = layout_.records.records.size();
    if (path != nullptr) {
      text::ApplyTextAnchor(layout_.records);
      state.path = path;
      state.penX = state.startOffset;
      state.penY = 0.0;
    }
    PlaceOwnGlyphs(element, context);

    for (const auto& child : element.children) {
      if (child->IsTextContent()) {
        Element(*child, context);
      } else if (child->type == svg::ElementType::kA) {
        Anchor(*child, context);
      }
    }

    if (path != nullptr) {
      text::ApplyTextAnchor(layout_.records);
      text::MapPathBoxes(*path, pathFirst, layout_.records);
      state.path = outerPath;
      state.startOffset = outerOffset;
    }
    state.baselineShift -= shift;
    if (ownLists) state.lists = std::move(saved);
  }

 private:
  void Anchor(svg::SVGElement& anchor, RenderContext context) {
    if (++context.depth > kMaxRenderDepth) return;
    PrepareElement(anchor, context);
    if (!IsDisplayed(context)) return;
    for (const auto& child : anchor.children) {
      if (child->IsTextContent()) Element(*child, context);
    }
  }

  const text::TextPath* SetUpTextPath(svg::SVGElement& element, const RenderContext& context) {
    double startOffset = 0.0;
    auto path = BuildTextPath(static_cast<svg::SVGTextPathElement&>(element), context, approximationScale_,
                              startOffset);
    if (path == nullptr) return nullptr;
    state_.startOffset = startOffset;
    const text::TextPath* line = path.get();
    layout_.paths[&element] = std::move(path);
    return line;
  }

  void PlaceOwnGlyphs(svg::SVGElement& element, const RenderContext& context) {
    std::u16string own =
        text::CollapseWhiteSpace(OwnText(element, context), PreservesSpace(element, context), endsWithSpace_);
    if (own.size() > remaining_) own.resize(remaining_);
    remaining_ -= own.size();
    const text::FontSettings& font = state_.font;
    if (own.empty() || !(font.size > 0.0)) return;

    text::ShapeRequest request;
    request.families = font.families;
    request.weight = font.weight;
    request.italic = font.italic;
    request.fontKerning = font.kerning == text::FontSettings::kAutoKerning;
    request.ligatures = font.letterSpacing == 0.0 && !PositionsEachCharacter(state_);
    request.rightToLeft = font.rightToLeft;
    const std::u32string characters = platform::WideToCodePoints(own);
    const std::vector<text::ShapedGlyph> shaped = text::ShapeText(characters, request, services_);
    const size_t first = layout_.records.records.size();
    text::PlaceGlyphs(state_, shaped, services_, layout_.records, layout_.glyphs);
    layout_.elements[&element] = ElementGlyphs{first, layout_.records.records.size() - first};
  }

  text::FontServices& services_;
  TextLayout& layout_;
  double approximationScale_;
  text::TextState state_;
  bool endsWithSpace_ = true;  // leading spaces of the whole text go
  size_t remaining_ = kMaxTextCharacters;
};

}  // namespace

svg::Rect TextLayout::Box() const {
  svg::Rect box;
  for (const text::GlyphRecord& r : records.records) {
    if (r.HasBox()) box.Unite(svg::Rect{r.x1, r.y1, r.x2, r.y2});
  }
  return box;
}

void LayOutText(svg::SVGElement& text, RenderContext context, text::FontServices& services,
                TextLayout& layout) {
  RenderContext prepared = context;
  PrepareElement(text, prepared);
  agg::trans_affine toDevice = StyleTransform(prepared.style);
  toDevice.multiply(prepared.baseTransform);
  double approximationScale = 2.0 * DeviceScale(toDevice);
  if (!std::isfinite(approximationScale) || approximationScale < 1.0) approximationScale = 1.0;
  if (approximationScale > 1e4) approximationScale = 1e4;
  Measurer measurer(services, layout, approximationScale);
  measurer.Element(text, std::move(context));
  text::ApplyTextAnchor(layout.records);
}

}  // namespace render
