// A cell row of a name table decoded into line bytes, cell by cell as the picture's rows ask
// for them, so that each cell's pattern is decoded once for all the rows it spans rather than
// once per row; and what every way of drawing cells shares. Internal to the model.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "vdp/LineVectors.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor::detail {

constexpr uint64_t kEachByte = 0x0101010101010101ULL;

// What the top five bits of a cell attribute word (P LL V H) mean to a line.
struct TCellAttr {
  uint64_t Code = 0;   // line byte bits O P LL in every lane, 0 when the half is not drawn
  uint32_t Drawn = 0;  // all ones when the cell's priority half is drawn
  uint32_t HFlip = 0;  // all ones with horizontal flip
  uint32_t VFlip = 0;  // 1 with vertical flip
};
using TCellAttrs = std::array<TCellAttr, 32>;

// Line bytes of pattern pixels: the pixel, and the cell's O P LL bits where it is opaque or
// only P where it is transparent.
//   px | (code & (opaque lanes | 0x40))
template <class L>
[[gnu::always_inline]] inline typename L::Bytes withCellCode(typename L::Bytes px,
                                                             typename L::Bytes code) {
  const typename L::Bytes transparent = laneMask<L>(px == 0);
  return px | (code & ~(transparent & 0xBF));
}

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

// Where a name table's cells come from.
struct TCellTable {
  const uint8_t* Vram = nullptr;
  uint32_t Table = 0;    // address of the name table
  int CellsWide = 32;    // up to 128
  int CellsHigh = 32;    // up to 128
  int CellHeight = 8;    // 8 or 16
  int PatternShift = 5;  // log2 of the pattern size in bytes
  const TCellAttr* Attrs = nullptr;
};

// The name word of a cell, read big-endian. Name tables start on even addresses, so a word
// never straddles the end of VRAM.
inline uint16_t NameWord(const TCellTable& t, int cellRow, int cell) {
  const uint32_t name = t.Table + uint32_t(cellRow * t.CellsWide + cell) * 2;
  uint16_t word;
  std::memcpy(&word, t.Vram + (name & TMegaDriveVDP::kVramMask), 2);
  return __builtin_bswap16(word);
}

// One cell row of a name table as picture rows: CellHeight rows of (cells wide * 8) line bytes,
// a cell's 8 columns decoded when a row first asks for them. Asking for another cell row drops
// the one held: the picture's rows go down the planes and the window in order.
class TCellRowCache {
 public:
  void Reset(const TCellTable& table) {
    m_table = table;
    m_stride = table.CellsWide * 8;
    m_bytes.assign(std::size_t(table.CellHeight * m_stride), 0);
    m_cellRow = -1;
  }

  // Pixel row pixRow of cell row cellRow, with cells [first, first + count) decoded; the
  // cells wrap at the table's width (count at most the width).
  template <class L>
  [[gnu::always_inline]] const uint8_t* Row(int cellRow, int pixRow, int first, int count) {
    if (cellRow != m_cellRow) {
      m_cellRow = cellRow;
      m_decoded[0] = m_decoded[1] = 0;
    }
    const int end = first + count, wide = m_table.CellsWide;
    for (int word = 0; word * 64 < wide; ++word) {
      const uint64_t needed =
          bitsBetween(first, std::min(end, wide), word) | bitsBetween(0, end - wide, word);
      uint64_t missing = needed & ~m_decoded[word];
      m_decoded[word] |= needed;
      for (; missing != 0; missing &= missing - 1)
        decodeCell<L>(word * 64 + std::countr_zero(missing));
    }
    return m_bytes.data() + std::ptrdiff_t(pixRow) * m_stride;
  }

  // Whether a decoded cell of the cell row held has its priority half drawn.
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

  // All rows of one cell: its pattern decoded a lane width at a time (4 or 8 pattern rows of
  // 4 bytes HHHH LLLL become 8 pixels 0H 0L by splitting the nibbles and interleaving them),
  // mirrored with a horizontal flip, stored bottom up with a vertical flip.
  template <class L>
  [[gnu::always_inline]] void decodeCell(int cell) {
    using V = typename L::Bytes;
    constexpr int kRows = L::kCount / 4;  // pattern rows per load
    const TCellTable& t = m_table;
    const uint16_t word = NameWord(t, m_cellRow, cell);
    const TCellAttr& attr = t.Attrs[word >> 11];
    m_drawn[std::size_t(cell)] = attr.Drawn != 0;
    // Patterns are 32- or 64-byte aligned, so they never straddle the end of VRAM.
    const uint8_t* pattern =
        t.Vram + ((uint32_t(word & 0x7FF) << t.PatternShift) & TMegaDriveVDP::kVramMask);
    const V drawn = splat64<L>(attr.Drawn * 0x100000001ULL), code = splat64<L>(attr.Code);
    uint8_t* dst = m_bytes.data() + cell * 8;
    std::ptrdiff_t step = m_stride;
    if (attr.VFlip) {
      dst += std::ptrdiff_t(t.CellHeight - 1) * m_stride;
      step = -step;
    }
    for (int r = 0; r < t.CellHeight; r += kRows) {
      const V x = loadLanes<L>(pattern + 4 * r) & drawn;
      const V high = (x >> 4) & 0x0F, low = x & 0x0F;
      for (V p : {zipLow<L>(high, low), zipHigh<L>(high, low)}) {
        if (attr.HFlip) p = mirrorRows<L>(p);
        p = withCellCode<L>(p, code);
        for (int i = 0; i < kRows / 2; ++i, dst += step)
          std::memcpy(dst, reinterpret_cast<const uint8_t*>(&p) + 8 * i, 8);
      }
    }
  }

  TCellTable m_table;
  int m_stride = 256;
  std::vector<uint8_t> m_bytes;
  int m_cellRow = -1;
  uint64_t m_decoded[2] = {0, 0};  // a bit per decoded cell
  std::array<uint8_t, 128> m_drawn{};
};

}  // namespace vantor::detail
