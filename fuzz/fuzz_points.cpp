#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/wide_text.h"
#include "svg/exception.h"
#include "svg/values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  svg::PointListValue points;
  try {
    points.Set(text);
  } catch (const svg::exception&) {
    // A malformed list keeps the points read before the error.
  }
  points.ToText(nullptr);
  return 0;
}
