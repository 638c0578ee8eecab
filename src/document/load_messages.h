#pragma once

#include <string>
#include <string_view>

#include "render/render_budget.h"
#include "svg/load_result.h"

namespace document {

// Load-error codes beyond those of the value parsers.
inline constexpr uint32_t kErrorCantOpen = 1;
inline constexpr uint32_t kErrorNoParser = 2;
inline constexpr uint32_t kErrorXml = 3;
inline constexpr uint32_t kErrorImageDecode = 21;
inline constexpr uint32_t kErrorNotPdf = 31;
inline constexpr uint32_t kErrorPdfLibrary = 32;
// Formats whose readers this build does not have yet.
inline constexpr uint32_t kErrorUnsupportedFormat = 90;
// A render that ran short of memory, reported while rendering.
inline constexpr uint32_t kErrorRenderMemory = render::kRenderMemoryError;

// The message a user is shown for a load error, with its placeholders filled; empty when the code
// has no message. filePath is the texture's file path.
std::u16string ShownMessage(const svg::LoadError& error, std::u16string_view filePath);

}  // namespace document
