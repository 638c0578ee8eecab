#pragma once

#include <agg_path_storage.h>
#include <agg_trans_single_path.h>

namespace text {

// The line that glyphs of a textPath follow: x is the distance along it, y the distance across it.
class TextPath {
 public:
  // Flattens outline (curves at approximationScale) into the line. False when the line has no
  // length (fewer than two distinct points); the text path then isn't used.
  bool Build(agg::path_storage& outline, double approximationScale);

  double Length() const { return length_; }
  // Maps (along, across) onto the page; points past either end continue the end segments' direction.
  void Map(double* x, double* y) const { line_.transform(x, y); }
  const agg::trans_single_path& Line() const { return line_; }

 private:
  agg::trans_single_path line_;
  double length_ = 0.0;
};

}  // namespace text
