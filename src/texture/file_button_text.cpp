#include "texture/file_button_text.h"

#include "texture/string_table.h"

namespace graphel {

int TextWidth(std::u16string_view text) { return static_cast<int>(text.size()) * kButtonCharacterWidth; }

std::u16string FileButtonText(std::u16string_view path, int buttonWidth) {
  if (path.empty()) return StringCopy(IDS_NONE);
  std::u16string text(path);
  for (char16_t& c : text) {
    if (c == u'/') c = u'\\';
  }
  const int room = buttonWidth - 10;
  if (TextWidth(text) <= room) return text;

  const size_t slash = text.rfind(u'\\');
  if (slash != std::u16string::npos) {
    const std::u16string_view name = std::u16string_view(text).substr(slash);
    for (size_t keep = slash; keep-- > 0;) {
      std::u16string fitted = text.substr(0, keep) + u"..." + std::u16string(name);
      if (TextWidth(fitted) <= room) return fitted;
    }
  }
  // No folder left: the file name alone, cut from its end.
  std::u16string name = slash == std::u16string::npos ? text : text.substr(slash + 1);
  while (!name.empty() && TextWidth(name + u"...") > room) name.pop_back();
  return name + u"...";
}

}  // namespace graphel
