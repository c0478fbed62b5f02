// Eight pixels of a pattern row at a time. Internal to the model.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

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

}  // namespace vantor::detail
