// The cells of one picture row gathered one by one and then decoded many at once: the way of
// planes whose two-cell columns scroll vertically on their own, where neighbouring columns show
// different cell rows and a cell rarely keeps its place for all the rows it spans. Internal to
// the model.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "vdp/CellRowCache.h"
#include "vdp/LineVectors.h"

namespace vantor::detail {

// Cell i covers line columns [First + 8 i, First + 8 i + 8). The arrays hold kSpare entries
// past Count, which decode into the line's spare bytes.
struct TCellRun {
  static constexpr int kSpare = 8;
  int First = 0;
  int Count = 0;
  // The cell's 4 pattern row bytes as stored, in reverse order for a horizontally flipped cell
  // (whose two nibbles per byte the decoding then exchanges); 0 for a cell not drawn.
  std::vector<uint32_t> Rows;
  std::vector<uint32_t> Flips;  // all ones for a horizontally flipped cell
  std::vector<uint64_t> Codes;  // the cell's line byte bits O P LL in all 8 lanes, 0 if not drawn

  void Reserve(int cells) {
    const std::size_t n = std::size_t(cells + kSpare);
    Rows.assign(n, 0);
    Flips.assign(n, 0);
    Codes.assign(n, 0);
  }

  // Where one pixel row of one cell row lies: its name words, and the offset of the pattern
  // row within a pattern, [1] for vertically flipped cells.
  struct TSource {
    uint32_t Names = 0;
    uint32_t RowOffset[2] = {0, 0};
  };
  static TSource Source(const TCellTable& t, int cellRow, int pixRow) {
    TSource source;
    source.Names = t.Table + uint32_t(cellRow * t.CellsWide) * 2;
    source.RowOffset[0] = uint32_t(pixRow) * 4;
    source.RowOffset[1] = uint32_t(t.CellHeight - 1 - pixRow) * 4;
    return source;
  }

  // Stores a cell's pattern row as entry i.
  void Gather(const TCellTable& t, const TSource& source, int cell, int i) {
    uint16_t word;
    std::memcpy(&word, t.Vram + ((source.Names + uint32_t(cell) * 2) & TMegaDriveVDP::kVramMask),
                2);
    word = __builtin_bswap16(word);
    const TCellAttr& attr = t.Attrs[word >> 11];
    // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
    const uint32_t address =
        ((uint32_t(word & 0x7FF) << t.PatternShift) + source.RowOffset[attr.VFlip]) &
        TMegaDriveVDP::kVramMask;
    uint32_t bytes;
    std::memcpy(&bytes, t.Vram + address, 4);
    bytes &= attr.Drawn;
    const std::size_t at = std::size_t(i);
    Rows[at] = attr.HFlip ? __builtin_bswap32(bytes) : bytes;
    Flips[at] = attr.HFlip;
    Codes[at] = attr.Code;
  }
};

// Writes the line bytes of all cells of run into line (from column run.First), a lane width of
// pattern rows at a time: 16 bytes hold 4 rows (32 pixels), 32 bytes 8 rows. Each byte
// HHHH LLLL becomes the two pixels 0H 0L by splitting the nibbles and interleaving them;
// exchanging the nibbles first, where a flipped cell's mask says so, completes its mirror
// image. line needs room for 8 * (kSpare - 1) bytes past the last cell.
template <class L>
[[gnu::always_inline]] inline void decodeCells(const TCellRun& run, uint8_t* line) {
  using V = typename L::Bytes;
  constexpr int kCells = L::kCount / 4;
  static_assert(kCells <= TCellRun::kSpare);
  uint8_t* dst = line + run.First;
  for (int i = 0; i < run.Count; i += kCells, dst += 8 * kCells) {
    const V x = loadLanes<L>(&run.Rows[std::size_t(i)]);
    const V flip = loadLanes<L>(&run.Flips[std::size_t(i)]);
    V high = (x >> 4) & 0x0F, low = x & 0x0F;
    const V exchange = (high ^ low) & flip;
    high ^= exchange;
    low ^= exchange;
    const V codes0 = loadLanes<L>(&run.Codes[std::size_t(i)]);
    const V codes1 = loadLanes<L>(&run.Codes[std::size_t(i + kCells / 2)]);
    storeLanes<L>(dst, withCellCode<L>(zipLow<L>(high, low), codes0));
    storeLanes<L>(dst + L::kCount, withCellCode<L>(zipHigh<L>(high, low), codes1));
  }
}

}  // namespace vantor::detail
