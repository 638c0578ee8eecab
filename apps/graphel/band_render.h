#pragma once

#include <cstdint>
#include <string>

#include "document/vector_document.h"
#include "image_output.h"
#include "progress_bar.h"

namespace graphel_cli {

// Renders the whole drawing into size x size pixels one band of square tiles at a time, through the
// tile renderer the texture uses, and streams each band's rows into output, so memory stays at one
// band however large the image. False, with a message, when the output fails.
bool RenderSquareInBands(const document::VectorDocument& drawing, uint32_t background, int32_t size,
                         ImageOutput& output, ProgressBar& progress, std::string& error);

}  // namespace graphel_cli
