#include "text/white_space.h"

namespace text {

std::u16string CollapseWhiteSpace(std::u16string_view text, bool preserve, bool& endsWithSpace) {
  std::u16string out;
  out.reserve(text.size());
  bool lastWasSpace = endsWithSpace;
  for (char16_t c : text) {
    if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
    if (c == u' ' && !preserve && lastWasSpace) continue;
    out.push_back(c);
    lastWasSpace = c == u' ';
  }
  if (!out.empty()) endsWithSpace = out.back() == u' ';
  return out;
}

}  // namespace text
