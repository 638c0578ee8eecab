#include "progress_bar.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace graphel_cli {
namespace {

constexpr int kBarWidth = 30;
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string Duration(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0.0) return "--:--";
  const auto whole = static_cast<long long>(seconds + 0.5);
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld", whole / 60, whole % 60);
  return text;
}

}  // namespace

bool ProgressWanted(bool quiet) { return !quiet && isatty(STDERR_FILENO) == 1; }

ProgressBar::ProgressBar(std::string_view label, std::string_view unit, int64_t total, bool enabled)
    : label_(label), unit_(unit), total_(std::max<int64_t>(total, 1)), enabled_(enabled) {}

ProgressBar::~ProgressBar() { Finish(); }

void ProgressBar::Advance(int64_t count) {
  const int64_t done = done_.fetch_add(count) + count;
  if (!enabled_) return;
  const int64_t now = (Clock::now() - start_).count();
  int64_t due = nextDrawTicks_.load();
  // One thread wins each redraw; the others carry on without waiting.
  if (now < due || !nextDrawTicks_.compare_exchange_strong(due, now + Clock::duration(kRedrawInterval).count())) {
    return;
  }
  const std::unique_lock lock(drawing_, std::try_to_lock);
  if (lock.owns_lock() && !finished_) Draw(done);
}

void ProgressBar::Finish() {
  if (!enabled_) return;
  const std::lock_guard lock(drawing_);
  if (finished_) return;
  finished_ = true;
  Draw(done_.load());
  std::fputc('\n', stderr);
  std::fflush(stderr);
}

void ProgressBar::Draw(int64_t done) {
  done = std::min(done, total_);
  const double share = static_cast<double>(done) / static_cast<double>(total_);
  const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
  const double rate = seconds > 0.0 ? static_cast<double>(done) / seconds : 0.0;
  const double left = rate > 0.0 ? static_cast<double>(total_ - done) / rate : -1.0;
  const int filled = static_cast<int>(share * kBarWidth);
  const std::string bar = std::string(filled, '#') + std::string(kBarWidth - filled, '-');
  std::fprintf(stderr, "\r%s [%s] %3d%%  %.0f %s/s  %s left ", label_.c_str(), bar.c_str(),
               static_cast<int>(share * 100.0), rate, unit_.c_str(), Duration(left).c_str());
  std::fflush(stderr);
}

}  // namespace graphel_cli
