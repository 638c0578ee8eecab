#include "frame_range.h"

#include <charconv>

namespace graphel_cli {
namespace {

// Reads an optionally signed decimal integer at the start of text; advances text past it.
bool TakeInteger(std::string_view& text, int64_t& value) {
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (status != std::errc() || end == text.data()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return true;
}

// The width of the conversion starting at pattern[at] == '%': 0 for %d, N for %0Nd; -1 when it is
// not an integer conversion. length receives how many characters it spans.
int ConversionWidth(std::string_view pattern, size_t at, size_t& length) {
  if (at + 1 < pattern.size() && pattern[at + 1] == 'd') {
    length = 2;
    return 0;
  }
  if (at + 3 < pattern.size() && pattern[at + 1] == '0' && pattern[at + 2] >= '1' && pattern[at + 2] <= '9' &&
      pattern[at + 3] == 'd') {
    length = 4;
    return pattern[at + 2] - '0';
  }
  return -1;
}

}  // namespace

std::optional<FrameRange> ParseFrameRange(std::string_view text, std::string& error) {
  const std::string_view whole = text;
  error = "--frames wants A-B or A-B:STEP with whole frames, got \"" + std::string(whole) + "\"";
  FrameRange range;
  if (!TakeInteger(text, range.first)) return std::nullopt;
  range.last = range.first;
  if (!text.empty() && text.front() == '-') {
    text.remove_prefix(1);
    if (!TakeInteger(text, range.last)) return std::nullopt;
  }
  if (!text.empty() && text.front() == ':') {
    text.remove_prefix(1);
    if (!TakeInteger(text, range.step)) return std::nullopt;
  }
  if (!text.empty()) return std::nullopt;
  if (range.step < 1) {
    error = "--frames: the step must be 1 or more";
    return std::nullopt;
  }
  if (range.last < range.first) {
    error = "--frames: the last frame comes before the first";
    return std::nullopt;
  }
  if ((range.last - range.first) / range.step >= kMaxFramesInRange) {
    error = "--frames: more than " + std::to_string(kMaxFramesInRange) + " frames";
    return std::nullopt;
  }
  error.clear();
  return range;
}

bool CheckFramePattern(std::string_view pattern, std::string& error) {
  int conversions = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') continue;
    size_t length = 0;
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      ++i;
    } else if (ConversionWidth(pattern, i, length) >= 0) {
      ++conversions;
      i += length - 1;
    } else {
      error = "-o: \"" + std::string(pattern) + "\" has a % that is neither %d, %0Nd nor %%";
      return false;
    }
  }
  if (conversions != 1) {
    error = "-o: the name needs exactly one frame number, as in out_%04d.png";
    return false;
  }
  return true;
}

std::string FrameFileName(std::string_view pattern, int64_t frame) {
  std::string name;
  for (size_t i = 0; i < pattern.size(); ++i) {
    size_t length = 0;
    if (pattern[i] != '%') {
      name += pattern[i];
    } else if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      name += '%';
      ++i;
    } else if (const int width = ConversionWidth(pattern, i, length); width >= 0) {
      std::string digits = std::to_string(frame < 0 ? -frame : frame);
      const size_t wanted = static_cast<size_t>(width) - (frame < 0 && width > 0 ? 1 : 0);
      if (digits.size() < wanted) digits.insert(0, wanted - digits.size(), '0');
      name += (frame < 0 ? "-" : "") + digits;
      i += length - 1;
    }
  }
  return name;
}

}  // namespace graphel_cli
