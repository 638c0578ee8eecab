#include "texture/panel_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "texture/string_table.h"
#include "texture/vector_file.h"

namespace graphel {

CropEnabling CropEnablingFor(bool place, bool jitterOn) {
  return CropEnabling{place, !place || !jitterOn};
}

PdfEnabling PdfEnablingFor(document::FileType type, bool continuous, bool transparent) {
  const bool pdf = type == document::FileType::kPdf;
  return PdfEnabling{pdf, pdf && continuous, pdf && !transparent};
}

bool PatternPanelEnabled(document::FileType type) { return type == document::FileType::kPat; }

std::string MemoryText(int megabytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%d MB", megabytes);
  return text;
}

std::string PageSizeText(double width, double height) {
  if (width == 0.0 || height == 0.0) return "<none>";
  char text[64];
  std::snprintf(text, sizeof text, "%.1f x %.1f", width, height);
  return text;
}

// Kept as one function so the file chooser and the "vectorfile" parameter refuse alike.
std::optional<std::u16string> RefuseVectorFile(std::u16string_view path) {
  // The same test as the "vectorfile" set hook's: an empty path is the placeholder, ".swf" is refused.
  if (path.empty() || IsAcceptedVectorFile(path)) return std::nullopt;
  return StringCopy(IDS_NOT_VECTORFILE);
}

int ClampTransitionMode(int mode) { return std::clamp(mode, 0, 3); }

int ClampTransitionDirection(int mode, int direction) {
  const int clamped = std::clamp(direction, 0, 7);
  return ClampTransitionMode(mode) == kTransitionModeScroll ? clamped & ~1 : clamped;
}

bool DirectionOffered(int mode, int direction) {
  const int m = ClampTransitionMode(mode);
  if (m == kTransitionModeBlend) return false;
  return m != kTransitionModeScroll || direction % 2 == 0;
}

namespace {

struct Corner {
  double x, y;
};
// Quadrilaterals cut by the ring, clockwise from the top.
constexpr std::array<std::array<Corner, 4>, 8> kSectors = {{
    {{{20, 0}, {48, 0}, {36, 27}, {31, 27}}},
    {{{48, 0}, {67, 19}, {40, 31}, {36, 27}}},
    {{{40, 31}, {67, 19}, {67, 47}, {40, 36}}},
    {{{40, 36}, {67, 47}, {48, 67}, {36, 40}}},
    {{{36, 40}, {48, 67}, {19, 67}, {31, 40}}},
    {{{31, 40}, {19, 67}, {0, 47}, {27, 36}}},
    {{{27, 36}, {0, 47}, {0, 19}, {27, 30}}},
    {{{27, 30}, {0, 19}, {20, 0}, {31, 27}}},
}};
constexpr double kOuterRadius = kDirectionRingSize / 2.0;
constexpr double kCentre = kDirectionRingSize / 2.0;
constexpr double kInnerRadius = (43.0 - 26.0) / 2.0;

// Even-odd crossing test; points on shared edges go to one side only.
bool InsideQuad(const std::array<Corner, 4>& quad, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = quad.size() - 1; i < quad.size(); j = i++) {
    const Corner& a = quad[i];
    const Corner& b = quad[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
  }
  return inside;
}

}  // namespace

int DirectionSectorAt(double x, double y) {
  // Pixel centres decide, so (0, 0) is the top-left pixel.
  const double px = x + 0.5;
  const double py = y + 0.5;
  const double r = std::hypot(px - kCentre, py - kCentre);
  if (!(r <= kOuterRadius) || r < kInnerRadius) return -1;
  for (int sector = 0; sector < static_cast<int>(kSectors.size()); ++sector) {
    if (InsideQuad(kSectors[sector], px, py)) return sector;
  }
  return -1;
}

CropFrame FrameFromCrop(const CropFractions& crop, int bitmapWidth, int bitmapHeight) {
  return CropFrame{crop.u * bitmapWidth, crop.v * bitmapHeight, crop.w * bitmapWidth, crop.h * bitmapHeight};
}

CropFractions CropFromFrame(const CropFrame& frame, int bitmapWidth, int bitmapHeight) {
  const double w = std::max(bitmapWidth, 1);
  const double h = std::max(bitmapHeight, 1);
  // A frame that is no number at all (a broken drag) stands for the whole bitmap.
  if (!std::isfinite(frame.x + frame.y + frame.width + frame.height)) return CropFractions{};
  const double x0 = std::clamp(frame.x, 0.0, w - 1.0);
  const double y0 = std::clamp(frame.y, 0.0, h - 1.0);
  const double x1 = std::clamp(frame.x + frame.width, x0 + 1.0, w);
  const double y1 = std::clamp(frame.y + frame.height, y0 + 1.0, h);
  return CropFractions{x0 / w, y0 / h, (x1 - x0) / w, (y1 - y0) / h};
}

}  // namespace graphel
