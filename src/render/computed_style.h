#pragma once

#include <optional>
#include <string>

#include <agg_color_rgba.h>
#include <agg_trans_affine.h>

#include "svg/property_store.h"

namespace svg {
class SvgScriptCallback;
}

namespace render {

// Merges the declarations of source into the computed style target. ownDeclarations is set for the
// element's own store and clear for style-sheet rules, which never override a style attribute.
void MergeStyle(svg::PropertyStore& target, const svg::PropertyStore& source, svg::SvgScriptCallback* callback,
                bool ownDeclarations);

// Drops the properties that are not inherited and marks the rest as coming from the parent.
void InheritStyle(svg::PropertyStore& style);

double StyleNumber(const svg::PropertyStore& style, svg::PropertyId id, double fallback);
uint32_t StyleKeyword(const svg::PropertyStore& style, svg::PropertyId id, uint32_t fallback);
svg::Length StyleLength(const svg::PropertyStore& style, svg::PropertyId id, svg::Length fallback);
// The accumulated user transform (identity when none).
agg::trans_affine StyleTransform(const svg::PropertyStore& style);
void SetStyleTransform(svg::PropertyStore& style, const agg::trans_affine& matrix);

// A fill or stroke resolved to a colour; a reference keeps its text for the paint servers.
struct ResolvedPaint {
  agg::rgba8 colour{0, 0, 0, 0};
  std::u16string reference;  // the whole url(...) text, when the paint is a reference
};
ResolvedPaint StylePaint(const svg::PropertyStore& style, svg::PropertyId id, agg::rgba8 fallback);

// Opacity-like numbers as a byte: floor(clamp(value, 0, 1) * 255 + 0.5).
uint8_t OpacityByte(double value);
// A colour's own alpha multiplied by an opacity property (fill-, stroke- or stop-opacity), as a byte.
uint8_t AlphaTimesOpacity(uint8_t alpha, double opacity);

}  // namespace render
