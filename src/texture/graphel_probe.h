#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/bitmap.h"
#include "host/message_window.h"
#include "host/reference.h"
#include "host/shade_context.h"

namespace graphel {

// What the stand-in host application asks of a Graphel texture beyond the host's own interfaces:
// the evaluations with a record of how the pyramid answered, the whole-texture bitmap, the
// pyramid's memory and the texture's messages. Reached through GetInterface.
inline constexpr zal::Interface_ID kGraphelProbeInterfaceId{0x36CB5AF0, 0x71EA067A};

// How the first sample of an evaluation was taken.
struct SampleTrace {
  bool sampled = false;  // false when cropping or placement left nothing to sample
  int level = -1;
  double nominalSize = 0.0;
  int blendLevel = -1;  // the coarser level blended in, -1 for none
  double blend = 1.0;   // the weight of level in the blend
  int64_t tileIndex = -1;
  double u = 0.0, v = 0.0;    // where the sample landed in the drawing
  double du = 0.0, dv = 0.0;  // the footprint the box filter used
  double coverage = 1.0;      // the share of a placed footprint on the image
};

struct CacheReport {
  uint64_t bytesUsed = 0;
  int topLevel = 0;
  int64_t entryCount = 0;
  int64_t fullTiles = 0;
  int64_t uniformTiles = 0;
  uint32_t documentType = 0;
  bool hasDocument = false;
  double aspect = 1.0;
  uint64_t documentLoads = 0;  // drawings read from a file or text, placeholders not counted
};

// What the editor panels show of the loaded drawing: its patterns (hatch-pattern files) and its
// pages (PDF), empty or 0 for other drawings and the placeholder.
struct PanelFacts {
  uint32_t documentType = 0;
  std::vector<std::u16string> patternNames;
  uint32_t pageCount = 0;
  double pageWidth = 0.0;
  double pageHeight = 0.0;
};

class GraphelProbe : public zal::BaseInterface {
 public:
  zal::Interface_ID GetID() override { return kGraphelProbeInterfaceId; }
  virtual zal::AColor ProbeColor(zal::ShadeContext& sc, SampleTrace& trace) = 0;
  virtual float ProbeMono(zal::ShadeContext& sc, SampleTrace& trace) = 0;
  virtual zal::Point3 ProbeNormalPerturb(zal::ShadeContext& sc, SampleTrace& trace) = 0;
  // A new host bitmap of the texture (null when it can't be made); the caller deletes it.
  virtual zal::Bitmap* MakeBitmap(zal::TimeValue t, int size, bool mono, bool asTexture) = 0;
  virtual CacheReport Cache() = 0;
  virtual void ClearTiles(bool keepLevel10) = 0;
  // The texture's messages, each listed once.
  virtual std::vector<std::u16string> Messages() = 0;
  // "Clear List": forgets the texture's messages.
  virtual void ClearMessages() = 0;
  virtual PanelFacts Panel() = 0;
  // The window that gets the texture's messages and memory display (the advanced panel's place).
  virtual void SetMessageTarget(zal::MessageWindow* window) = 0;
  // What the "Parameters" panel's file button shows.
  virtual std::u16string FileButtonText() = 0;
};

}  // namespace graphel
