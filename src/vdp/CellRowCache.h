// One cell row of a name table decoded into line bytes, cell by cell as the picture's rows ask
// for them, so that each cell's pattern is decoded once for all the rows it spans rather than
// once per row. Internal to the model.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "vdp/LineVectors.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternRows.h"

namespace vantor::detail {

// What the top five bits of a cell attribute word (P LL V H) mean to a line.
struct TCellAttr {
  uint64_t Code = 0;   // line byte bits O P LL in every lane, 0 when the half is not drawn
  uint32_t Drawn = 0;  // all ones when the cell's priority half is drawn
  uint32_t HFlip = 0;  // all ones with horizontal flip
  uint32_t VFlip = 0;  // 1 with vertical flip
};
using TCellAttrs = std::array<TCellAttr, 32>;

// The 64-bit value in every 8-byte group of the lanes.
template <class L>
[[gnu::always_inline]] inline typename L::Bytes splat64(uint64_t value) {
  uint64_t words[L::kCount / 8];
  for (uint64_t& w : words)
    w = value;
  return loadLanes<L>(words);
}

// Each 8-byte group (a pattern row of 8 pixels) in reverse order: the 16-bit words of each
// group reversed, then the two bytes of each word exchanged (shuffles the baseline has).
template <class L>
[[gnu::always_inline]] inline typename L::Bytes mirrorRows(typename L::Bytes p) {
  typename L::Words w;
  std::memcpy(&w, &p, L::kCount);
  if constexpr (L::kCount == 16) {
    w = __builtin_shufflevector(w, w, 3, 2, 1, 0, 7, 6, 5, 4);
  } else {
    w = __builtin_shufflevector(w, w, 3, 2, 1, 0, 7, 6, 5, 4, 11, 10, 9, 8, 15, 14, 13, 12);
  }
  w = (w << 8) | (w >> 8);
  std::memcpy(&p, &w, L::kCount);
  return p;
}

// Picture rows: CellHeight rows of (cells wide * 8) bytes, each cell's 8 columns filled when
// a row first asks for them.
class TCellRowCache {
 public:
  // Up to 128 cells wide; cellHeight 8 or 16.
  void Reset(const uint8_t* vram, uint32_t table, int cellsWide, int cellHeight, int patternShift,
             const TCellAttr* attrs) {
    m_vram = vram;
    m_table = table;
    m_cellsWide = cellsWide;
    m_cellHeight = cellHeight;
    m_patternShift = patternShift;
    m_attrs = attrs;
    m_stride = cellsWide * 8;
    m_bytes.assign(std::size_t(m_stride * cellHeight), 0);
    m_cellRow = -1;
  }

  int CellsWide() const { return m_cellsWide; }

  // Pixel row pixRow of cell row cellRow, with cells [first, first + count) decoded; the
  // cells wrap at the table's width (count at most the width).
  template <class L>
  [[gnu::always_inline]] const uint8_t* Row(int cellRow, int pixRow, int first, int count) {
    if (cellRow != m_cellRow) {
      m_cellRow = cellRow;
      m_decoded[0] = m_decoded[1] = 0;
      m_names = m_table + uint32_t(cellRow * m_cellsWide) * 2;
    }
    const int end = first + count;
    for (int word = 0; word * 64 < m_cellsWide; ++word) {
      const uint64_t needed = bitsBetween(first, std::min(end, m_cellsWide), word) |
                              bitsBetween(0, end - m_cellsWide, word);
      uint64_t missing = needed & ~m_decoded[word];
      m_decoded[word] |= needed;
      for (; missing != 0; missing &= missing - 1)
        decodeCell<L>(word * 64 + std::countr_zero(missing));
    }
    return m_bytes.data() + std::ptrdiff_t(pixRow) * m_stride;
  }

  // Whether a decoded cell's priority half is drawn.
  bool Drawn(int cell) const { return m_drawn[std::size_t(cell)] != 0; }

 private:
  // The bits of cells [lo, hi) that lie in the 64 cells of `word`.
  static uint64_t bitsBetween(int lo, int hi, int word) {
    lo = std::clamp(lo - 64 * word, 0, 64);
    hi = std::clamp(hi - 64 * word, 0, 64);
    if (lo >= hi) return 0;
    const uint64_t below = hi == 64 ? ~uint64_t(0) : (uint64_t(1) << hi) - 1;
    return below & ~((uint64_t(1) << lo) - 1);
  }

  // All rows of one cell: its pattern decoded a lane width at a time (4 or 8 pattern rows,
  // PatternRows.h), mirrored with a horizontal flip, stored bottom up with a vertical flip.
  template <class L>
  [[gnu::always_inline]] void decodeCell(int cell) {
    using V = typename L::Bytes;
    constexpr int kRows = L::kCount / 4;  // pattern rows per load
    uint16_t word;
    // Name tables start on even addresses, so a name word never straddles the end of VRAM.
    std::memcpy(&word, m_vram + ((m_names + uint32_t(cell) * 2) & TMegaDriveVDP::kVramMask), 2);
    word = __builtin_bswap16(word);
    const TCellAttr& attr = m_attrs[word >> 11];
    m_drawn[std::size_t(cell)] = attr.Drawn != 0;
    // Patterns are 32- or 64-byte aligned, so they never straddle the end of VRAM.
    const uint8_t* pattern =
        m_vram + ((uint32_t(word & 0x7FF) << m_patternShift) & TMegaDriveVDP::kVramMask);
    const V drawn = splat64<L>(attr.Drawn * 0x100000001ULL), code = splat64<L>(attr.Code);
    uint8_t* dst = m_bytes.data() + cell * 8;
    std::ptrdiff_t step = m_stride;
    if (attr.VFlip) {
      dst += std::ptrdiff_t(m_cellHeight - 1) * m_stride;
      step = -step;
    }
    for (int r = 0; r < m_cellHeight; r += kRows) {
      const V x = loadLanes<L>(pattern + 4 * r) & drawn;
      const V high = (x >> 4) & 0x0F, low = x & 0x0F;
      for (V p : {zipLow<L>(high, low), zipHigh<L>(high, low)}) {
        if (attr.HFlip) p = mirrorRows<L>(p);
        p = withCellCode<L>(p, code);
        for (int t = 0; t < kRows / 2; ++t, dst += step)
          std::memcpy(dst, reinterpret_cast<const uint8_t*>(&p) + 8 * t, 8);
      }
    }
  }

  const uint8_t* m_vram = nullptr;
  uint32_t m_table = 0;
  int m_cellsWide = 32;
  int m_cellHeight = 8;
  int m_patternShift = 5;
  const TCellAttr* m_attrs = nullptr;
  int m_stride = 256;
  std::vector<uint8_t> m_bytes;
  int m_cellRow = -1;
  uint32_t m_names = 0;
  uint64_t m_decoded[2] = {0, 0};
  std::array<uint8_t, 128> m_drawn{};
};

}  // namespace vantor::detail
