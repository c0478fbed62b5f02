// The sprite layer of the composed screen, built line by line.
#include "vdp/SpriteLayer.h"

#include <algorithm>

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

// What drawing a sprite row needs from the model, taken once per picture.
struct TRowSource {
  const uint8_t* Vram = nullptr;
  int CellHeight = 8;
  uint32_t PatternBytes = 32;
};

// Draws row sy of a sprite (its first `cells` columns of cells) into the layer's row dst,
// keeping what earlier sprites left there.
void drawSpriteRow(const TRowSource& source, const TLineSprite& drawn, int32_t sy,
                   const TSpriteLayer& layer, uint8_t* dst) {
  const TSpriteEntry& s = drawn.Sprite->Entry;
  const bool hflip = (s.Attr & kAttrHFlip) != 0;
  const int cellsHigh = s.CellsHigh(), cellsWide = s.CellsWide();
  // The row within the sprite's picture, counted from its top as stored.
  int row = sy - drawn.Sprite->Top;
  if (s.Attr & kAttrVFlip) row = cellsHigh * source.CellHeight - 1 - row;
  const int cellRow = row / source.CellHeight;
  const uint32_t rowOffset = uint32_t(row % source.CellHeight) * 4;
  const uint8_t code = uint8_t((s.Attr >> 15) << 7 | ((s.Attr >> 13) & 3) << 4);
  const uint64_t code64 = code * kEachByte;
  for (int c = 0; c < drawn.Cells; ++c) {
    const int32_t cellX = s.X + c * 8;
    if (cellX >= layer.Right) break;
    if (cellX + 8 <= layer.Left) continue;
    // Cells run down each column first; with a horizontal flip the last column shows first.
    const int column = hflip ? cellsWide - 1 - c : c;
    const uint32_t pattern = uint32_t((s.Attr + column * cellsHigh + cellRow) & 0x7FF);
    // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
    const uint32_t address = (pattern * source.PatternBytes + rowOffset) & TMegaDriveVDP::kVramMask;
    const uint64_t px = decodePatternRow(source.Vram + address, hflip);
    if (px == 0) continue;
    const uint64_t nz = nonZeroBytes(px);
    const uint64_t np = px | (code64 & nz);
    if (cellX >= layer.Left && cellX + 8 <= layer.Right) {
      mergeFirstWins(dst + (cellX - layer.Left), np, nz);
      continue;
    }
    for (int col = 0; col < 8; ++col) {
      const int32_t sx = cellX + col;
      const uint8_t p = uint8_t(np >> (8 * col));
      if (sx < layer.Left || sx >= layer.Right || p == 0) continue;
      uint8_t& out = dst[sx - layer.Left];
      if (out == 0) out = p;
    }
  }
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

void SelectLineSprites(const std::vector<TChainedSprite>& chain, int32_t sy,
                       const TSpriteLineRule& rule, std::vector<TLineSprite>& line) {
  line.clear();
  int sprites = 0, cells = 0;
  bool shownBefore = false;  // a sprite not at X 0 came earlier on this line
  for (const TChainedSprite& s : chain) {
    if (sy < s.Top || sy >= s.Bottom) continue;
    const int wide = s.Entry.CellsWide();
    if (!rule.Limits) {
      line.push_back({&s, wide});
      continue;
    }
    if (++sprites > rule.MaxSprites) break;
    if (s.Entry.X == 0 && shownBefore) break;  // masking
    shownBefore = shownBefore || s.Entry.X != 0;
    line.push_back({&s, std::min(wide, rule.MaxCells - cells)});
    cells += wide;
    if (cells >= rule.MaxCells) break;
  }
}

void BuildSpriteLayer(const TMegaDriveVDP& vdp, uint16_t options, const TVDPRect& window,
                      TSpriteLayer& layer) {
  layer.Left = std::max(window.Left, 0);
  layer.Top = std::max(window.Top, 0);
  layer.Right = std::max(layer.Left, window.Right);
  layer.Bottom = std::max(layer.Top, window.Bottom);
  // Spare bytes: the composer reads whole groups of 16 past the last column.
  layer.Bytes.assign(std::size_t(layer.Width()) * std::size_t(layer.Bottom - layer.Top) + 16, 0);
  if (layer.Width() == 0 || layer.Bottom == layer.Top) return;
  std::vector<TChainedSprite> chain;
  DecodeSpriteChain(vdp, chain);
  const TSpriteLineRule rule = SpriteLineRule(vdp, options);
  const TRowSource source{vdp.VRAMData(), vdp.CellHeight(),
                          uint32_t(vdp.GetMetric(mkPatternBytes))};
  std::vector<TLineSprite> line;
  line.reserve(chain.size());
  for (int32_t sy = layer.Top; sy < layer.Bottom; ++sy) {
    SelectLineSprites(chain, sy, rule, line);
    uint8_t* dst = layer.Bytes.data() + std::size_t(sy - layer.Top) * std::size_t(layer.Width());
    for (const TLineSprite& drawn : line) {
      const bool high = (drawn.Sprite->Entry.Attr & kAttrPriority) != 0;
      if (!(options & (high ? kRenderSpritesHi : kRenderSpritesLo))) continue;
      drawSpriteRow(source, drawn, sy, layer, dst);
    }
  }
}

}  // namespace vantor::detail
