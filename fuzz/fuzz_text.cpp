#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/vector_document.h"
#include "platform/wide_text.h"

// Puts arbitrary bytes, as UTF-16 code units (unpaired surrogates included), inside a text element
// with a few positioning lists and a text path, and renders it small: every input must render.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string content;
  for (size_t i = 0; i + 1 < size; i += 2) {
    const char16_t unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    // XML can't carry these; the markup around the text must stay well formed.
    if (unit == u'<' || unit == u'&' || unit < 0x20 || unit == 0xFFFE || unit == 0xFFFF) continue;
    content.push_back(unit);
  }
  const std::u16string svg =
      u"<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' viewBox='0 0 64 "
      u"64'>"
      u"<path id='p' d='M4 40 Q32 0 60 40'/>"
      u"<text x='2 9 17' y='30' dx='1' rotate='5 -10' font-size='9' text-anchor='middle' "
      u"letter-spacing='1'>" +
      content + u"<tspan baseline-shift='super' font-weight='bold'>" + content +
      u"</tspan><textPath xlink:href='#p' startOffset='10%'>" + content + u"</textPath></text></svg>";
  svg::LoadError error;
  const auto document = document::VectorDocument::Create(error, true, svg, nullptr, 1.0);
  if (document->Loaded()) document->RenderWhole(32);
  return 0;
}
