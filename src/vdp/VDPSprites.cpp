// Sprite attribute table entries, the display list and sprite drawing.
#include <algorithm>

#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternRows.h"
#include "vdp/SpriteLayer.h"

namespace vantor {

// Sprite attribute table entry, 8 bytes, words big-endian:
//   0-1 Y (10 bits; 9 in interlace mode 2) | 2 size 0000WWHH | 3 link | 4-5 attr | 6-7 X
void TMegaDriveVDP::GetSprite(uint8_t index, TSpriteEntry& entry) const {
  entry = TSpriteEntry{};
  if (index >= GetMetric(mkSpriteCount)) return;
  const uint32_t base = m_spriteTable + uint32_t(index) * 8;
  entry.Y = ReadVRAMWord(base) & (GetInterlaceMode() == 2 ? 0x1FF : 0x3FF);
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
  const uint32_t base = m_spriteTable + uint32_t(index) * 8;
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

namespace detail {

namespace {

// Stores the opaque pixels of np where dst holds nothing yet; nz marks np's opaque bytes.
inline void mergeFirstWins(uint8_t* dst, uint64_t np, uint64_t nz) {
  const uint64_t cur = load64(dst);
  store64(dst, cur | (np & nz & ~nonZeroBytes(cur)));
}

// Draws one sprite into the layer, keeping what earlier sprites left.
void drawIntoLayer(const TMegaDriveVDP& vdp, const TSpriteEntry& s, TSpriteLayer& layer) {
  const int cellHeight = vdp.CellHeight();
  const uint32_t patternBytes = uint32_t(vdp.GetMetric(mkPatternBytes));
  const bool hflip = (s.Attr & 0x0800) != 0, vflip = (s.Attr & 0x1000) != 0;
  const uint8_t code = uint8_t((s.Attr >> 15) << 7 | ((s.Attr >> 13) & 3) << 4);
  const uint64_t code64 = code * kEachByte;
  const int x0 = s.X + (hflip ? (s.CellsWide() - 1) * 8 : 0);
  const int y0 = s.Y + (vflip ? (s.CellsHigh() - 1) * cellHeight : 0);
  const int colStep = hflip ? -8 : 8, rowStep = vflip ? -cellHeight : cellHeight;
  const uint8_t* vram = vdp.VRAMData();
  const std::size_t stride = std::size_t(layer.Width());
  for (int c = 0; c < s.CellsWide(); ++c) {
    const int cellX = x0 + c * colStep;
    if (cellX + 8 <= layer.Left || cellX >= layer.Right) continue;
    const bool whole = cellX >= layer.Left && cellX + 8 <= layer.Right;
    for (int r = 0; r < s.CellsHigh(); ++r) {
      const int counter = c * s.CellsHigh() + r;
      const uint32_t pattern = uint32_t((s.Attr + counter) & 0x7FF) * patternBytes;
      const int cellY = y0 + r * rowStep;
      const int pr0 = std::max(0, layer.Top - cellY);
      const int pr1 = std::min(cellHeight, layer.Bottom - cellY);
      for (int pr = pr0; pr < pr1; ++pr) {
        const int dataRow = vflip ? cellHeight - 1 - pr : pr;
        // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
        const uint32_t address = (pattern + uint32_t(dataRow * 4)) & TMegaDriveVDP::kVramMask;
        const uint64_t px = decodePatternRow(vram + address, hflip);
        if (px == 0) continue;
        const uint64_t nz = nonZeroBytes(px);
        const uint64_t np = px | (code64 & nz);
        uint8_t* dst = layer.Bytes.data() + std::size_t(cellY + pr - layer.Top) * stride;
        if (whole) {
          mergeFirstWins(dst + (cellX - layer.Left), np, nz);
          continue;
        }
        for (int col = 0; col < 8; ++col) {
          const int sx = cellX + col;
          const uint8_t p = uint8_t(np >> (8 * col));
          if (sx < layer.Left || sx >= layer.Right || p == 0) continue;
          uint8_t& out = dst[sx - layer.Left];
          if (out == 0) out = p;
        }
      }
    }
  }
}

}  // namespace

void BuildSpriteLayer(const TMegaDriveVDP& vdp, uint16_t options, const TVDPRect& window,
                      TSpriteLayer& layer) {
  layer.Left = std::max(window.Left, 0);
  layer.Top = std::max(window.Top, 0);
  layer.Right = std::max(layer.Left, window.Right);
  layer.Bottom = std::max(layer.Top, window.Bottom);
  // Spare bytes: the composer reads whole groups of 16 past the last column.
  layer.Bytes.assign(std::size_t(layer.Width()) * std::size_t(layer.Bottom - layer.Top) + 16, 0);
  if (layer.Width() == 0 || layer.Bottom == layer.Top) return;
  vdp.ForEachChainedSprite([&](int index) {
    const TSpriteEntry s = vdp.GetSprite(uint8_t(index));
    const bool high = (s.Attr & 0x8000) != 0;
    if (!(options & (high ? kRenderSpritesHi : kRenderSpritesLo))) return;
    drawIntoLayer(vdp, s, layer);
  });
}

}  // namespace detail

}  // namespace vantor
