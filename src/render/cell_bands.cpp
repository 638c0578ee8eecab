#include "render/cell_bands.h"

#include <algorithm>
#include <cmath>

namespace render {

CellEstimate::CellEstimate(int width, int top, int bottom, bool perRow)
    : width_(std::max(width, 0)), top_(top), bottom_(std::max(bottom, top)) {
  if (perRow) rowDeltas_.assign(static_cast<size_t>(bottom_ - top_) + 1, 0.0);
}

void CellEstimate::Close() {
  if (open_ && (lastX_ != startX_ || lastY_ != startY_)) Segment(lastX_, lastY_, startX_, startY_);
  lastX_ = startX_;
  lastY_ = startY_;
  open_ = false;
}

void CellEstimate::Segment(double x1, double y1, double x2, double y2) {
  const double top = std::min(y1, y2), bottom = std::max(y1, y2);
  // The rasteriser drops what lies wholly above or below its clip box; rows count from top_.
  const double height = bottom_ - top_;
  if (!(bottom >= top_) || !(top <= bottom_) || height == 0.0) return;
  const int firstRow = static_cast<int>(std::max(top - top_, 0.0));
  const int lastRow = std::min(static_cast<int>(std::min(bottom - top_, height)), bottom_ - top_ - 1);
  const double travel = std::fabs(x2 - x1) / std::max(bottom - top, 1.0);
  // Parts beyond the sides become vertical lines on the box edge, so no row holds more than the width.
  const double perRow = std::min(travel, static_cast<double>(width_)) + 2.0;
  cells_ += perRow * (lastRow - firstRow + 1);
  if (!rowDeltas_.empty()) {
    rowDeltas_[static_cast<size_t>(firstRow)] += perRow;
    rowDeltas_[static_cast<size_t>(lastRow) + 1] -= perRow;
  }
}

std::vector<RowBand> CellEstimate::Bands(double capacity) const {
  std::vector<RowBand> bands;
  if (rowDeltas_.empty()) return {RowBand{top_, bottom_}};
  double row = 0.0, band = 0.0;
  int top = top_;
  for (int y = top_; y < bottom_; ++y) {
    row += rowDeltas_[static_cast<size_t>(y - top_)];
    if (y > top && band + row > capacity) {
      bands.push_back(RowBand{top, y});
      top = y;
      band = 0.0;
    }
    band += row;
  }
  if (top < bottom_) bands.push_back(RowBand{top, bottom_});
  return bands;
}

}  // namespace render
