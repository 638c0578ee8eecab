#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "document/vector_document.h"
#include "platform/wide_text.h"

// Loads arbitrary bytes as a PDF file and renders a small frame of it; the first byte picks the
// transition mode and direction, so both single pages and two-page frames are drawn.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/graphel_fuzz_" + std::to_string(::getpid()) + ".pdf";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  document::PdfPageSettings settings;
  const uint8_t pick = size > 0 ? data[size - 1] : 0;
  settings.page = 1.5f;
  settings.continuous = 1;
  settings.transitionMode = pick & 3u;
  settings.transitionDirection = (pick >> 2) & 7u;
  settings.transparent = pick >> 7;
  svg::LoadError error;
  const auto loaded =
      document::VectorDocument::Create(error, false, platform::Utf8ToWide(path), nullptr, 1.0, &settings);
  if (loaded->Loaded() && error.code != 0) __builtin_trap();
  if (loaded->Loaded()) loaded->RenderWhole(24);
  return 0;
}
