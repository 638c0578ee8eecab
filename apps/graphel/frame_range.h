#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace graphel_cli {

// Whole frames first, first + step, ... up to and including last.
struct FrameRange {
  int64_t first = 0;
  int64_t last = 0;
  int64_t step = 1;

  int64_t Count() const { return (last - first) / step + 1; }
};

// Ranges longer than this are refused: no one renders ten million frames in one call.
inline constexpr int64_t kMaxFramesInRange = 10'000'000;

// "A-B[:STEP]" or a single frame "A"; A may be negative ("-5-10"), B not below A, STEP from 1.
// nullopt, with the reason in error, otherwise.
std::optional<FrameRange> ParseFrameRange(std::string_view text, std::string& error);

// An output name pattern holds exactly one frame number as printf writes an integer: %d or %0Nd
// (N from 1 to 9); %% is a percent sign. False, with the reason, otherwise.
bool CheckFramePattern(std::string_view pattern, std::string& error);
// The pattern with the frame number filled in (the pattern must have passed CheckFramePattern).
std::string FrameFileName(std::string_view pattern, int64_t frame);

}  // namespace graphel_cli
