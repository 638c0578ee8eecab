#include "texture/string_table.h"

#include <dlfcn.h>

#include <algorithm>
#include <string_view>

namespace graphel {
namespace {

struct StringEntry {
  int id;
  std::u16string_view text;
};

constexpr StringEntry kStrings[] = {
    {IDS_LIBDESCRIPTION, u"Vector Texture"},
    {IDS_CATEGORY, u"TEXMAP_CAT_2D"},
    {IDS_CLASS_NAME, u"Graphel"},
    {IDS_PARAMS, u"Parameters"},
    {IDS_PATTERN_PARAMS, u"Pattern Parameters"},
    {IDS_PDF_PARAMS, u"Adobe Illustrator / PDF Parameters"},
    {IDS_COORDS, u"Coordinates"},
    {IDS_OUTPUT, u"Output"},
    {IDS_ADVANCED_PARAMS, u"Advanced Parameters"},
    {IDS_CONTROLS_FAILED, u"Failed to create some custom controls"},
    {IDS_NONE, u"None"},
    {IDS_FILE_TYPES, u"Vector Files (*.svg, *.svgz, *.pat, *.ai, *.pdf)"},
    {IDS_NOT_VECTORFILE, u"This was not a (supported) vectorfile"},
    {IDS_NOT_A_STRING, u"return value is NOT a string..."},
    {IDS_VECTORFILE, u"vectorfile"},
    {IDS_FILTER, u"filter"},
    {IDS_MIPMAP, u"mipmap"},
    {IDS_MONOOUTPUT, u"monooutput"},
    {IDS_RGBOUTPUT, u"rgboutput"},
    {IDS_ALPHA_SOURCE, u"Alpha Source"},
    {IDS_APPLYCROP, u"applycrop"},
    {IDS_CROPORPLACE, u"croporplace"},
    {IDS_CLIP_U_OFFSET, u"Clip U Offset"},
    {IDS_CLIP_V_OFFSET, u"Clip V Offset"},
    {IDS_CLIP_U_WIDTH, u"Clip U Width"},
    {IDS_CLIP_V_WIDTH, u"Clip V Width"},
    {IDS_JITTER, u"Jitter"},
    {IDS_JITTER_PLACEMENT, u"Jitter Placement"},
    {IDS_PATTERNNAME, u"patternname"},
    {IDS_PATTERN_REPEAT, u"Pattern Repeat"},
    {IDS_LINE_WIDTH, u"Line Width"},
    {IDS_LINE_COLOR, u"Line Color"},
    {IDS_BACKGROUND_COLOR, u"Background Color"},
    {IDS_LINE_CAP, u"Line Cap"},
    {IDS_PDF_PAGE_NUMBER, u"PDF Page Number"},
    {IDS_CONTINOUS, u"Continous"},
    {IDS_TRANSITION_MODE, u"Transition Mode"},
    {IDS_TRANSPARENT, u"Transparent"},
    {IDS_PAGE_COLOR, u"Page Color"},
    {IDS_TRANSITION_DIRECTION, u"Transition Direction"},
    {IDS_PREVIEW, u"Preview"},
    {IDS_MEMLIMIT, u"memlimit"},
    {IDS_HWBITMAPSIZE, u"hwbitmapsize"},
};

constexpr size_t kBufferLength = 256;
char16_t stringBuffer[kBufferLength];

// The module's own address; standing in for the handle the loader passes at process attach.
void* FindModuleHandle() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&FindModuleHandle), &info) == 0) return nullptr;
  return info.dli_fbase;
}

void* const moduleHandle = FindModuleHandle();

}  // namespace

void* ModuleHandle() { return moduleHandle; }

const char16_t* GetString(int id) {
  if (moduleHandle == nullptr) return nullptr;
  const auto* found = std::find_if(std::begin(kStrings), std::end(kStrings),
                                   [id](const StringEntry& entry) { return entry.id == id; });
  if (found == std::end(kStrings)) return nullptr;
  const size_t length = std::min(found->text.size(), kBufferLength - 1);
  std::copy_n(found->text.data(), length, stringBuffer);
  stringBuffer[length] = u'\0';
  return stringBuffer;
}

std::u16string StringCopy(int id) {
  const char16_t* text = GetString(id);
  return text != nullptr ? std::u16string(text) : std::u16string();
}

}  // namespace graphel
