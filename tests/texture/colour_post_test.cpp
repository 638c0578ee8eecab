#include "texture/colour_post.h"

#include <gtest/gtest.h>

namespace graphel {
namespace {

struct PostCase {
  const char* name;
  Rgba sample;  // premultiplied
  OutputSettings settings;
  bool mono;
  zal::AColor expected;
};

TEST(ColourPost, AlphaSourceAndOutputChoices) {
  const Rgba halfRed{0.5, 0.0, 0.0, 0.5};
  const Rgba grey{0.3, 0.3, 0.3, 0.6};
  const PostCase cases[] = {
      {"image alpha keeps a premultiplied colour", halfRed, {0, 0, 0}, false, {0.5f, 0.0f, 0.0f, 0.5f}},
      {"opaque multiplies colour by alpha", halfRed, {2, 0, 0}, false, {0.5f, 0.0f, 0.0f, 1.0f}},
      {"intensity as alpha", halfRed, {1, 0, 0}, false, {1.0f / 6.0f, 0.0f, 0.0f, 1.0f / 6.0f}},
      {"alpha as grey", halfRed, {0, 1, 0}, false, {0.5f, 0.5f, 0.5f, 0.5f}},
      {"opaque alpha as grey is white", halfRed, {2, 1, 0}, false, {1.0f, 1.0f, 1.0f, 1.0f}},
      {"mono of alpha", grey, {0, 0, 1}, true, {0.6f, 0.6f, 0.6f, 0.6f}},
      {"mono of intensity", grey, {0, 0, 0}, true, {0.5f, 0.5f, 0.5f, 0.5f}},
      {"transparent has no colour", Rgba{0.2, 0.2, 0.2, 0.0}, {0, 0, 0}, false, {0.0f, 0.0f, 0.0f, 0.0f}},
      {"transparent made opaque is black", Rgba{}, {2, 0, 0}, false, {0.0f, 0.0f, 0.0f, 1.0f}},
  };
  for (const PostCase& c : cases) {
    const zal::AColor result = PostProcess(c.sample, c.settings, c.mono);
    EXPECT_NEAR(result.r, c.expected.r, 1e-6) << c.name;
    EXPECT_NEAR(result.g, c.expected.g, 1e-6) << c.name;
    EXPECT_NEAR(result.b, c.expected.b, 1e-6) << c.name;
    EXPECT_NEAR(result.a, c.expected.a, 1e-6) << c.name;
  }
}

TEST(ColourPost, DisplayGammaIsRemovedFromTheStraightColour) {
  OutputSettings settings{0, 0, 0, true, 2.0f};
  const zal::AColor result = PostProcess(Rgba{0.25, 0.5, 0.0, 0.5}, settings, false);
  // Straight (0.5, 1, 0) becomes (0.25, 1, 0), then premultiplied again by 0.5.
  EXPECT_NEAR(result.r, 0.125f, 1e-6);
  EXPECT_NEAR(result.g, 0.5f, 1e-6);
  EXPECT_NEAR(result.b, 0.0f, 1e-6);
  EXPECT_NEAR(result.a, 0.5f, 1e-6);
}

}  // namespace
}  // namespace graphel
