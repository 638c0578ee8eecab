#pragma once

#include <fontconfig/fontconfig.h>

#include <memory>

// Owning handles for fontconfig objects, so every early return releases what was made.
namespace text {

struct FcConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct FcPatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FcFontSetDeleter {
  void operator()(FcFontSet* fontSet) const { FcFontSetDestroy(fontSet); }
};
struct FcCharSetDeleter {
  void operator()(FcCharSet* charSet) const { FcCharSetDestroy(charSet); }
};

using ConfigHandle = std::unique_ptr<FcConfig, FcConfigDeleter>;
using PatternHandle = std::unique_ptr<FcPattern, FcPatternDeleter>;
using FontSetHandle = std::unique_ptr<FcFontSet, FcFontSetDeleter>;
using CharSetHandle = std::unique_ptr<FcCharSet, FcCharSetDeleter>;

}  // namespace text
