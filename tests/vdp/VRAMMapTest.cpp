// The Video RAM map: tables as the display reads them, the patterns of planes and sprites,
// overlaps, the regions, and the picture laid out as the pattern sheet.
#include <gtest/gtest.h>

#include <memory>

#include "VDPTestKit.h"
#include "vdp/VRAMMap.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::sprite;

int blockOf(uint32_t address) {
  return int(address / kVRAMBlockBytes);
}

// H32, 32 x 32 planes, the standard tables; plane A shows pattern 5 once and pattern $600
// (which lies on plane A's own table) once, plane B pattern $101, sprite 0 (2 x 2 cells)
// patterns $100-$103; every other name word is 0.
std::unique_ptr<TMegaDriveVDP> makeScene() {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  testkit::useStandardTables(*vdp);
  testkit::setName(*vdp, testkit::kPlaneA, 32, 3, 4, cell(5));
  testkit::setName(*vdp, testkit::kPlaneA, 32, 4, 4, cell(0x600, 1, true));
  testkit::setName(*vdp, testkit::kPlaneB, 32, 0, 0, cell(0x101));
  vdp->SetSprite(0, sprite(128, 128, 0x05, 0, cell(0x100)));
  return vdp;
}

TEST(VRAMMapTest, TablesPatternsAndOverlaps) {
  auto vdp = makeScene();
  const TVRAMMap map = BuildVRAMMap(*vdp);
  ASSERT_EQ(map.Tables.size(), 5u);
  const TVRAMTable& a = map.Tables[0];
  EXPECT_EQ(a.Use, vuPlaneATable);
  EXPECT_EQ(a.Start, testkit::kPlaneA);
  EXPECT_EQ(a.Span, 2048u);
  EXPECT_EQ(a.Bytes, 2048u);
  EXPECT_EQ(map.Tables[2].Use, vuWindowTable);
  EXPECT_EQ(map.Tables[2].Span, 0u);  // no window on the display
  EXPECT_EQ(map.Tables[3].Span, 64u * 8);
  EXPECT_EQ(map.Tables[4].Use, vuHScrollTable);
  EXPECT_EQ(map.Tables[4].Bytes, 4u);  // one entry for the whole screen

  EXPECT_EQ(map.ClassOf(0), TVRAMClass::vcPlanePatterns);  // pattern 0 of the empty cells
  EXPECT_EQ(map.Blocks[0], vuPlaneAPatterns | vuPlaneBPatterns);
  EXPECT_EQ(map.ClassOf(5), TVRAMClass::vcPlanePatterns);
  EXPECT_EQ(map.ClassOf(4), TVRAMClass::vcFree);
  EXPECT_EQ(map.ClassOf(0x100), TVRAMClass::vcSpritePatterns);
  EXPECT_EQ(map.ClassOf(0x101), TVRAMClass::vcSharedPatterns);
  EXPECT_EQ(map.ClassOf(0x103), TVRAMClass::vcSpritePatterns);
  EXPECT_EQ(map.ClassOf(0x104), TVRAMClass::vcFree);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kPlaneA)), TVRAMClass::vcOverlap);  // pattern $600
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kPlaneA) + 1), TVRAMClass::vcPlaneATable);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kPlaneA + 2048)), TVRAMClass::vcFree);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kPlaneB)), TVRAMClass::vcPlaneBTable);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kSprites)), TVRAMClass::vcSpriteTable);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kHScroll)), TVRAMClass::vcHScrollTable);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kHScroll) + 1), TVRAMClass::vcFree);
  EXPECT_EQ(map.ClassOf(blockOf(testkit::kWindow)), TVRAMClass::vcFree);

  const std::vector<TPatternRun> runs = PatternRuns(map);
  ASSERT_EQ(runs.size(), 6u);
  EXPECT_EQ(runs[0].First, 0);
  EXPECT_EQ(runs[1].First, 5);
  EXPECT_EQ(runs[1].Uses, vuPlaneAPatterns);
  EXPECT_EQ(runs[3].First, 0x101);
  EXPECT_EQ(runs[3].Uses, vuPlaneBPatterns | vuSpritePatterns);
  EXPECT_EQ(runs[4].First, 0x102);
  EXPECT_EQ(runs[4].Last, 0x103);
  EXPECT_EQ(runs[5].First, 0x600);

  // The regions tile the 64 KiB.
  uint32_t next = 0;
  for (const TVRAMRegion& region : VRAMRegions(map)) {
    EXPECT_EQ(region.Start, next);
    next += region.Bytes;
  }
  EXPECT_EQ(next, 65536u);
}

TEST(VRAMMapTest, TheWindowAndTheScrollTableAsTheDisplayReadsThem) {
  auto vdp = makeScene();
  vdp->SetFlag(kFlagH40, true);
  vdp->SetReg(18, 2);     // the window over the top two cell rows
  vdp->SetReg(11, 0x02);  // horizontal scroll per cell row
  testkit::setName(*vdp, testkit::kWindow, 64, 39, 1, cell(0x700));
  testkit::setName(*vdp, testkit::kWindow, 64, 40, 1, cell(0x701));  // right of the display
  const TVRAMMap map = BuildVRAMMap(*vdp);
  const TVRAMTable& window = map.Tables[2];
  EXPECT_EQ(window.Start, testkit::kWindow);
  EXPECT_EQ(window.Span, 128u + 80);  // rows of 64 cells, 40 of them on the display
  EXPECT_EQ(window.Bytes, 2u * 80);
  EXPECT_EQ(map.Patterns[0x700], vuWindowPatterns);
  EXPECT_EQ(map.Patterns[0x701], 0);
  const TVRAMTable& hscroll = map.Tables[4];
  EXPECT_EQ(hscroll.Bytes, 28u * 4);  // lines 0, 8, ... 216
  EXPECT_EQ(hscroll.Span, 217u * 4);
  EXPECT_EQ(map.Tables[3].Span, 80u * 8);  // the sprite table of H40
}

TEST(VRAMMapTest, PictureLaidOutAsThePatternSheet) {
  auto vdp = makeScene();
  const TVRAMMap map = BuildVRAMMap(*vdp);
  TIndexedBitmap picture;
  BuildVRAMMapPicture(map, picture);
  ASSERT_EQ(picture.Width(), 512);
  ASSERT_EQ(picture.Height(), 256);
  // Pattern $600 (the overlap) is at column 0 of sheet row 24.
  EXPECT_EQ(picture.Pixel(0, 192), uint32_t(TVRAMClass::vcOverlap));
  EXPECT_EQ(picture.Pixel(7, 192), uint32_t(TVRAMClass::vcOverlap) + 16);  // the darker edge
  EXPECT_EQ(picture.Color(int(TVRAMClass::vcOverlap)), VRAMLegend(TVRAMClass::vcOverlap).Color);
  EXPECT_EQ(picture.Pixel(8 * 5 + 1, 1), uint32_t(TVRAMClass::vcPlanePatterns));
  EXPECT_EQ(VRAMMapAddressAt(map, 3, 193), int32_t(testkit::kPlaneA + 4 + 1));
  EXPECT_EQ(VRAMMapAddressAt(map, 512, 0), -1);

  // Interlace mode 2: patterns of 64 bytes, two blocks each, one above the other.
  vdp->SetInterlaceMode(2);
  const TVRAMMap tall = BuildVRAMMap(*vdp);
  EXPECT_EQ(tall.PatternCount, 1024);
  EXPECT_EQ(VRAMMapAddressAt(tall, 0, 8), 32);
  EXPECT_EQ(VRAMMapAddressAt(tall, 0, 16), 64 * 64);
  BuildVRAMMapPicture(tall, picture);
  EXPECT_EQ(picture.Height(), 256);
  // Pattern $101 wraps to $101 (below 1024); pattern $600 to $200: its two blocks.
  EXPECT_EQ(tall.Patterns[0x200], vuPlaneAPatterns);
  EXPECT_EQ(picture.Pixel(0, 8 * 16 + 8), uint32_t(TVRAMClass::vcPlanePatterns));
}

}  // namespace
}  // namespace vantor
