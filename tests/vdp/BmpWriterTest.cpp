#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "vdp/BmpWriter.h"

namespace vantor {
namespace {

uint32_t le32(const std::vector<uint8_t>& b, std::size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

// 5 x 2, 4 bits: top row 1 2 3 4 5, bottom row 0.
TIndexedBitmap smallFourBit() {
  TIndexedBitmap bmp(5, 2, 4);
  const uint8_t top[3] = {0x12, 0x34, 0x50};
  std::copy_n(top, 3, bmp.Row(0));
  const uint32_t colors[2] = {0xFF000000, 0xFFFF0000};
  bmp.SetColors(0, colors, 2);
  return bmp;
}

TEST(BmpWriterTest, FourBitFileHasSixteenColoursAndBottomUpPaddedRows) {
  const std::vector<uint8_t> file = EncodeBmp(smallFourBit());
  ASSERT_EQ(file.size(), 14u + 40u + 16u * 4u + 2u * 4u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(le32(file, 2), file.size());
  EXPECT_EQ(le32(file, 10), 14u + 40u + 64u);
  EXPECT_EQ(le32(file, 18), 5u);
  EXPECT_EQ(le32(file, 22), 2u);
  EXPECT_EQ(file[28], 4);
  EXPECT_EQ(le32(file, 30), 0u);  // uncompressed
  EXPECT_EQ(le32(file, 46), 16u);
  EXPECT_EQ(le32(file, 54 + 4), 0x00FF0000u);  // colour 1: blue 0, green 0, red FF, 0
  const std::size_t pixels = 14 + 40 + 64;
  EXPECT_EQ(file[pixels], 0x00);      // bottom row first
  EXPECT_EQ(file[pixels + 4], 0x12);  // then the top row
  EXPECT_EQ(file[pixels + 6], 0x50);
}

TEST(BmpWriterTest, EightBitFileHasTwoHundredFiftySixColours) {
  TIndexedBitmap bmp(3, 1, 8);
  bmp.Row(0)[2] = 0xC8;
  const std::vector<uint8_t> file = EncodeBmp(bmp);
  EXPECT_EQ(file.size(), 14u + 40u + 1024u + 4u);
  EXPECT_EQ(file[28], 8);
  EXPECT_EQ(file[14 + 40 + 1024 + 2], 0xC8);
}

TEST(BmpWriterTest, SixteenBitBitmapsAreRefused) {
  EXPECT_THROW(EncodeBmp(TIndexedBitmap(2, 2, 16)), std::invalid_argument);
}

TEST(BmpWriterTest, ScaleDuplicatesEveryPixel) {
  TIndexedBitmap bmp(2, 1, 8);
  bmp.Row(0)[0] = 7;
  bmp.Row(0)[1] = 9;
  const uint32_t color = 0xFF123456;
  bmp.SetColors(200, &color, 1);
  const TIndexedBitmap big = ScaleBitmap(bmp, 3);
  EXPECT_EQ(big.Width(), 6);
  EXPECT_EQ(big.Height(), 3);
  EXPECT_EQ(big.Pixel(2, 2), 7u);
  EXPECT_EQ(big.Pixel(3, 0), 9u);
  EXPECT_EQ(big.Color(200), color);
}

// ImageMagick must read our files with the right size, depth and colours.
class IdentifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (std::system("command -v identify >/dev/null 2>&1") != 0) {
      GTEST_SKIP() << "ImageMagick's identify is not on the PATH";
    }
  }
  std::string identify(const TIndexedBitmap& bmp, const std::string& format) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("vantor-bmp-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         std::to_string(bmp.BitsPerPixel()) + ".bmp");
    {
      std::ofstream out(path, std::ios::binary);
      WriteBmp(bmp, out);
    }
    const std::string command = "identify -format '" + format + "' '" + path.string() + "'";
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      std::array<char, 256> buffer{};
      while (std::fgets(buffer.data(), int(buffer.size()), pipe))
        text += buffer.data();
      pclose(pipe);
    }
    std::filesystem::remove(path);
    return text;
  }
};

TEST_F(IdentifyTest, FourBitPicture) {
  EXPECT_EQ(identify(smallFourBit(), "%w %h %z %[type]"), "5 2 4 Palette");
  EXPECT_EQ(identify(smallFourBit(), "%[pixel:p{0,0}] %[pixel:p{0,1}]"),
            "srgb(255,0,0) srgb(0,0,0)");
}

TEST_F(IdentifyTest, EightBitPictureWithItsColourTable) {
  TIndexedBitmap bmp(37, 5, 8);
  std::array<uint32_t, 256> colors{};
  for (std::size_t i = 0; i < colors.size(); ++i)
    colors[i] = 0xFF000000u | uint32_t(i) << 8;
  bmp.SetColors(0, colors.data(), 256);
  bmp.Row(4)[36] = 200;
  EXPECT_EQ(identify(bmp, "%w %h %z"), "37 5 8");
  EXPECT_EQ(identify(bmp, "%[pixel:p{36,4}]"), "srgb(0,200,0)");
  EXPECT_EQ(identify(bmp, "%[pixel:p{0,0}]"), "srgb(0,0,0)");
}

}  // namespace
}  // namespace vantor
