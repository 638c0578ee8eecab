#include "version_text.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <expat.h>
#include <fontconfig/fontconfig.h>
#include <fribidi/fribidi.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <harfbuzz/hb.h>
#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

#if defined(GRAPHEL_WITH_PDF) && GRAPHEL_WITH_PDF && __has_include(<mupdf/fitz/version.h>)
#include <mupdf/fitz/version.h>
#define GRAPHEL_MUPDF_VERSION FZ_VERSION
#endif

#include "texture_host.h"

#define GRAPHEL_STRINGIFY_TOKEN(x) #x
#define GRAPHEL_STRINGIFY(x) GRAPHEL_STRINGIFY_TOKEN(x)

namespace graphel_cli {
namespace {

std::string Line(const std::string& name, const std::string& version) { return "  " + name + " " + version + "\n"; }

std::string FontconfigVersion() {
  const int version = FcGetVersion();
  return std::to_string(version / 10000) + "." + std::to_string(version / 100 % 100) + "." +
         std::to_string(version % 100);
}

// The last word of the first line: version texts that lead with the library's name.
std::string LastWord(const char* text) {
  std::string line(text);
  line = line.substr(0, line.find('\n'));
  const size_t cut = line.find_last_of(" _");
  return cut == std::string::npos ? line : line.substr(cut + 1);
}

}  // namespace

std::string VersionText() {
  std::string text = "graphel " GRAPHEL_VERSION "\n";
  text += "libraries:\n";
  text += Line("AGG", GRAPHEL_AGG_VERSION);
  text += Line("expat", LastWord(XML_ExpatVersion()));
  text += Line("FreeType", GRAPHEL_STRINGIFY(FREETYPE_MAJOR) "." GRAPHEL_STRINGIFY(FREETYPE_MINOR) "." GRAPHEL_STRINGIFY(
                               FREETYPE_PATCH));
  text += Line("HarfBuzz", hb_version_string());
  text += Line("FriBidi", LastWord(fribidi_version_info));
  text += Line("fontconfig", FontconfigVersion());
  text += Line("libpng", png_get_libpng_ver(nullptr));
#ifdef LIBJPEG_TURBO_VERSION
  text += Line("libjpeg-turbo", GRAPHEL_STRINGIFY(LIBJPEG_TURBO_VERSION));
#else
  text += Line("libjpeg", std::to_string(JPEG_LIB_VERSION));
#endif
  text += Line("zlib", zlibVersion());
#ifdef GRAPHEL_MUPDF_VERSION
  text += Line("MuPDF", GRAPHEL_MUPDF_VERSION);
#endif
  text += "parts:\n";
#ifdef GRAPHEL_MUPDF_VERSION
  text += "  PDF and Illustrator files: built in (MuPDF, AGPL-3.0)\n";
#else
  text += "  PDF: not built\n";
#endif
  text += "  texture module: " + ModulePath();
  return text;
}

}  // namespace graphel_cli
