#pragma once

namespace graphel {

struct CropSettings {
  bool apply = false;
  bool place = false;  // place shrinks the image into the window; crop stretches the window over it
  double u = 0.0, v = 0.0, w = 1.0, h = 1.0;
  bool jitter = false;
  double jitterAmount = 0.0;
};

// Where a sample lands after cropping, placement and jitter, with its footprint and the share of
// the footprint that still covers the image.
struct Placement {
  bool sample = true;
  double u = 0.0, v = 0.0;
  double du = 0.0, dv = 0.0;
  double weight = 1.0;
};

Placement ApplyCropPlacement(double u, double v, double du, double dv, const CropSettings& crop);

// The fractional part in which a non-zero whole number counts as 1: the edge of a repeat belongs to
// the repeat below it.
double EdgeFraction(double x);

// The two random numbers of a repeat cell, as the C runtime's generator gives them after srand(seed):
// the first and the fourth, each masked to 15 bits.
struct JitterDraw {
  int first = 0;
  int fourth = 0;
};
JitterDraw DrawJitter(unsigned seed);

}  // namespace graphel
