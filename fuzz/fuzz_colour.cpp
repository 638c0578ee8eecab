#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/wide_text.h"
#include "svg/colour.h"
#include "svg/property_store.h"

// The first byte picks the property (ids past the table included) and whether clip rectangles are read;
// the rest is the value text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const auto id = static_cast<svg::PropertyId>(data[0] & 0x3F);
  const bool withClipRect = (data[0] & 0x40) != 0;
  const std::u16string text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));

  svg::ParseColour(text, agg::rgba8(1, 2, 3, 4));
  svg::PropertyStore store;
  svg::SetProperty(store, id, text, svg::kFlagFromStyleAttribute, withClipRect);
  svg::SetProperty(store, id, text, 0, withClipRect);
  svg::ParseDeclaration(id, text, svg::kFlagInherit, withClipRect);
  return 0;
}
