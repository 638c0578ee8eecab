#include "text/postscript_names.h"

#include <gtest/gtest.h>

#include "support/test_support.h"
#include "text/installed_fonts.h"

namespace {

using testing_support::N;
using testing_support::W;

struct MappingCase {
  const char* name;
  const char* mapped;
  int bold;
  int italic;
};

constexpr MappingCase kMappingCases[] = {
    {"ArialMT", "Arial", 0, 0},
    {"Arial-BoldMT", "Arial", 1, 0},
    {"Arial-ItalicMT", "Arial", 0, 1},
    {"Arial-BoldItalicMT", "Arial", 1, 1},
    {"ArialMT-Bold", "ArialMT", 1, 0},
    {"TimesNewRomanPSMT", "TimesNewRoman", 0, 0},
    {"TimesNewRomanPS-BoldItalicMT", "TimesNewRoman", 1, 1},
    {"TimesNewRomanPS-ItalicMT", "TimesNewRoman", 0, 1},
    {"CourierNewPSMT", "CourierNew", 0, 0},
    {"CourierNewPS-BoldMT", "CourierNew", 1, 0},
    {"Helvetica-Oblique", "Helvetica", 0, 1},
    {"Helvetica-BoldOblique", "Helvetica", 1, 1},
    {"Futura-BoldExt", "Futura", 1, 0},
    {"MyriadPro-Regular", "MyriadPro", 0, 0},
    {"MyriadPro-Reg", "MyriadPro", 0, 0},
    {"MyriadPro-Medium", "MyriadPro", 0, 0},
    {"DejaVuSerif-Bold", "DejaVuSerif", 1, 0},
    // Styles outside the table stay part of the name, and only the last hyphen counts.
    {"Univers-Condensed", "Univers Condensed", 0, 0},
    {"Univers-CondensedMT", "Univers CondensedMT", 0, 0},
    {"Gill-Sans-Bold", "Gill-Sans", 1, 0},
    {"Foo-bold", "Foo bold", 0, 0},
    {"Foo-MT", "Foo MT", 0, 0},
    {"Foo-", "Foo ", 0, 0},
    // Without a hyphen the last style word anywhere in the name cuts it.
    {"GaramondBold", "Garamond", 1, 0},
    {"GaramondItalicX", "Garamond", 0, 1},
    {"GaramondBoldItalic", "Garamond", 1, 1},
    {"BoldFaceBold", "BoldFace", 1, 0},
    {"Bold", "", 1, 0},
    {"Times New Roman", "Times New Roman", 0, 0},
    {"", "", 0, 0},
    {"LatinWide", "Wide Latin", 0, 0},
    {"LatinWide-Bold", "Wide Latin", 1, 0},
    {"Trebuchet", "TrebuchetMS", 0, 0},
    {"Trebuchet-Italic", "TrebuchetMS", 0, 1},
};

TEST(MapPostScriptNameTest, MapsDrawingProgramNames) {
  for (const MappingCase& c : kMappingCases) {
    SCOPED_TRACE(c.name);
    text::InstalledFontList list;
    std::u16string name = W(c.name);
    text::MapPostScriptName(list, name);
    EXPECT_EQ(N(name), c.mapped);
    EXPECT_EQ(list.bold, c.bold);
    EXPECT_EQ(list.italic, c.italic);
  }
}

TEST(MapPostScriptNameTest, NeverClearsFlags) {
  text::InstalledFontList list;
  std::u16string bold = u"Arial-BoldMT";
  std::u16string italic = u"Arial-Italic";
  std::u16string plain = u"Arial-Regular";
  text::MapPostScriptName(list, bold);
  text::MapPostScriptName(list, italic);
  text::MapPostScriptName(list, plain);
  EXPECT_EQ(list.bold, 1);
  EXPECT_EQ(list.italic, 1);
}

}  // namespace
