#include <gtest/gtest.h>

#include <memory>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::rowOf;
using testkit::setPatternRow;

std::unique_ptr<TMegaDriveVDP> makeVDPWithColours() {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  for (int i = 0; i < 64; ++i)
    vdp->SetColor(uint8_t(i), uint16_t((i * 0x0123) & 0x0EEE));
  return vdp;
}

TEST(SetBitmapPaletteTest, SixteenEntriesHoldOnePaletteLine) {
  auto vdp = makeVDPWithColours();
  TIndexedBitmap bmp(8, 8, 4);
  vdp->SetBitmapPalette(bmp, 2, -1, 0);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(bmp.Color(i), CRAMToRGB32(vdp->GetColor(uint8_t(32 + i))));
}

TEST(SetBitmapPaletteTest, TwoHundredFiftySixEntriesHoldTheMarkedForms) {
  auto vdp = makeVDPWithColours();
  TIndexedBitmap bmp(8, 8, 8);
  vdp->SetBitmapPalette(bmp, 0, -1, 0);
  for (int n = 0; n < 64; ++n) {
    const uint16_t w = vdp->GetColor(uint8_t(n));
    EXPECT_EQ(bmp.Color(n), CRAMToRGB32(w));
    EXPECT_EQ(bmp.Color(64 + n), CRAMToRGB32(w | kCRAMHighlight));
    EXPECT_EQ(bmp.Color(128 + n), CRAMToRGB32(w | kCRAMShadow));
    EXPECT_EQ(bmp.Color(192 + n), CRAMToRGB32(w));
  }
}

TEST(SetBitmapPaletteTest, LineOneRotatesTheColourRAM) {
  auto vdp = makeVDPWithColours();
  TIndexedBitmap bmp(8, 8, 8);
  vdp->SetBitmapPalette(bmp, 1, 256, 0);
  EXPECT_EQ(bmp.Color(0), CRAMToRGB32(vdp->GetColor(16)));
  EXPECT_EQ(bmp.Color(47), CRAMToRGB32(vdp->GetColor(63)));
  EXPECT_EQ(bmp.Color(48), CRAMToRGB32(vdp->GetColor(0)));
  EXPECT_EQ(bmp.Color(63), CRAMToRGB32(vdp->GetColor(15)));
}

TEST(SetBitmapPaletteTest, FewerEntriesCarryNoMarksAndStartAtFirstEntry) {
  auto vdp = makeVDPWithColours();
  TIndexedBitmap bmp(8, 8, 8);
  vdp->SetBitmapPalette(bmp, 0, 100, 10);
  EXPECT_EQ(bmp.Color(9), 0u);
  EXPECT_EQ(bmp.Color(10), CRAMToRGB32(vdp->GetColor(0)));
  EXPECT_EQ(bmp.Color(10 + 70), CRAMToRGB32(vdp->GetColor(6)));  // 70 < 128: unmarked
}

TEST(FillSurfaceTest, FourBitEdgesKeepTheOtherNibble) {
  TMegaDriveVDP vdp;
  TIndexedBitmap bmp(8, 2, 4);
  std::fill_n(bmp.Row(0), 4, 0x99);
  vdp.FillSurface({1, 0, 6, 1}, GetSurfaceInfo(bmp), 0x3);
  EXPECT_EQ(rowOf(bmp, 0, 0, 8), (std::vector<uint32_t>{9, 3, 3, 3, 3, 3, 9, 9}));
  EXPECT_EQ(bmp.Row(1)[0], 0);  // bottom is exclusive
}

TEST(FillSurfaceTest, FourBitSinglePixelAtEitherParity) {
  TMegaDriveVDP vdp;
  TIndexedBitmap bmp(4, 1, 4);
  vdp.FillSurface({2, 0, 3, 1}, GetSurfaceInfo(bmp), 0xA);
  vdp.FillSurface({1, 0, 2, 1}, GetSurfaceInfo(bmp), 0x5);
  EXPECT_EQ(rowOf(bmp, 0, 0, 4), (std::vector<uint32_t>{0, 5, 0xA, 0}));
}

TEST(FillSurfaceTest, ClipsToTheSurfaceAndUsesCRAMColoursWhenDeep) {
  auto vdp = makeVDPWithColours();
  TIndexedBitmap bmp(3, 3, 32);
  vdp->FillSurface({-5, 1, 2, 99}, GetSurfaceInfo(bmp), 7);
  const uint32_t c = CRAMToRGB32(vdp->GetColor(7));
  EXPECT_EQ(rowOf(bmp, 0, 0, 3), (std::vector<uint32_t>{0, 0, 0}));
  EXPECT_EQ(rowOf(bmp, 2, 0, 3), (std::vector<uint32_t>{c, c, 0}));
  TIndexedBitmap b16(2, 1, 15);
  vdp->FillSurface({0, 0, 2, 1}, GetSurfaceInfo(b16), 7);
  EXPECT_EQ(b16.Pixel(1, 0), CRAMToRGB16(vdp->GetColor(7), false));
  vdp->FillSurface({2, 0, 1, 1}, GetSurfaceInfo(b16), 0);  // empty
  EXPECT_EQ(b16.Pixel(0, 0), CRAMToRGB16(vdp->GetColor(7), false));
}

TEST(FillSurfaceTest, NothingWithoutASurface) {
  TMegaDriveVDP vdp;
  TIndexedBitmap oneBit(8, 8, 1);
  const TSurfaceInfo info = GetSurfaceInfo(oneBit);
  EXPECT_EQ(info.Bits, nullptr);
  vdp.FillSurface({0, 0, 8, 8}, info, 1);
  EXPECT_EQ(oneBit.Row(0)[0], 0);
}

// A cell whose row r reads 0x0123456r... so every pixel is known: pixel (c, r) = c, except the
// last column, which carries the row number.
class DrawPatternFormats : public ::testing::TestWithParam<int> {
 protected:
  void SetUp() override {
    vdp = makeVDPWithColours();
    for (int r = 0; r < 8; ++r)
      setPatternRow(*vdp, 5, r, 0x01234560u | uint32_t(r));
  }
  uint32_t expected(int line, int p) const {
    const uint16_t w = vdp->GetPaletteColor(uint8_t(line), uint8_t(p));
    switch (GetParam()) {
      case 4:
        return uint32_t(p);
      case 8:
        return uint32_t(p | line << 4);
      case 15:
      case 16:
        return CRAMToRGB16(w, GetParam() == 16);
      case 24:
        return CRAMToRGB32(w) & 0xFFFFFF;
      default:
        return CRAMToRGB32(w);
    }
  }
  std::unique_ptr<TMegaDriveVDP> vdp;
};

TEST_P(DrawPatternFormats, PlainCellLandsAtItsPosition) {
  TIndexedBitmap bmp(12, 10, uint8_t(GetParam()));
  vdp->DrawPattern(cell(5, 2), GetSurfaceInfo(bmp), false, 1, 2);
  for (int c = 0; c < 7; ++c)
    EXPECT_EQ(bmp.Pixel(2 + c, 1 + 3), expected(2, c)) << c;
  EXPECT_EQ(bmp.Pixel(9, 1 + 3), expected(2, 3));
  EXPECT_EQ(bmp.Pixel(1, 4), 0u);
  EXPECT_EQ(bmp.Pixel(10, 4), 0u);
}

TEST_P(DrawPatternFormats, FlipsMirrorRowsAndColumns) {
  TIndexedBitmap bmp(8, 8, uint8_t(GetParam()));
  vdp->DrawPattern(cell(5, 1, false, true, true), GetSurfaceInfo(bmp), false, 0, 0);
  EXPECT_EQ(bmp.Pixel(0, 0), expected(1, 7));  // low nibble of byte 3 of the last row
  EXPECT_EQ(bmp.Pixel(0, 2), expected(1, 5));
  EXPECT_EQ(bmp.Pixel(1, 2), expected(1, 6));
  EXPECT_EQ(bmp.Pixel(7, 2), expected(1, 0));
}

TEST_P(DrawPatternFormats, ClipsAtEveryEdge) {
  TIndexedBitmap bmp(6, 5, uint8_t(GetParam()));
  vdp->DrawPattern(cell(5, 3), GetSurfaceInfo(bmp), false, -2, -3);
  // Columns 3-7 of the cell at surface columns 0-4, rows 2-6 at rows 0-4.
  for (int c = 0; c < 4; ++c)
    EXPECT_EQ(bmp.Pixel(c, 0), expected(3, 3 + c));
  EXPECT_EQ(bmp.Pixel(4, 0), expected(3, 2));
  EXPECT_EQ(bmp.Pixel(4, 4), expected(3, 6));
  EXPECT_EQ(bmp.Pixel(5, 0), 0u);
  vdp->DrawPattern(cell(5, 3), GetSurfaceInfo(bmp), false, 3, 4);
  EXPECT_EQ(bmp.Pixel(4, 3), expected(3, 0));
  EXPECT_EQ(bmp.Pixel(5, 4), expected(3, 1));
}

TEST_P(DrawPatternFormats, TransparentCellKeepsWhatWasThere) {
  TIndexedBitmap bmp(8, 8, uint8_t(GetParam()));
  const TSurfaceInfo info = GetSurfaceInfo(bmp);
  vdp->FillSurface({0, 0, 8, 8}, info, 9);
  const uint32_t before = bmp.Pixel(0, 0);
  vdp->DrawPattern(cell(5, 0), info, true, 0, 0);
  EXPECT_EQ(bmp.Pixel(0, 0), before);  // pixel value 0 skipped
  EXPECT_EQ(bmp.Pixel(1, 0), expected(0, 1));
  vdp->DrawPattern(cell(5, 0), info, false, 0, 0);
  EXPECT_EQ(bmp.Pixel(0, 0), expected(0, 0));
}

INSTANTIATE_TEST_SUITE_P(AllDepths, DrawPatternFormats, ::testing::Values(4, 8, 15, 16, 24, 32));

TEST(DrawPatternTest, FourBitOddColumnKeepsTheHighNibble) {
  TMegaDriveVDP vdp;
  setPatternRow(vdp, 1, 0, 0xABCDEF12u);
  TIndexedBitmap bmp(10, 1, 4);
  bmp.Row(0)[0] = 0x70;
  vdp.DrawPattern(cell(1), GetSurfaceInfo(bmp), false, 0, 1);
  EXPECT_EQ(rowOf(bmp, 0, 0, 10),
            (std::vector<uint32_t>{7, 0xA, 0xB, 0xC, 0xD, 0xE, 0xF, 1, 2, 0}));
}

TEST(DrawPatternTest, InterlaceCellsAreSixteenRowsOfSixtyFourBytes) {
  TMegaDriveVDP vdp;
  vdp.SetInterlaceMode(2);
  setPatternRow(vdp, 2, 15, 0x10000001u);  // bytes 128 + 60 onward
  EXPECT_EQ(vdp.VRAMData()[2 * 64 + 60], 0x10);
  TIndexedBitmap bmp(8, 16, 8);
  vdp.DrawPattern(cell(2, 0, false, false, true), GetSurfaceInfo(bmp), false, 0, 0);
  EXPECT_EQ(rowOf(bmp, 0, 0, 8), (std::vector<uint32_t>{1, 0, 0, 0, 0, 0, 0, 1}));
}

}  // namespace
}  // namespace vantor
