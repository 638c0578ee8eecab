#include "texture/panel_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace graphel {
namespace {

using document::FileType;

TEST(PanelModel, EnablingRules) {
  struct CropCase {
    bool place, jitter, jitterEnabled, offsetsEnabled;
  };
  for (const CropCase& c : {CropCase{false, false, false, true}, CropCase{false, true, false, true},
                            CropCase{true, false, true, true}, CropCase{true, true, true, false}}) {
    const CropEnabling e = CropEnablingFor(c.place, c.jitter);
    EXPECT_EQ(e.jitter, c.jitterEnabled) << c.place << c.jitter;
    EXPECT_EQ(e.offsets, c.offsetsEnabled) << c.place << c.jitter;
  }
  struct PdfCase {
    FileType type;
    bool continuous, transparent, page, transition, colour;
  };
  for (const PdfCase& c : {PdfCase{FileType::kSvg, true, false, false, false, false},
                           PdfCase{FileType::kPdf, false, false, true, false, true},
                           PdfCase{FileType::kPdf, true, true, true, true, false}}) {
    const PdfEnabling e = PdfEnablingFor(c.type, c.continuous, c.transparent);
    EXPECT_EQ(e.page, c.page);
    EXPECT_EQ(e.transition, c.transition);
    EXPECT_EQ(e.pageColour, c.colour);
  }
  EXPECT_TRUE(PatternPanelEnabled(FileType::kPat));
  EXPECT_FALSE(PatternPanelEnabled(FileType::kSvg));
  EXPECT_FALSE(PatternPanelEnabled(FileType::kPdf));
}

TEST(PanelModel, DisplayTextsAndRefusal) {
  EXPECT_EQ(MemoryText(0), "0 MB");
  EXPECT_EQ(MemoryText(137), "137 MB");
  EXPECT_EQ(PageSizeText(595, 842), "595.0 x 842.0");
  EXPECT_EQ(PageSizeText(0, 842), "<none>");
  EXPECT_EQ(PageSizeText(0, 0), "<none>");
  EXPECT_EQ(RefuseVectorFile(u"/x/drawing.SVG"), std::nullopt);
  EXPECT_EQ(RefuseVectorFile(u"hatch.pat"), std::nullopt);
  for (const char16_t* refused : {u"photo.png", u"noextension", u"archive.svg.zip", u"movie.swf"}) {
    EXPECT_EQ(RefuseVectorFile(refused), std::u16string(u"This was not a (supported) vectorfile"));
  }
}

TEST(PanelModel, ScrollModeKeepsEvenDirections) {
  struct Case {
    int mode, direction, expected;
  };
  for (const Case& c : {Case{1, 3, 2}, Case{1, 7, 6}, Case{1, 2, 2}, Case{2, 3, 3}, Case{9, 3, 3}, Case{1, 99, 6},
                        Case{0, -4, 0}, Case{-1, 5, 5}}) {
    EXPECT_EQ(ClampTransitionDirection(c.mode, c.direction), c.expected) << c.mode << " " << c.direction;
  }
  EXPECT_FALSE(DirectionOffered(0, 2));
  EXPECT_FALSE(DirectionOffered(1, 3));
  EXPECT_TRUE(DirectionOffered(1, 4));
  EXPECT_TRUE(DirectionOffered(3, 5));
}

TEST(PanelModel, RingSectorsClockwiseFromTheTop) {
  struct Case {
    double x, y;
    int sector;
  };
  for (const Case& c : {Case{34, 3, 0}, Case{56, 14, 1}, Case{64, 34, 2}, Case{55, 55, 3}, Case{34, 64, 4},
                        Case{13, 55, 5}, Case{3, 34, 6}, Case{13, 13, 7},
                        Case{34, 34, -1},   // the hole in the middle
                        Case{0, 0, -1},     // outside the circle
                        Case{-5, 30, -1}, Case{70, 30, -1}, Case{std::nan(""), 3, -1}}) {
    EXPECT_EQ(DirectionSectorAt(c.x, c.y), c.sector) << c.x << "," << c.y;
  }
  // Every pixel of the ring belongs to at most one sector, and the ring is covered nearly whole.
  int covered = 0;
  int ring = 0;
  for (int y = 0; y < kDirectionRingSize; ++y) {
    for (int x = 0; x < kDirectionRingSize; ++x) {
      const double r = std::hypot(x + 0.5 - 34.5, y + 0.5 - 34.5);
      if (r > 34.5 || r < 8.5) continue;
      ++ring;
      if (DirectionSectorAt(x, y) >= 0) ++covered;
    }
  }
  EXPECT_GT(covered, ring * 9 / 10);
}

TEST(PanelModel, CropFrame) {
  const CropFrame frame = FrameFromCrop(CropFractions{0.25, 0.5, 0.5, 0.25}, 1024, 512);
  EXPECT_DOUBLE_EQ(frame.x, 256);
  EXPECT_DOUBLE_EQ(frame.y, 256);
  EXPECT_DOUBLE_EQ(frame.width, 512);
  EXPECT_DOUBLE_EQ(frame.height, 128);
  struct Case {
    CropFrame frame;
    CropFractions expected;
  };
  for (const Case& c : {Case{frame, {0.25, 0.5, 0.5, 0.25}},
                        Case{{-100, -100, 2000, 2000}, {0, 0, 1, 1}},             // dragged past the edges
                        Case{{1000, 10, 0, -5}, {1000.0 / 1024, 10.0 / 512, 1.0 / 1024, 1.0 / 512}},  // no size
                        Case{{std::nan(""), 0, 1024, 512}, {0, 0, 1, 1}}}) {
    const CropFractions got = CropFromFrame(c.frame, 1024, 512);
    EXPECT_NEAR(got.u, c.expected.u, 1e-12);
    EXPECT_NEAR(got.v, c.expected.v, 1e-12);
    EXPECT_NEAR(got.w, c.expected.w, 1e-12);
    EXPECT_NEAR(got.h, c.expected.h, 1e-12);
  }
}

}  // namespace
}  // namespace graphel
