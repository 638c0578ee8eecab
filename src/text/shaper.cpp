#include "text/shaper.h"

#include <hb.h>

#include <memory>
#include <mutex>

#include "text/bidi_items.h"
#include "text/face_styles.h"
#include "text/font_choice.h"
#include "text/installed_fonts.h"

namespace text {
namespace {

constexpr int kBoldWeight = 700;

struct BufferDeleter {
  void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
using BufferHandle = std::unique_ptr<hb_buffer_t, BufferDeleter>;

// The installed-font list loads coverage lazily and keeps the PostScript flags of the last choice,
// so choices from concurrent renders take turns.
std::mutex& FontChoiceMutex() {
  static std::mutex mutex;
  return mutex;
}

// The face for one item, or null when no installed font covers it.
const FontFace* ChooseFace(std::span<const char32_t> characters, const TextItem& item,
                           const ShapeRequest& request, FontServices& services) {
  FaceKey key;
  {
    const std::lock_guard lock(FontChoiceMutex());
    InstalledFontList& list = GetInstalledFonts();
    const InstalledFont* font = ChooseFont(list, characters, item.first, item.count, request.families);
    if (font == nullptr) return nullptr;
    const int weight = list.bold ? kBoldWeight : request.weight;
    const bool italic = request.italic || list.italic != 0;
    key = StyledFace(*font, weight, italic);
  }
  return services.Face(key);
}

hb_feature_t Feature(const char* tag, uint32_t value) {
  hb_feature_t feature{};
  feature.tag = hb_tag_from_string(tag, -1);
  feature.value = value;
  feature.start = HB_FEATURE_GLOBAL_START;
  feature.end = HB_FEATURE_GLOBAL_END;
  return feature;
}

void ShapeItem(std::span<const char32_t> characters, const TextItem& item, const FontFace& face,
               const ShapeRequest& request, hb_buffer_t* buffer, std::vector<ShapedGlyph>& out) {
  hb_buffer_clear_contents(buffer);
  // The whole text goes in as context, so joining scripts see their neighbours across items.
  hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t*>(characters.data()),
                      static_cast<int>(characters.size()), static_cast<unsigned>(item.first),
                      static_cast<int>(item.count));
  hb_buffer_set_direction(buffer, (item.level & 1) != 0 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
  hb_buffer_set_script(buffer, item.script);
  std::vector<hb_feature_t> features;
  if (!request.fontKerning) features.push_back(Feature("kern", 0));
  if (!request.ligatures) {
    features.push_back(Feature("liga", 0));
    features.push_back(Feature("clig", 0));
  }
  hb_shape(face.HbFont(), buffer, features.data(), static_cast<unsigned>(features.size()));

  unsigned count = 0;
  const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
  const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
  const double em = 1.0 / face.UnitsPerEm();
  for (unsigned i = 0; i < count; ++i) {
    ShapedGlyph glyph;
    glyph.glyphIndex = infos[i].codepoint;
    glyph.face = &face;
    glyph.advanceX = positions[i].x_advance * em;
    glyph.advanceY = -positions[i].y_advance * em;
    glyph.offsetX = positions[i].x_offset * em;
    glyph.offsetY = -positions[i].y_offset * em;
    const size_t cluster = infos[i].cluster;
    glyph.space = cluster < characters.size() && characters[cluster] == U' ';
    out.push_back(glyph);
  }
}

}  // namespace

std::vector<ShapedGlyph> ShapeText(std::span<const char32_t> characters, const ShapeRequest& request,
                                   FontServices& services) {
  std::vector<ShapedGlyph> glyphs;
  const std::vector<TextItem> items = ItemiseText(characters, request.rightToLeft);
  if (items.empty()) return glyphs;
  const BufferHandle buffer(hb_buffer_create());
  if (!hb_buffer_allocation_successful(buffer.get())) return glyphs;
  glyphs.reserve(characters.size());
  const FontFace* previous = nullptr;
  for (const TextItem& item : items) {
    const FontFace* face = ChooseFace(characters, item, request, services);
    if (face == nullptr) face = previous;
    if (face == nullptr) continue;
    previous = face;
    ShapeItem(characters, item, *face, request, buffer.get(), glyphs);
  }
  return glyphs;
}

}  // namespace text
