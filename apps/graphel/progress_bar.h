#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace graphel_cli {

// Whether a progress bar may be drawn: standard error is a terminal and the user did not ask for quiet.
bool ProgressWanted(bool quiet);

// A one-line bar on standard error, redrawn in place with \r at most ten times a second: the share
// done, the rate and the time left. Advance may be called from any number of threads; a disabled
// bar draws nothing.
class ProgressBar {
 public:
  ProgressBar(std::string_view label, std::string_view unit, int64_t total, bool enabled);
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  void Advance(int64_t count = 1);
  // Draws the final state and ends the line; later calls do nothing.
  void Finish();

 private:
  void Draw(int64_t done);

  using Clock = std::chrono::steady_clock;
  const std::string label_;
  const std::string unit_;
  const int64_t total_;
  const bool enabled_;
  const Clock::time_point start_ = Clock::now();
  std::atomic<int64_t> done_{0};
  std::atomic<int64_t> nextDrawTicks_{0};
  std::mutex drawing_;
  bool finished_ = false;
};

}  // namespace graphel_cli
