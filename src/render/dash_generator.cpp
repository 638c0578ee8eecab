#include "render/dash_generator.h"

#include <algorithm>
#include <cmath>

namespace render {

WindowedDashes::WindowedDashes(std::vector<std::pair<double, double>> dashes, double start, const svg::Rect& window,
                               double pixel)
    : dashes_(std::move(dashes)), start_(start), window_(window) {
  if (!dashes_.empty() && pixel > 0.0 && std::isfinite(pixel)) MergeFineEntries(0.5 * pixel);
}

double WindowedDashes::Period() const {
  double period = 0.0;
  for (const auto& [dash, gap] : dashes_) period += dash + gap;
  return period;
}

// Every subpath starts the pattern again at the dash offset.
void WindowedDashes::BeginSubpath() {
  penDown_ = false;
  entry_ = 0;
  used_ = 0.0;
  const double period = Period();
  double offset = std::fmod(start_, period);
  if (offset < 0.0) offset += period;
  for (;;) {
    const double length = entry_ % 2 == 0 ? dashes_[entry_ / 2].first : dashes_[entry_ / 2].second;
    if (offset < length) {
      used_ = offset;
      return;
    }
    offset -= length;
    entry_ = (entry_ + 1) % (dashes_.size() * 2);
  }
}

double WindowedDashes::EntryLength() const {
  return entry_ % 2 == 0 ? dashes_[entry_ / 2].first : dashes_[entry_ / 2].second;
}

bool WindowedDashes::ClipToWindow(double x1, double y1, double x2, double y2, double& t0, double& t1) const {
  t0 = 0.0;
  t1 = 1.0;
  const double dx = x2 - x1, dy = y2 - y1;
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {x1 - window_.x1, window_.x2 - x1, y1 - window_.y1, window_.y2 - y1};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0.0) {
      if (q[i] < 0.0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0.0) {
      t0 = std::max(t0, t);
    } else {
      t1 = std::min(t1, t);
    }
  }
  return t0 <= t1;
}

void WindowedDashes::Advance(double distance) {
  double remaining = std::fmod(distance, Period());
  for (size_t guard = 0; guard <= dashes_.size() * 2; ++guard) {
    const double entryLength = EntryLength();
    if (used_ + remaining < entryLength) {
      used_ += remaining;
      return;
    }
    remaining -= entryLength - used_;
    used_ = 0.0;
    entry_ = (entry_ + 1) % (dashes_.size() * 2);
  }
}

void WindowedDashes::Emit(double x1, double y1, double dx, double dy, double length, double from, double to) {
  double along = from;
  // Every pass either finishes an entry or reaches the end; the budget stops patterns whose entries
  // vanish in the rounding of a far-out distance.
  while (along < to && steps_ < kMaxSteps) {
    ++steps_;
    const bool inDash = entry_ % 2 == 0;
    const double left = EntryLength() - used_;
    const bool finishes = left <= to - along;
    const double end = finishes ? along + left : to;
    if (inDash) {
      if (!penDown_) {
        output_.move_to(x1 + dx * along / length, y1 + dy * along / length);
        ++dashCount_;
        penDown_ = true;
      }
      output_.line_to(x1 + dx * end / length, y1 + dy * end / length);
    }
    if (finishes) {
      used_ = 0.0;
      entry_ = (entry_ + 1) % (dashes_.size() * 2);
      if (inDash) penDown_ = false;
    } else {
      used_ += end - along;
    }
    along = end;
  }
}

void WindowedDashes::AddSegment(double x1, double y1, double x2, double y2, double arcLength) {
  const double dx = x2 - x1, dy = y2 - y1;
  const double chord = std::sqrt(dx * dx + dy * dy);
  // Along a curve piece, distances are measured on the curve and placed proportionally on the chord.
  const double length = std::isnan(arcLength) ? chord : arcLength;
  if (!(length > 0.0) || !std::isfinite(length) || !(chord > 0.0)) {
    if (length > 0.0 && std::isfinite(length)) Advance(length);
    return;
  }
  double t0 = 0.0, t1 = 0.0;
  if (!ClipToWindow(x1, y1, x2, y2, t0, t1)) {
    penDown_ = false;
    Advance(length);
    return;
  }
  const double from = t0 * length, to = t1 * length;
  if (from > 0.0) {
    penDown_ = false;
    Advance(from);
  }
  Emit(x1, y1, dx, dy, length, from, to);
  if (to < length) {
    penDown_ = false;
    Advance(length - to);
  }
}

template <typename OnSubpath, typename OnSegment>
void WindowedDashes::ForEachSegment(const WindowedCurves& curves, OnSubpath onSubpath, OnSegment onSegment) {
  const agg::path_storage& path = curves.Output();
  double startX = 0.0, startY = 0.0, lastX = 0.0, lastY = 0.0;
  bool open = false;
  for (unsigned i = 0; i < path.total_vertices(); ++i) {
    double x = 0.0, y = 0.0;
    const unsigned command = path.vertex(i, &x, &y);
    if (agg::is_move_to(command)) {
      onSubpath();
      startX = lastX = x;
      startY = lastY = y;
      open = true;
    } else if (agg::is_vertex(command) && open) {
      onSegment(lastX, lastY, x, y, curves.ArcLength(i));
      lastX = x;
      lastY = y;
    } else if (agg::is_end_poly(command) && open && agg::is_closed(command)) {
      onSegment(lastX, lastY, startX, startY, NAN);
      lastX = startX;
      lastY = startY;
    }
  }
}

void WindowedDashes::MergeFineEntries(double minimum) {
  std::vector<std::pair<double, double>> merged;
  double dash = 0.0, gap = 0.0;
  for (const auto& [d, g] : dashes_) {
    dash += d;
    gap += g;
    if (dash + gap >= minimum) {
      merged.emplace_back(dash, gap);
      dash = gap = 0.0;
    }
  }
  if (merged.empty()) {
    merged.emplace_back(dash, gap);
  } else {
    merged.back().first += dash;
    merged.back().second += gap;
  }
  dashes_ = std::move(merged);
}

void WindowedDashes::Build(const WindowedCurves& curves) {
  output_.remove_all();
  dashCount_ = 0;
  steps_ = 0;
  tooMany_ = false;
  if (dashes_.empty() || !(Period() > 0.0)) return;
  // What reaches the window decides the work: its length in periods.
  double visible = 0.0;
  ForEachSegment(curves, [] {}, [&](double x1, double y1, double x2, double y2, double arcLength) {
    double t0 = 0.0, t1 = 0.0;
    if (!ClipToWindow(x1, y1, x2, y2, t0, t1)) return;
    const double length = std::isnan(arcLength) ? std::hypot(x2 - x1, y2 - y1) : arcLength;
    if (std::isfinite(length)) visible += (t1 - t0) * length;
  });
  if (!(visible / Period() * static_cast<double>(dashes_.size()) <= kMaxDashes)) {
    tooMany_ = true;
    return;
  }
  ForEachSegment(curves, [this] { BeginSubpath(); },
                 [this](double x1, double y1, double x2, double y2, double arcLength) {
                   AddSegment(x1, y1, x2, y2, arcLength);
                 });
}

}  // namespace render
