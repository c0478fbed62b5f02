#include <gtest/gtest.h>

#include <memory>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::fillNames;
using testkit::fillPattern;
using testkit::kPlaneA;
using testkit::kPlaneB;
using testkit::kWindow;
using testkit::rowOf;
using testkit::setHScroll;
using testkit::setName;
using testkit::sprite;

// H32, 32 x 32 planes, standard tables; pattern n (1-15) is filled with colour n.
class VDPRenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testkit::useStandardTables(vdp);
    for (int n = 1; n < 16; ++n)
      fillPattern(vdp, n, uint8_t(n));
  }
  TIndexedBitmap render(uint16_t options = kRenderAllLayers) {
    TIndexedBitmap bmp;
    RenderScreenPicture(vdp, options, bmp);
    return bmp;
  }
  void nameA(int col, int row, uint16_t word) { setName(vdp, kPlaneA, 32, col, row, word); }
  void nameB(int col, int row, uint16_t word) { setName(vdp, kPlaneB, 32, col, row, word); }
  // A 1 x 1 sprite over screen cell (col, row).
  void spriteAt(uint8_t index, int col, int row, uint16_t attr, uint8_t link = 0) {
    vdp.SetSprite(index, sprite(uint16_t(128 + col * 8), uint16_t(128 + row * 8), 0, link, attr));
  }

  std::unique_ptr<TMegaDriveVDP> m_owner = std::make_unique<TMegaDriveVDP>();
  TMegaDriveVDP& vdp = *m_owner;
};

TEST_F(VDPRenderTest, AllZeroShowsTheBackgroundEverywhere) {
  vdp.Reset();
  TIndexedBitmap bmp(256, 224, 8);
  std::fill_n(bmp.Bits(), bmp.ByteSize(), 0xFF);
  vdp.RenderScreen(GetSurfaceInfo(bmp), kRenderAllLayers, 0, 0);
  for (int y = 0; y < 224; ++y) {
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(bmp.Pixel(x, y), 0u) << x << "," << y;
  }
}

TEST_F(VDPRenderTest, BackgroundColourFillsTransparentPixels) {
  vdp.SetReg(7, 0xE5);  // only the low six bits count
  nameA(1, 0, cell(2, 1));
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(0, 0), 0x25u);
  EXPECT_EQ(bmp.Pixel(8, 0), 0x12u);
}

TEST_F(VDPRenderTest, BackdropOffLeavesTransparentPixelsAlone) {
  nameA(1, 0, cell(2, 1));
  TIndexedBitmap bmp(256, 224, 8);
  std::fill_n(bmp.Bits(), bmp.ByteSize(), 0x77);
  vdp.RenderScreen(GetSurfaceInfo(bmp), kRenderAllLayers & ~kRenderBackdrop, 0, 0);
  EXPECT_EQ(bmp.Pixel(0, 0), 0x77u);
  EXPECT_EQ(bmp.Pixel(8, 0), 0x12u);
}

TEST_F(VDPRenderTest, LayerSwitchesSelectPriorityHalves) {
  nameA(0, 0, cell(1, 0, false));
  nameA(1, 0, cell(2, 0, true));
  nameB(2, 0, cell(3, 0, false));
  nameB(3, 0, cell(4, 0, true));
  auto firstPixels = [&](uint16_t options) {
    const TIndexedBitmap bmp = render(options);
    return std::vector<uint32_t>{bmp.Pixel(0, 0), bmp.Pixel(8, 0), bmp.Pixel(16, 0),
                                 bmp.Pixel(24, 0)};
  };
  EXPECT_EQ(firstPixels(kRenderAllLayers), (std::vector<uint32_t>{1, 2, 3, 4}));
  EXPECT_EQ(firstPixels(kRenderBackdrop | kRenderPlaneALo), (std::vector<uint32_t>{1, 0, 0, 0}));
  EXPECT_EQ(firstPixels(kRenderBackdrop | kRenderPlaneAHi), (std::vector<uint32_t>{0, 2, 0, 0}));
  EXPECT_EQ(firstPixels(kRenderBackdrop | kRenderPlaneBLo), (std::vector<uint32_t>{0, 0, 3, 0}));
  EXPECT_EQ(firstPixels(kRenderBackdrop | kRenderPlaneBHi), (std::vector<uint32_t>{0, 0, 0, 4}));
}

TEST_F(VDPRenderTest, PlaneCellsHonourTheirFlips) {
  testkit::setPatternRow(vdp, 20, 0, 0x12345678u);
  testkit::setPatternRow(vdp, 20, 7, 0x9ABCDEF1u);
  nameA(0, 0, cell(20, 0, false, true, true));
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(rowOf(bmp, 0, 0, 8), (std::vector<uint32_t>{1, 0xF, 0xE, 0xD, 0xC, 0xB, 0xA, 9}));
  EXPECT_EQ(rowOf(bmp, 7, 0, 3), (std::vector<uint32_t>{8, 7, 6}));
}

// --- Horizontal scrolling ----------------------------------------------------------------

class VDPHScrollTest : public VDPRenderTest {
 protected:
  void SetUp() override {
    VDPRenderTest::SetUp();
    // Plane A: a column of colour-1 cells at cell column 0; plane B: colour 2 at column 4.
    for (int row = 0; row < 32; ++row) {
      nameA(0, row, cell(1));
      nameB(4, row, cell(2));
    }
  }
  // Left edge of plane A's coloured column on a row.
  int edgeA(const TIndexedBitmap& bmp, int y) {
    for (int x = 0; x < 256; ++x) {
      if (bmp.Pixel(x, y) == 1) return x;
    }
    return -1;
  }
};

TEST_F(VDPHScrollTest, PerLineModeShiftsOneLine) {
  vdp.SetReg(11, 3);
  setHScroll(vdp, 10, 8, 0);
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(edgeA(bmp, 9), 0);
  EXPECT_EQ(edgeA(bmp, 10), 8);
  EXPECT_EQ(edgeA(bmp, 11), 0);
  EXPECT_EQ(bmp.Pixel(32, 10), 2u);  // plane B not moved
  const TIndexedBitmap ignored = render(kRenderAllLayers | kRenderIgnoreHScroll);
  EXPECT_EQ(edgeA(ignored, 10), 0);
}

TEST_F(VDPHScrollTest, ScrollValuesKeepTenBitsAndWrapAroundThePlane) {
  vdp.SetReg(11, 3);
  setHScroll(vdp, 0, 0xFC00 | 3, 0x3FF);  // A: 3; B: -1
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(edgeA(bmp, 0), 3);
  EXPECT_EQ(bmp.Pixel(31, 0), 2u);  // B's column 4 moved one pixel left
  EXPECT_EQ(bmp.Pixel(38, 0), 2u);
  EXPECT_EQ(bmp.Pixel(39, 0), 0u);
}

TEST_F(VDPHScrollTest, FirstEightLinesModeRepeatsEveryEightLines) {
  vdp.SetReg(11, 1);
  setHScroll(vdp, 2, 8, 0);
  setHScroll(vdp, 10, 24, 0);  // not an entry of this mode
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(edgeA(bmp, 2), 8);
  EXPECT_EQ(edgeA(bmp, 10), 8);
  EXPECT_EQ(edgeA(bmp, 18), 8);
  EXPECT_EQ(edgeA(bmp, 3), 0);
}

TEST_F(VDPHScrollTest, PerCellRowModeUsesTheRowsFirstLine) {
  vdp.SetReg(11, 2);
  setHScroll(vdp, 8, 16, 0);
  setHScroll(vdp, 9, 24, 0);  // not an entry of this mode
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(edgeA(bmp, 7), 0);
  EXPECT_EQ(edgeA(bmp, 8), 16);
  EXPECT_EQ(edgeA(bmp, 15), 16);
  EXPECT_EQ(edgeA(bmp, 16), 0);
}

TEST_F(VDPHScrollTest, WholeScreenModeUsesEntryZero) {
  vdp.SetReg(11, 0);
  setHScroll(vdp, 0, 5, 0);
  setHScroll(vdp, 100, 24, 0);
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(edgeA(bmp, 0), 5);
  EXPECT_EQ(edgeA(bmp, 100), 5);
}

TEST_F(VDPHScrollTest, InterlaceModeTwoHalvesTheLine) {
  vdp.SetInterlaceMode(2);
  for (int n = 0; n < 3; ++n)
    fillPattern(vdp, n, uint8_t(n));
  vdp.SetReg(11, 3);
  setHScroll(vdp, 5, 8, 0);
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Height(), 448);
  EXPECT_EQ(edgeA(bmp, 9), 0);
  EXPECT_EQ(edgeA(bmp, 10), 8);
  EXPECT_EQ(edgeA(bmp, 11), 8);
  EXPECT_EQ(edgeA(bmp, 12), 0);
}

// --- Vertical scrolling ------------------------------------------------------------------

class VDPVScrollTest : public VDPRenderTest {
 protected:
  void SetUp() override {
    VDPRenderTest::SetUp();
    // Plane A: row r of cells shows colour (r mod 15) + 1 across the whole plane.
    for (int row = 0; row < 32; ++row) {
      for (int col = 0; col < 32; ++col)
        nameA(col, row, cell(row % 15 + 1));
    }
  }
};

TEST_F(VDPVScrollTest, WholeScreenModeMovesPlaneUp) {
  vdp.SetVSRAMWord(0, 0xFC00 | 8);  // ten bits: 8
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(0, 0), 2u);
  EXPECT_EQ(bmp.Pixel(0, 216), 14u);  // plane row 224: cell row 28
  EXPECT_EQ(render(kRenderAllLayers | kRenderIgnoreVScroll).Pixel(0, 0), 1u);
}

TEST_F(VDPVScrollTest, TwoCellModeTakesOneEntryPerColumnPair) {
  vdp.SetReg(11, 4);
  vdp.SetVSRAMWord(0, 0);
  vdp.SetVSRAMWord(2, 8);
  vdp.SetVSRAMWord(4, 16);
  vdp.SetVSRAMWord(1, 24);  // plane B's entries are the odd ones
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(15, 0), 1u);
  EXPECT_EQ(bmp.Pixel(16, 0), 2u);
  EXPECT_EQ(bmp.Pixel(31, 0), 2u);
  EXPECT_EQ(bmp.Pixel(32, 0), 3u);
  EXPECT_EQ(bmp.Pixel(48, 0), 1u);  // entry 6 is 0
}

TEST_F(VDPVScrollTest, TwoCellModeFollowsTheFineHorizontalScroll) {
  vdp.SetReg(11, 4);
  vdp.SetVSRAMWord(2, 8);
  setHScroll(vdp, 0, 4, 0);
  const TIndexedBitmap bmp = render();
  // The cell boundaries move 4 pixels right; the new value is taken at the boundary after
  // the one that lies 16 pixels past the fine scroll.
  EXPECT_EQ(bmp.Pixel(19, 0), 1u);
  EXPECT_EQ(bmp.Pixel(20, 0), 2u);
}

TEST_F(VDPVScrollTest, TwoCellModeEntriesPastTheTableReadZero) {
  vdp.SetReg(16, 1);  // 64-cell-wide plane: 32 column pairs, more than VSRAM holds
  for (int row = 0; row < 32; ++row) {
    for (int col = 0; col < 64; ++col)
      setName(vdp, kPlaneA, 64, col, row, cell(row % 15 + 1));
  }
  vdp.SetReg(11, 4);
  for (int i = 0; i < 40; ++i)
    vdp.SetVSRAMWord(i, 8);
  const TIndexedBitmap bmp = render(kRenderAllLayers | kRenderVirtualScreen);
  EXPECT_EQ(bmp.Pixel(128, 128), 2u);
  EXPECT_EQ(bmp.Pixel(128 + 319, 128), 2u);  // entry 38
  EXPECT_EQ(bmp.Pixel(128 + 320, 128), 1u);  // entry 40: 0
}

// --- Window ------------------------------------------------------------------------------

class VDPWindowTest : public VDPRenderTest {
 protected:
  void SetUp() override {
    VDPRenderTest::SetUp();
    fillNames(vdp, kPlaneA, 32, 32, cell(1));
    fillNames(vdp, kWindow, 32, 32, cell(2));
  }
};

TEST_F(VDPWindowTest, TopBandCoversTheFirstRows) {
  vdp.SetReg(18, 2);  // two cell rows from the top
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(100, 15), 2u);
  EXPECT_EQ(bmp.Pixel(100, 16), 1u);
}

TEST_F(VDPWindowTest, BottomAndRightBands) {
  vdp.SetReg(18, 0x80 | 26);
  vdp.SetReg(17, 0x80 | 14);  // from column 28 cells
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(0, 207), 1u);
  EXPECT_EQ(bmp.Pixel(0, 208), 2u);
  EXPECT_EQ(bmp.Pixel(223, 0), 1u);
  EXPECT_EQ(bmp.Pixel(224, 0), 2u);
}

TEST_F(VDPWindowTest, LeftBandAndEmptyBands) {
  vdp.SetReg(17, 3);
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(47, 100), 2u);
  EXPECT_EQ(bmp.Pixel(48, 100), 1u);
  vdp.SetReg(17, 0);
  EXPECT_EQ(render().Pixel(0, 0), 1u);
}

TEST_F(VDPWindowTest, WindowIsNotScrolledAndReplacesPlaneAPriority) {
  vdp.SetReg(18, 2);
  setHScroll(vdp, 0, 3, 0);
  vdp.SetVSRAMWord(0, 5);
  testkit::setPatternRow(vdp, 9, 0, 0x90000000u);
  setName(vdp, kWindow, 32, 1, 0, cell(9, 0, true));
  nameB(1, 0, cell(4, 0, false));
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(8, 0), 9u);
  // High-priority window pixel 0 lets plane B show, not plane A.
  EXPECT_EQ(bmp.Pixel(9, 0), 4u);
}

TEST_F(VDPWindowTest, SwitchedOffWindowCellShowsPlaneA) {
  vdp.SetReg(18, 2);
  const TIndexedBitmap bmp = render(kRenderAllLayers & ~kRenderWindowLo);
  EXPECT_EQ(bmp.Pixel(0, 0), 1u);
}

TEST_F(VDPWindowTest, H40WindowRowsAreSixtyFourCells) {
  vdp.SetFlag(kFlagH40, true);
  vdp.SetReg(18, 2);
  setName(vdp, kWindow, 64, 39, 1, cell(3));
  const TIndexedBitmap bmp = render();
  EXPECT_EQ(bmp.Pixel(319, 8), 3u);
}

}  // namespace
}  // namespace vantor
