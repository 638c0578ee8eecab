#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "svg/colour.h"

namespace {

using testing_support::W;

struct Rgba {
  int r, g, b, a;
  bool operator==(const Rgba&) const = default;
};

Rgba Of(agg::rgba8 c) { return {c.r, c.g, c.b, c.a}; }

std::ostream& operator<<(std::ostream& os, const Rgba& c) {
  return os << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}

Rgba Parse(const std::string& text, agg::rgba8 current = agg::rgba8(1, 2, 3, 4)) {
  return Of(svg::ParseColour(W(text), current));
}

Rgba Lookup(const std::string& name) { return Of(svg::LookupColourName(W(name))); }

constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kTransparent{0, 0, 0, 0};

constexpr const char* kAllNames =
    "aliceblue antiquewhite aqua aquamarine azure beige bisque black blanchedalmond blue blueviolet brown "
    "burlywood cadetblue chartreuse chocolate coral cornflowerblue cornsilk crimson cyan darkblue darkcyan "
    "darkgoldenrod darkgray darkgreen darkgrey darkkhaki darkmagenta darkolivegreen darkorange darkorchid "
    "darkred darksalmon darkseagreen darkslateblue darkslategray darkslategrey darkturquoise darkviolet "
    "deeppink deepskyblue dimgray dimgrey dodgerblue firebrick floralwhite forestgreen fuchsia gainsboro "
    "ghostwhite gold goldenrod gray green greenyellow grey honeydew hotpink indianred indigo ivory khaki "
    "lavender lavenderblush lawngreen lemonchiffon lightblue lightcoral lightcyan lightgoldenrodyellow "
    "lightgray lightgreen lightgrey lightpink lightsalmon lightseagreen lightskyblue lightslategray "
    "lightslategrey lightsteelblue lightyellow lime limegreen linen magenta maroon mediumaquamarine "
    "mediumblue mediumorchid mediumpurple mediumseagreen mediumslateblue mediumspringgreen mediumturquoise "
    "mediumvioletred midnightblue mintcream mistyrose moccasin navajowhite navy oldlace olive olivedrab "
    "orange orangered orchid palegoldenrod palegreen paleturquoise palevioletred papayawhip peachpuff peru "
    "pink plum powderblue purple red rosybrown royalblue saddlebrown salmon sandybrown seagreen seashell "
    "sienna silver skyblue slateblue slategray slategrey snow springgreen steelblue tan teal thistle tomato "
    "turquoise violet wheat white whitesmoke yellow yellowgreen";

std::vector<std::string> AllNames() {
  std::istringstream in(kAllNames);
  std::vector<std::string> names;
  for (std::string name; in >> name;) names.push_back(name);
  return names;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return s;
}

TEST(ColourNames, EveryKeywordResolvesOpaqueAndOnlyBlackIsBlack) {
  const std::vector<std::string> names = AllNames();
  ASSERT_EQ(names.size(), 147u);
  for (const std::string& name : names) {
    const Rgba c = Lookup(name);
    EXPECT_EQ(c.a, 255) << name;
    EXPECT_EQ(c == kBlack, name == "black") << name << " " << c;
    EXPECT_EQ(Lookup(Upper(name)), c) << name;
    EXPECT_EQ(Parse(name), c) << name;
  }
}

TEST(ColourNames, StandardValues) {
  const struct {
    const char* name;
    Rgba rgba;
  } cases[] = {
      {"aliceblue", {240, 248, 255, 255}},     {"red", {255, 0, 0, 255}},
      {"lightgoldenrodyellow", {250, 250, 210, 255}}, {"grey", {128, 128, 128, 255}},
      {"gray", {128, 128, 128, 255}},         {"green", {0, 128, 0, 255}},
      {"lime", {0, 255, 0, 255}},             {"aqua", {0, 255, 255, 255}},
      {"fuchsia", {255, 0, 255, 255}},        {"darkgoldenrod", {184, 134, 11, 255}},
      {"rebeccapurple", kBlack},              {"cornflowerblue", {100, 149, 237, 255}},
      {"mediumspringgreen", {0, 250, 154, 255}}, {"papayawhip", {255, 239, 213, 255}},
      {"yellowgreen", {154, 205, 50, 255}},
      {"darkslategrey", {47, 79, 79, 255}},   {"navajowhite", {255, 222, 173, 255}},
      {"saddlebrown", {139, 69, 19, 255}},    {"tan", {210, 180, 140, 255}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(c.name), c.rgba) << c.name;
}

TEST(ColourNames, LongerNamesAreNotTakenForTheirPrefixes) {
  const struct {
    const char* name;
    Rgba rgba;
  } cases[] = {
      {"gold", {255, 215, 0, 255}},          {"goldenrod", {218, 165, 32, 255}},
      {"greenyellow", {173, 255, 47, 255}},  {"lavenderblush", {255, 240, 245, 255}},
      {"limegreen", {50, 205, 50, 255}},     {"olivedrab", {107, 142, 35, 255}},
      {"orangered", {255, 69, 0, 255}},      {"whitesmoke", {245, 245, 245, 255}},
      {"YellowGreen", {154, 205, 50, 255}},  {"white", {255, 255, 255, 255}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(c.name), c.rgba) << c.name;
}

TEST(ColourNames, TrailingCharactersAfterAKnownName) {
  EXPECT_EQ(Lookup("red;"), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(Lookup("red "), (Rgba{255, 0, 0, 255}));
  EXPECT_EQ(Parse("  blue  "), (Rgba{0, 0, 255, 255}));
  // 21 characters is still looked up, 22 is not.
  EXPECT_EQ(Lookup("lightgoldenrodyellow "), (Rgba{250, 250, 210, 255}));
  EXPECT_EQ(Lookup("lightgoldenrodyellow;;"), kBlack);
  EXPECT_EQ(Lookup("re"), kBlack);
  EXPECT_EQ(Lookup(""), kBlack);
  EXPECT_EQ(Lookup("notacolour"), kBlack);
  // The table's closing row is reachable by name.
  EXPECT_EQ(Lookup("zzzzzzzzzzz"), kTransparent);
}

TEST(ColourNames, SystemColoursComeFromTheDesktopScheme) {
  svg::InitSystemColours();
  EXPECT_EQ(Lookup("Window"), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(Lookup("window"), (Rgba{255, 255, 255, 255}));
  EXPECT_EQ(Lookup("WindowText"), kBlack);
  EXPECT_EQ(Lookup("Highlight"), (Rgba{0, 120, 215, 255}));
  EXPECT_EQ(Lookup("ButtonFace"), (Rgba{240, 240, 240, 255}));
  EXPECT_EQ(Lookup("ThreeDFace"), (Rgba{240, 240, 240, 255}));
  EXPECT_EQ(Lookup("InfoBackground"), (Rgba{255, 255, 225, 255}));
  EXPECT_EQ(Lookup("InactiveCaptionText"), kBlack);
  EXPECT_EQ(Parse(" ButtonShadow"), (Rgba{160, 160, 160, 255}));
  // System names compare whole: no trailing characters.
  EXPECT_EQ(Lookup("Window;"), kBlack);
  // The named colours are searched first, and "gray" is a prefix of "GrayText".
  EXPECT_EQ(Lookup("GrayText"), (Rgba{128, 128, 128, 255}));
}

TEST(ColourParse, SpellingsOfRed) {
  for (const char* text : {"#F00", "#ff0000", "red", "RED", "rgb(255,0,0)", "rgb(100%, 0%, 0%)", "RGB( 255 0 0 )",
                           "\t\n rgb(255,\r\n0,0)"}) {
    EXPECT_EQ(Parse(text), (Rgba{255, 0, 0, 255})) << text;
  }
}

TEST(ColourParse, HexForms) {
  EXPECT_EQ(Parse("#abc"), (Rgba{0xaa, 0xbb, 0xcc, 255}));
  EXPECT_EQ(Parse("#12aBeF"), (Rgba{0x12, 0xab, 0xef, 255}));
  EXPECT_EQ(Parse("  #0f0"), (Rgba{0, 255, 0, 255}));
  EXPECT_EQ(Parse("#f008"), (Rgba{255, 0, 0, 0x88}));
  EXPECT_EQ(Parse("#12345678"), (Rgba{0x12, 0x34, 0x56, 0x78}));
  // The forms with alpha need every digit.
  for (const char* text : {"#", "#f", "#ff", "#ff000", "#ff00000", "#ff0000 ", "#f00g", "#1234567g", "#123456789"}) {
    EXPECT_EQ(Parse(text), kBlack) << text;
  }
  // Digits stop at the first character that is not one; the number read so far stands.
  EXPECT_EQ(Parse("#12345g"), (Rgba{0x01, 0x23, 0x45, 255}));
  EXPECT_EQ(Parse("#g00000"), kBlack);
}

TEST(ColourParse, RgbChannelsKeepTheirLowEightBits) {
  const struct {
    const char* text;
    Rgba rgba;
  } cases[] = {
      {"rgb(300,0,0)", {44, 0, 0, 255}},
      {"rgb(256, 257, 511)", {0, 1, 255, 255}},
      {"rgb(-1,0,0)", {255, 0, 0, 255}},
      {"rgb(-256,-255,0)", {0, 1, 0, 255}},
      {"rgb(10.9, 20.5, 0.99)", {10, 20, 0, 255}},
      {"rgb(50%,20%,1%)", {127, 51, 2, 255}},
      {"rgb(200%,0,0)", {254, 0, 0, 255}},
      {"rgb(1e300,1e10,nonsense)", {0, 0, 0, 255}},
      {"rgb(12)", {12, 0, 0, 255}},
      {"rgb(", {0, 0, 0, 255}},
      {"rgb(1,2,3,4,5)", {1, 2, 3, 255}},
      {"rgb(1 ,, 2 ,3", {1, 2, 3, 255}},
      // With a "%" anywhere every channel is scaled.
      {"rgb(100,100%,0)", {255, 255, 0, 255}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.rgba) << c.text;
}

TEST(ColourParse, KeywordsAndFallbacks) {
  const agg::rgba8 current(10, 20, 30, 40);
  EXPECT_EQ(Parse("currentColor", current), (Rgba{10, 20, 30, 40}));
  EXPECT_EQ(Parse("  CURRENTCOLOR;", current), (Rgba{10, 20, 30, 40}));
  EXPECT_EQ(Parse("none", current), kTransparent);
  EXPECT_EQ(Parse("NONEsuch", current), kTransparent);
  EXPECT_EQ(Parse("", current), kBlack);
  EXPECT_EQ(Parse("   ", current), kBlack);
  EXPECT_EQ(Parse("transparent", current), kTransparent);
  EXPECT_EQ(Of(svg::ParseColour(std::u16string_view(), current)), kBlack);
}

TEST(ColourParse, FunctionsWithAlphaAndHsl) {
  const struct {
    const char* text;
    Rgba rgba;
  } cases[] = {
      {"rgba(255, 0, 0, 0.5)", {255, 0, 0, 128}},
      {"RGBA(0 128 255 / 25%)", {0, 128, 255, 64}},
      {"rgba(100%, 50%, 0%, 1)", {255, 127, 0, 255}},
      {"rgba(1, 2, 3, 7)", {1, 2, 3, 255}},
      {"rgba(1, 2, 3, -1)", {1, 2, 3, 0}},
      {"rgb(1, 2, 3, 0.2)", {1, 2, 3, 51}},
      {"rgb(10 20 30 / 50%)", {10, 20, 30, 128}},
      {"hsl(0, 100%, 50%)", {255, 0, 0, 255}},
      {"hsl(120, 100%, 25%)", {0, 128, 0, 255}},
      {"hsl(-120 100% 50%)", {0, 0, 255, 255}},
      {"hsl(480, 100, 50)", {0, 255, 0, 255}},
      {"hsl(0, 0%, 100%)", {255, 255, 255, 255}},
      {"hsla(240, 100%, 50%, 0.5)", {0, 0, 255, 128}},
      {"hsla(60 100% 50% / 10%)", {255, 255, 0, 26}},
      {"hsl(30, 200%, -5%)", {0, 0, 0, 255}},
      // Malformed functions are unknown colours: opaque black.
      {"rgba(1,2)", kBlack},
      {"rgba(1,2,3,4,5)", kBlack},
      {"rgba(nan, 0, 0, 1)", kBlack},
      {"rgba(0, 0, 0, inf)", kBlack},
      {"rgb(1, 2, 3, nan)", kBlack},
      {"hsl(nan, 100%, 50%)", kBlack},
      {"hsl(0, 100%)", kBlack},
      {"hsla(0, 100%, 50%, 1, 2)", kBlack},
      {"hsl(1e309, 0%, 50%)", kBlack},
  };
  for (const auto& c : cases) EXPECT_EQ(Parse(c.text), c.rgba) << c.text;
}

TEST(ColourParse, EntryPointForOtherCallersReportsUnknownText) {
  const struct {
    std::u16string text;
    bool known;
    Rgba rgba;
  } cases[] = {
      {u"#00ff0080", true, {0, 255, 0, 128}},
      {u" hsl(240, 100%, 50%)", true, {0, 0, 255, 255}},
      {u"none", true, kTransparent},
      {u"Cornflowerblue", true, {100, 149, 237, 255}},
      {u"currentColor", false, {9, 9, 9, 9}},
      {u"rgba(1,2)", false, {9, 9, 9, 9}},
      {u"#12345", false, {9, 9, 9, 9}},
      {u"réd", false, {9, 9, 9, 9}},
      {u"", false, {9, 9, 9, 9}},
  };
  for (const auto& c : cases) {
    agg::rgba8 wide(9, 9, 9, 9);
    agg::rgba8 narrow(9, 9, 9, 9);
    EXPECT_EQ(svg::TryParseColour(std::u16string_view(c.text), wide), c.known) << testing_support::N(c.text);
    EXPECT_EQ(svg::TryParseColour(std::string_view(testing_support::N(c.text)), narrow), c.known);
    EXPECT_EQ(Of(wide), c.rgba) << testing_support::N(c.text);
    EXPECT_EQ(Of(narrow), c.rgba) << testing_support::N(c.text);
  }
}

}  // namespace
