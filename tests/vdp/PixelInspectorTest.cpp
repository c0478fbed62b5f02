// The pixel inspector: agreement with the renderer on every pixel of random states, and the
// account's details (cells, addresses, sprites and their fates, marks, the winner) on small
// hand-built scenes.
#include <gtest/gtest.h>

#include <memory>

#include "InspectorAgreement.h"
#include "RandomVDPState.h"
#include "VDPTestKit.h"
#include "vdp/PixelInspector.h"

namespace vantor {
namespace {

using testkit::cell;
using testkit::sprite;

TEST(PixelInspectorTest, AgreesWithTheRendererOnEveryPixelOfRandomScreens) {
  testkit::TRandomVDPState random(2020);
  for (int round = 0; round < 24; ++round) {
    auto vdp = random.Make();
    const uint16_t options = uint16_t(random.Options() & ~kRenderVirtualScreen);
    ASSERT_EQ(testkit::InspectorDisagreement(*vdp, options), "") << "round " << round;
  }
}

// The entire virtual screen: sprite space as it is, every sprite or the console's limits.
TEST(PixelInspectorTest, AgreesWithTheRendererOnEveryPixelOfRandomVirtualScreens) {
  testkit::TRandomVDPState random(4711);
  for (int round = 0; round < 6; ++round) {
    auto vdp = random.Make();
    const uint16_t options = uint16_t(random.Options() | kRenderVirtualScreen);
    ASSERT_EQ(testkit::InspectorDisagreement(*vdp, options), "") << "round " << round;
  }
}

// H32 with the standard tables; pattern n (1-15) filled with colour n.
std::unique_ptr<TMegaDriveVDP> makeScene() {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  testkit::useStandardTables(*vdp);
  for (int n = 1; n < 16; ++n)
    testkit::fillPattern(*vdp, n, uint8_t(n));
  return vdp;
}

TEST(PixelInspectorTest, PlaneCellsFollowTheScrollAndTheWindowItsBand) {
  auto vdp = makeScene();
  vdp->SetReg(18, 2);  // the window over the top two cell rows
  testkit::setHScroll(*vdp, 0, 8, 0);
  vdp->SetVSRAMWord(0, 16);
  // Plane A cell 31, row 2 shows at the screen's top-left: 8 pixels right, 16 down.
  testkit::setName(*vdp, testkit::kPlaneA, 32, 31, 4, cell(3, 1, false, true));
  testkit::setName(*vdp, testkit::kWindow, 32, 1, 1, cell(5, 2, true));

  const TPixelAccount scrolled = InspectPixel(*vdp, kRenderAllLayers, 9, 19);
  EXPECT_EQ(scrolled.PlaneA.HScroll, 8);
  EXPECT_EQ(scrolled.PlaneA.VScroll, 16);
  EXPECT_EQ(scrolled.PlaneA.Column, 0);
  EXPECT_EQ(scrolled.PlaneA.Row, 4);
  EXPECT_EQ(scrolled.PlaneA.PixelColumn, 1);
  const TPixelAccount a = InspectPixel(*vdp, kRenderAllLayers, 6, 19);
  EXPECT_EQ(a.PlaneA.Column, 31);
  EXPECT_EQ(a.PlaneA.Row, 4);
  EXPECT_EQ(a.PlaneA.PixelColumn, 6);
  EXPECT_EQ(a.PlaneA.PixelRow, 3);
  EXPECT_EQ(a.PlaneA.NameAddress, testkit::kPlaneA + (4 * 32 + 31) * 2);
  EXPECT_EQ(a.PlaneA.Pixel.Pattern, 3);
  EXPECT_TRUE(a.PlaneA.Pixel.HFlip);
  EXPECT_EQ(a.PlaneA.Pixel.PatternColumn, 1);  // mirrored
  EXPECT_EQ(a.PlaneA.Pixel.ByteAddress, 3u * 32 + 3 * 4 + 0);
  EXPECT_FALSE(a.Window.InArea);
  EXPECT_EQ(a.Winner, TPixelLayer::plPlaneA);
  EXPECT_EQ(a.Code, 0x13);

  const TPixelAccount w = InspectPixel(*vdp, kRenderAllLayers, 8 + 7, 8 + 2);
  EXPECT_TRUE(w.Window.TakesPart);
  EXPECT_EQ(w.Window.NameAddress, testkit::kWindow + (1 * 32 + 1) * 2);
  EXPECT_EQ(w.Window.Pixel.Attr, cell(5, 2, true));
  EXPECT_EQ(w.Winner, TPixelLayer::plWindow);
  EXPECT_EQ(WinnerText(w), "window high, the only opaque layer");
  EXPECT_EQ(w.Code, 0x25);
  // Window Hi switched off: plane A's pixel stays, which is transparent there.
  const TPixelAccount off = InspectPixel(*vdp, kRenderAllLayers & ~kRenderWindowHi, 15, 10);
  EXPECT_TRUE(off.Window.InArea);
  EXPECT_FALSE(off.Window.TakesPart);
  EXPECT_EQ(off.Winner, TPixelLayer::plBackdrop);
}

TEST(PixelInspectorTest, TheWinnerAndWhy) {
  auto vdp = makeScene();
  vdp->SetReg(7, 0x3F);
  testkit::setName(*vdp, testkit::kPlaneA, 32, 0, 0, cell(2, 0, true));
  testkit::setName(*vdp, testkit::kPlaneB, 32, 0, 0, cell(4, 1));
  testkit::setName(*vdp, testkit::kPlaneB, 32, 1, 0, cell(4, 1, true));
  vdp->SetSprite(0, sprite(128, 128, 0x04, 0, cell(7, 3)));  // two cells wide, low

  const TPixelAccount a = InspectPixel(*vdp, kRenderAllLayers, 3, 3);
  EXPECT_EQ(a.Case, 2);
  EXPECT_EQ(a.Winner, TPixelLayer::plPlaneA);
  EXPECT_EQ(WinnerText(a), "plane A high over low sprite, low plane B");
  EXPECT_TRUE(a.Sprite.Found);
  EXPECT_EQ(a.Sprite.Number, 0);

  const TPixelAccount b = InspectPixel(*vdp, kRenderAllLayers, 11, 3);
  EXPECT_EQ(b.Case, 1);
  EXPECT_EQ(WinnerText(b), "plane B high over low sprite");
  EXPECT_EQ(b.Sprite.CellColumn, 1);
  EXPECT_EQ(b.Sprite.Pixel.Pattern, 8);  // the second column of a one-cell-high sprite

  const TPixelAccount s = InspectPixel(*vdp, kRenderAllLayers & ~kRenderPlaneBHi, 11, 3);
  EXPECT_EQ(s.Case, 0);  // plane B's cell took no part: counted as low
  EXPECT_EQ(s.Winner, TPixelLayer::plSprite);
  EXPECT_EQ(WinnerText(s), "sprite low, the only opaque layer");
  EXPECT_EQ(s.Code, 0x38);
  EXPECT_EQ(s.ColorWord, vdp->GetColor(0x38));

  const TPixelAccount backdrop = InspectPixel(*vdp, kRenderAllLayers & ~kRenderBackdrop, 40, 40);
  EXPECT_EQ(backdrop.Winner, TPixelLayer::plBackdrop);
  EXPECT_EQ(backdrop.Code, 0x3F);
  EXPECT_FALSE(backdrop.Written);
}

// 17 one-cell sprites side by side on one line of an H32 screen, in chain order; sprite 17 a
// second row down, alone.
std::unique_ptr<TMegaDriveVDP> crowdedLine() {
  auto vdp = makeScene();
  for (int i = 0; i < 17; ++i)
    vdp->SetSprite(uint8_t(i), sprite(uint16_t(128 + 8 * i), 128, 0, uint8_t(i + 1), cell(1)));
  vdp->SetSprite(17, sprite(200, 136, 0, 0, cell(2)));
  return vdp;
}

TEST(PixelInspectorTest, SpritesDroppedOnTheLineAreNamed) {
  auto vdp = crowdedLine();
  const TPixelAccount dropped = InspectPixel(*vdp, kRenderAllLayers, 8 * 16 + 2, 4);
  EXPECT_FALSE(dropped.Sprite.Found);
  ASSERT_EQ(dropped.Sprite.Covering.size(), 1u);
  EXPECT_EQ(dropped.Sprite.Covering[0].Number, 16);
  EXPECT_EQ(dropped.Sprite.Covering[0].Fate, TSpriteFate::sfSpriteLimit);
  EXPECT_FALSE(dropped.Sprite.Covering[0].Drawn);
  EXPECT_EQ(dropped.Sprite.Line.Covering, 17);
  EXPECT_EQ(dropped.Sprite.Line.Sprites, 16);
  EXPECT_EQ(dropped.Sprite.Line.Cells, 16);
  EXPECT_EQ(dropped.Sprite.Line.Dropped, 1);
  EXPECT_EQ(dropped.Sprite.Line.Drop, TSpriteDrop::sdSpriteLimit);
  EXPECT_EQ(dropped.Sprite.Line.FirstMissing, 16);

  // Every sprite: drawn, though the console would drop it.
  const TPixelAccount all = InspectPixel(*vdp, kRenderAllLayers | kRenderAllSprites, 8 * 16 + 2, 4);
  ASSERT_TRUE(all.Sprite.Found);
  EXPECT_FALSE(all.Sprite.Limits);
  EXPECT_EQ(all.Sprite.Number, 16);
  EXPECT_EQ(all.Sprite.Position, 16);
  EXPECT_EQ(all.Sprite.EntryAddress, testkit::kSprites + 16 * 8);
  EXPECT_EQ(all.Sprite.Covering[0].Fate, TSpriteFate::sfSpriteLimit);
  EXPECT_EQ(all.Sprite.Line.Drop, TSpriteDrop::sdSpriteLimit);

  // Sprite 17, linked from 16, is alone on its lines.
  const TPixelAccount alone = InspectPixel(*vdp, kRenderAllLayers, 200 - 128, 9);
  EXPECT_EQ(alone.Sprite.Number, 17);
  EXPECT_EQ(alone.Sprite.Position, 17);
  EXPECT_EQ(alone.Sprite.Line.Drop, TSpriteDrop::sdNone);
}

TEST(PixelInspectorTest, MaskingAndTheCellCut) {
  auto vdp = makeScene();
  // Sprite 0 at X 0 first: no masking. Then 1 on screen, 2 at X 0 masks 3.
  vdp->SetSprite(0, sprite(0, 128, 0, 1, cell(1)));
  vdp->SetSprite(1, sprite(136, 128, 0, 2, cell(1)));
  vdp->SetSprite(2, sprite(0, 128, 0, 3, cell(1)));
  vdp->SetSprite(3, sprite(144, 128, 0, 0, cell(1)));
  const TPixelAccount masked = InspectPixel(*vdp, kRenderAllLayers, 17, 0);
  EXPECT_FALSE(masked.Sprite.Found);
  EXPECT_EQ(masked.Sprite.Covering.at(0).Fate, TSpriteFate::sfMasked);
  EXPECT_EQ(masked.Sprite.Line.Drop, TSpriteDrop::sdMasking);
  EXPECT_EQ(masked.Sprite.Line.Dropped, 2);  // the masking sprite and sprite 3
  EXPECT_EQ(masked.Sprite.Line.FirstMissing, 2);

  // H32 allows 32 cells: eight 4-cell sprites fill them; a ninth is dropped. Moving sprite 0
  // one cell narrower lets the ninth in, cut after its first three cells.
  auto wide = makeScene();
  for (int i = 0; i < 9; ++i)
    wide->SetSprite(uint8_t(i), sprite(uint16_t(128 + 8 * i), 128, 0x0C,
                                       uint8_t(i + 1 < 9 ? i + 1 : 0), cell(1)));
  const TPixelAccount full = InspectPixel(*wide, kRenderAllLayers, 65, 0);
  EXPECT_EQ(full.Sprite.Line.Drop, TSpriteDrop::sdCellLimit);
  EXPECT_EQ(full.Sprite.Line.Cells, 32);
  wide->SetSprite(0, sprite(128, 128, 0x00, 1, cell(1)));
  const TPixelAccount cutIn = InspectPixel(*wide, kRenderAllLayers, 8 * 8 + 2 * 8 + 1, 0);
  const TPixelAccount cutOff = InspectPixel(*wide, kRenderAllLayers, 8 * 8 + 3 * 8 + 1, 0);
  EXPECT_TRUE(cutIn.Sprite.Line.Cut);
  EXPECT_EQ(cutIn.Sprite.Line.Cells, 32);
  EXPECT_EQ(cutIn.Sprite.Covering.back().Number, 8);
  EXPECT_EQ(cutIn.Sprite.Covering.back().Fate, TSpriteFate::sfCut);
  EXPECT_TRUE(cutIn.Sprite.Covering.back().Drawn);
  EXPECT_FALSE(cutOff.Sprite.Covering.back().Drawn);
}

TEST(PixelInspectorTest, ShadowAndHighlightMarks) {
  auto vdp = makeScene();
  vdp->SetFlag(kFlagShadowHighlight, true);
  testkit::fillPattern(*vdp, 14, 14);
  testkit::setName(*vdp, testkit::kPlaneA, 32, 0, 0, cell(2));
  testkit::setName(*vdp, testkit::kPlaneA, 32, 1, 0, cell(2, 0, true));
  vdp->SetSprite(0, sprite(128, 128, 0x04, 1, cell(14, 3)));  // highlight operator, low
  vdp->SetSprite(1, sprite(128, 136, 0x00, 0, cell(14, 1)));  // a sprite's own colour 14

  // All low: the planes and the low sprite take the shadow mark, the operator highlights:
  // both marks cancel.
  const TPixelAccount low = InspectPixel(*vdp, kRenderAllLayers, 2, 2);
  EXPECT_TRUE(low.Marks.HighlightSprite);
  EXPECT_TRUE(low.Marks.NoHighPlane);
  EXPECT_TRUE(low.Marks.Cancelled);
  EXPECT_EQ(low.Marks.Marks, 0);
  EXPECT_EQ(low.Winner, TPixelLayer::plPlaneA);
  EXPECT_EQ(low.Code, 0x02);
  // A high plane A cell: no shadow; the operator in front of it (the sprite is low, so A wins
  // and carries no mark).
  const TPixelAccount high = InspectPixel(*vdp, kRenderAllLayers, 10, 2);
  EXPECT_FALSE(high.Marks.NoHighPlane);
  EXPECT_EQ(high.Code, 0x02);
  // The sprite's colour 14 of line 1 over a low plane would be shadowed, but shows unmarked.
  const TPixelAccount fourteen = InspectPixel(*vdp, kRenderAllLayers, 2, 10);
  EXPECT_EQ(fourteen.Winner, TPixelLayer::plSprite);
  EXPECT_TRUE(fourteen.Marks.Colour14);
  EXPECT_EQ(fourteen.Code, 0x1E);
  EXPECT_EQ(fourteen.Rgb, CRAMToRGB32(vdp->GetColor(0x1E)));
  // Without the exemption's case: a plane pixel alone in the shadow.
  const TPixelAccount shadow = InspectPixel(*vdp, kRenderAllLayers, 40, 40);
  EXPECT_EQ(shadow.Marks.Marks, 0x80);
  EXPECT_EQ(shadow.Rgb, CRAMToRGB32(uint16_t(vdp->GetColor(0) | kCRAMShadow)));
}

TEST(PixelInspectorTest, OutsideThePicture) {
  auto vdp = makeScene();
  EXPECT_FALSE(InspectPixel(*vdp, kRenderAllLayers, 256, 0).Inside);
  EXPECT_FALSE(InspectPixel(*vdp, kRenderAllLayers, 0, -1).Inside);
  EXPECT_TRUE(InspectPixel(*vdp, kRenderAllLayers, 255, 223).Inside);
  EXPECT_EQ(PixelSummary(InspectPixel(*vdp, kRenderAllLayers, 300, 0)),
            "300,0  outside the picture");
}

}  // namespace
}  // namespace vantor
