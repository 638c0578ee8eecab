#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/vector_document.h"
#include "platform/wide_text.h"

// Loads arbitrary bytes as SVG text: every outcome must be a load or a load error.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string text =
      platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  svg::LoadError error;
  const auto loaded = document::VectorDocument::Create(error, true, text, nullptr, 1.0);
  if (loaded->Loaded() && error.code != 0) __builtin_trap();
  return 0;
}
