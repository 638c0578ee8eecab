#include "svg/declaration_block.h"

#include <string>

#include "svg/number_parse.h"

namespace svg {
namespace {

std::u16string_view TrimLeft(std::u16string_view text) {
  while (!text.empty() && IsSpaceChar(text.front())) text.remove_prefix(1);
  return text;
}

}  // namespace

std::u16string BlankComments(std::u16string_view text) {
  std::u16string out(text);
  size_t start = out.find(u"/*");
  while (start != std::u16string::npos) {
    const size_t close = out.find(u"*/", start + 2);
    const size_t end = close == std::u16string::npos ? out.size() : close + 2;
    for (size_t i = start; i < end; ++i) out[i] = u' ';
    start = out.find(u"/*", end);
  }
  return out;
}

void ForEachDeclaration(std::u16string_view block, const DeclarationSink& sink) {
  const std::u16string text = BlankComments(block);
  std::u16string_view rest(text);
  while (!rest.empty()) {
    const size_t semicolon = rest.find(u';');
    std::u16string_view piece = rest.substr(0, semicolon);
    rest = semicolon == std::u16string_view::npos ? std::u16string_view() : rest.substr(semicolon + 1);

    piece = TrimLeft(piece);
    while (!piece.empty() && (IsSpaceChar(piece.back()) || piece.back() == u';')) piece.remove_suffix(1);
    if (piece.empty()) continue;

    const size_t colon = piece.find(u':');
    std::u16string_view name = piece.substr(0, colon);
    std::u16string_view value;
    if (colon != std::u16string_view::npos) {
      value = piece.substr(colon);
      while (!value.empty() && (value.front() == u':' || IsSpaceChar(value.front()))) value.remove_prefix(1);
    }
    while (!name.empty() && (IsSpaceChar(name.back()) || name.back() == u':')) name.remove_suffix(1);
    sink(name, value);
  }
}

}  // namespace svg
