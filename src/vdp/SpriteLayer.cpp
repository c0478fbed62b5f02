// The sprite layer of the composed screen, one picture row at a time.
#include "vdp/SpriteLayer.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "vdp/LineVectors.h"

namespace vantor::detail {

TSpriteLineRule SpriteLineRule(const TMegaDriveVDP& vdp, uint16_t options) {
  TSpriteLineRule rule;
  rule.Limits = (options & kRenderAllSprites) == 0;
  rule.MaxSprites = vdp.GetMetric(mkSpritesPerLine);
  rule.MaxCells = vdp.GetMetric(mkSpriteCellsPerLine);
  return rule;
}

void DecodeSpriteChain(const TMegaDriveVDP& vdp, std::vector<TChainedSprite>& chain) {
  chain.clear();
  vdp.ForEachChainedSprite([&](int index) {
    TChainedSprite s;
    s.Entry = vdp.GetSprite(uint8_t(index));
    s.Top = s.Entry.Y;
    s.Bottom = s.Top + s.Entry.CellsHigh() * vdp.CellHeight();
    chain.push_back(s);
  });
}

TSpriteRows::TSpriteRows(const TMegaDriveVDP& vdp, uint16_t options, int32_t left, int32_t top,
                         int32_t width, int32_t bottom)
    : m_vram(vdp.VRAMData()),
      m_cellHeight(vdp.CellHeight()),
      m_patternBytes(uint32_t(vdp.GetMetric(mkPatternBytes))),
      m_options(options),
      m_rule(SpriteLineRule(vdp, options)),
      m_left(left),
      m_top(top),
      m_width(std::max(width, 0)),
      m_bottom(std::max(top, bottom)) {
  if (!(options & (kRenderSpritesLo | kRenderSpritesHi)) || m_width == 0) {
    m_bottom = m_top;  // nothing is drawn on any row
    return;
  }
  DecodeSpriteChain(vdp, m_chain);
  // Sorted by row in one counting pass over each sprite's rows, keeping the chain order.
  const std::size_t rows = std::size_t(m_bottom - m_top);
  m_rowStart.assign(rows + 1, 0);
  auto covered = [&](const TChainedSprite& s, auto&& visit) {
    const int32_t from = std::max(s.Top, m_top), to = std::min(s.Bottom, m_bottom);
    for (int32_t sy = from; sy < to; ++sy)
      visit(std::size_t(sy - m_top));
  };
  for (const TChainedSprite& s : m_chain)
    covered(s, [&](std::size_t r) { ++m_rowStart[r + 1]; });
  for (std::size_t r = 0; r < rows; ++r)
    m_rowStart[r + 1] += m_rowStart[r];
  m_covering.resize(m_rowStart[rows]);
  std::vector<uint32_t> next(m_rowStart.begin(), m_rowStart.end() - 1);
  for (std::size_t c = 0; c < m_chain.size(); ++c)
    covered(m_chain[c], [&](std::size_t r) { m_covering[next[r]++] = uint8_t(c); });
  m_line.reserve(m_chain.size());
}

void TSpriteRows::selectLine(int32_t sy) {
  m_line.clear();
  const std::size_t r = std::size_t(sy - m_top);
  int sprites = 0, cells = 0;
  bool shownBefore = false;  // a sprite not at X 0 came earlier on this line
  for (uint32_t i = m_rowStart[r]; i < m_rowStart[r + 1]; ++i) {
    const TChainedSprite& s = m_chain[m_covering[i]];
    const int wide = s.Entry.CellsWide();
    if (!m_rule.Limits) {
      m_line.push_back({&s, wide});
      continue;
    }
    if (++sprites > m_rule.MaxSprites) break;
    if (s.Entry.X == 0 && shownBefore) break;  // masking
    shownBefore = shownBefore || s.Entry.X != 0;
    m_line.push_back({&s, std::min(wide, m_rule.MaxCells - cells)});
    cells += wide;
    if (cells >= m_rule.MaxCells) break;
  }
}

const uint8_t* TSpriteRows::Row(int32_t sy, uint8_t* line) {
  if (sy < m_top || sy >= m_bottom) return nullptr;
  const std::size_t r = std::size_t(sy - m_top);
  if (m_rowStart[r] == m_rowStart[r + 1]) return nullptr;
  selectLine(sy);
  bool drawn = false;
  for (const TLineSprite& sprite : m_line) {
    const bool high = sprite.Sprite->Entry.Priority();
    if (!(m_options & (high ? kRenderSpritesHi : kRenderSpritesLo))) continue;
    if (!drawn) std::memset(line, 0, std::size_t(m_width));
    drawn = true;
    drawSpriteRow(sprite, sy, line);
  }
  return drawn ? line : nullptr;
}

// Draws row sy of a sprite (its first `cells` columns of cells) into the row's bytes, keeping
// what earlier sprites left there. The sprite's (at most 4) pattern rows are decoded together
// into 32 bytes (as in CellRowCache.h) and merged 16 at a time where the row still holds 0. line
// has 32 spare bytes on either side for a sprite reaching past the row's ends.
void TSpriteRows::drawSpriteRow(const TLineSprite& drawn, int32_t sy, uint8_t* line) const {
  using L = TLanes16;
  using V = L::Bytes;
  const TSpriteEntry& s = drawn.Sprite->Entry;
  const int32_t x = int32_t(s.X) - m_left;
  if (x >= m_width || x + 8 * drawn.Cells <= 0) return;
  const bool hflip = s.HFlip();
  const int cellsHigh = s.CellsHigh(), cellsWide = s.CellsWide();
  // The row within the sprite's picture, counted from its top as stored.
  int row = sy - drawn.Sprite->Top;
  if (s.VFlip()) row = cellsHigh * m_cellHeight - 1 - row;
  const int cellRow = row / m_cellHeight;
  const uint32_t rowOffset = uint32_t(row % m_cellHeight) * 4;
  uint32_t rows[4] = {0, 0, 0, 0};
  for (int c = 0; c < drawn.Cells; ++c) {
    // Cells run down each column first; with a horizontal flip the last column shows first.
    const int column = hflip ? cellsWide - 1 - c : c;
    const uint32_t pattern = s.CellPattern(column * cellsHigh + cellRow);
    // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
    const uint32_t address = (pattern * m_patternBytes + rowOffset) & TMegaDriveVDP::kVramMask;
    std::memcpy(&rows[c], m_vram + address, 4);
    if (hflip) rows[c] = __builtin_bswap32(rows[c]);
  }
  const V bytes = loadLanes<L>(rows);
  V high = (bytes >> 4) & 0x0F, low = bytes & 0x0F;
  if (hflip) std::swap(high, low);  // with the bytes reversed: the cell mirrored
  // O P LL: 0x80 | priority << 6 | palette line << 4, where a pixel is opaque.
  const uint8_t code = uint8_t(0x80 | int(s.Priority()) << 6 | s.PalLine() << 4);
  uint8_t* dst = line + x;
  for (V px : {zipLow<L>(high, low), zipHigh<L>(high, low)}) {
    px |= code & ~laneMask<L>(px == 0);
    const V cur = loadLanes<L>(dst);
    storeLanes<L>(dst, cur | (px & laneMask<L>(cur == 0)));
    dst += L::kCount;
  }
}

}  // namespace vantor::detail
