#pragma once

#include <cstdint>
#include <string_view>

namespace document {

enum class FileType : uint32_t { kNone = 0, kSvg = 1, kSvgz = 2, kPat = 3, kPdf = 4, kSwf = 5, kSvgText = 10 };

// Chooses the reader from the text after the last "." of path, ignoring case.
FileType FileTypeFromPath(std::u16string_view path);

}  // namespace document
