#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::fillPattern;
using testkit::kPlaneA;
using testkit::kPlaneB;
using testkit::setName;
using testkit::sprite;

std::unique_ptr<TMegaDriveVDP> makeStandardVDP() {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  testkit::useStandardTables(*vdp);
  for (int n = 1; n < 16; ++n)
    fillPattern(*vdp, n, uint8_t(n));
  return vdp;
}

uint8_t screenPixel(const TMegaDriveVDP& vdp, uint16_t options, int x, int y) {
  TIndexedBitmap bmp;
  RenderScreenPicture(vdp, options, bmp);
  return uint8_t(bmp.Pixel(x, y));
}

// One pixel with a sprite over plane A over plane B. Codes: sprite 0x11 (or 0x3E / 0x3F, the
// shadow/highlight operators), A 0x22, B 0x03; a layer that is not opaque uses pattern 0.
struct TStackCase {
  const char* Name;
  bool ShadowHighlight;
  uint8_t Sprite;  // 0: no sprite
  bool SpriteHigh;
  bool AOpaque, AHigh, BOpaque, BHigh;
  uint8_t Expected;
};

std::ostream& operator<<(std::ostream& os, const TStackCase& c) {
  return os << c.Name;
}

class PriorityStackTest : public ::testing::TestWithParam<TStackCase> {};

TEST_P(PriorityStackTest, SelectsTheRightLayer) {
  const TStackCase& c = GetParam();
  auto vdp = makeStandardVDP();
  vdp->SetReg(7, 0x05);
  if (c.ShadowHighlight) vdp->SetFlag(kFlagShadowHighlight, true);
  setName(*vdp, kPlaneA, 32, 0, 0, cell(c.AOpaque ? 2 : 0, 2, c.AHigh));
  setName(*vdp, kPlaneB, 32, 0, 0, cell(c.BOpaque ? 3 : 0, 0, c.BHigh));
  if (c.Sprite != 0) {
    vdp->SetSprite(0, sprite(128, 128, 0, 0, cell(c.Sprite & 0x0F, c.Sprite >> 4, c.SpriteHigh)));
  }
  EXPECT_EQ(screenPixel(*vdp, kRenderAllLayers, 0, 0), c.Expected);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(PriorityTable, PriorityStackTest, ::testing::Values(
  // N = 0: S, then SA, then SB.
  TStackCase{"N0_Sprite", false, 0x11, false, true, false, true, false, 0x11},
  TStackCase{"N0_A", false, 0, false, true, false, true, false, 0x22},
  TStackCase{"N0_B", false, 0, false, false, false, true, false, 0x03},
  TStackCase{"N0_Backdrop", false, 0, false, false, false, false, false, 0x05},
  // N = 1: B, then S, then SA.
  TStackCase{"N1_B", false, 0x11, false, true, false, true, true, 0x03},
  TStackCase{"N1_Sprite", false, 0x11, false, true, false, false, true, 0x11},
  TStackCase{"N1_A", false, 0, false, true, false, false, true, 0x22},
  // N = 2: A, then S, then SB.
  TStackCase{"N2_A", false, 0x11, false, true, true, true, false, 0x22},
  TStackCase{"N2_Sprite", false, 0x11, false, false, true, true, false, 0x11},
  TStackCase{"N2_B", false, 0, false, false, true, true, false, 0x03},
  // N = 3: A, then B, then S.
  TStackCase{"N3_A", false, 0x11, false, true, true, true, true, 0x22},
  TStackCase{"N3_B", false, 0x11, false, false, true, true, true, 0x03},
  TStackCase{"N3_Sprite", false, 0x11, false, false, true, false, true, 0x11},
  // N = 4 to 7: a high sprite pixel wins.
  TStackCase{"N4_Sprite", false, 0x11, true, true, false, true, false, 0x11},
  TStackCase{"N5_Sprite", false, 0x11, true, true, false, true, true, 0x11},
  TStackCase{"N6_Sprite", false, 0x11, true, true, true, true, false, 0x11},
  TStackCase{"N7_Sprite", false, 0x11, true, true, true, true, true, 0x11},
  // A high operator sprite is transparent but keeps its priority: the rows' other branches.
  TStackCase{"N5_SB", true, 0x3E, true, true, false, true, true, 0x43},
  TStackCase{"N5_SA", true, 0x3E, true, true, false, false, true, 0x62},
  TStackCase{"N6_SA", true, 0x3E, true, true, true, true, false, 0x62},
  TStackCase{"N6_SB", true, 0x3E, true, false, true, true, false, 0x43},
  TStackCase{"N7_SA", true, 0x3E, true, true, true, true, true, 0x62},
  TStackCase{"N7_SB", true, 0x3E, true, false, true, true, true, 0x43},
  TStackCase{"N4_ShadowOperator", true, 0x3F, true, true, false, true, false, 0xA2},
  // Shadow/highlight marks.
  TStackCase{"LowHighlightOverLowPlaneCancels", true, 0x3E, false, true, false, true, false, 0x22},
  TStackCase{"HighHighlightOverHighA", true, 0x3E, true, true, true, false, false, 0x62},
  TStackCase{"LowHighlightUnderHighA", true, 0x3E, false, true, true, false, false, 0x22},
  TStackCase{"LowShadowOperator", true, 0x3F, false, true, false, false, false, 0xA2},
  TStackCase{"NoHighPlaneShadowsA", true, 0, false, true, false, true, false, 0xA2},
  TStackCase{"NoHighPlaneShadowsLowSprite", true, 0x11, false, true, false, true, false, 0x91},
  TStackCase{"HighSpriteUnshadowed", true, 0x11, true, true, false, true, false, 0x11},
  TStackCase{"TransparentHighBStopsShadow", true, 0, false, true, false, false, true, 0x22},
  TStackCase{"ShadowedBackdrop", true, 0, false, false, false, false, false, 0x85},
  TStackCase{"OperatorsAreColoursWithoutIt", false, 0x3E, false, true, false, true, false, 0x3E}));
// clang-format on

// Colour 14 of lines 0 to 2 escapes the marks only as a sprite's own pixel. Row 0, one cell
// each: plane A colour 14 of lines 0, 2, 3 and colour 13, all low; a high plane A colour 14
// under a high highlight and a high shadow operator; low sprites of colour 14, lines 0 and 2.
TEST(ShadowHighlightTest, ColourFourteenIsUnmarkedOnlyAsASpritePixel) {
  auto vdp = makeStandardVDP();
  vdp->SetFlag(kFlagShadowHighlight, true);
  const uint16_t names[8] = {cell(14, 0),       cell(14, 2),       cell(14, 3), cell(13, 0),
                             cell(14, 0, true), cell(14, 0, true), cell(1, 0),  cell(1, 0)};
  for (int c = 0; c < 8; ++c)
    setName(*vdp, kPlaneA, 32, c, 0, names[c]);
  vdp->SetSprite(0, sprite(128 + 32, 128, 0, 1, cell(14, 3, true)));  // highlight operator
  vdp->SetSprite(1, sprite(128 + 40, 128, 0, 2, cell(15, 3, true)));  // shadow operator
  vdp->SetSprite(2, sprite(128 + 48, 128, 0, 3, cell(14, 0)));
  vdp->SetSprite(3, sprite(128 + 56, 128, 0, 0, cell(14, 2)));
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers, bmp);
  std::vector<uint32_t> cells;
  for (int c = 0; c < 8; ++c)
    cells.push_back(bmp.Pixel(8 * c, 0));
  EXPECT_EQ(cells, (std::vector<uint32_t>{0x8E, 0xAE, 0xBE, 0x8D, 0x4E, 0x8E, 0x0E, 0x2E}));
  RenderScreenPicture(*vdp, kRenderAllLayers | kRenderIgnoreShadowHighlight, bmp);
  EXPECT_EQ(bmp.Pixel(24, 0), 0x0Du);
  EXPECT_EQ(bmp.Pixel(0, 0), 0x0Eu);
}

// --- Sprites in the composed screen --------------------------------------------------------

TEST(SpriteLayerTest, FirstOpaqueSpriteInTheChainWinsWhateverItsPriority) {
  auto vdp = makeStandardVDP();
  setName(*vdp, kPlaneA, 32, 0, 0, cell(2, 2, true));
  vdp->SetSprite(0, sprite(128, 128, 0, 1, cell(1, 1, false)));
  vdp->SetSprite(1, sprite(128, 128, 0, 0, cell(4, 1, true)));
  // Sprite 0 holds the pixel with low priority, so the high plane A cell shows.
  EXPECT_EQ(screenPixel(*vdp, kRenderAllLayers, 0, 0), 0x22u);
  // Without the low sprites, sprite 1 takes the place.
  EXPECT_EQ(screenPixel(*vdp, kRenderAllLayers & ~kRenderSpritesLo, 0, 0), 0x14u);
}

TEST(SpriteLayerTest, TransparentPixelsLetLaterSpritesThrough) {
  auto vdp = makeStandardVDP();
  testkit::setPatternRow(*vdp, 20, 0, 0x10000000u);
  vdp->SetSprite(0, sprite(128, 128, 0, 1, cell(20, 1)));
  vdp->SetSprite(1, sprite(128, 128, 0, 0, cell(3, 2)));
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers, bmp);
  EXPECT_EQ(bmp.Pixel(0, 0), 0x11u);
  EXPECT_EQ(bmp.Pixel(1, 0), 0x23u);
}

TEST(SpriteLayerTest, OnlyChainedSpritesShow) {
  auto vdp = makeStandardVDP();
  vdp->SetSprite(0, sprite(0, 0, 0, 2, 0));
  vdp->SetSprite(1, sprite(128, 128, 0, 0, cell(1)));
  vdp->SetSprite(2, sprite(136, 128, 0, 0, cell(2)));
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers, bmp);
  EXPECT_EQ(bmp.Pixel(0, 0), 0u);
  EXPECT_EQ(bmp.Pixel(8, 0), 2u);
}

TEST(SpriteLayerTest, FlippedMultiCellSprite) {
  auto vdp = makeStandardVDP();
  testkit::setPatternRow(*vdp, 20, 0, 0x12000000u);
  vdp->SetSprite(0, sprite(128, 128, 0x05, 0, cell(20, 0, false, true, true)));  // 2 x 2
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers, bmp);
  // Pattern 20 is the first cell: with both flips it lands bottom-right, mirrored.
  EXPECT_EQ(bmp.Pixel(15, 15), 1u);
  EXPECT_EQ(bmp.Pixel(14, 15), 2u);
  EXPECT_EQ(bmp.Pixel(15, 7), 0u);
}

TEST(SpriteLayerTest, InterlaceModeTwoPlacesTheScreenAtRow256) {
  auto vdp = makeStandardVDP();
  vdp->SetInterlaceMode(2);
  fillPattern(*vdp, 0, 0);
  fillPattern(*vdp, 1, 1);
  vdp->SetSprite(0, sprite(130, 260, 0, 0, cell(1)));
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers, bmp);
  EXPECT_EQ(bmp.Pixel(2, 3), 0u);
  EXPECT_EQ(bmp.Pixel(2, 4), 1u);
  EXPECT_EQ(bmp.Pixel(2, 19), 1u);
  EXPECT_EQ(bmp.Pixel(2, 20), 0u);
}

// --- Entire virtual screen -----------------------------------------------------------------

TEST(VirtualScreenTest, SizeCoversThePlaneAndTheSprites) {
  auto vdp = makeStandardVDP();
  vdp->SetReg(16, 1);  // 64 x 32
  int32_t w = 0, h = 0;
  ScreenPictureSize(*vdp, kRenderVirtualScreen, w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 384);
  vdp->SetSprite(0, sprite(500, 0x258, 0x0F, 0, 0));
  ScreenPictureSize(*vdp, kRenderVirtualScreen, w, h);
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 384);  // Y has nine bits: 0x258 is row 0x58
  vdp->SetSprite(0, sprite(500, 0x1F0, 0x0F, 0, 0));
  ScreenPictureSize(*vdp, kRenderVirtualScreen, w, h);
  EXPECT_EQ(h, 528);
  vdp->SetReg(16, 0);
  ScreenPictureSize(*vdp, kRenderVirtualScreen, w, h);
  EXPECT_EQ(w, 532);
  vdp->SetSprite(0, sprite(500, 0x3F0, 0x0F, 0, 0));
  vdp->SetInterlaceMode(2);
  ScreenPictureSize(*vdp, kRenderVirtualScreen, w, h);
  EXPECT_EQ(h, 0x3F0 + 64);  // ten bits in this mode, cells 16 high
}

TEST(VirtualScreenTest, PlaneAtOneHundredTwentyEightAndSpritesAtTheirPositions) {
  auto vdp = makeStandardVDP();
  setName(*vdp, kPlaneA, 32, 0, 0, cell(1));
  vdp->SetSprite(0, sprite(10, 20, 0, 0, cell(2)));
  vdp->SetReg(7, 0x07);
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers | kRenderVirtualScreen, bmp);
  EXPECT_EQ(bmp.Width(), 384);
  EXPECT_EQ(bmp.Height(), 384);
  EXPECT_EQ(bmp.Pixel(127, 128), 7u);
  EXPECT_EQ(bmp.Pixel(128, 128), 1u);
  EXPECT_EQ(bmp.Pixel(10, 20), 2u);
  EXPECT_EQ(bmp.Pixel(17, 27), 2u);
}

TEST(VirtualScreenTest, RowsPastLine239KeepItsScroll) {
  auto vdp = makeStandardVDP();
  vdp->SetReg(11, 3);
  for (int row = 0; row < 32; ++row)
    setName(*vdp, kPlaneA, 32, 0, row, cell(1));
  testkit::setHScroll(*vdp, 239, 8, 0);
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers | kRenderVirtualScreen, bmp);
  EXPECT_EQ(bmp.Pixel(128, 128 + 238), 1u);
  EXPECT_EQ(bmp.Pixel(128, 128 + 239), 0u);
  EXPECT_EQ(bmp.Pixel(136, 128 + 239), 1u);
  EXPECT_EQ(bmp.Pixel(136, 128 + 255), 1u);
}

TEST(VirtualScreenTest, VerticalScrollMovesThePlaneInsideItsRectangle) {
  auto vdp = makeStandardVDP();
  setName(*vdp, kPlaneA, 32, 0, 1, cell(1));
  vdp->SetVSRAMWord(0, 8);
  TIndexedBitmap bmp;
  RenderScreenPicture(*vdp, kRenderAllLayers | kRenderVirtualScreen, bmp);
  EXPECT_EQ(bmp.Pixel(128, 128), 1u);
  EXPECT_EQ(bmp.Pixel(128, 136), 0u);
}

// --- Cutting to the surface ----------------------------------------------------------------

class CutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vdp = makeStandardVDP();
    for (int r = 0; r < 28; ++r) {
      for (int c = 0; c < 32; ++c)
        setName(*vdp, kPlaneA, 32, c, r, cell((r + c) % 15 + 1));
    }
    RenderScreenPicture(*vdp, kRenderAllLayers, full);
  }
  std::unique_ptr<TMegaDriveVDP> vdp;
  TIndexedBitmap full;
};

TEST_F(CutTest, NarrowSurfaceCutsAtItsRightAndBottomEdges) {
  TIndexedBitmap small(100, 50, 8);
  vdp->RenderScreen(GetSurfaceInfo(small), kRenderAllLayers, 0, 0);
  for (int y = 0; y < 50; ++y) {
    for (int x = 0; x < 100; ++x)
      ASSERT_EQ(small.Pixel(x, y), full.Pixel(x, y));
  }
}

TEST_F(CutTest, NegativeOriginSkipsTheFirstColumnsAndRows) {
  TIndexedBitmap bmp(256, 224, 8);
  std::fill_n(bmp.Bits(), bmp.ByteSize(), 0xEE);
  vdp->RenderScreen(GetSurfaceInfo(bmp), kRenderAllLayers, -5, -10);
  EXPECT_EQ(bmp.Pixel(0, 0), full.Pixel(10, 5));
  EXPECT_EQ(bmp.Pixel(245, 218), full.Pixel(255, 223));
  EXPECT_EQ(bmp.Pixel(246, 0), 0xEEu);
  EXPECT_EQ(bmp.Pixel(0, 219), 0xEEu);
}

TEST_F(CutTest, PositiveOriginShiftsThePicture) {
  TIndexedBitmap bmp(300, 230, 8);
  vdp->RenderScreen(GetSurfaceInfo(bmp), kRenderAllLayers, 3, 7);
  EXPECT_EQ(bmp.Pixel(7, 3), full.Pixel(0, 0));
  EXPECT_EQ(bmp.Pixel(262, 226), full.Pixel(255, 223));
  EXPECT_EQ(bmp.Pixel(263, 3), 0u);
}

TEST_F(CutTest, ShallowOrMissingSurfacesAreLeftAlone) {
  TIndexedBitmap bmp(256, 224, 4);
  vdp->RenderScreen(GetSurfaceInfo(bmp), kRenderAllLayers, 0, 0);
  EXPECT_EQ(std::count(bmp.Bits(), bmp.Bits() + bmp.ByteSize(), 0), long(bmp.ByteSize()));
  vdp->RenderScreen(TSurfaceInfo{}, kRenderAllLayers, 0, 0);
}

// --- Direct-colour surfaces ----------------------------------------------------------------

class DeepSurfaceTest : public ::testing::TestWithParam<int> {};

TEST_P(DeepSurfaceTest, PixelsAreTheColoursOfTheCodes) {
  auto vdp = makeStandardVDP();
  for (int i = 0; i < 64; ++i)
    vdp->SetColor(uint8_t(i), uint16_t((i * 0x0246) & 0x0EEE));
  vdp->SetFlag(kFlagShadowHighlight, true);
  for (int c = 0; c < 32; ++c) {
    setName(*vdp, kPlaneA, 32, c, 0, cell(c % 16, c / 8, c % 3 == 0));
    setName(*vdp, kPlaneB, 32, c, 0, cell((c + 5) % 16, 3, c % 5 == 0));
  }
  vdp->SetSprite(0, sprite(128 + 40, 128, 0x0C, 0, cell(14, 3)));
  TIndexedBitmap codes;
  RenderScreenPicture(*vdp, kRenderAllLayers, codes);
  const uint8_t bpp = uint8_t(GetParam());
  TIndexedBitmap deep(256, 224, bpp);
  vdp->RenderScreen(GetSurfaceInfo(deep), kRenderAllLayers, 0, 0);
  for (int x = 0; x < 256; ++x) {
    const uint8_t code = uint8_t(codes.Pixel(x, 0));
    uint16_t w = vdp->GetColor(code & 0x3F);
    if (code & 0x40) w |= kCRAMHighlight;
    if (code & 0x80) w |= kCRAMShadow;
    uint32_t expected = bpp <= 16 ? CRAMToRGB16(w, bpp == 16) : CRAMToRGB32(w);
    if (bpp == 24) expected &= 0xFFFFFF;
    ASSERT_EQ(deep.Pixel(x, 0), expected) << x;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, DeepSurfaceTest, ::testing::Values(15, 16, 24, 32));

}  // namespace
}  // namespace vantor
