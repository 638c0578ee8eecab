#include "document/file_type.h"

#include <array>
#include <utility>

#include "platform/ascii_case.h"

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

}  // namespace

FileType FileTypeFromPath(std::u16string_view path) {
  const size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return FileType::kNone;
  const std::u16string_view extension = path.substr(dot);
  for (const auto& [text, type] : kExtensions) {
    if (platform::EqualsIgnoringAsciiCase(extension, text)) return type;
  }
  return FileType::kNone;
}

}  // namespace document
