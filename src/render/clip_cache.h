#pragma once

#include <agg_trans_affine.h>

#include <optional>

#include "render/alpha_mask.h"
#include "svg/element.h"

namespace render {

class Canvas;

// The latest clip mask a render made, so that elements sharing a clip path under the same
// transform, box and enclosing mask (siblings, typically, which follow one another) share one mask
// instead of drawing it again.
class ClipCache {
 public:
  struct Key {
    const svg::SVGElement* clip = nullptr;
    const Canvas* canvas = nullptr;
    agg::trans_affine transform;
    agg::trans_affine unitsBox;
    svg::Rect box;
    bool evenOdd = false;
    AlphaMaskPtr enclosing;  // held, so that its address can't be taken by another mask meanwhile

    bool operator==(const Key& other) const;
  };

  // The mask made for key; null when it is not the latest.
  AlphaMaskPtr Find(const Key& key) const { return key_ && *key_ == key ? mask_ : nullptr; }
  void Store(Key key, AlphaMaskPtr mask) {
    key_ = std::move(key);
    mask_ = std::move(mask);
  }

 private:
  std::optional<Key> key_;
  AlphaMaskPtr mask_;
};

}  // namespace render
