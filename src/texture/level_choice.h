#pragma once

namespace graphel {

// The pyramid levels a sample can use: level 10 is the whole drawing at 1024 x 1024, every level
// above doubles the virtual image's size.
inline constexpr int kBaseLevel = 10;
inline constexpr int kMaxLevel = 24;

struct LevelChoice {
  int level = kBaseLevel;
  double nominalSize = 1024.0;  // the texel count the footprint asks for; blends levels with mip-mapping
  double du = 0.0;              // the footprint, adjusted, for the box filter
  double dv = 0.0;
};

// Picks the level from a footprint in texture space and the coordinates object's blur and blur
// offset. A footprint that is not a number counts as none.
LevelChoice ChooseLevel(double du, double dv, double blur, double blurOffset, bool materialEditor);

// The weight of the finer level when blending level L with L - 1; 1 means no blend is needed.
double MipBlendWeight(const LevelChoice& choice);

}  // namespace graphel
