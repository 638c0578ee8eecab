#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/picture_decoder.h"
#include "support/test_support.h"

namespace {

using platform::DecodedPicture;
using Rgba = std::array<int, 4>;

std::string Fixture(const std::string& name) {
  std::ifstream in(testing_support::DataPath("images/" + name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class PictureDecoder : public ::testing::Test {
 protected:
  bool Decode(const std::string& bytes, DecodedPicture& picture) {
    const std::string path = testing_support::ScratchFolder("PictureDecoder") + "/picture";
    testing_support::WriteFile(path, bytes);
    error_.clear();
    return platform::DecodePictureFile(path, picture, error_);
  }
  static Rgba At(const DecodedPicture& picture, uint32_t x, uint32_t y) {
    const uint8_t* p = picture.pixels.get() + (static_cast<size_t>(y) * picture.width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
  }

  std::string error_;
};

// Each fixture is 2 x 1 pixels, stored in the layout its name gives; the decoder sees a file
// without extension, so the content alone decides the format.
TEST_F(PictureDecoder, EveryPngLayoutBecomesEightBitStraightRgba) {
  const struct {
    const char* file;
    Rgba first, second;
    bool hasAlpha;
  } cases[] = {
      {"rgba.png", {255, 0, 0, 0}, {200, 100, 50, 128}, true},
      {"rgb.png", {10, 20, 30, 255}, {40, 50, 60, 255}, false},
      {"rgb16.png", {0x12, 0x56, 0x9A, 255}, {255, 0, 0x80, 255}, false},
      {"grey1.png", {0, 0, 0, 255}, {255, 255, 255, 255}, false},
      {"grey16.png", {0x80, 0x80, 0x80, 255}, {0x20, 0x20, 0x20, 255}, false},
      {"grey_alpha.png", {100, 100, 100, 50}, {200, 200, 200, 255}, true},
      {"palette.png", {4, 5, 6, 255}, {1, 2, 3, 255}, false},
      {"palette_trns.png", {4, 5, 6, 7}, {1, 2, 3, 128}, true},
      {"grey_trns.png", {9, 9, 9, 0}, {10, 10, 10, 255}, true},
  };
  for (const auto& c : cases) {
    DecodedPicture picture;
    ASSERT_TRUE(Decode(Fixture(c.file), picture)) << c.file << ": " << error_;
    EXPECT_EQ(picture.width, 2u) << c.file;
    EXPECT_EQ(picture.height, 1u) << c.file;
    EXPECT_EQ(At(picture, 0, 0), c.first) << c.file;
    EXPECT_EQ(At(picture, 1, 0), c.second) << c.file;
    EXPECT_EQ(picture.hasAlpha, c.hasAlpha) << c.file;
  }
}

// The quadrant pictures: red, green, blue and white quarters of 10 x 10, in several encodings.
TEST_F(PictureDecoder, QuadrantPicturesDecodeAlikeInEveryEncoding) {
  const std::pair<const char*, int> files[] = {{"quadrants.png", 0},        {"quadrants_interlaced.png", 0},
                                               {"quadrants.jpg", 6},        {"quadrants_progressive.jpg", 6},
                                               {"quadrants_cmyk.jpg", 6}};
  const std::pair<std::array<uint32_t, 2>, Rgba> probes[] = {{{2, 2}, {255, 0, 0, 255}},
                                                             {{7, 2}, {0, 255, 0, 255}},
                                                             {{2, 7}, {0, 0, 255, 255}},
                                                             {{7, 7}, {255, 255, 255, 255}}};
  for (const auto& [file, tolerance] : files) {
    DecodedPicture picture;
    ASSERT_TRUE(Decode(Fixture(file), picture)) << file << ": " << error_;
    EXPECT_EQ(picture.width, 10u) << file;
    for (const auto& [where, expected] : probes) {
      const Rgba actual = At(picture, where[0], where[1]);
      for (int c = 0; c < 4; ++c) EXPECT_NEAR(actual[c], expected[c], tolerance) << file << " at " << where[0];
    }
  }
  DecodedPicture grey;
  ASSERT_TRUE(Decode(Fixture("quadrants_grey.jpg"), grey)) << error_;
  const Rgba g = At(grey, 7, 7);
  EXPECT_NEAR(g[0], 255, 3);
  EXPECT_TRUE(g[0] == g[1] && g[1] == g[2] && g[3] == 255);
  EXPECT_FALSE(grey.hasAlpha);
}

// Truncated, corrupt and foreign data, and headers announcing pictures over the limit, all fail
// and leave no partial picture.
TEST_F(PictureDecoder, BadDataFailsFastWithoutAPartialPicture) {
  const std::string png = Fixture("quadrants.png");
  const std::string jpeg = Fixture("quadrants.jpg");
  const std::string progressive = Fixture("quadrants_progressive.jpg");
  std::string badChecksum = png;
  badChecksum[29] = static_cast<char>(badChecksum[29] ^ 0x55);
  const std::pair<const char*, std::string> cases[] = {
      {"png signature only", png.substr(0, 8)},
      {"png inside IHDR", png.substr(0, 20)},
      {"png inside IDAT", png.substr(0, png.size() - 20)},
      {"png IHDR checksum", badChecksum},
      {"jpeg header only", jpeg.substr(0, 200)},
      {"jpeg inside the scan", jpeg.substr(0, jpeg.size() * 3 / 4)},
      {"progressive inside the scans", progressive.substr(0, progressive.size() * 3 / 4)},
      {"jpeg markers only", std::string("\xFF\xD8\xFF\xFF\xFF\xD9", 6)},
      {"empty", ""},
      {"gif", "GIF89a\x01\x00\x01\x00"},
      {"png 1 x 1e9", Fixture("header_1x1e9.png")},
      {"png 1e9 x 1", Fixture("header_1e9x1.png")},
      {"png 16385 wide", Fixture("header_16385x1.png")},
      {"png 16384 x 16384", Fixture("header_16384x16384.png")},
      {"jpeg 65535 x 65535", Fixture("header_65535x65535.jpg")},
      {"jpeg 16384 x 16384", Fixture("header_16384x16384.jpg")},
  };
  for (const auto& [name, bytes] : cases) {
    DecodedPicture picture;
    EXPECT_FALSE(Decode(bytes, picture)) << name;
    EXPECT_EQ(picture.pixels, nullptr) << name;
    EXPECT_EQ(picture.width, 0u) << name;
    EXPECT_FALSE(error_.empty()) << name;
  }
  // Within the side limit but over the pixel limit: refused from the header, before decoding starts.
  for (const char* file : {"header_16384x16384.png", "header_16384x16384.jpg"}) {
    DecodedPicture picture;
    EXPECT_FALSE(Decode(Fixture(file), picture));
    EXPECT_NE(error_.find("too large"), std::string::npos) << file << ": " << error_;
  }
  DecodedPicture missing;
  EXPECT_FALSE(platform::DecodePictureFile(testing_support::DataPath("images/none.png"), missing, error_));
  EXPECT_TRUE(platform::PictureSizeAllowed(16384, 4096));
  EXPECT_FALSE(platform::PictureSizeAllowed(16384, 4097));
}

}  // namespace
