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

TEST(VRAMBoundsTest, SpriteTableAtTheTopStaysInsideVideoRAM) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  vdp->SetReg(5, 0x7F);  // H32: 0xFE00, 64 entries up to 0xFFFF
  EXPECT_EQ(vdp->SpriteTable(), 0xFE00u);
  EXPECT_EQ(vdp->SpriteEntryAddress(63), 0xFFF8u);
  vdp->SetFlag(kFlagH40, true);  // H40: 0xFC00 (bit 0 ignored), 80 entries up to 0xFE7F
  EXPECT_EQ(vdp->SpriteTable(), 0xFC00u);
  EXPECT_EQ(vdp->SpriteEntryAddress(79), 0xFE78u);
  vdp->SetSprite(79, testkit::sprite(0x123, 0x45, 0x0A, 0, 0x6789));
  EXPECT_EQ(vdp->ReadVRAMWord(0xFE78), 0x45);
  EXPECT_EQ(vdp->GetSprite(79).X, 0x123);
  // Entries the table does not have are neither read nor written.
  vdp->SetSprite(127, testkit::sprite(0x123, 0x45, 0x0A, 0, 0x6789));
  EXPECT_EQ(vdp->ReadVRAMWord(0x01F8), 0);
  EXPECT_EQ(vdp->GetSprite(127), TSpriteEntry{});
  // Addresses wrap as the VDP's do: a word at the end is read one byte each side.
  EXPECT_EQ(vdp->SpriteEntryAddress(8200), (0xFC00u + 8200 * 8) & 0xFFFF);
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
