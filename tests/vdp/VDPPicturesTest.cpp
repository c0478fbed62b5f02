#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::fillPattern;
using testkit::rowOf;
using testkit::sprite;

class VDPPicturesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testkit::useStandardTables(vdp);
    for (int i = 0; i < 64; ++i)
      vdp.SetColor(uint8_t(i), uint16_t((i * 0x0246) & 0x0EEE));
  }
  std::unique_ptr<TMegaDriveVDP> m_owner = std::make_unique<TMegaDriveVDP>();
  TMegaDriveVDP& vdp = *m_owner;
};

// A source whose pattern k has its first row 0xk0000000.. (k mod 16) and whose byte at 100
// is not a pattern start.
std::vector<uint8_t> patternSource(int patternBytes) {
  std::vector<uint8_t> source(65536, 0);
  for (int k = 0; k < 65536 / patternBytes; ++k) {
    source[std::size_t(k * patternBytes)] = uint8_t((k % 16) << 4 | 1);
  }
  return source;
}

TEST_F(VDPPicturesTest, PatternSheetPlacesPatternKAtColumnKMod64) {
  const std::vector<uint8_t> source = patternSource(32);
  TIndexedBitmap sheet;
  BuildPatternSheet(source.data(), source.size(), vdp, 2, sheet);
  EXPECT_EQ(sheet.Width(), 512);
  EXPECT_EQ(sheet.Height(), 256);
  EXPECT_EQ(sheet.BitsPerPixel(), 4);
  EXPECT_EQ(sheet.Color(5), CRAMToRGB32(vdp.GetColor(32 + 5)));
  const int k = 64 * 3 + 5;  // row 3, column 5
  EXPECT_EQ(sheet.Pixel(5 * 8, 3 * 8), uint32_t(k % 16));
  EXPECT_EQ(sheet.Pixel(5 * 8 + 1, 3 * 8), 1u);
  EXPECT_EQ(sheet.Pixel(5 * 8, 3 * 8 + 1), 0u);
}

TEST_F(VDPPicturesTest, PatternSheetInInterlaceModeTwoHasTallCells) {
  vdp.SetInterlaceMode(2);
  const std::vector<uint8_t> source = patternSource(64);
  TIndexedBitmap sheet;
  BuildPatternSheet8(source.data(), source.size(), vdp, 1, sheet);
  EXPECT_EQ(sheet.Width(), 512);
  EXPECT_EQ(sheet.Height(), 256);
  EXPECT_EQ(sheet.BitsPerPixel(), 8);
  EXPECT_EQ(sheet.Color(64 + 3), CRAMToRGB32(vdp.GetColor(3) | kCRAMHighlight));
  const int k = 64 * 2 + 7;
  EXPECT_EQ(sheet.Pixel(7 * 8, 2 * 16), uint32_t(k % 16) | 0x10u);
  EXPECT_EQ(sheet.Pixel(7 * 8 + 1, 2 * 16), 0x11u);
  EXPECT_EQ(sheet.Pixel(7 * 8 + 2, 2 * 16), 0x10u);
}

TEST_F(VDPPicturesTest, PatternSheetsStopReadingAtTheAvailableBytes) {
  // Only 34 bytes: pattern 0 whole and half of the first row of pattern 1.
  const std::vector<uint8_t> source(34, 0xAB);
  TIndexedBitmap four, eight;
  BuildPatternSheet(source.data(), source.size(), vdp, 3, four);
  BuildPatternSheet8(source.data(), source.size(), vdp, 3, eight);
  EXPECT_EQ(rowOf(four, 0, 6, 8), (std::vector<uint32_t>{0xA, 0xB, 0xA, 0xB, 0xA, 0xB, 0, 0}));
  EXPECT_EQ(rowOf(eight, 0, 10, 4), (std::vector<uint32_t>{0x3A, 0x3B, 0x30, 0x30}));
  EXPECT_EQ(four.Pixel(0, 7), 0xAu);
  EXPECT_EQ(four.Pixel(8, 1), 0u);
  TIndexedBitmap none;
  BuildPatternSheet8(nullptr, 0, vdp, 2, none);
  EXPECT_EQ(none.Pixel(511, 255), 0x20u);
}

TEST_F(VDPPicturesTest, SpriteSheetDrawsEverySpriteInTableOrderOverTheBackground) {
  vdp.SetReg(7, 0x21);
  for (int n = 1; n <= 4; ++n)
    fillPattern(vdp, n, 3);
  vdp.SetSprite(0, sprite(0, 0, 0, 0, cell(1, 1)));
  vdp.SetSprite(17, sprite(300, 300, 0x05, 0, cell(1, 2)));  // not chained: drawn anyway
  TIndexedBitmap sheet;
  BuildSpriteSheet(vdp, 16, sheet);  // H32: 64 sprites, 4 rows
  EXPECT_EQ(sheet.Width(), 512);
  EXPECT_EQ(sheet.Height(), 128);
  EXPECT_EQ(sheet.Pixel(0, 0), 0x13u);
  EXPECT_EQ(sheet.Pixel(8, 0), 0x21u);
  EXPECT_EQ(sheet.Pixel(32 + 15, 32 + 15), 0x23u);
  EXPECT_EQ(sheet.Pixel(32 + 16, 32), 0x21u);
  BuildSpriteSheet(vdp, ViewSpritesPerRow(vdp), sheet);
  EXPECT_EQ(sheet.Width(), 256);
  EXPECT_EQ(sheet.Height(), 256);
  EXPECT_EQ(sheet.Pixel(32, 64 + 15), 0x23u);  // sprite 17: row 2, column 1
  vdp.SetFlag(kFlagH40, true);
  EXPECT_EQ(ViewSpritesPerRow(vdp), 16);
  BuildSpriteSheet(vdp, ViewSpritesPerRow(vdp), sheet);  // the 80 entries of an H40 table
  EXPECT_EQ(sheet.Width(), 512);
  EXPECT_EQ(sheet.Height(), 160);
}

TEST_F(VDPPicturesTest, ScreenPictureHasTheScreenSizeAndColourTable) {
  TIndexedBitmap picture;
  RenderScreenPicture(vdp, kRenderAllLayers, picture);
  EXPECT_EQ(picture.Width(), 256);
  EXPECT_EQ(picture.Height(), 224);
  EXPECT_EQ(picture.Color(128 + 7), CRAMToRGB32(vdp.GetColor(7) | kCRAMShadow));
  vdp.SetFlag(kFlagH40, true);
  vdp.SetFlag(kFlagV30, true);
  RenderScreenPicture(vdp, kRenderAllLayers, picture);
  EXPECT_EQ(picture.Width(), 320);
  EXPECT_EQ(picture.Height(), 240);
}

// The page's picture is rendered again and again into the same bitmap: without the backdrop,
// what no layer covers is 0 however the picture looked before.
TEST_F(VDPPicturesTest, ScreenPictureWithoutBackdropStartsEmpty) {
  vdp.SetField(kFieldBackgroundColor, 0x25);
  TIndexedBitmap picture;
  RenderScreenPicture(vdp, kRenderAllLayers, picture);
  EXPECT_EQ(picture.Pixel(100, 100), 0x25u);
  RenderScreenPicture(vdp, kRenderAllLayers & ~kRenderBackdrop, picture);
  EXPECT_EQ(picture.Pixel(100, 100), 0u);
  EXPECT_EQ(picture.Pixel(0, 0), 0u);
}

TEST_F(VDPPicturesTest, SetPalLineBitsRewritesTheHighNibble) {
  TIndexedBitmap bmp(3, 1, 8);
  bmp.Row(0)[0] = 0x05;
  bmp.Row(0)[1] = 0x3F;
  SetPalLineBits(bmp, 2);
  EXPECT_EQ(rowOf(bmp, 0, 0, 3), (std::vector<uint32_t>{0x25, 0x2F, 0x20}));
}

}  // namespace
}  // namespace vantor
