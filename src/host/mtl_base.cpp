#include "host/mtl_base.h"

#include <vector>

#include "host/bitmap.h"
#include "host/shade_context.h"

namespace zal {

int MtlBase::NumParamBlocks() { return 0; }
IParamBlock2* MtlBase::GetParamBlock(int) { return nullptr; }
IParamBlock2* MtlBase::GetParamBlockByID(BlockID) { return nullptr; }

SClass_ID Texmap::SuperClassID() { return TEXMAP_CLASS_ID; }

float Texmap::EvalMono(ShadeContext& sc) {
  const AColor c = EvalColor(sc);
  return (c.r + c.g + c.b) / 3.0f;
}

int Texmap::RenderBegin(TimeValue, unsigned) { return 1; }
int Texmap::RenderEnd(unsigned) { return 1; }
UVGen* Texmap::GetTheUVGen() { return nullptr; }

void Texmap::RenderBitmap(TimeValue t, Bitmap* bitmap, float, bool filter) {
  if (bitmap == nullptr) return;
  const int width = bitmap->Width();
  const int height = bitmap->Height();
  PointShadeContext sc;
  sc.time = t;
  sc.filterMaps = filter;
  sc.duvw = Point3{1.0 / width, 1.0 / height, 0.0};
  std::vector<BMM_Color_fl> line(static_cast<size_t>(width));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      sc.uvw = Point3{(x + 0.5) / width, 1.0 - (y + 0.5) / height, 0.0};
      const AColor c = EvalColor(sc);
      line[static_cast<size_t>(x)] = BMM_Color_fl{c.r, c.g, c.b, c.a};
    }
    bitmap->PutPixels(0, y, width, line.data());
  }
}

}  // namespace zal
