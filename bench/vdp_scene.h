// Busy VDP scenes for the benchmarks: everything the composer can be asked to do at once.
#pragma once

#include <cstdint>
#include <memory>
#include <random>

#include "vdp/MegaDriveVDP.h"

namespace vantor::bench {

// H40 x V28, 64 x 32 planes both scrolled per line, two-cell vertical scroll, a window over
// the top five cell rows, shadow/highlight on, dense random patterns with mixed priorities
// and flips, and a chain of `sprites` sprites of every size spread over the screen.
inline std::unique_ptr<TMegaDriveVDP> makeBusyScene(int sprites = 80, uint8_t planeSize = 0x01,
                                                    bool twoCellVScroll = true) {
  auto vdp = std::make_unique<TMegaDriveVDP>();
  std::mt19937 random(20260);
  uint8_t* vram = vdp->VRAMData();
  for (uint32_t i = 0; i < 0xA000; ++i)
    vram[i] = uint8_t(random());
  vdp->SetReg(1, 0x44);
  vdp->SetReg(2, 0x30);  // plane A 0xC000
  vdp->SetReg(3, 0x2C);  // window 0xB000
  vdp->SetReg(4, 0x07);  // plane B 0xE000
  vdp->SetReg(5, 0x54);  // sprites 0xA800
  vdp->SetReg(7, 0x21);
  vdp->SetReg(11, uint8_t(twoCellVScroll ? 0x07 : 0x03));
  vdp->SetReg(12, 0x89);  // H40, shadow/highlight
  vdp->SetReg(13, 0x2B);  // horizontal scroll 0xAC00
  vdp->SetReg(16, planeSize);
  vdp->SetReg(18, 5);
  const int cells = vdp->GetMetric(mkPlaneCellsWide) * vdp->GetMetric(mkPlaneCellsHigh);
  auto randomCell = [&] { return uint16_t(random() & 0xFBFF); };  // patterns below 0x400
  for (int i = 0; i < cells; ++i) {
    vdp->WriteVRAMWord(vdp->PlaneATable() + uint32_t(i) * 2, randomCell());
    vdp->WriteVRAMWord(vdp->PlaneBTable() + uint32_t(i) * 2, randomCell());
  }
  for (int i = 0; i < 64 * 32; ++i)
    vdp->WriteVRAMWord(0xB000 + uint32_t(i) * 2, randomCell());
  for (uint32_t line = 0; line < 240; ++line) {
    vdp->WriteVRAMWord(0xAC00 + line * 4, uint16_t(line * 3));
    vdp->WriteVRAMWord(0xAC00 + line * 4 + 2, uint16_t(1000 - line));
  }
  for (int i = 0; i < 40; ++i)
    vdp->SetVSRAMWord(i, uint16_t(random() & 0x3FF));
  for (int i = 0; i < 64; ++i)
    vdp->SetColor(uint8_t(i), uint16_t(random()));
  for (int i = 0; i < sprites; ++i) {
    TSpriteEntry s;
    s.X = uint16_t(96 + random() % 360);
    s.Y = uint16_t(96 + random() % 250);
    s.Size = uint8_t(random() & 0x0F);
    s.Link = uint8_t(i + 1 < sprites ? i + 1 : 0);
    s.Attr = uint16_t(random() & 0xFBFF);
    vdp->SetSprite(uint8_t(i), s);
  }
  return vdp;
}

}  // namespace vantor::bench
