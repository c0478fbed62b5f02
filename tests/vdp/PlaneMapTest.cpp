// Plane maps: the name table words of each plane, their CSV text, their Tiled tile ids and
// the tileset picture those ids point into.
#include <gtest/gtest.h>

#include <memory>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PlaneMap.h"

namespace vantor {
namespace {

class PlaneMapTest : public ::testing::Test {
 protected:
  PlaneMapTest() { testkit::useStandardTables(vdp); }
  std::unique_ptr<TMegaDriveVDP> m_owner = std::make_unique<TMegaDriveVDP>();
  TMegaDriveVDP& vdp = *m_owner;
};

TEST_F(PlaneMapTest, EachPlaneReadsItsOwnTableRowByRow) {
  vdp.SetReg(16, 0x01);                                        // planes of 64 x 32 cells
  vdp.WriteVRAMWord(testkit::kPlaneA + 2 * (64 + 3), 0x1234);  // row 1, column 3
  vdp.WriteVRAMWord(testkit::kPlaneB, 0xABCD);
  vdp.WriteVRAMWord(testkit::kWindow + 2 * 32, 0x8001);  // H32: the window is 32 cells wide

  const TPlaneMap a = ReadPlaneMap(vdp, TPlaneId::plA);
  EXPECT_EQ(a.Width, 64);
  EXPECT_EQ(a.Height, 32);
  EXPECT_EQ(a.Word(3, 1), 0x1234);
  EXPECT_EQ(ReadPlaneMap(vdp, TPlaneId::plB).Word(0, 0), 0xABCD);
  const TPlaneMap window = ReadPlaneMap(vdp, TPlaneId::plWindow);
  EXPECT_EQ(window.Width, 32);
  EXPECT_EQ(window.Word(0, 1), 0x8001);
}

TEST_F(PlaneMapTest, CsvHasOneLineOfDecimalWordsPerRow) {
  const TPlaneMap map{3, 2, {0, 65535, 7, 0x8001, 2, 3}};
  EXPECT_EQ(FormatPlaneCsv(map), "0,65535,7\n32769,2,3\n");
}

// id = 1 + (priority * 4 + line) * count + pattern, flips in Tiled's two high bits.
TEST_F(PlaneMapTest, TileIdsCarryLinePriorityAndFlips) {
  EXPECT_EQ(TiledTileId(0x0000, 2048), 1u);
  EXPECT_EQ(TiledTileId(0x0005, 2048), 6u);
  EXPECT_EQ(TiledTileId(0x6005, 2048), 1u + 3 * 2048 + 5);
  EXPECT_EQ(TiledTileId(0x8005, 2048), 1u + 4 * 2048 + 5);
  EXPECT_EQ(TiledTileId(0x0805, 2048), 6u | 0x80000000u);
  EXPECT_EQ(TiledTileId(0x1805, 2048), 6u | 0xC0000000u);
  // Tall cells: patterns 1024 and up are the patterns 1024 below them.
  EXPECT_EQ(TiledTileId(0x2405, 1024), 1u + 1024 + 5);
}

TEST_F(PlaneMapTest, TilesetPictureHasABandPerPaletteLine) {
  testkit::setPatternRow(vdp, 1, 0, 0x30000001);
  TIndexedBitmap tiles;
  BuildTilesetPicture(vdp, tiles);
  EXPECT_EQ(tiles.Width(), 512);
  EXPECT_EQ(tiles.Height(), 4 * 256);
  EXPECT_EQ(tiles.BitsPerPixel(), 8);
  for (int line = 0; line < 4; ++line) {
    EXPECT_EQ(tiles.Pixel(8, line * 256), uint32_t(line << 4 | 3));
    EXPECT_EQ(tiles.Pixel(15, line * 256), uint32_t(line << 4 | 1));
  }
  EXPECT_EQ(tiles.Color(0x23), CRAMToRGB32(vdp.GetColor(0x23)));
}

}  // namespace
}  // namespace vantor
