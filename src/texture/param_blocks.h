#pragma once

#include "host/param_block.h"

namespace graphel {

// Parameter block IDs, and the texture's references by number.
enum BlockId : zal::BlockID { kParamsBlock = 0, kPatternBlock = 1, kPdfBlock = 2, kAdvancedBlock = 3 };
enum RefNumber : int { kCoordsRef = 0, kParamsRef = 1, kOutputRef = 2, kPatternRef = 3, kPdfRef = 4, kAdvancedRef = 5 };
inline constexpr int kNumRefs = 6;
inline constexpr int kNumBlocks = 4;

// "params"
enum ParamsId : zal::ParamID {
  kVectorFile = 0,
  kFilter = 3,
  kMipmap = 4,
  kMonoOutput = 5,
  kRgbOutput = 6,
  kAlphaSource = 7,
  kApplyCrop = 8,
  kCropOrPlace = 9,
  kCropU = 10,
  kCropV = 11,
  kCropW = 12,
  kCropH = 13,
  kJitter = 14,
  kJitterAmount = 15,
  kCoords = 16,
  kOutput = 17,
};

// "pattern params"
enum PatternId : zal::ParamID {
  kPatternName = 0,
  kPatternRepeat = 1,
  kLineWidth = 2,
  kLineColor = 3,
  kBackColor = 4,
  kLineCap = 5,
};

// "pdf params"
enum PdfId : zal::ParamID {
  kPdfPage = 0,
  kContinuous = 1,
  kTransitionMode = 2,
  kTransparent = 3,
  kPageColor = 4,
  kTransitionDir = 5,
  kPreview = 6,
};

// "advanced params"
enum AdvancedId : zal::ParamID { kMemLimit = 0, kHwBitmapSize = 1 };

// Alpha source values.
inline constexpr int kAlphaFromImage = 0;
inline constexpr int kAlphaFromIntensity = 1;
inline constexpr int kAlphaOpaque = 2;

extern const zal::ParamBlockDesc2 kParamsDesc;
extern const zal::ParamBlockDesc2 kPatternDesc;
extern const zal::ParamBlockDesc2 kPdfDesc;
extern const zal::ParamBlockDesc2 kAdvancedDesc;

}  // namespace graphel
