// The sprites of the composed screen as the console shows them: limits per line, masking, the
// cell cut, nine-bit Y, the table's size and position. Expectations are pictures of screen
// cells: one character per 8 x 8 cell (its top-left pixel's colour in hexadecimal, "." for the
// backdrop), one string per cell row.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using Picture = std::vector<std::string>;
using testkit::cell;
using testkit::sprite;

// Standard tables; pattern n (1 to 127) is filled with colour (n - 1) mod 15 + 1.
std::unique_ptr<TMegaDriveVDP> makeVDP(bool h40) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  testkit::useStandardTables(*vdp);
  for (int n = 1; n < 128; ++n)
    testkit::fillPattern(*vdp, n, uint8_t((n - 1) % 15 + 1));
  vdp->SetFlag(kFlagH40, h40);
  return vdp;
}

Picture cells(const TMegaDriveVDP& vdp, int columns, int rows,
              uint16_t options = kRenderAllLayers) {
  TIndexedBitmap bmp;
  RenderScreenPicture(vdp, options, bmp);
  Picture out;
  for (int r = 0; r < rows; ++r) {
    std::string line;
    for (int c = 0; c < columns; ++c) {
      const uint32_t colour = bmp.Pixel(8 * c, bmp.Height() > 300 ? 16 * r : 8 * r) & 0x0F;
      line += colour == 0 ? '.' : "0123456789ABCDEF"[colour];
    }
    out.push_back(line);
  }
  return out;
}

// Sprite-space position of screen cell (column, row).
uint16_t cellX(int column) {
  return uint16_t(128 + 8 * column);
}
uint16_t cellY(int row) {
  return uint16_t(128 + 8 * row);
}

// count sprites in link order side by side on cell row 0, one cell each (pattern i + 1); the
// last one is two cells high.
void spritesSideBySide(TMegaDriveVDP& vdp, int count) {
  for (int i = 0; i < count; ++i) {
    const bool last = i == count - 1;
    vdp.SetSprite(uint8_t(i), sprite(cellX(i), cellY(0), last ? 0x01 : 0x00,
                                     uint8_t(last ? 0 : i + 1), cell(i + 1)));
  }
}

TEST(SpriteLinesTest, TwentySpritesALineInH40) {
  auto vdp = makeVDP(true);
  spritesSideBySide(*vdp, 21);
  // The 21st sprite is missing where 20 came before it, and shows where it lies alone.
  EXPECT_EQ(cells(*vdp, 22, 2), (Picture{"123456789ABCDEF12345..",  //
                                         "....................7."}));
  EXPECT_EQ(cells(*vdp, 22, 2, kRenderAllLayers | kRenderAllSprites),
            (Picture{"123456789ABCDEF123456.",  //
                     "....................7."}));
}

TEST(SpriteLinesTest, SixteenSpritesALineInH32) {
  auto vdp = makeVDP(false);
  spritesSideBySide(*vdp, 17);
  EXPECT_EQ(cells(*vdp, 18, 2), (Picture{"123456789ABCDEF1..",  //
                                         "................3."}));
}

// Nine 4-cell sprites left of the screen take 36 of the 40 cells of cell row 0; a 3-cell
// sprite takes three more, a 4-cell one is cut after its first cell, the last is not drawn.
// On cell row 1 the off-screen sprites do not lie, so all three show whole.
TEST(SpriteLinesTest, TheSpriteThatCrossesTheCellLimitIsCutAtTheCell) {
  auto vdp = makeVDP(true);
  for (int i = 0; i < 9; ++i)
    vdp->SetSprite(uint8_t(i), sprite(1, cellY(0), 0x0C, uint8_t(i + 1), cell(0)));
  vdp->SetSprite(9, sprite(cellX(0), cellY(0), 0x09, 10, cell(1)));   // 3 x 2
  vdp->SetSprite(10, sprite(cellX(3), cellY(0), 0x0D, 11, cell(7)));  // 4 x 2
  vdp->SetSprite(11, sprite(cellX(8), cellY(0), 0x01, 0, cell(15)));  // 1 x 2
  EXPECT_EQ(cells(*vdp, 10, 2), (Picture{"1357......",                //
                                         "2468ACE.1."}));
  // Cut in screen order: flipped, its leftmost cell is its last column.
  vdp->SetSprite(10, sprite(cellX(3), cellY(0), 0x0D, 11, cell(7, 0, false, true)));
  EXPECT_EQ(cells(*vdp, 10, 1), (Picture{"135D......"}));
  EXPECT_EQ(cells(*vdp, 10, 1, kRenderAllLayers | kRenderAllSprites), (Picture{"135DB97.F."}));
}

TEST(SpriteLinesTest, SpriteAtXZeroHidesLaterSpritesOnlyWhereAnotherCameBefore) {
  auto vdp = makeVDP(true);
  vdp->SetSprite(0, sprite(cellX(8), cellY(0), 0x00, 1, cell(1)));  // cell row 0 only
  vdp->SetSprite(1, sprite(0, cellY(0), 0x01, 2, cell(20)));        // X 0, rows 0 and 1
  vdp->SetSprite(2, sprite(cellX(0), cellY(0), 0x01, 0, cell(3)));
  EXPECT_EQ(cells(*vdp, 9, 2), (Picture{"........1",  //
                                        "4........"}));
  EXPECT_EQ(cells(*vdp, 9, 2, kRenderAllLayers | kRenderAllSprites),
            (Picture{"3.......1",  //
                     "4........"}));
  // The X 0 sprite first, or after other X 0 sprites only: nothing is hidden.
  vdp->SetSprite(0, sprite(0, cellY(0), 0x01, 1, cell(20)));
  vdp->SetSprite(1, sprite(0, cellY(0), 0x01, 2, cell(22)));
  vdp->SetSprite(2, sprite(cellX(0), cellY(0), 0x01, 3, cell(3)));
  vdp->SetSprite(3, sprite(cellX(8), cellY(0), 0x00, 0, cell(1)));
  EXPECT_EQ(cells(*vdp, 9, 2), (Picture{"3.......1",  //
                                        "4........"}));
}

TEST(SpriteLinesTest, SpriteYHasNineBitsAndTenInInterlaceModeTwo) {
  auto vdp = makeVDP(true);
  vdp->SetSprite(0, sprite(cellX(0), 0x0290, 0, 1, cell(1)));  // line 16, like 0x0090
  vdp->SetSprite(1, sprite(cellX(1), 0x0090, 0, 0, cell(2)));
  EXPECT_EQ(cells(*vdp, 3, 3), (Picture{"...", "...", "12."}));
  // Interlace mode 2: 16-pixel cells, the screen from row 256; 0x0280 is row 384 of the
  // screen (cell row 24), 0x0680 too, and not row 0 (which nine bits would make of it).
  vdp->SetInterlaceMode(2);
  testkit::fillPattern(*vdp, 1, 1);  // patterns are 64 bytes now
  testkit::fillPattern(*vdp, 2, 2);
  vdp->SetSprite(0, sprite(cellX(0), 0x0680, 0, 1, cell(1)));
  vdp->SetSprite(1, sprite(cellX(1), 0x0280, 0, 0, cell(2)));
  const Picture screen = cells(*vdp, 3, 28);
  EXPECT_EQ(screen[0], "...");
  EXPECT_EQ(screen[24], "12.");
}

TEST(SpriteLinesTest, TheTableHas80EntriesInH40And64InH32) {
  for (const bool h40 : {true, false}) {
    auto vdp = makeVDP(h40);
    const int count = h40 ? 80 : 64;
    vdp->SetSprite(0, sprite(cellX(0), cellY(0), 0, uint8_t(count - 1), cell(1)));
    vdp->SetSprite(uint8_t(count - 1), sprite(cellX(1), cellY(0), 0, uint8_t(count), cell(2)));
    // The entry past the table, written straight into Video RAM.
    const uint32_t past = vdp->SpriteTable() + uint32_t(count) * 8;
    vdp->WriteVRAMWord(past, cellY(0));
    vdp->WriteVRAMWord(past + 4, cell(3));
    vdp->WriteVRAMWord(past + 6, cellX(2));
    EXPECT_EQ(cells(*vdp, 3, 1), (Picture{"12."})) << count;
    EXPECT_EQ(cells(*vdp, 3, 1, kRenderAllLayers | kRenderAllSprites), (Picture{"12."})) << count;
  }
}

TEST(SpriteLinesTest, H40IgnoresTheLowBitsOfTheSpriteAndWindowTables) {
  for (const bool h40 : {true, false}) {
    auto vdp = makeVDP(h40);
    vdp->SetReg(5, 0x7D);   // 0xFA00; in H40 0xF800
    vdp->SetReg(3, 0x2A);   // 0xA800; in H40 0xA000
    vdp->SetReg(17, 0x01);  // the window covers the two left cells
    vdp->WriteVRAMWord(0xF800, cellY(0));
    vdp->WriteVRAMWord(0xF804, cell(1));
    vdp->WriteVRAMWord(0xF806, cellX(3));
    vdp->WriteVRAMWord(0xFA00, cellY(0));
    vdp->WriteVRAMWord(0xFA04, cell(2));
    vdp->WriteVRAMWord(0xFA06, cellX(4));
    vdp->WriteVRAMWord(0xA000, cell(5));
    vdp->WriteVRAMWord(0xA800, cell(6));
    EXPECT_EQ(cells(*vdp, 5, 1), (Picture{h40 ? "5..1." : "6...2"})) << h40;
    EXPECT_EQ(vdp->GetField(kFieldSpriteTable), 0xFA00u);
    EXPECT_EQ(vdp->SpriteTable(), h40 ? 0xF800u : 0xFA00u);
    EXPECT_EQ(vdp->WindowTable(), h40 ? 0xA000u : 0xA800u);
  }
}

// The layer switches choose what is drawn, not what the console counts: with the high
// sprites hidden, the 21st sprite still lies past the limit.
TEST(SpriteLinesTest, HiddenPriorityHalvesStillCount) {
  auto vdp = makeVDP(true);
  spritesSideBySide(*vdp, 21);
  for (int i = 0; i < 20; ++i) {
    TSpriteEntry s = vdp->GetSprite(uint8_t(i));
    s.Attr |= 0x8000;
    vdp->SetSprite(uint8_t(i), s);
  }
  EXPECT_EQ(cells(*vdp, 22, 1, kRenderAllLayers & ~kRenderSpritesHi),
            (Picture{"......................"}));
  EXPECT_EQ(cells(*vdp, 22, 1, (kRenderAllLayers & ~kRenderSpritesHi) | kRenderAllSprites),
            (Picture{"....................6."}));
}

}  // namespace
}  // namespace vantor
