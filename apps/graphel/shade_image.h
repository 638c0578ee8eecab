#pragma once

#include <cstdint>
#include <vector>

#include "host/mtl_base.h"
#include "shade_scene.h"

namespace graphel_cli {

class ProgressBar;

struct ShadeImageSettings {
  SceneObject object = SceneObject::kPlane;
  int width = 640;
  int height = 480;
  int threads = 0;  // 0: one per core
  bool grazing = false;
  bool bump = false;
};

// The texture, up to date at t, on a lit grey object against a sky: width x height x 4 bytes,
// opaque RGBA, rows top first. Rows are shaded from several threads at once, as a renderer would;
// progress, when given, advances by one per row.
std::vector<uint8_t> ShadeImage(zal::Texmap& texture, zal::TimeValue t, const ShadeImageSettings& settings,
                                ProgressBar* progress);

}  // namespace graphel_cli
