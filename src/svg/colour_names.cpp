#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "platform/system_colours.h"
#include "svg/colour.h"

namespace svg {
namespace {

struct NamedColour {
  std::u16string_view name;
  uint8_t r, g, b, a;
};

// Sorted by name for the binary searches below. The last entry, lexically after every keyword, keeps
// the search's upper end on a real row.
constexpr std::array<NamedColour, 149> kNamedColours = {{
    {u"aliceblue", 240, 248, 255, 255},
    {u"antiquewhite", 250, 235, 215, 255},
    {u"aqua", 0, 255, 255, 255},
    {u"aquamarine", 127, 255, 212, 255},
    {u"azure", 240, 255, 255, 255},
    {u"beige", 245, 245, 220, 255},
    {u"bisque", 255, 228, 196, 255},
    {u"black", 0, 0, 0, 255},
    {u"blanchedalmond", 255, 235, 205, 255},
    {u"blue", 0, 0, 255, 255},
    {u"blueviolet", 138, 43, 226, 255},
    {u"brown", 165, 42, 42, 255},
    {u"burlywood", 222, 184, 135, 255},
    {u"cadetblue", 95, 158, 160, 255},
    {u"chartreuse", 127, 255, 0, 255},
    {u"chocolate", 210, 105, 30, 255},
    {u"coral", 255, 127, 80, 255},
    {u"cornflowerblue", 100, 149, 237, 255},
    {u"cornsilk", 255, 248, 220, 255},
    {u"crimson", 220, 20, 60, 255},
    {u"cyan", 0, 255, 255, 255},
    {u"darkblue", 0, 0, 139, 255},
    {u"darkcyan", 0, 139, 139, 255},
    {u"darkgoldenrod", 184, 134, 11, 255},
    {u"darkgray", 169, 169, 169, 255},
    {u"darkgreen", 0, 100, 0, 255},
    {u"darkgrey", 169, 169, 169, 255},
    {u"darkkhaki", 189, 183, 107, 255},
    {u"darkmagenta", 139, 0, 139, 255},
    {u"darkolivegreen", 85, 107, 47, 255},
    {u"darkorange", 255, 140, 0, 255},
    {u"darkorchid", 153, 50, 204, 255},
    {u"darkred", 139, 0, 0, 255},
    {u"darksalmon", 233, 150, 122, 255},
    {u"darkseagreen", 143, 188, 143, 255},
    {u"darkslateblue", 72, 61, 139, 255},
    {u"darkslategray", 47, 79, 79, 255},
    {u"darkslategrey", 47, 79, 79, 255},
    {u"darkturquoise", 0, 206, 209, 255},
    {u"darkviolet", 148, 0, 211, 255},
    {u"deeppink", 255, 20, 147, 255},
    {u"deepskyblue", 0, 191, 255, 255},
    {u"dimgray", 105, 105, 105, 255},
    {u"dimgrey", 105, 105, 105, 255},
    {u"dodgerblue", 30, 144, 255, 255},
    {u"firebrick", 178, 34, 34, 255},
    {u"floralwhite", 255, 250, 240, 255},
    {u"forestgreen", 34, 139, 34, 255},
    {u"fuchsia", 255, 0, 255, 255},
    {u"gainsboro", 220, 220, 220, 255},
    {u"ghostwhite", 248, 248, 255, 255},
    {u"gold", 255, 215, 0, 255},
    {u"goldenrod", 218, 165, 32, 255},
    {u"gray", 128, 128, 128, 255},
    {u"green", 0, 128, 0, 255},
    {u"greenyellow", 173, 255, 47, 255},
    {u"grey", 128, 128, 128, 255},
    {u"honeydew", 240, 255, 240, 255},
    {u"hotpink", 255, 105, 180, 255},
    {u"indianred", 205, 92, 92, 255},
    {u"indigo", 75, 0, 130, 255},
    {u"ivory", 255, 255, 240, 255},
    {u"khaki", 240, 230, 140, 255},
    {u"lavender", 230, 230, 250, 255},
    {u"lavenderblush", 255, 240, 245, 255},
    {u"lawngreen", 124, 252, 0, 255},
    {u"lemonchiffon", 255, 250, 205, 255},
    {u"lightblue", 173, 216, 230, 255},
    {u"lightcoral", 240, 128, 128, 255},
    {u"lightcyan", 224, 255, 255, 255},
    {u"lightgoldenrodyellow", 250, 250, 210, 255},
    {u"lightgray", 211, 211, 211, 255},
    {u"lightgreen", 144, 238, 144, 255},
    {u"lightgrey", 211, 211, 211, 255},
    {u"lightpink", 255, 182, 193, 255},
    {u"lightsalmon", 255, 160, 122, 255},
    {u"lightseagreen", 32, 178, 170, 255},
    {u"lightskyblue", 135, 206, 250, 255},
    {u"lightslategray", 119, 136, 153, 255},
    {u"lightslategrey", 119, 136, 153, 255},
    {u"lightsteelblue", 176, 196, 222, 255},
    {u"lightyellow", 255, 255, 224, 255},
    {u"lime", 0, 255, 0, 255},
    {u"limegreen", 50, 205, 50, 255},
    {u"linen", 250, 240, 230, 255},
    {u"magenta", 255, 0, 255, 255},
    {u"maroon", 128, 0, 0, 255},
    {u"mediumaquamarine", 102, 205, 170, 255},
    {u"mediumblue", 0, 0, 205, 255},
    {u"mediumorchid", 186, 85, 211, 255},
    {u"mediumpurple", 147, 112, 219, 255},
    {u"mediumseagreen", 60, 179, 113, 255},
    {u"mediumslateblue", 123, 104, 238, 255},
    {u"mediumspringgreen", 0, 250, 154, 255},
    {u"mediumturquoise", 72, 209, 204, 255},
    {u"mediumvioletred", 199, 21, 133, 255},
    {u"midnightblue", 25, 25, 112, 255},
    {u"mintcream", 245, 255, 250, 255},
    {u"mistyrose", 255, 228, 225, 255},
    {u"moccasin", 255, 228, 181, 255},
    {u"navajowhite", 255, 222, 173, 255},
    {u"navy", 0, 0, 128, 255},
    {u"oldlace", 253, 245, 230, 255},
    {u"olive", 128, 128, 0, 255},
    {u"olivedrab", 107, 142, 35, 255},
    {u"orange", 255, 165, 0, 255},
    {u"orangered", 255, 69, 0, 255},
    {u"orchid", 218, 112, 214, 255},
    {u"palegoldenrod", 238, 232, 170, 255},
    {u"palegreen", 152, 251, 152, 255},
    {u"paleturquoise", 175, 238, 238, 255},
    {u"palevioletred", 219, 112, 147, 255},
    {u"papayawhip", 255, 239, 213, 255},
    {u"peachpuff", 255, 218, 185, 255},
    {u"peru", 205, 133, 63, 255},
    {u"pink", 255, 192, 203, 255},
    {u"plum", 221, 160, 221, 255},
    {u"powderblue", 176, 224, 230, 255},
    {u"purple", 128, 0, 128, 255},
    {u"red", 255, 0, 0, 255},
    {u"rosybrown", 188, 143, 143, 255},
    {u"royalblue", 65, 105, 225, 255},
    {u"saddlebrown", 139, 69, 19, 255},
    {u"salmon", 250, 128, 114, 255},
    {u"sandybrown", 244, 164, 96, 255},
    {u"seagreen", 46, 139, 87, 255},
    {u"seashell", 255, 245, 238, 255},
    {u"sienna", 160, 82, 45, 255},
    {u"silver", 192, 192, 192, 255},
    {u"skyblue", 135, 206, 235, 255},
    {u"slateblue", 106, 90, 205, 255},
    {u"slategray", 112, 128, 144, 255},
    {u"slategrey", 112, 128, 144, 255},
    {u"snow", 255, 250, 250, 255},
    {u"springgreen", 0, 255, 127, 255},
    {u"steelblue", 70, 130, 180, 255},
    {u"tan", 210, 180, 140, 255},
    {u"teal", 0, 128, 128, 255},
    {u"thistle", 216, 191, 216, 255},
    {u"tomato", 255, 99, 71, 255},
    {u"transparent", 0, 0, 0, 0},
    {u"turquoise", 64, 224, 208, 255},
    {u"violet", 238, 130, 238, 255},
    {u"wheat", 245, 222, 179, 255},
    {u"white", 255, 255, 255, 255},
    {u"whitesmoke", 245, 245, 245, 255},
    {u"yellow", 255, 255, 0, 255},
    {u"yellowgreen", 154, 205, 50, 255},
    {u"zzzzzzzzzzz", 0, 0, 0, 0},
}};

constexpr bool NamesAscend() {
  for (size_t i = 1; i < kNamedColours.size(); ++i) {
    if (!(kNamedColours[i - 1].name < kNamedColours[i].name)) return false;
  }
  return true;
}
static_assert(NamesAscend(), "the colour searches need the names in ascending order");

constexpr size_t kMaxColourNameLength = 21;

struct SystemColourName {
  std::u16string_view name;
  int index;
};

constexpr std::array<SystemColourName, 28> kSystemColourNames = {{
    {u"ActiveBorder", 10},     {u"ActiveCaption", 2},      {u"AppWorkspace", 12},
    {u"Background", 1},        {u"ButtonFace", 15},        {u"ButtonHighlight", 20},
    {u"ButtonShadow", 16},     {u"ButtonText", 18},        {u"CaptionText", 9},
    {u"GrayText", 17},         {u"Highlight", 13},         {u"HighlightText", 14},
    {u"InactiveBorder", 11},   {u"InactiveCaption", 3},    {u"InfoBackground", 24},
    {u"InfoText", 23},         {u"Menu", 4},               {u"MenuText", 7},
    {u"Scrollbar", 0},         {u"ThreeDDarkShadow", 21},  {u"ThreeDFace", 15},
    {u"ThreeDHighlight", 20},  {u"ThreeDLightShadow", 22}, {u"ThreeDShadow", 16},
    {u"Window", 5},            {u"WindowFrame", 6},        {u"WindowText", 8},
    {u"InactiveCaptionText", 19},
}};

using SystemColourTable = std::array<agg::rgba8, kSystemColourNames.size()>;

SystemColourTable ReadSystemColours() {
  SystemColourTable colours;
  for (size_t i = 0; i < kSystemColourNames.size(); ++i) {
    const uint32_t bgr = platform::GetSysColor(kSystemColourNames[i].index);
    colours[i] = agg::rgba8(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF, 255);
  }
  return colours;
}

// Process-wide, refreshed by every load; loads never overlap.
SystemColourTable g_systemColours = ReadSystemColours();

char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + (u'a' - u'A')) : c; }

// Case-insensitive three-way comparison of name against entry. With prefixOnly, only as many characters
// as entry has take part, so a name that merely begins with entry compares equal.
int CompareName(std::u16string_view name, std::u16string_view entry, bool prefixOnly) {
  const size_t count = prefixOnly ? entry.size() : std::max(name.size(), entry.size());
  for (size_t i = 0; i < count; ++i) {
    const char16_t a = i < name.size() ? FoldCase(name[i]) : u'\0';
    const char16_t b = i < entry.size() ? FoldCase(entry[i]) : u'\0';
    if (a != b) return a < b ? -1 : 1;
  }
  return 0;
}

const NamedColour* SearchNamedColours(std::u16string_view name, bool prefixOnly) {
  size_t low = 0;
  size_t high = kNamedColours.size();
  while (low < high) {
    const size_t mid = low + (high - low) / 2;
    const int order = CompareName(name, kNamedColours[mid].name, prefixOnly);
    if (order == 0) return &kNamedColours[mid];
    if (order < 0) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  return nullptr;
}

}  // namespace

std::optional<agg::rgba8> FindColourName(std::u16string_view name) {
  if (name.size() > kMaxColourNameLength) return std::nullopt;
  // The exact pass first, so "goldenrod" is not taken for "gold" by the prefix pass.
  const NamedColour* found = SearchNamedColours(name, false);
  if (found == nullptr) found = SearchNamedColours(name, true);
  if (found != nullptr) return agg::rgba8(found->r, found->g, found->b, found->a);
  for (size_t i = 0; i < kSystemColourNames.size(); ++i) {
    if (CompareName(name, kSystemColourNames[i].name, false) == 0) return g_systemColours[i];
  }
  return std::nullopt;
}

agg::rgba8 LookupColourName(std::u16string_view name) {
  return FindColourName(name).value_or(agg::rgba8(0, 0, 0, 255));
}

void InitSystemColours() { g_systemColours = ReadSystemColours(); }

}  // namespace svg
