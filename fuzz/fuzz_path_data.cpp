#include <agg_path_storage.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/wide_text.h"
#include "svg/exception.h"
#include "svg/path_data.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  svg::PathSegmentList list;
  try {
    svg::ParsePathData(text, list);
  } catch (const svg::exception&) {
    // The segments read before the error are still drawn.
  }
  agg::path_storage path;
  svg::AppendSegments(list, path);
  svg::WriteSegments(list);
  return 0;
}
