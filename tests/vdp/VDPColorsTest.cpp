#include <gtest/gtest.h>

#include "vdp/VDPColors.h"

namespace vantor {
namespace {

TEST(VDPColorsTest, RGB32WidensEachIntensityByItsMark) {
  EXPECT_EQ(CRAMToRGB32(0x0EEE), 0xFFFFFFFFu);
  EXPECT_EQ(CRAMToRGB32(0x0E00), 0xFF0000FFu);
  EXPECT_EQ(CRAMToRGB32(0x000E), 0xFFFF0000u);
  EXPECT_EQ(CRAMToRGB32(0xE00E), 0xFFFF8080u);
  EXPECT_EQ(CRAMToRGB32(0xF00E), 0xFF7F0000u);
  EXPECT_EQ(CRAMToRGB32(0x0222), 0xFF242424u);  // v = 1 -> 36
  EXPECT_EQ(CRAMToRGB32(0xF444), 0xFF242424u);  // shadow of v = 2: 73 >> 1 = 36
  EXPECT_EQ(CRAMToRGB32(0xE000), 0xFF808080u);
  EXPECT_EQ(CRAMToRGB32(0x1EEE), 0xFFFFFFFFu);  // other top nibbles are normal
}

TEST(VDPColorsTest, ColorRefIsBlueGreenRed) {
  EXPECT_EQ(CRAMToColorRef(0x000E), 0x000000FFu);
  EXPECT_EQ(CRAMToColorRef(0x0E00), 0x00FF0000u);
  EXPECT_EQ(CRAMToColorRef(0x00A0), 0x0000B600u);  // green 5 -> 182
  EXPECT_EQ(CRAMToColorRef(0xF00E), 0x0000007Fu);
}

TEST(VDPColorsTest, RGB16InBothLayouts) {
  EXPECT_EQ(CRAMToRGB16(0x0EEE, true), 0xFFFF);
  EXPECT_EQ(CRAMToRGB16(0x0EEE, false), 0xFFFF);
  EXPECT_EQ(CRAMToRGB16(0x0000, false), 0x8000);
  EXPECT_EQ(CRAMToRGB16(0x0000, true), 0x0000);
  EXPECT_EQ(CRAMToRGB16(0x00E0, true), 0x07E0);   // green 63
  EXPECT_EQ(CRAMToRGB16(0x00E0, false), 0x83E0);  // green 31
  EXPECT_EQ(CRAMToRGB16(0xE000, true), 0x8410);   // highlight black: 16, 32, 16
  EXPECT_EQ(CRAMToRGB16(0xF00E, true), 0x7800);   // shadowed red: 15
}

TEST(VDPColorsTest, RGBToCRAMKeepsTheTopThreeBits) {
  EXPECT_EQ(RGBToCRAM(0x00FFFFFF), 0x0EEE);
  EXPECT_EQ(RGBToCRAM(0x001F1F1F), 0x0000);
  EXPECT_EQ(RGBToCRAM(0x00FF0000), 0x000E);
  EXPECT_EQ(RGBToCRAM(0x000000FF), 0x0E00);
  EXPECT_EQ(RGBToCRAM(0x0000A000), 0x00A0);
}

TEST(VDPColorsTest, ConversionsRoundTripForEveryCRAMColour) {
  for (uint16_t r = 0; r < 8; ++r) {
    for (uint16_t g = 0; g < 8; ++g) {
      for (uint16_t b = 0; b < 8; ++b) {
        const uint16_t w = uint16_t(b << 9 | g << 5 | r << 1);
        EXPECT_EQ(RGBToCRAM(CRAMToRGB32(w) & 0xFFFFFF), w);
        EXPECT_EQ(ColorRefToCRAM(int32_t(CRAMToColorRef(w))), w);
      }
    }
  }
}

TEST(VDPColorsTest, SystemColoursGoThroughTheHook) {
  EXPECT_EQ(ColorRefToCRAM(int32_t(0x80000005u)), 0);  // no hook: black
  int asked = -1;
  SetSystemColorHook([&](int n) {
    asked = n;
    return uint32_t(0x000000FF);  // red as 0x00BBGGRR
  });
  EXPECT_EQ(ColorRefToCRAM(int32_t(0x8000000Fu)), 0x000E);
  EXPECT_EQ(asked, 0x0F);
  SetSystemColorHook(nullptr);
  EXPECT_EQ(ColorRefToCRAM(int32_t(0x8000000Fu)), 0);
}

}  // namespace
}  // namespace vantor
