#include "text/text_state.h"

#include <algorithm>

namespace text {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::vector<std::u16string> ParseFontFamilies(std::u16string_view value, std::u16string_view fallback) {
  std::vector<std::u16string> families;
  while (true) {
    const size_t comma = value.find(u',');
    std::u16string_view token = Trim(value.substr(0, comma));
    if (token.size() >= 2 && (token.front() == u'"' || token.front() == u'\'') &&
        token.back() == token.front()) {
      token = Trim(token.substr(1, token.size() - 2));
    }
    if (!token.empty()) families.emplace_back(token);
    if (comma == std::u16string_view::npos) break;
    value.remove_prefix(comma + 1);
  }
  families.emplace_back(fallback);
  return families;
}

void WritePositions(std::vector<double>& list, size_t at, std::span<const double> values) {
  if (values.empty()) return;
  if (list.size() < at + values.size()) list.resize(at + values.size(), 0.0);
  std::copy(values.begin(), values.end(), list.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace text
