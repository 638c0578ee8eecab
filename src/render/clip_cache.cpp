#include "render/clip_cache.h"

namespace render {
namespace {

bool SameMatrix(const agg::trans_affine& a, const agg::trans_affine& b) {
  return a.sx == b.sx && a.shy == b.shy && a.shx == b.shx && a.sy == b.sy && a.tx == b.tx && a.ty == b.ty;
}

}  // namespace

bool ClipCache::Key::operator==(const Key& other) const {
  return clip == other.clip && canvas == other.canvas && SameMatrix(transform, other.transform) &&
         SameMatrix(unitsBox, other.unitsBox) && box.x1 == other.box.x1 && box.y1 == other.box.y1 &&
         box.x2 == other.box.x2 && box.y2 == other.box.y2 && evenOdd == other.evenOdd &&
         enclosing.get() == other.enclosing.get();
}

}  // namespace render
