#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::fillPattern;
using testkit::rowOf;
using testkit::sprite;

class VDPSpritesTest : public ::testing::Test {
 protected:
  void SetUp() override { testkit::useStandardTables(vdp); }
  std::vector<int> chain() const {
    std::vector<int> out;
    vdp.ForEachChainedSprite([&](int i) { out.push_back(i); });
    return out;
  }
  std::unique_ptr<TMegaDriveVDP> m_owner = std::make_unique<TMegaDriveVDP>();
  TMegaDriveVDP& vdp = *m_owner;
};

TEST_F(VDPSpritesTest, EntriesDecodeWithTheirMasks) {
  const uint8_t raw[8] = {0xFF, 0xFF, 0xFF, 0xFF, 0x12, 0x34, 0xFF, 0xFF};
  std::copy_n(raw, 8, vdp.VRAMData() + testkit::kSprites + 3 * 8);
  const TSpriteEntry s = vdp.GetSprite(3);
  EXPECT_EQ(s.Y, 0x1FF);
  EXPECT_EQ(s.Size, 0x0F);
  EXPECT_EQ(s.Link, 0x7F);
  EXPECT_EQ(s.Attr, 0x1234);
  EXPECT_EQ(s.X, 0x1FF);
}

TEST_F(VDPSpritesTest, YHasNineBitsAndTenInInterlaceModeTwo) {
  vdp.SetSprite(0, sprite(0, 0x0290, 0, 0, 0));
  EXPECT_EQ(vdp.GetSprite(0).Y, 0x090);
  vdp.SetSprite(0, sprite(0, 0x0700, 0, 0, 0));
  EXPECT_EQ(vdp.GetSprite(0).Y, 0x100);
  vdp.SetInterlaceMode(2);
  EXPECT_EQ(vdp.GetSprite(0).Y, 0x300);
}

TEST_F(VDPSpritesTest, SetSpriteWritesUnmaskedBigEndianWords) {
  vdp.SetSprite(1, sprite(0xFFFF, 0x1234, 0xF5, 0x81, 0xABCD));
  const uint8_t* e = vdp.VRAMData() + testkit::kSprites + 8;
  EXPECT_EQ(std::vector<uint8_t>(e, e + 8),
            (std::vector<uint8_t>{0x12, 0x34, 0xF5, 0x81, 0xAB, 0xCD, 0xFF, 0xFF}));
}

TEST_F(VDPSpritesTest, IndicesPastTheTableReadZeroAndIgnoreWrites) {
  vdp.SetSprite(64, sprite(5, 5, 5, 5, 5));  // H32: 64 sprites
  EXPECT_EQ(vdp.GetSprite(64), TSpriteEntry{});
  EXPECT_EQ(vdp.ReadVRAMWord(testkit::kSprites + 64 * 8), 0);
  vdp.SetFlag(kFlagH40, true);  // H40: 80 sprites
  vdp.SetSprite(79, sprite(5, 5, 5, 5, 5));
  EXPECT_EQ(vdp.GetSprite(79).X, 5);
  vdp.SetSprite(80, sprite(5, 5, 5, 5, 5));
  EXPECT_EQ(vdp.GetSprite(80), TSpriteEntry{});
  EXPECT_EQ(vdp.ReadVRAMWord(testkit::kSprites + 80 * 8), 0);
}

TEST_F(VDPSpritesTest, ChainFollowsLinksUntilZero) {
  vdp.SetSprite(0, sprite(0, 0, 0, 3, 0));
  vdp.SetSprite(3, sprite(0, 0, 0, 1, 0));
  vdp.SetSprite(1, sprite(0, 0, 0, 0, 0));
  vdp.SetSprite(2, sprite(0, 0, 0, 9, 0));  // not linked
  EXPECT_EQ(chain(), (std::vector<int>{0, 3, 1}));
}

TEST_F(VDPSpritesTest, LoopsEndAfterSpriteCountVisits) {
  vdp.SetSprite(0, sprite(100, 120, 0, 5, 0));
  vdp.SetSprite(5, sprite(200, 130, 5, 5, 0));  // links to itself
  const std::vector<int> visited = chain();
  ASSERT_EQ(visited.size(), 64u);
  EXPECT_EQ(visited[0], 0);
  EXPECT_EQ(visited[63], 5);
  EXPECT_EQ(vdp.GetSpriteBounds(), (TVDPRect{100, 120, 216, 146}));
  vdp.SetFlag(kFlagH40, true);
  EXPECT_EQ(chain().size(), 80u);
}

TEST_F(VDPSpritesTest, LinkPastTheTableEndsTheList) {
  vdp.SetSprite(0, sprite(300, 200, 0, 63, 0));  // H32 has 64 sprites
  vdp.SetSprite(63, sprite(310, 210, 0, 64, 0));
  EXPECT_EQ(chain(), (std::vector<int>{0, 63}));
  // The sprite named past the table takes no part, not even as a sprite at 0, 0.
  EXPECT_EQ(vdp.GetSpriteBounds(), (TVDPRect{300, 200, 318, 218}));
  vdp.SetFlag(kFlagH40, true);  // 80 sprites: 64 is in the table, 80 is not
  vdp.SetSprite(64, sprite(320, 220, 0, 80, 0));
  EXPECT_EQ(chain(), (std::vector<int>{0, 63, 64}));
}

TEST_F(VDPSpritesTest, BoundsStartEmptyAndCountAllChainedSprites) {
  vdp.SetSprite(0, sprite(130, 140, 0x0F, 1, 0x8000));
  vdp.SetSprite(1, sprite(128, 200, 0x04, 0, 0));  // 2 x 1
  EXPECT_EQ(vdp.GetSpriteBounds(), (TVDPRect{128, 140, 162, 208}));
  vdp.SetInterlaceMode(2);
  EXPECT_EQ(vdp.GetSpriteBounds(), (TVDPRect{128, 140, 162, 216}));  // cells 16 high
}

TEST_F(VDPSpritesTest, CellsRunDownEachColumnFirst) {
  for (int n = 0; n < 16; ++n)
    fillPattern(vdp, 0x10 + n, uint8_t(n));
  vdp.SetSprite(0, sprite(0, 0, 0x0F, 0, cell(0x10)));
  TIndexedBitmap bmp(32, 32, 8);
  vdp.DrawSprite(0, GetSurfaceInfo(bmp), false, true, 0, 0);
  EXPECT_EQ(rowOf(bmp, 0, 0, 32)[8], 4u);     // second column starts with first + 4
  EXPECT_EQ(rowOf(bmp, 8, 0, 32)[0], 1u);     // second row of the first column
  EXPECT_EQ(rowOf(bmp, 31, 0, 32)[31], 15u);  // last cell
}

TEST_F(VDPSpritesTest, PatternNumbersWrapAfter0x7FF) {
  fillPattern(vdp, 0x7FF, 3);
  fillPattern(vdp, 0, 4);
  vdp.SetSprite(0, sprite(0, 0, 0x01, 0, cell(0x7FF, 1, false, false, true)));
  TIndexedBitmap bmp(8, 16, 8);
  vdp.DrawSprite(0, GetSurfaceInfo(bmp), false, true, 0, 0);
  // Vertical flip: the first cell (0x7FF) at the bottom, the second (0) on top.
  EXPECT_EQ(bmp.Pixel(0, 0), 0x14u);
  EXPECT_EQ(bmp.Pixel(0, 15), 0x13u);
}

TEST_F(VDPSpritesTest, FlippedSpriteStartsAtItsOppositeEdge) {
  testkit::setPatternRow(vdp, 1, 0, 0x10000000u);  // one pixel at the left of row 0
  testkit::setPatternRow(vdp, 2, 0, 0x20000000u);
  vdp.SetSprite(0, sprite(0, 0, 0x04, 0, cell(1, 0, false, true)));  // 2 x 1, H flip
  TIndexedBitmap bmp(16, 8, 8);
  vdp.DrawSprite(0, GetSurfaceInfo(bmp), true, true, 0, 0);
  // First column of cells (pattern 1) at x = 8, mirrored: its pixel at column 15.
  EXPECT_EQ(rowOf(bmp, 0, 0, 16),
            (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST_F(VDPSpritesTest, DrawSpriteAtItsOwnPosition) {
  fillPattern(vdp, 1, 5);
  vdp.SetSprite(0, sprite(3, 2, 0, 0, cell(1, 2)));
  TIndexedBitmap bmp(16, 16, 8);
  vdp.DrawSprite(0, GetSurfaceInfo(bmp), true, false, 1, -1);
  EXPECT_EQ(bmp.Pixel(1, 2), 0u);
  EXPECT_EQ(bmp.Pixel(2, 3), 0x25u);
  EXPECT_EQ(bmp.Pixel(9, 10), 0x25u);
  EXPECT_EQ(bmp.Pixel(10, 11), 0u);
}

}  // namespace
}  // namespace vantor
