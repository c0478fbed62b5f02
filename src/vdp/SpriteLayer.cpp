// The sprite layer of the composed screen, one picture row at a time.
#include "vdp/SpriteLayer.h"

#include <algorithm>
#include <cstring>

#include "vdp/PatternRows.h"

namespace vantor::detail {

namespace {

constexpr uint16_t kAttrPriority = 0x8000;
constexpr uint16_t kAttrVFlip = 0x1000;
constexpr uint16_t kAttrHFlip = 0x0800;

// Stores the opaque pixels of np where dst holds nothing yet; nz marks np's opaque bytes.
inline void mergeFirstWins(uint8_t* dst, uint64_t np, uint64_t nz) {
  const uint64_t cur = load64(dst);
  store64(dst, cur | (np & nz & ~nonZeroBytes(cur)));
}

}  // namespace

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
    const bool high = (sprite.Sprite->Entry.Attr & kAttrPriority) != 0;
    if (!(m_options & (high ? kRenderSpritesHi : kRenderSpritesLo))) continue;
    if (!drawn) std::memset(line, 0, std::size_t(m_width));
    drawn = true;
    drawSpriteRow(sprite, sy, line);
  }
  return drawn ? line : nullptr;
}

// Draws row sy of a sprite (its first `cells` columns of cells) into the row's bytes, keeping
// what earlier sprites left there.
void TSpriteRows::drawSpriteRow(const TLineSprite& drawn, int32_t sy, uint8_t* line) const {
  const TSpriteEntry& s = drawn.Sprite->Entry;
  const bool hflip = (s.Attr & kAttrHFlip) != 0;
  const int cellsHigh = s.CellsHigh(), cellsWide = s.CellsWide();
  // The row within the sprite's picture, counted from its top as stored.
  int row = sy - drawn.Sprite->Top;
  if (s.Attr & kAttrVFlip) row = cellsHigh * m_cellHeight - 1 - row;
  const int cellRow = row / m_cellHeight;
  const uint32_t rowOffset = uint32_t(row % m_cellHeight) * 4;
  // O P LL: 0x80 | priority << 6 | palette line << 4
  const uint8_t code = uint8_t(0x80 | (s.Attr >> 15) << 6 | ((s.Attr >> 13) & 3) << 4);
  const uint64_t code64 = code * kEachByte;
  const int32_t right = m_left + m_width;
  for (int c = 0; c < drawn.Cells; ++c) {
    const int32_t cellX = s.X + c * 8;
    if (cellX >= right) break;
    if (cellX + 8 <= m_left) continue;
    // Cells run down each column first; with a horizontal flip the last column shows first.
    const int column = hflip ? cellsWide - 1 - c : c;
    const uint32_t pattern = uint32_t((s.Attr + column * cellsHigh + cellRow) & 0x7FF);
    // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
    const uint32_t address = (pattern * m_patternBytes + rowOffset) & TMegaDriveVDP::kVramMask;
    const uint64_t px = decodePatternRow(m_vram + address, hflip);
    if (px == 0) continue;
    const uint64_t nz = nonZeroBytes(px);
    const uint64_t np = px | (code64 & nz);
    if (cellX >= m_left && cellX + 8 <= right) {
      mergeFirstWins(line + (cellX - m_left), np, nz);
      continue;
    }
    for (int col = 0; col < 8; ++col) {
      const int32_t sx = cellX + col;
      const uint8_t p = uint8_t(np >> (8 * col));
      if (sx < m_left || sx >= right || p == 0) continue;
      uint8_t& out = line[sx - m_left];
      if (out == 0) out = p;
    }
  }
}

}  // namespace vantor::detail
