#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// File extensions, keywords and option names compare without regard to ASCII case only: other
// letters are never folded, so the result does not depend on the locale.
template <typename Char>
constexpr Char ToLowerAscii(Char c) {
  return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

template <typename Char>
constexpr bool EqualsIgnoringAsciiCase(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace platform
