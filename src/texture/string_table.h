#pragma once

#include <string>

namespace graphel {

// The module's string table, by number.
enum StringId : int {
  IDS_LIBDESCRIPTION = 1,
  IDS_CATEGORY = 2,
  IDS_CLASS_NAME = 3,
  IDS_PARAMS = 4,
  IDS_PATTERN_PARAMS = 5,
  IDS_PDF_PARAMS = 6,
  IDS_COORDS = 8,
  IDS_OUTPUT = 9,
  IDS_ADVANCED_PARAMS = 11,
  IDS_CONTROLS_FAILED = 13,
  IDS_NONE = 14,
  IDS_FILE_TYPES = 16,
  IDS_NOT_VECTORFILE = 17,
  IDS_NOT_A_STRING = 18,
  IDS_VECTORFILE = 30,
  IDS_FILTER,
  IDS_MIPMAP,
  IDS_MONOOUTPUT,
  IDS_RGBOUTPUT,
  IDS_ALPHA_SOURCE,
  IDS_APPLYCROP,
  IDS_CROPORPLACE,
  IDS_CLIP_U_OFFSET,
  IDS_CLIP_V_OFFSET,
  IDS_CLIP_U_WIDTH,
  IDS_CLIP_V_WIDTH,
  IDS_JITTER,
  IDS_JITTER_PLACEMENT,
  IDS_PATTERNNAME,
  IDS_PATTERN_REPEAT,
  IDS_LINE_WIDTH,
  IDS_LINE_COLOR,
  IDS_BACKGROUND_COLOR,
  IDS_LINE_CAP,
  IDS_PDF_PAGE_NUMBER,
  IDS_CONTINOUS,
  IDS_TRANSITION_MODE,
  IDS_TRANSPARENT,
  IDS_PAGE_COLOR,
  IDS_TRANSITION_DIRECTION,
  IDS_PREVIEW,
  IDS_MEMLIMIT,
  IDS_HWBITMAPSIZE,
};

// Loads string id into one shared buffer and returns it; null when the module handle or the string
// is missing. The next call overwrites the buffer, so callers copy the text first. Main thread only.
const char16_t* GetString(int id);
// A copy of the string (GetString's buffer is shared and overwritten by the next call); empty when
// the string is missing.
std::u16string StringCopy(int id);

// Set when the module is attached to the process; GetString needs it.
void* ModuleHandle();

}  // namespace graphel
