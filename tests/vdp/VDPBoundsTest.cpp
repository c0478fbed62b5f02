// Every VRAM address wraps to 16 bits. These set-ups put tables at the top of VRAM so that the
// model's reads run past its end; run them under AddressSanitizer to prove no read escapes.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::fillPattern;

TEST(VRAMBoundsTest, PlaneNamesPastTheEndWrapToTheStart) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  vdp->SetReg(2, 0x38);   // plane A at 0xE000
  vdp->SetReg(4, 0x01);   // plane B at 0x2000, out of the way
  vdp->SetReg(13, 0x10);  // horizontal scroll table at 0x4000
  vdp->SetReg(16, 0x13);  // 128 x 64 cells: rows 32 and on lie past 0xFFFF
  fillPattern(*vdp, 1, 1);
  vdp->WriteVRAMWord(0x0000, cell(1));  // row 32, column 0 of plane A, wrapped
  vdp->SetVSRAMWord(0, 256);
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers, bmp);
  EXPECT_EQ(bmp.Pixel(0, 0), 1u);
  EXPECT_EQ(bmp.Pixel(8, 0), 0u);
}

TEST(VRAMBoundsTest, SpriteTableAtTheTopWraps) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  vdp->SetFlag(kFlagH40, true);
  vdp->SetReg(5, 0x7F);  // 0xFE00: sprites 64-127 lie past the end
  EXPECT_EQ(vdp->SpriteTable(), 0xFE00u);
  vdp->SetSprite(127, testkit::sprite(0x123, 0x45, 0x0A, 0, 0x6789));
  EXPECT_EQ(vdp->ReadVRAMWord(63 * 8), 0x45);  // 0xFE00 + 127 * 8 = 0x101F8
  EXPECT_EQ(vdp->GetSprite(127).X, 0x123);
  // A sprite entry that straddles the end: its words are read one byte each side.
  vdp->SetReg(5, 0x7F);
  vdp->VRAMData()[0xFFFF] = 0x01;
  vdp->VRAMData()[0x0000] = 0x02;
  EXPECT_EQ(vdp->ReadVRAMWord(0xFFFF), 0x0102);
}

TEST(VRAMBoundsTest, InterlacePatternsAbove1023Wrap) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  vdp->SetInterlaceMode(2);
  fillPattern(*vdp, 1, 6);
  TIndexedBitmap a(8, 16, 8), b(8, 16, 8);
  vdp->DrawPattern(cell(1), GetSurfaceInfo(a), false, 0, 0);
  vdp->DrawPattern(cell(1025), GetSurfaceInfo(b), false, 0, 0);
  EXPECT_EQ(std::vector<uint8_t>(a.Bits(), a.Bits() + a.ByteSize()),
            std::vector<uint8_t>(b.Bits(), b.Bits() + b.ByteSize()));
  EXPECT_EQ(b.Pixel(7, 15), 6u);
}

// Random VRAM with every table at the top, the largest planes, interlace mode 2 and every
// option combination that changes what is read: nothing may be read past the end.
TEST(VRAMBoundsTest, WorstCaseSetupsStayInside) {
  std::mt19937 random(1234);
  auto vdp = std::make_unique<TMegaDriveVDP>();
  for (std::size_t i = 0; i < TMegaDriveVDP::kVramBytes; ++i) {
    vdp->VRAMData()[i] = uint8_t(random());
  }
  for (int i = 0; i < 40; ++i)
    vdp->SetVSRAMWord(i, uint16_t(random()));
  const uint8_t regs[24] = {0x04, 0x44, 0x38, 0x3E, 0x07, 0x7F, 0,    0x3F, 0, 0, 0, 0x07,
                            0x8F, 0x3F, 0,    2,    0x33, 0x9F, 0x9F, 0,    0, 0, 0, 0};
  for (uint8_t r = 0; r < 24; ++r)
    vdp->SetReg(r, regs[r]);
  for (uint8_t interlace : {0, 2}) {
    vdp->SetInterlaceMode(interlace);
    for (uint16_t options : {uint16_t(0x01FF), uint16_t(0x11FF), uint16_t(0x1FFF)}) {
      TIndexedBitmap bmp;
      RenderScreenPicture(*vdp, options, bmp);
      EXPECT_GT(bmp.Width(), 0);
      TIndexedBitmap deep(64, 64, 32);
      vdp->RenderScreen(GetSurfaceInfo(deep), options, -3, -5);
    }
    TIndexedBitmap sheet;
    BuildSpriteSheet(*vdp, 16, sheet);
    BuildPatternSheet8(vdp->VRAMData(), TMegaDriveVDP::kVramBytes, *vdp, 3, sheet);
  }
}

}  // namespace
}  // namespace vantor
