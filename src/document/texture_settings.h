#pragma once

#include <cstdint>

namespace document {

struct ColourChannels {
  double r = 0.0, g = 0.0, b = 0.0, a = 1.0;
};

// Channels held to 0..1 and rounded to bytes, packed R, G, B, A in memory order as the renderer's
// background takes them.
uint32_t PackedColour(const ColourChannels& colour);

// The hatch-pattern parameters of a texture, handed to pattern selection and conversion.
struct PatternSettings {
  int32_t patternIndex = 0;
  float repeat = 1.0f;
  float lineWidth = 1.0f;
  ColourChannels lineColour{0.0, 0.0, 0.0, 1.0};
  ColourChannels backgroundColour{1.0, 1.0, 1.0, 1.0};
  int32_t lineCap = 0;  // 0 round, 1 square, 2 butt
};

// The PDF page parameters of a texture; the reader writes the page count and page size.
struct PdfPageSettings {
  float page = 1.0f;
  uint32_t pageCount = 0;
  uint32_t continuous = 0;
  uint32_t transitionMode = 0;
  uint32_t transitionDirection = 0;
  uint32_t transparent = 0;
  ColourChannels pageColour{1.0, 1.0, 1.0, 1.0};
  double pageWidth = 0.0;
  double pageHeight = 0.0;
};

}  // namespace document
