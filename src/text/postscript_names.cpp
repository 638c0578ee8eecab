#include "text/postscript_names.h"

#include <string_view>

#include "text/installed_fonts.h"

namespace text {
namespace {

struct StyleSuffix {
  std::u16string_view style;
  bool bold;
  bool italic;
};

// Styles after the last hyphen that are dropped from the name; any other style stays part of it.
constexpr StyleSuffix kStyleSuffixes[] = {
    {u"Bold", true, false},     {u"BoldExt", true, false},   {u"Italic", false, true},
    {u"Oblique", false, true},  {u"BoldItalic", true, true}, {u"BoldOblique", true, true},
    {u"Regular", false, false}, {u"Reg", false, false},      {u"Medium", false, false},
};

// Names whose "PS" marks the PostScript flavour of a family, and where that "PS" sits.
struct PostScriptPrefix {
  std::u16string_view prefix;
  size_t psPosition;
};

constexpr PostScriptPrefix kPostScriptPrefixes[] = {
    {u"CourierNewPS", 10},
    {u"TimesNewRomanPS", 13},
};

// Styles searched for anywhere in a name without a hyphen, longest first so "BoldItalic" is not
// mistaken for "Italic".
constexpr StyleSuffix kEmbeddedStyles[] = {
    {u"BoldItalic", true, true},
    {u"Italic", false, true},
    {u"Bold", true, false},
};

constexpr std::u16string_view kMtSuffix = u"MT";

void RemoveTrailingMt(std::u16string& name) {
  if (name.ends_with(kMtSuffix)) name.erase(name.size() - kMtSuffix.size());
}

void SetFlags(InstalledFontList& list, const StyleSuffix& style) {
  if (style.bold) list.bold = 1;
  if (style.italic) list.italic = 1;
}

void StripVendorMarks(std::u16string& name) {
  for (const PostScriptPrefix& entry : kPostScriptPrefixes) {
    if (name.starts_with(entry.prefix)) {
      RemoveTrailingMt(name);
      name.erase(entry.psPosition, 2);
      return;
    }
  }
  if (name.starts_with(u"ArialMT")) RemoveTrailingMt(name);
}

void StripStyle(InstalledFontList& list, std::u16string& name) {
  const size_t hyphen = name.rfind(u'-');
  if (hyphen == std::u16string::npos) {
    for (const StyleSuffix& style : kEmbeddedStyles) {
      const size_t at = name.rfind(style.style);
      if (at == std::u16string::npos) continue;
      SetFlags(list, style);
      name.erase(at);
      return;
    }
    return;
  }
  std::u16string_view style = std::u16string_view(name).substr(hyphen + 1);
  if (style.size() > kMtSuffix.size() && style.ends_with(kMtSuffix)) style.remove_suffix(kMtSuffix.size());
  for (const StyleSuffix& known : kStyleSuffixes) {
    if (style == known.style) {
      SetFlags(list, known);
      name.erase(hyphen);
      return;
    }
  }
  name[hyphen] = u' ';
}

}  // namespace

void MapPostScriptName(InstalledFontList& list, std::u16string& name) {
  StripVendorMarks(name);
  StripStyle(list, name);
  if (name == u"LatinWide") name = u"Wide Latin";
  if (name == u"Trebuchet") name = u"TrebuchetMS";
}

}  // namespace text
