// Eight pixels of a pattern row at a time, and a whole line's cells a vector at a time.
// Internal to the model.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "vdp/LineVectors.h"

namespace vantor::detail {

static_assert(std::endian::native == std::endian::little,
              "the pattern decoding loads words in little-endian order");

// The 8 pixels of the 4-byte pattern row at row4 as 8 bytes, the leftmost shown pixel in the
// lowest byte (little-endian order in memory); hflip mirrors them.
//   row bytes  b0 b1 b2 b3, each  HHHH LLLL, H the left pixel
//   result     0H(b0) 0L(b0) 0H(b1) 0L(b1) ... from the lowest byte up
inline uint64_t decodePatternRow(const uint8_t* row4, bool hflip) {
  uint32_t r;
  std::memcpy(&r, row4, 4);
  uint64_t y = r;
  y = (y | y << 16) & 0x0000FFFF0000FFFFULL;
  y = (y | y << 8) & 0x00FF00FF00FF00FFULL;
  const uint64_t px = ((y >> 4) & 0x000F000F000F000FULL) | (y & 0x000F000F000F000FULL) << 8;
  // Without a branch: flips are as good as random in real name tables.
  const uint64_t flip = uint64_t(0) - uint64_t(hflip);
  return (__builtin_bswap64(px) & flip) | (px & ~flip);
}

// 0xFF in every byte of x that is not zero, 0x00 elsewhere.
inline uint64_t nonZeroBytes(uint64_t x) {
  constexpr uint64_t k7F = 0x7F7F7F7F7F7F7F7FULL;
  const uint64_t high = (((x & k7F) + k7F) | x) & ~k7F;
  return (high >> 7) * 0xFF;
}

constexpr uint64_t kEachByte = 0x0101010101010101ULL;

inline uint64_t load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return v;
}

inline void store64(uint8_t* p, uint64_t v) {
  std::memcpy(p, &v, 8);
}

// The cells of one line, gathered so that their pattern rows can be decoded many at once:
// cell i covers line columns [First + 8 i, First + 8 i + 8). The arrays hold kSpare entries
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
};

// Line bytes of pattern pixels: the pixel, and the cell's O P LL bits where it is opaque or
// only P where it is transparent.
//   px | (code & (opaque lanes | 0x40))
template <class L>
[[gnu::always_inline]] inline typename L::Bytes withCellCode(typename L::Bytes px,
                                                             typename L::Bytes code) {
  const typename L::Bytes transparent = laneMask<L>(px == 0);
  return px | (code & ~(transparent & 0xBF));
}

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
