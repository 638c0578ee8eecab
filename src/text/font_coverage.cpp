#include "text/font_coverage.h"

#include "platform/wide_text.h"

namespace text {
namespace {

constexpr char32_t kLastBmpCode = 0xFFFF;

// Code points arrive in increasing order, so a range only ever grows at its end.
template <typename Range>
void Append(std::vector<Range>& ranges, char32_t code) {
  using Code = decltype(Range::first);
  if (!ranges.empty() && static_cast<char32_t>(ranges.back().last) + 1 == code) {
    ranges.back().last = static_cast<Code>(code);
  } else {
    ranges.push_back({static_cast<Code>(code), static_cast<Code>(code)});
  }
}

}  // namespace

void FontCoverage::ToRanges(std::vector<UnicodeRange>& bmp,
                            std::vector<SupplementaryRange>& supplementary) const {
  bmp.clear();
  supplementary.clear();
  if (!charSet_) return;
  FcChar32 map[FC_CHARSET_MAP_SIZE];
  FcChar32 next = 0;
  for (FcChar32 base = FcCharSetFirstPage(charSet_.get(), map, &next); base != FC_CHARSET_DONE;
       base = FcCharSetNextPage(charSet_.get(), map, &next)) {
    for (unsigned word = 0; word < FC_CHARSET_MAP_SIZE; ++word) {
      for (unsigned bit = 0; bit < 32; ++bit) {
        if ((map[word] & (FcChar32{1} << bit)) == 0) continue;
        const char32_t code = base + word * 32 + bit;
        if (code > kLastBmpCode) {
          Append(supplementary, code);
        } else if (!platform::IsSurrogate(code)) {
          Append(bmp, code);
        }
      }
    }
  }
}

}  // namespace text
