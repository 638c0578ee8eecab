#pragma once

#include <agg_path_storage.h>

#include <cstddef>
#include <vector>

namespace text {

// The line that glyphs of a textPath follow: x is the distance along it, y the distance across it.
// A moveto starts a new piece without adding length, so distance runs on from the end of one
// subpath at the start of the next; a closepath adds the closing segment.
class TextPath {
 public:
  // Flattens outline (curves at approximationScale) into the line. False when the line has no
  // length (fewer than two distinct points); the text path then isn't used.
  bool Build(agg::path_storage& outline, double approximationScale);

  double Length() const { return length_; }
  // Maps (along, across) onto the page; points past either end continue the end segments' direction.
  void Map(double* x, double* y) const;
  // The same, under the name AGG's conv_transform calls.
  void transform(double* x, double* y) const { Map(x, y); }

 private:
  struct Point {
    double x = 0.0;
    double y = 0.0;
    double distance = 0.0;  // along the line from its start
  };

  void AddPoint(double x, double y, bool startsPiece);

  std::vector<Point> points_;
  std::vector<size_t> pieces_;  // index of each piece's first point; every piece has two or more
  double length_ = 0.0;
};

}  // namespace text
