#include "hostile/hostile_cases.h"

#include <sys/stat.h>
#include <zlib.h>

#include <array>
#include <vector>

#include "platform/png_file.h"
#include "support/test_support.h"

namespace hostile {
namespace {

using testing_support::Base64;
using testing_support::DataPath;
using testing_support::ReadFile;
using testing_support::WriteFile;

std::string Repeat(std::string_view piece, size_t count) {
  std::string out;
  out.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) out += piece;
  return out;
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string Svg(std::string_view body) {
  return "<svg xmlns='http://www.w3.org/2000/svg' xmlns:xlink='http://www.w3.org/1999/xlink' width='100' "
         "height='100'>" +
         std::string(body) + "</svg>";
}

std::string Image(std::string_view href) {
  return "<image width='100' height='100' xlink:href='" + std::string(href) + "'/>";
}

std::string Embedded(std::string_view kind, std::string_view bytes) {
  return Image("data:image/" + std::string(kind) + ";base64," + Base64(bytes));
}

// A noise picture compresses to about its raw size: 1200 x 1200 gives 7.7 MB of base64.
void EmbeddedPicture(const std::string& path) {
  constexpr uint32_t kSide = 1200;
  std::vector<uint8_t> pixels(size_t{kSide} * kSide * 4);
  uint32_t state = 12345;
  for (uint8_t& byte : pixels) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<uint8_t>(state >> 24);
  }
  const std::string png = FolderOf(path) + "noise.png";
  std::string error;
  platform::WritePng(png, pixels.data(), kSide, kSide, error);
  WriteFile(path, Svg(Embedded("png", ReadFile(png))));
}

void LinkedPipeAndDevices(const std::string& path) {
  ::mkfifo((FolderOf(path) + "pipe.png").c_str(), 0600);
  WriteFile(path, Svg(Image("pipe.png") + Image("/dev/zero") + Image("/dev/urandom") + Image(".")));
}

void DocumentPipe(const std::string& path) { ::mkfifo(path.c_str(), 0600); }

// 2 MB in every kind of attribute value the reader parses differently.
void MegabyteAttributes(const std::string& path) {
  const std::string letters = Repeat("abcdefgh", 1 << 18);
  const std::string numbers = Repeat("1 2.5 ", 1 << 18);
  WriteFile(path, Svg("<rect id='" + letters + "' class='" + Repeat("c ", 1 << 20) + "' width='1' height='1'/>" +
                      "<rect style='" + Repeat("fill:red;", 1 << 18) + "' fill='" + letters + "'/>" +
                      "<path d='M0 0 L" + numbers + "' transform='" + Repeat("translate(1) ", 1 << 17) + "'/>" +
                      "<rect stroke-dasharray='" + numbers + "' x='" + letters + "' unknown='" + letters + "'/>" +
                      "<text x='" + numbers + "'>" + letters + "</text>"));
}

// Four million numbers in one points list, and as many in path data.
void MillionPoints(const std::string& path) {
  WriteFile(path, Svg("<polyline stroke='black' points='" + Repeat("1,2 3.5,4 ", 1'000'000) + "'/><path d='M0 0" +
                      Repeat(" L 1 2 3.5 4", 500'000) + "'/>"));
}

void BillionLaughs(const std::string& path) {
  std::string doctype = "<!DOCTYPE svg [<!ENTITY a0 'laugh'>";
  for (int i = 1; i < 10; ++i) {
    doctype += "<!ENTITY a" + std::to_string(i) + " '" + Repeat("&a" + std::to_string(i - 1) + ";", 10) + "'>";
  }
  WriteFile(path, doctype + "]><svg><text>&a9;</text></svg>");
}

void QuadraticBlowup(const std::string& path) {
  WriteFile(path, "<!DOCTYPE svg [<!ENTITY big '" + std::string(100'000, 'x') + "'>]><svg><desc>" +
                      Repeat("&big;", 20'000) + "</desc></svg>");
}

void ExternalEntity(const std::string& path) {
  WriteFile(path, "<!DOCTYPE svg [<!ENTITY secret SYSTEM '/etc/passwd'>]><svg width='10' height='10'><text>"
                  "&secret;</text></svg>");
}

void ReferenceCycles(const std::string& path) {
  std::string fanOut = "<rect id='u0' width='1' height='1'/>";
  for (int level = 1; level <= 12; ++level) {
    fanOut += "<g id='u" + std::to_string(level) + "'>" +
              Repeat("<use xlink:href='#u" + std::to_string(level - 1) + "'/>", 10) + "</g>";
  }
  WriteFile(path, Svg("<defs><g id='loop'><use xlink:href='#loop'/></g><g id='a'><use xlink:href='#b'/></g>"
                      "<g id='b'><use xlink:href='#a'/></g><g id='c'><use xlink:href='#c'/></g>"
                      "<linearGradient id='g1' xlink:href='#g2'/><linearGradient id='g2' xlink:href='#g1'/>"
                      "<pattern id='p1' xlink:href='#p2' width='5' height='5'/><pattern id='p2' xlink:href='#p1'/>"
                      "<clipPath id='k' clip-path='url(#k)'><rect width='5' height='5'/></clipPath>"
                      "<mask id='m' mask='url(#m)'><rect width='5' height='5' mask='url(#m)'/></mask>"
                      "<pattern id='p3' width='5' height='5'><rect width='5' height='5' fill='url(#p3)'/></pattern>"
                      "</defs><use xlink:href='#loop'/><use xlink:href='#a'/><g><use xlink:href='#c'/></g>"
                      "<rect width='50' height='50' fill='url(#g1)' stroke='url(#p1)' clip-path='url(#k)' "
                      "mask='url(#m)'/><rect width='9' height='9' fill='url(#p3)'/>" +
                      fanOut + "<use xlink:href='#u12'/>"));
}

// Pictures whose headers claim sizes beyond the limits, and good pictures cut short, embedded and linked.
void LyingAndTruncatedPictures(const std::string& path) {
  const std::string folder = FolderOf(path);
  std::string body;
  for (const char* name : {"header_1e9x1.png", "header_65535x65535.jpg", "header_16385x1.png"}) {
    const std::string bytes = ReadFile(DataPath(std::string("images/") + name));
    WriteFile(folder + name, bytes);
    body += Image(name) + Embedded(std::string_view(name).ends_with("png") ? "png" : "jpg", bytes);
  }
  for (const char* name : {"quadrants.png", "quadrants.jpg", "quadrants_progressive.jpg"}) {
    const std::string bytes = ReadFile(DataPath(std::string("images/") + name));
    for (const size_t keep : {size_t{1}, size_t{20}, bytes.size() / 2, bytes.size() - 1}) {
      const std::string cut = "cut" + std::to_string(keep) + "_" + name;
      WriteFile(folder + cut, bytes.substr(0, keep));
      body += Image(cut) + Embedded(std::string_view(name).ends_with("png") ? "png" : "jpg", bytes.substr(0, keep));
    }
  }
  WriteFile(path, Svg(body + Image("data:image/png;base64,!!!!") + Image("data:image/png;base64,")));
}

// Every kind of attribute value given NaN, infinities and out-of-range numbers.
void NotFiniteEverywhere(const std::string& path) {
  std::string body;
  for (const char* v : {"NaN", "nan", "inf", "-inf", "INF", "1e400", "-1e400", "1e-400", "0x10", "1e38"}) {
    const std::string n(v);
    // Path data and points fail the load on letters (a case of its own); their numbers overflow instead.
    const std::string p = n.find_first_of("aAnNxX") == std::string::npos ? n : n[0] == '-' ? "-1e400" : "1e400";
    body += "<g transform='matrix(" + n + " 0 0 " + n + " " + n + " 0) rotate(" + n + ") scale(" + n + ") skewX(" +
            n + ")' opacity='" + n + "' stroke-width='" + n + "' stroke-miterlimit='" + n +
            "' stroke-dasharray='" + n + " 1' stroke-dashoffset='" + n + "' font-size='" + n + "'>" +
            "<rect x='" + n + "' y='" + n + "' width='" + n + "' height='10' rx='" + n + "' fill='red' stroke='blue'/>" +
            "<circle cx='5' cy='5' r='" + n + "'/><ellipse rx='" + n + "' ry='3'/><line x2='" + n + "' stroke='red'/>" +
            "<polygon points='0,0 " + p + "," + p + " 5,5'/><path d='M0 0 L" + p + " 5 A" + p + " 5 0 1 1 " + p +
            " 9 C1 2 " + p + " 4 5 6Z' fill-opacity='" + n + "'/>" +
            "<svg width='10' height='10' viewBox='0 0 " + n + " 10'><rect width='5' height='5'/></svg>" +
            "<linearGradient id='l" + std::to_string(body.size()) + "' x1='" + n + "' gradientTransform='scale(" + n +
            ")'><stop offset='" + n + "' stop-opacity='" + n + "' stop-color='red'/></linearGradient>" +
            "<text x='" + n + "' y='" + n + "' dx='" + n + "' rotate='" + n + "'>x</text>" + Image("") + "</g>";
  }
  WriteFile(path, Svg(body));
}

void NotANumberInPathData(const std::string& path) {
  WriteFile(path, Svg("<rect width='5' height='5'/><path d='M0 0 L NaN 5'/>"));
}

// A number of more than 255 characters is cut, and its rest leaves a coordinate without partner.
void OverlongPathNumber(const std::string& path) {
  WriteFile(path, Svg("<path d='M0 0 L 1 " + std::string(10'000, '9') + "'/>"));
}

void DeepNesting(const std::string& path) {
  WriteFile(path, Svg(Repeat("<g>", 100'000) + Repeat("</g>", 100'000)));
}

void DeepButAllowedNesting(const std::string& path) {
  WriteFile(path, Svg(Repeat("<g transform='translate(0.01) rotate(1)'>", 500) + "<rect width='5' height='5'/>" +
                      Repeat("</g>", 500)));
}

void HugeNumbers(const std::string& path) {
  const std::string digits(10'000, '9');
  WriteFile(path, Svg("<rect width='" + digits + "' height='1e308' x='-1e308' stroke='red' stroke-width='1e38'/>"
                      "<circle r='" + digits + "." + digits + "e" + digits + "'/><path d='M1e308 1e308 L-1e308 " +
                      "1e308 Z' stroke='blue'/><svg viewBox='0 0 1e-300 1e-300'><rect width='1' height='1'/>"
                      "</svg><polyline points='0,0 1e38,1e38 -1e38,0' stroke='black'/>"));
}

void ElementFlood(const std::string& path) { WriteFile(path, Svg(Repeat("<g/>", 1'000'001))); }

void GzipBomb(const std::string& path) {
  gzFile file = gzopen(path.c_str(), "wb9");
  gzputs(file, "<svg><desc>");
  const std::string spaces(1 << 20, ' ');
  for (int i = 0; i < 300; ++i) gzwrite(file, spaces.data(), static_cast<unsigned>(spaces.size()));
  gzclose(file);
}

// Each level fills two shapes with the next level's pattern.
void NestedPatterns(const std::string& path) {
  std::string defs;
  for (int level = 0; level < 24; ++level) {
    const std::string fill = level == 0 ? "red" : "url(#p" + std::to_string(level - 1) + ")";
    defs += "<pattern id='p" + std::to_string(level) + "' width='4' height='4' patternUnits='userSpaceOnUse'>"
            "<rect width='2' height='4' fill='" + fill + "'/><rect x='2' width='2' height='4' fill='" + fill +
            "'/></pattern>";
  }
  WriteFile(path, Svg("<defs>" + defs + "</defs><rect width='100' height='100' fill='url(#p23)'/>"));
}

void NestedClips(const std::string& path) {
  WriteFile(path, Svg("<clipPath id='c'><rect width='90' height='90'/></clipPath>" +
                      Repeat("<g clip-path='url(#c)'>", 500) + "<rect width='100' height='100'/>" +
                      Repeat("</g>", 500)));
}

void NestedGroups(const std::string& path) {
  WriteFile(path, Svg(Repeat("<g opacity='0.99'>", 500) + "<rect width='100' height='100'/>" + Repeat("</g>", 500)));
}

void HugeRoundJoins(const std::string& path) {
  WriteFile(path, Svg("<path stroke='black' stroke-width='1e9' stroke-linejoin='round' fill='none' d='M0 0" +
                      Repeat(" l 10 10 l 10 -10", 1000) + "'/>"));
}

void TinyDashes(const std::string& path) {
  WriteFile(path, Svg("<path stroke='black' stroke-dasharray='0.0001 0.0001 0.0001 1000000' d='M0 0 " +
                      Repeat("l 100 100 l -100 0 ", 50) + "'/>"));
}

void NotFiniteRadial(const std::string& path) {
  WriteFile(path, Svg("<radialGradient id='r' fx='NaN' fy='inf' r='1e400'><stop offset='0' stop-color='red'/>"
                      "<stop offset='1' stop-color='blue'/></radialGradient><rect width='100' height='100' "
                      "fill='url(#r)'/>"));
}

// 3000 hatch lines in one path, the kind a hatch converter writes.
void DenseHatchPath(const std::string& path) {
  std::string d;
  for (int i = 0; i < 3000; ++i) d += "M0 " + std::to_string(i / 30.0) + " L100 " + std::to_string(i / 30.0) + " ";
  WriteFile(path, Svg("<path stroke='black' stroke-width='0.01' d='" + d + "'/>"));
}

constexpr std::array kBounded{
    HostileCase{"EmbeddedPicture8MB", "picture.svg", EmbeddedPicture, 0},
    HostileCase{"LinkedPipeAndDevices", "linked.svg", LinkedPipeAndDevices, 0},
    HostileCase{"DocumentIsAPipe", "pipe.svg", DocumentPipe, 1},
    HostileCase{"MegabyteAttributes", "attributes.svg", MegabyteAttributes, 0},
    HostileCase{"MillionPoints", "points.svg", MillionPoints, 0},
    HostileCase{"BillionLaughs", "laughs.svg", BillionLaughs, 3},
    HostileCase{"QuadraticBlowup", "blowup.svg", QuadraticBlowup, 3},
    HostileCase{"ExternalEntity", "external.svg", ExternalEntity, 0},
    HostileCase{"ReferenceCycles", "cycles.svg", ReferenceCycles, 0},
    HostileCase{"LyingAndTruncatedPictures", "pictures.svg", LyingAndTruncatedPictures, 0},
    HostileCase{"NotFiniteEverywhere", "nan.svg", NotFiniteEverywhere, 0},
    HostileCase{"NotANumberInPathData", "nan_path.svg", NotANumberInPathData, 12},
    HostileCase{"OverlongPathNumber", "long_number.svg", OverlongPathNumber, 13},
    HostileCase{"DeepNesting", "deep.svg", DeepNesting, 3},
    HostileCase{"DeepButAllowedNesting", "deep_ok.svg", DeepButAllowedNesting, 0},
    HostileCase{"HugeNumbers", "huge.svg", HugeNumbers, 0},
    HostileCase{"ElementFlood", "flood.svg", ElementFlood, 3},
    HostileCase{"GzipBomb", "bomb.svgz", GzipBomb, 3},
    HostileCase{"NestedPatterns", "patterns.svg", NestedPatterns, 0},
    HostileCase{"NestedClips", "clips.svg", NestedClips, 0},
    HostileCase{"NestedOpacityGroups", "groups.svg", NestedGroups, 0},
    HostileCase{"HugeRoundJoins", "joins.svg", HugeRoundJoins, 0},
    HostileCase{"TinyDashes", "dashes.svg", TinyDashes, 0},
    HostileCase{"NotFiniteRadialGradient", "radial.svg", NotFiniteRadial, 0},
    HostileCase{"DenseHatchPath", "hatch.svg", DenseHatchPath, 0},
};

}  // namespace

std::span<const HostileCase> BoundedCases() { return kBounded; }

}  // namespace hostile
