#pragma once

// What the texture's four editor panels show and allow, as plain values: enabling rules, display
// texts, the transition direction ring's geometry and the crop frame. The editor page draws what
// these functions answer, so the rules are tested without a browser.

#include <optional>
#include <string>
#include <string_view>

#include "document/file_type.h"

namespace graphel {

// "Cropping / Placement" group: jitter only when placing; the offsets when cropping, or when placing
// without jitter (jitter chooses the offsets itself).
struct CropEnabling {
  bool jitter = false;  // "jitter" and "jitteramt"
  bool offsets = false; // "crop_u" and "crop_v"
};
CropEnabling CropEnablingFor(bool place, bool jitterOn);

// "Adobe Illustrator / PDF Parameters": everything needs a PDF; the transition group needs
// "continous" as well; the page colour only matters when the page is not transparent.
struct PdfEnabling {
  bool page = false;
  bool transition = false;
  bool pageColour = false;
};
PdfEnabling PdfEnablingFor(document::FileType type, bool continuous, bool transparent);

// "Pattern Parameters" are for hatch-pattern files only.
bool PatternPanelEnabled(document::FileType type);

std::string MemoryText(int megabytes);                  // "%d MB"
std::string PageSizeText(double width, double height);  // "%.1f x %.1f", or "<none>" for a 0 side

// The message shown when the file chooser is given a file the texture cannot read, or nothing when
// the file's type is one it reads.
std::optional<std::u16string> RefuseVectorFile(std::u16string_view path);

// Transition modes: 0 blend (no direction), 1 scroll (even directions only), 2 and 3 any direction.
inline constexpr int kTransitionModeBlend = 0;
inline constexpr int kTransitionModeScroll = 1;
int ClampTransitionMode(int mode);
// Clamps to 0..7; scroll rounds an odd direction down to the even one below it.
int ClampTransitionDirection(int mode, int direction);
// Whether the ring offers the sector as a choice in this mode.
bool DirectionOffered(int mode, int direction);

// The direction ring: a 69-pixel circle without its 17-pixel centre, cut into eight sectors
// numbered clockwise from the top.
inline constexpr int kDirectionRingSize = 69;
// The sector under pixel (x, y), or -1 outside the ring.
int DirectionSectorAt(double x, double y);

// The crop editor's frame in bitmap pixels, and the crop_u/v/w/h fractions it stands for.
struct CropFrame {
  double x = 0.0, y = 0.0, width = 0.0, height = 0.0;
};
struct CropFractions {
  double u = 0.0, v = 0.0, w = 1.0, h = 1.0;
};
CropFrame FrameFromCrop(const CropFractions& crop, int bitmapWidth, int bitmapHeight);
// Clamps the frame into the bitmap; a frame of no size keeps at least one pixel.
CropFractions CropFromFrame(const CropFrame& frame, int bitmapWidth, int bitmapHeight);

}  // namespace graphel
