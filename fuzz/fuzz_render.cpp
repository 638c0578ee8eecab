#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document/vector_document.h"
#include "platform/wide_text.h"

// Loads arbitrary bytes as SVG text and renders what loaded into a small square: every path through
// the renderer (paint servers, clips, masks, use, images, text) must finish without a fault.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr int32_t kSize = 64;
  const std::u16string text = platform::Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
  svg::LoadError error;
  const auto loaded = document::VectorDocument::Create(error, true, text, nullptr, 1.0);
  if (!loaded->Loaded()) return 0;
  loaded->RenderTile(0x00000000u, kSize, kSize, 0, 0, 0);
  // A tile of a larger image with a border goes through the windowed paths.
  loaded->RenderTile(0xFFFFFFFFu, kSize * 4, kSize, 1, 2, 2);
  return 0;
}
