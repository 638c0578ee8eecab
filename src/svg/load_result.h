#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace svg {

// What a load reports: 0, or the code of the failure with its detail text and XML position.
struct LoadError {
  static constexpr size_t kMessageCapacity = 255;

  uint32_t code = 0;
  std::u16string message;  // at most kMessageCapacity characters
  uint32_t line = 0;       // counted from 1
  uint32_t column = 0;     // counted from 0

  void Clear() { *this = LoadError{}; }
  void SetMessage(std::u16string_view text) { message = std::u16string(text.substr(0, kMessageCapacity)); }
};

// The drawing's extent in user units.
struct DocumentExtent {
  bool set = true;
  std::optional<std::u16string> text;
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};

}  // namespace svg
