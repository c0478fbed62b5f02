// Random VDP states for tests that compare something with the renderer on every pixel: random
// registers and memories, with sprites moved near the screen (some crowded onto the same
// lines, some at X 0) so that every sprite rule meets them.
#pragma once

#include <cstdint>
#include <memory>
#include <random>

#include "vdp/MegaDriveVDP.h"

namespace vantor::testkit {

class TRandomVDPState {
 public:
  explicit TRandomVDPState(uint32_t seed) : m_random(seed) {}

  uint32_t Next() { return m_random(); }

  std::unique_ptr<TMegaDriveVDP> Make() {
    auto vdp = std::make_unique<TMegaDriveVDP>();
    for (std::size_t i = 0; i < TMegaDriveVDP::kVramBytes; ++i) {
      // Plenty of zero nibbles, so that transparency and priorities both matter.
      const uint32_t r = Next();
      vdp->VRAMData()[i] = (r & 3) == 0 ? 0 : uint8_t(r >> 8);
    }
    for (int i = 0; i < TMegaDriveVDP::kCramEntries; ++i)
      vdp->SetCRAMWord(i, uint16_t(Next()));
    for (int i = 0; i < TMegaDriveVDP::kVsramEntries; ++i)
      vdp->SetVSRAMWord(i, uint16_t(Next()));
    for (uint8_t r = 0; r < TMegaDriveVDP::kRegisterCount; ++r)
      vdp->SetReg(r, uint8_t(Next()));
    if (Next() % 2) vdp->SetInterlaceMode(uint8_t(Next() % 3));
    if (Next() % 3 == 0) vdp->SetFlag(kFlagShadowHighlight, true);
    placeSprites(*vdp);
    return vdp;
  }

  // Any option word, the sprite rule included; both sprite halves and the console's limits
  // more often than not, so that the sprite rules show.
  uint16_t Options() {
    uint16_t options = uint16_t(Next() & 0x3FFF);
    if (Next() % 2) options |= kRenderSpritesLo | kRenderSpritesHi;
    if (Next() % 3) options &= uint16_t(~kRenderAllSprites);
    return options;
  }

 private:
  // One of five sprite scenes: the random table as it is; the whole table chained (now and
  // then cut short) and spread near the screen, one in eight at X 0 (masking); crowded into a
  // band of lines, one cell wide (the sprite limit) or as wide as they are (the cell limit),
  // hardly any at X 0; crowded with one in eight at X 0.
  void placeSprites(TMegaDriveVDP& vdp) {
    const uint32_t scene = Next() % 5;
    if (scene == 0) return;
    const bool crowded = scene >= 2;
    const bool narrow = scene == 2;
    const uint32_t zeroEvery = scene == 1 || scene == 4 ? 8 : 256;
    const int count = vdp.GetMetric(mkSpriteCount);
    const int top = 16 * vdp.CellHeight();
    for (int i = 0; i < count; ++i) {
      TSpriteEntry s = vdp.GetSprite(uint8_t(i));
      s.X = Next() % zeroEvery == 0 ? 0 : uint16_t(96 + Next() % 380);
      s.Y = uint16_t(crowded ? top - 8 + int(Next() % 32) : 96 + int(Next() % 300));
      s.Link = Next() % 64 == 0 ? 0 : uint8_t((i + 1) % count);
      if (narrow) s.Size &= 0x03;
      vdp.SetSprite(uint8_t(i), s);
    }
  }

  std::mt19937 m_random;
};

}  // namespace vantor::testkit
