// The overlays' data: the console's sprite facts per line (against the renderer's pictures
// with and without the limits), sprite boxes, and a plane's cell grid at its scroll position.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "RandomVDPState.h"
#include "VDPTestKit.h"
#include "vdp/ScreenOverlays.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::sprite;

std::unique_ptr<TMegaDriveVDP> makeScene(bool h40) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  testkit::useStandardTables(*vdp);
  testkit::fillPattern(*vdp, 1, 1);
  vdp->SetFlag(kFlagH40, h40);
  return vdp;
}

// 21 one-cell sprites side by side on the first cell row of an H40 screen, the last one two
// cells high.
TEST(ScreenOverlaysTest, SpriteFactsPerLineAndBoxes) {
  auto vdp = makeScene(true);
  for (int i = 0; i < 21; ++i) {
    const bool last = i == 20;
    vdp->SetSprite(uint8_t(i), sprite(uint16_t(128 + 8 * i), 128, last ? 0x01 : 0x00,
                                      uint8_t(last ? 0 : i + 1), cell(1)));
  }
  const TScreenOverlays normal = GetScreenOverlays(*vdp, kRenderAllLayers);
  ASSERT_EQ(normal.Lines.size(), 224u);
  const TSpriteLineFacts& crowded = normal.Lines[7].Sprites;
  EXPECT_EQ(normal.Lines[7].DisplayLine, 7);
  EXPECT_EQ(crowded.Covering, 21);
  EXPECT_EQ(crowded.Sprites, 20);
  EXPECT_EQ(crowded.Cells, 20);
  EXPECT_EQ(crowded.Dropped, 1);
  EXPECT_EQ(crowded.Drop, TSpriteDrop::sdSpriteLimit);
  EXPECT_EQ(crowded.FirstMissing, 20);
  const TSpriteLineFacts& alone = normal.Lines[8].Sprites;
  EXPECT_EQ(alone.Covering, 1);
  EXPECT_EQ(alone.Drop, TSpriteDrop::sdNone);
  EXPECT_EQ(normal.Lines[16].Sprites.Covering, 0);

  ASSERT_EQ(normal.Sprites.size(), 21u);
  EXPECT_EQ(normal.Sprites[20].Number, 20);
  EXPECT_EQ(normal.Sprites[20].Box, (TVDPRect{160, 0, 168, 16}));
  EXPECT_EQ(normal.Sprites[20].MissingLines, 8);
  EXPECT_EQ(normal.Sprites[19].MissingLines, 0);

  // The virtual screen is sprite space; its rows outside the display are no console lines,
  // and every sprite drawn there changes nothing of the console's facts.
  const TScreenOverlays whole =
      GetScreenOverlays(*vdp, kRenderAllLayers | kRenderVirtualScreen | kRenderAllSprites);
  EXPECT_EQ(whole.Lines[127].DisplayLine, -1);
  EXPECT_EQ(whole.Lines[128 + 7].DisplayLine, 7);
  EXPECT_EQ(whole.Lines[128 + 224].DisplayLine, -1);
  EXPECT_EQ(whole.Lines[128 + 7].Sprites.Drop, TSpriteDrop::sdSpriteLimit);
  EXPECT_EQ(whole.Sprites[20].Box, (TVDPRect{288, 128, 296, 144}));
  EXPECT_EQ(whole.Sprites[20].MissingLines, 8);
}

// Rows that the renderer shows differently with and without the console's limits are rows
// whose facts name missing sprites.
TEST(ScreenOverlaysTest, RowsChangedByTheLimitsAreRowsWithMissingSprites) {
  testkit::TRandomVDPState random(8080);
  int changedRows = 0;
  for (int round = 0; round < 30; ++round) {
    auto vdp = random.Make();
    const uint16_t options =
        uint16_t((random.Next() % 4 == 0 ? kRenderVirtualScreen : 0) | kRenderSpritesLo |
                 kRenderSpritesHi | kRenderIgnoreShadowHighlight);
    const TScreenOverlays overlays = GetScreenOverlays(*vdp, options);
    TIndexedBitmap limited, all;
    RenderScreenPicture(*vdp, options, limited);
    RenderScreenPicture(*vdp, options | kRenderAllSprites, all);
    ASSERT_EQ(limited.Height(), int32_t(overlays.Lines.size()));
    for (int32_t y = 0; y < limited.Height(); ++y) {
      const bool changed = std::memcmp(limited.Row(y), all.Row(y), std::size_t(limited.Width()));
      const TSpriteLineFacts& facts = overlays.Lines[std::size_t(y)].Sprites;
      const bool missing = facts.Dropped > 0 || facts.Cut;
      EXPECT_TRUE(!changed || missing) << "round " << round << " row " << y;
      EXPECT_EQ(missing, facts.Drop != TSpriteDrop::sdNone) << "round " << round << " row " << y;
      changedRows += changed ? 1 : 0;
    }
  }
  EXPECT_GT(changedRows, 100);  // the states do meet the limits
}

TEST(ScreenOverlaysTest, PlaneGridFollowsTheScroll) {
  auto vdp = makeScene(false);
  vdp->SetReg(11, 0x04);  // vertical scroll per two cells
  testkit::setHScroll(*vdp, 0, 3, 0);
  vdp->SetVSRAMWord(2, 5);  // plane A's second two-cell column
  const std::vector<TPlaneGridRow> grid = GetPlaneGrid(*vdp, kRenderAllLayers, TScrolledPlane::spA);
  ASSERT_EQ(grid.size(), 224u);
  const TPlaneGridRow& top = grid[0];
  EXPECT_EQ(top.HScroll, 3);
  ASSERT_EQ(top.Cells.size(), 33u);
  // The two-cell columns start at the fine scroll (x 3): cells at 3 and 11 take entry 0,
  // cells at 19 and 27 entry 2.
  const TPlaneCellSpan expected[] = {
      {-5, 31, 0, 0, 0}, {3, 0, 0, 0, 0}, {11, 1, 0, 0, 0}, {19, 2, 0, 5, 5}, {27, 3, 0, 5, 5}};
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(top.Cells[i].Left, expected[i].Left) << i;
    EXPECT_EQ(top.Cells[i].Column, expected[i].Column) << i;
    EXPECT_EQ(top.Cells[i].Row, expected[i].Row) << i;
    EXPECT_EQ(top.Cells[i].PixelRow, expected[i].PixelRow) << i;
    EXPECT_EQ(top.Cells[i].VScroll, expected[i].VScroll) << i;
  }
  EXPECT_EQ(top.Cells.back().Left, 251);
  EXPECT_EQ(grid[3].Cells[3].Row, 1);  // 3 + 5 = 8: the next cell row
  EXPECT_EQ(grid[3].Cells[3].PixelRow, 0);
  // The entire virtual screen: rows above the plane have no cells.
  const std::vector<TPlaneGridRow> whole =
      GetPlaneGrid(*vdp, kRenderAllLayers | kRenderVirtualScreen, TScrolledPlane::spB);
  EXPECT_TRUE(whole[127].Cells.empty());
  ASSERT_EQ(whole[128].Cells.size(), 32u);
  EXPECT_EQ(whole[128].Cells[0].Left, 128);
}

}  // namespace
}  // namespace vantor
