#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <agg_rendering_buffer.h>

#include "render/render_context.h"

namespace svg {
class SVGImageElement;
}

namespace render {

// How an image's reference names its picture.
enum class ImageReference : uint32_t {
  kUnsupported = 0,  // "data:image" of any other kind (jpeg, gif, svg+xml, ...): nothing is drawn
  kFile = 1,         // anything else: a linked file
  kEmbeddedPng = 2,  // "data:image/png;base64,"
  kEmbeddedJpg = 3,  // "data:image/jpg;base64," or "data:image/jpeg;base64,"
};

// Classifies reference, ignoring case; for embedded kinds payload receives the text after the comma.
ImageReference ClassifyImageReference(std::u16string_view reference, std::u16string_view* payload = nullptr);

// Standard base64 after removing white space; stops at the first "=" or character outside the
// alphabet. A trailing group of two or three characters gives one or two bytes.
std::string DecodeBase64(std::u16string_view text);

// Points buffer at the image's premultiplied picture, decoding it through the script callback the
// first time (embedded data through a temporary file that is deleted before this returns). A failed
// decode is reported to the callback with code 21 and the path.
bool LoadImage(svg::SVGImageElement& image, RenderContext& context, agg::rendering_buffer& buffer);

}  // namespace render
