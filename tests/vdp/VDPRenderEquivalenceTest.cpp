// The renderer against the plain composer of the rules, on random states that exercise every
// register combination, option word, surface depth and origin.
#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "ReferenceRender.h"
#include "vdp/LineVectors.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

class RandomState {
 public:
  explicit RandomState(uint32_t seed) : m_random(seed) {}

  std::unique_ptr<TMegaDriveVDP> make() {
    auto vdp = std::make_unique<TMegaDriveVDP>();
    for (std::size_t i = 0; i < TMegaDriveVDP::kVramBytes; ++i) {
      // Plenty of zero nibbles, so transparency and priorities both matter.
      const uint32_t r = next();
      vdp->VRAMData()[i] = (r & 3) == 0 ? 0 : uint8_t(r >> 8);
    }
    for (int i = 0; i < 64; ++i)
      vdp->SetCRAMWord(i, uint16_t(next()));
    for (int i = 0; i < 40; ++i)
      vdp->SetVSRAMWord(i, uint16_t(next()));
    for (uint8_t r = 0; r < 24; ++r)
      vdp->SetReg(r, uint8_t(next()));
    if (next() % 2) vdp->SetInterlaceMode(uint8_t(next() % 3));
    if (next() % 4 == 0) vdp->SetReg(16, 0x33);  // the largest planes
    placeSprites(*vdp);
    return vdp;
  }

  // Every option bit, the sprite rule included.
  uint16_t options() { return uint16_t(next() & 0x3FFF); }
  int range(int lo, int hi) { return lo + int(next() % uint32_t(hi - lo + 1)); }

 private:
  uint32_t next() { return m_random(); }

  // Random tables give random chains; half the time the sprites are moved near the screen,
  // one in eight of them to X 0.
  void placeSprites(TMegaDriveVDP& vdp) {
    if (next() % 2) return;
    const int count = vdp.GetMetric(mkSpriteCount);
    for (int i = 0; i < count; ++i) {
      TSpriteEntry s = vdp.GetSprite(uint8_t(i));
      s.X = next() % 8 == 0 ? 0 : uint16_t(96 + next() % 380);
      s.Y = uint16_t(96 + next() % 300);
      s.Link = next() % 8 == 0 ? 0 : uint8_t(next() % uint32_t(count));
      vdp.SetSprite(uint8_t(i), s);
    }
  }

 public:
  // A random state whose whole table is chained and crowded into the top 40 lines of a screen
  // without interlace, so that every line meets the limits, the cell cut or masking. Narrow
  // sprites (one cell wide) reach the limit of sprites before the limit of cells.
  std::unique_ptr<TMegaDriveVDP> makeCrowded(bool h40, bool narrow) {
    auto vdp = make();
    vdp->SetReg(12, uint8_t((vdp->GetReg(12) & 0x08) | (h40 ? 0x81 : 0)));
    const int count = vdp->GetMetric(mkSpriteCount);
    for (int i = 0; i < count; ++i) {
      TSpriteEntry s = vdp->GetSprite(uint8_t(i));
      s.X = next() % 8 == 0 ? 0 : uint16_t(96 + next() % 380);
      s.Y = uint16_t(120 + next() % 40);
      s.Link = next() % 32 == 0 ? 0 : uint8_t((i + 1) % count);
      if (narrow) s.Size &= 0x03;
      vdp->SetSprite(uint8_t(i), s);
    }
    return vdp;
  }

 private:
  std::mt19937 m_random;
};

// The composer on the widest vector lanes the processor has and held to the baseline lanes
// every x86-64 processor has: both against the reference.
void expectSameRender(const TMegaDriveVDP& vdp, uint16_t options, uint8_t bpp, int32_t width,
                      int32_t height, int y, int x, const std::string& what) {
  TIndexedBitmap slow(width, height, bpp);
  for (std::size_t i = 0; i < slow.ByteSize(); ++i)
    slow.Bits()[i] = uint8_t(i * 7);  // for the backdrop-off case
  TIndexedBitmap fast = slow;
  reference::RenderScreen(vdp, GetSurfaceInfo(slow), options, y, x);
  for (const bool baseline : {false, true}) {
    TIndexedBitmap surface = fast;
    detail::HoldToBaselineLanes(baseline);
    vdp.RenderScreen(GetSurfaceInfo(surface), options, y, x);
    detail::HoldToBaselineLanes(false);
    for (int32_t row = 0; row < height; ++row) {
      for (int32_t col = 0; col < width; ++col) {
        ASSERT_EQ(surface.Pixel(col, row), slow.Pixel(col, row))
            << what << (baseline ? " (baseline lanes)" : "") << " pixel " << col << "," << row
            << " options " << std::hex << options;
      }
    }
  }
}

TEST(RenderEquivalenceTest, RandomStatesComposeAsTheLiteralAlgorithm) {
  RandomState random(77);
  for (int round = 0; round < 40; ++round) {
    auto vdp = random.make();
    const uint16_t options = random.options();
    int32_t w = 0, h = 0, refW = 0, refH = 0;
    ScreenPictureSize(*vdp, options, w, h);
    reference::PictureSize(*vdp, options, refW, refH);
    ASSERT_EQ(w, refW) << "round " << round;
    ASSERT_EQ(h, refH) << "round " << round;
    const std::string what = "round " + std::to_string(round);
    expectSameRender(*vdp, options, 8, w, h, 0, 0, what);
    if (HasFatalFailure()) return;
  }
}

TEST(RenderEquivalenceTest, CrowdedLinesFollowTheLimitsAndMasking) {
  RandomState random(31337);
  for (int round = 0; round < 16; ++round) {
    auto vdp = random.makeCrowded(round % 2 == 0, round % 4 < 2);
    // Both sprite halves drawn; the console's rule, and every sprite every other round.
    uint16_t options = uint16_t(random.options() & ~(kRenderVirtualScreen | kRenderAllSprites));
    options |= kRenderSpritesLo | kRenderSpritesHi;
    if (round % 8 >= 6) options |= kRenderAllSprites;
    int32_t w = 0, h = 0;
    ScreenPictureSize(*vdp, options, w, h);
    expectSameRender(*vdp, options, 8, w, h, 0, 0, "round " + std::to_string(round));
    if (HasFatalFailure()) return;
  }
}

TEST(RenderEquivalenceTest, EveryDepthAndOrigin) {
  RandomState random(4242);
  const uint8_t depths[] = {8, 15, 16, 24, 32};
  for (int round = 0; round < 30; ++round) {
    auto vdp = random.make();
    const uint16_t options = uint16_t(random.options() & ~kRenderVirtualScreen);
    const uint8_t bpp = depths[round % 5];
    const int32_t w = random.range(1, 340), h = random.range(1, 260);
    const std::string what = "round " + std::to_string(round);
    expectSameRender(*vdp, options, bpp, w, h, random.range(-40, 30), random.range(-40, 30), what);
    if (HasFatalFailure()) return;
  }
}

TEST(RenderEquivalenceTest, VirtualScreenWithOrigins) {
  RandomState random(9001);
  for (int round = 0; round < 12; ++round) {
    auto vdp = random.make();
    const uint16_t options = uint16_t(random.options() | kRenderVirtualScreen);
    const std::string what = "round " + std::to_string(round);
    expectSameRender(*vdp, options, 8, random.range(200, 1300), random.range(100, 700),
                     random.range(-300, 20), random.range(-300, 20), what);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace vantor
