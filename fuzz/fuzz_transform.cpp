#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/wide_text.h"
#include "svg/exception.h"
#include "svg/values.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    svg::TransformToText(svg::ParseTransformList(text));
    svg::Length::Parse(text).ToText();
  } catch (const svg::exception&) {
    // Value parsers may only fail with svg::exception; anything else reaching the fuzzer is a bug.
  }
  return 0;
}
