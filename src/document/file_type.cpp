#include "document/file_type.h"

#include <array>
#include <utility>

namespace document {
namespace {

constexpr std::array<std::pair<std::u16string_view, FileType>, 6> kExtensions = {{
    {u".svg", FileType::kSvg},
    {u".svgz", FileType::kSvgz},
    {u".pat", FileType::kPat},
    {u".ai", FileType::kPdf},
    {u".pdf", FileType::kPdf},
    {u".swf", FileType::kSwf},
}};

char16_t ToLowerAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (ToLowerAscii(a[i]) != ToLowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

FileType FileTypeFromPath(std::u16string_view path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return FileType::kNone;
  const std::u16string_view extension = path.substr(dot);
  for (const auto& [text, type] : kExtensions) {
    if (EqualsIgnoringCase(extension, text)) return type;
  }
  return FileType::kNone;
}

}  // namespace document
