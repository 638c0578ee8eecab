#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "document/vector_document.h"
#include "platform/wide_text.h"

// Loads arbitrary bytes as a compressed drawing file, through the temporary-copy path.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/graphel_fuzz_" + std::to_string(::getpid()) + ".svgz";
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, file);
    std::fclose(file);
  }
  svg::LoadError error;
  const auto loaded = document::VectorDocument::Create(error, false, platform::Utf8ToWide(path), nullptr, 1.0);
  if (loaded->Loaded() && error.code != 0) __builtin_trap();
  return 0;
}
