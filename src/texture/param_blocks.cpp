#include "texture/param_blocks.h"

#include "texture/string_table.h"
#include "texture/vector_file.h"

namespace graphel {
namespace {

using zal::ParamDef;

constexpr ParamDef Bool(zal::ParamID id, const char* name, bool value, int nameId) {
  return {.id = id, .name = name, .type = zal::TYPE_BOOL, .defaultNumber = value ? 1.0 : 0.0, .localNameId = nameId};
}

constexpr ParamDef Int(zal::ParamID id, const char* name, int value, int low, int high, bool animatable, int nameId) {
  return {.id = id, .name = name, .type = zal::TYPE_INT, .defaultNumber = static_cast<double>(value),
          .hasRange = low <= high, .rangeMin = static_cast<double>(low), .rangeMax = static_cast<double>(high),
          .animatable = animatable, .localNameId = nameId};
}

constexpr ParamDef Float(zal::ParamID id, const char* name, double value, double low, double high, int nameId) {
  return {.id = id, .name = name, .type = zal::TYPE_FLOAT, .defaultNumber = value, .hasRange = true,
          .rangeMin = low, .rangeMax = high, .animatable = true, .localNameId = nameId};
}

constexpr ParamDef Colour(zal::ParamID id, const char* name, float grey, int nameId) {
  return {.id = id, .name = name, .type = zal::TYPE_FRGBA, .defaultColour = {grey, grey, grey, 1.0f},
          .animatable = true, .localNameId = nameId};
}

constexpr ParamDef Target(zal::ParamID id, const char* name, int refNo, int nameId) {
  return {.id = id, .name = name, .type = zal::TYPE_REFTARG, .localNameId = nameId, .refNo = refNo};
}

// Integers without a range pass low > high.
constexpr int kNoRange = 1;
constexpr int kNoRangeEnd = 0;

constexpr ParamDef kParams[] = {
    {.id = kVectorFile, .name = "vectorfile", .type = zal::TYPE_FILENAME, .localNameId = IDS_VECTORFILE,
     .accessor = &vectorFileAccessor},
    Bool(kFilter, "filter", true, IDS_FILTER),
    Bool(kMipmap, "mipmap", true, IDS_MIPMAP),
    Int(kMonoOutput, "monooutput", 1, 0, 1, false, IDS_MONOOUTPUT),
    Int(kRgbOutput, "rgboutput", 0, 0, 1, false, IDS_RGBOUTPUT),
    Int(kAlphaSource, "alphasource", 2, 0, 2, false, IDS_ALPHA_SOURCE),
    Bool(kApplyCrop, "applycrop", false, IDS_APPLYCROP),
    Int(kCropOrPlace, "croporplace", 0, 0, 1, false, IDS_CROPORPLACE),
    Float(kCropU, "crop_u", 0.0, 0.0, 1.0, IDS_CLIP_U_OFFSET),
    Float(kCropV, "crop_v", 0.0, 0.0, 1.0, IDS_CLIP_V_OFFSET),
    Float(kCropW, "crop_w", 1.0, 0.0, 1.0, IDS_CLIP_U_WIDTH),
    Float(kCropH, "crop_h", 1.0, 0.0, 1.0, IDS_CLIP_V_WIDTH),
    Bool(kJitter, "jitter", false, IDS_JITTER),
    Float(kJitterAmount, "jitteramt", 1.0, 0.0, 1.0, IDS_JITTER_PLACEMENT),
    Target(kCoords, "coords", kCoordsRef, IDS_COORDS),
    Target(kOutput, "output", kOutputRef, IDS_OUTPUT),
};

constexpr ParamDef kPatternParams[] = {
    Int(kPatternName, "patternname", 0, kNoRange, kNoRangeEnd, false, IDS_PATTERNNAME),
    Float(kPatternRepeat, "patternrepeat", 1.0, 0.01, 256.0, IDS_PATTERN_REPEAT),
    Float(kLineWidth, "linewidth", 1.0, 0.0, 256.0, IDS_LINE_WIDTH),
    Colour(kLineColor, "linecolor", 0.0f, IDS_LINE_COLOR),
    Colour(kBackColor, "backcolor", 1.0f, IDS_BACKGROUND_COLOR),
    Int(kLineCap, "linecap", 0, 0, 2, false, IDS_LINE_CAP),
};

constexpr ParamDef kPdfParams[] = {
    Float(kPdfPage, "pdf_page", 1.0, 1.0, 100000.0, IDS_PDF_PAGE_NUMBER),
    Bool(kContinuous, "continous", false, IDS_CONTINOUS),
    Int(kTransitionMode, "transition_mode", 0, 0, 3, true, IDS_TRANSITION_MODE),
    Bool(kTransparent, "transparent", true, IDS_TRANSPARENT),
    Colour(kPageColor, "pagecolor", 1.0f, IDS_PAGE_COLOR),
    Int(kTransitionDir, "transitiondir", 0, kNoRange, kNoRangeEnd, true, IDS_TRANSITION_DIRECTION),
    Bool(kPreview, "preview", false, IDS_PREVIEW),
};

constexpr ParamDef kAdvancedParams[] = {
    Int(kMemLimit, "memlimit", 0, 0, 100, false, IDS_MEMLIMIT),
    Int(kHwBitmapSize, "hwbitmapsize", 256, 256, 4096, false, IDS_HWBITMAPSIZE),
};

}  // namespace

const zal::ParamBlockDesc2 kParamsDesc{
    .id = kParamsBlock, .internalName = "params", .localNameId = IDS_PARAMS, .refNo = kParamsRef,
    .dialogTemplate = 501, .rollupClosed = false, .params = kParams};
const zal::ParamBlockDesc2 kPatternDesc{
    .id = kPatternBlock, .internalName = "pattern params", .localNameId = IDS_PATTERN_PARAMS,
    .refNo = kPatternRef, .dialogTemplate = 502, .rollupClosed = false, .params = kPatternParams};
const zal::ParamBlockDesc2 kPdfDesc{
    .id = kPdfBlock, .internalName = "pdf params", .localNameId = IDS_PDF_PARAMS, .refNo = kPdfRef,
    .dialogTemplate = 504, .rollupClosed = false, .params = kPdfParams};
const zal::ParamBlockDesc2 kAdvancedDesc{
    .id = kAdvancedBlock, .internalName = "advanced params", .localNameId = IDS_ADVANCED_PARAMS,
    .refNo = kAdvancedRef, .dialogTemplate = 503, .rollupClosed = true, .params = kAdvancedParams};

}  // namespace graphel
