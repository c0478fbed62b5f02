// Sprite attribute table entries, the display list and sprite drawing.
#include <algorithm>

#include "vdp/MegaDriveVDP.h"

namespace vantor {

// Sprite attribute table entry, 8 bytes, words big-endian:
//   0-1 Y (9 bits; 10 in interlace mode 2, where lines are twice as many)
//   2 size 0000WWHH | 3 link | 4-5 attr | 6-7 X (9 bits)
void TMegaDriveVDP::GetSprite(uint8_t index, TSpriteEntry& entry) const {
  entry = TSpriteEntry{};
  if (index >= GetMetric(mkSpriteCount)) return;
  const uint32_t base = SpriteEntryAddress(index);
  entry.Y = ReadVRAMWord(base) & (GetInterlaceMode() == 2 ? 0x3FF : 0x1FF);
  entry.Size = m_vram[(base + 2) & kVramMask] & 0x0F;
  entry.Link = m_vram[(base + 3) & kVramMask] & 0x7F;
  entry.Attr = ReadVRAMWord(base + 4);
  entry.X = ReadVRAMWord(base + 6) & 0x1FF;
}

TSpriteEntry TMegaDriveVDP::GetSprite(uint8_t index) const {
  TSpriteEntry entry;
  GetSprite(index, entry);
  return entry;
}

void TMegaDriveVDP::SetSprite(uint8_t index, const TSpriteEntry& entry) {
  if (index >= GetMetric(mkSpriteCount)) return;
  const uint32_t base = SpriteEntryAddress(index);
  WriteVRAMWord(base, entry.Y);
  m_vram[(base + 2) & kVramMask] = entry.Size;
  m_vram[(base + 3) & kVramMask] = entry.Link;
  WriteVRAMWord(base + 4, entry.Attr);
  WriteVRAMWord(base + 6, entry.X);
}

void TMegaDriveVDP::GetSpriteBounds(TVDPRect& rect) const {
  rect = TVDPRect{512, 1024, 0, 0};
  ForEachChainedSprite([&](int index) {
    const TSpriteEntry s = GetSprite(uint8_t(index));
    rect.Left = std::min<int32_t>(rect.Left, s.X);
    rect.Top = std::min<int32_t>(rect.Top, s.Y);
    rect.Right = std::max<int32_t>(rect.Right, s.X + s.CellsWide() * m_cellWidth);
    rect.Bottom = std::max<int32_t>(rect.Bottom, s.Y + s.CellsHigh() * m_cellHeight);
  });
}

TVDPRect TMegaDriveVDP::GetSpriteBounds() const {
  TVDPRect rect;
  GetSpriteBounds(rect);
  return rect;
}

void TMegaDriveVDP::DrawSprite(uint8_t index, const TSurfaceInfo& info, bool transparent,
                               bool atOrigin, int y, int x) const {
  const TSpriteEntry s = GetSprite(index);
  int colStep = m_cellWidth, rowStep = m_cellHeight;
  if (s.Attr & 0x0800) {
    x += (s.CellsWide() - 1) * m_cellWidth;
    colStep = -colStep;
  }
  if (s.Attr & 0x1000) {
    y += (s.CellsHigh() - 1) * m_cellHeight;
    rowStep = -rowStep;
  }
  if (!atOrigin) {
    y += s.Y;
    x += s.X;
  }
  int counter = 0;
  for (int c = 0; c < s.CellsWide(); ++c) {
    for (int r = 0; r < s.CellsHigh(); ++r, ++counter) {
      const uint16_t attr = uint16_t((s.Attr & 0xF800) | ((s.Attr + counter) & 0x7FF));
      DrawPattern(attr, info, transparent, y + r * rowStep, x + c * colStep);
    }
  }
}

}  // namespace vantor
