#include "texture/block_settings.h"

#include <algorithm>

#include "texture/param_blocks.h"

namespace graphel {
namespace {

document::ColourChannels Opaque(const zal::AColor& colour) {
  return document::ColourChannels{colour.r, colour.g, colour.b, 1.0};
}

// Alpha is always 1 where colours come from the blocks, so it never tells two settings apart.
bool SameColour(const document::ColourChannels& a, const document::ColourChannels& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b;
}

}  // namespace

document::PatternSettings PatternSettingsAt(const zal::IParamBlock2& block, zal::TimeValue t, zal::Interval& valid,
                                            bool transparentBackground) {
  document::PatternSettings settings;
  double number = 0.0;
  zal::AColor colour;
  block.GetValue(kPatternName, t, settings.patternIndex, valid);
  block.GetValue(kPatternRepeat, t, number, valid);
  settings.repeat = static_cast<float>(number);
  block.GetValue(kLineWidth, t, number, valid);
  settings.lineWidth = static_cast<float>(number);
  block.GetValue(kLineColor, t, colour, valid);
  settings.lineColour = Opaque(colour);
  block.GetValue(kBackColor, t, colour, valid);
  settings.backgroundColour = transparentBackground ? document::ColourChannels{0.0, 0.0, 0.0, 0.0} : Opaque(colour);
  block.GetValue(kLineCap, t, settings.lineCap, valid);
  return settings;
}

document::PdfPageSettings PdfSettingsAt(const zal::IParamBlock2& block, zal::TimeValue t, zal::Interval& valid,
                                        const document::PdfPageSettings& previous) {
  document::PdfPageSettings settings = previous;
  double page = 1.0;
  int value = 0;
  block.GetValue(kPdfPage, t, page, valid);
  settings.page = static_cast<float>(page);
  block.GetValue(kContinuous, t, value, valid);
  settings.continuous = value != 0 ? 1 : 0;
  block.GetValue(kTransitionMode, t, value, valid);
  settings.transitionMode = static_cast<uint32_t>(std::clamp(value, 0, 3));
  block.GetValue(kTransitionDir, t, value, valid);
  settings.transitionDirection = static_cast<uint32_t>(std::clamp(value, 0, 7));
  block.GetValue(kTransparent, t, value, valid);
  settings.transparent = value != 0 ? 1 : 0;
  if (settings.transparent == 0) {
    zal::AColor colour;
    block.GetValue(kPageColor, t, colour, valid);
    settings.pageColour = Opaque(colour);
  }
  return settings;
}

bool SamePatternSettings(const document::PatternSettings& a, const document::PatternSettings& b) {
  return a.patternIndex == b.patternIndex && a.repeat == b.repeat && a.lineWidth == b.lineWidth &&
         SameColour(a.lineColour, b.lineColour) && SameColour(a.backgroundColour, b.backgroundColour) &&
         a.lineCap == b.lineCap;
}

bool SamePdfSettings(const document::PdfPageSettings& a, const document::PdfPageSettings& b) {
  return a.page == b.page && a.continuous == b.continuous && a.transitionMode == b.transitionMode &&
         a.transitionDirection == b.transitionDirection && a.transparent == b.transparent &&
         (a.transparent != 0 || SameColour(a.pageColour, b.pageColour));
}

}  // namespace graphel
