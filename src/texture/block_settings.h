#pragma once

#include "document/texture_settings.h"
#include "host/param_block.h"

namespace graphel {

// What the "pattern params" block holds at t, as the pattern converter takes it. Colours are opaque;
// with transparentBackground (the output's alpha comes from the image) the background is (0, 0, 0, 0).
document::PatternSettings PatternSettingsAt(const zal::IParamBlock2& block, zal::TimeValue t, zal::Interval& valid,
                                            bool transparentBackground);

// What the "pdf params" block holds at t. The page colour is read only for opaque pages; a
// transparent page keeps previous's, so switching transparency back does not count as a new colour.
document::PdfPageSettings PdfSettingsAt(const zal::IParamBlock2& block, zal::TimeValue t, zal::Interval& valid,
                                        const document::PdfPageSettings& previous);

bool SamePatternSettings(const document::PatternSettings& a, const document::PatternSettings& b);
bool SamePdfSettings(const document::PdfPageSettings& a, const document::PdfPageSettings& b);

}  // namespace graphel
