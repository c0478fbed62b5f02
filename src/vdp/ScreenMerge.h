// Merging plane B, plane A (window included) and the sprite layer, eight pixels at a time.
// Internal to the model.
//
// Inputs, one byte per pixel in each 64-bit group (leftmost pixel in the lowest byte):
//   sprite layer byte  P 0 LL CCCC   (0: no sprite pixel)
//   plane line byte    P O LL CCCC   (O: opaque; a transparent pixel keeps only P)
// Output: the pixel code  S H LL CCCC  (shadow, highlight, palette line, colour), with the
// backdrop colour in place of transparent results.
#pragma once

#include <cstdint>

#include "vdp/PatternRows.h"

namespace vantor::detail {

struct TMergedGroup {
  uint64_t Codes = 0;
  uint64_t Transparent = 0;  // 0xFF where the result showed the backdrop
};

namespace merge {

constexpr uint64_t k01 = kEachByte;
constexpr uint64_t k3F = 0x3F * k01;
constexpr uint64_t k40 = 0x40 * k01;
constexpr uint64_t k80 = 0x80 * k01;
constexpr uint64_t kMarks = k40 | k80;

// 0xFF in the bytes whose given bit is set.
template <int kBit>
inline uint64_t bitMask(uint64_t x) {
  return ((x >> kBit) & k01) * 0xFF;
}

// 0xFF in the bytes equal to value.
inline uint64_t equalMask(uint64_t x, uint8_t value) {
  return ~nonZeroBytes(x ^ (value * k01));
}

}  // namespace merge

// The selection of each pixel by the priorities of sprite, A and B (N = S*4 + A*2 + B):
//   N 0, 4, 6, 7: S if opaque; else SA if A is opaque; else SB
//   N 1: B if opaque; else S if opaque; else SA
//   N 2: A if opaque; else S if opaque; else SB
//   N 3: A if opaque; else B if opaque; else S
//   N 5: S if opaque; else SB if B is opaque; else SA
// SA and SB are the plane's value carrying the sprite's marks. With shadow/highlight, sprite
// colours 0x3E and 0x3F are transparent highlight and shadow operators, and when neither plane
// is of high priority the planes (and a low-priority sprite) take the shadow mark.
template <bool kShadowHighlight>
inline TMergedGroup mergeGroup(uint64_t s, uint64_t a, uint64_t b, uint64_t background) {
  using namespace merge;
  const uint64_t sP = bitMask<7>(s), aP = bitMask<7>(a), bP = bitMask<7>(b);
  const uint64_t aO = bitMask<6>(a), bO = bitMask<6>(b);
  const uint64_t sv = s & k3F;
  uint64_t sO = nonZeroBytes(s);
  uint64_t sMarks = 0, planeMarks = 0;
  if constexpr (kShadowHighlight) {
    const uint64_t highlight = equalMask(sv, 0x3E), shadow = equalMask(sv, 0x3F);
    sO &= ~(highlight | shadow);
    const uint64_t noHighPlane = ~aP & ~bP;
    planeMarks = noHighPlane & k80;
    sMarks = (highlight & k40) | ((shadow | (noHighPlane & ~sP)) & k80);
  }
  // A plane of high priority in front of a low-priority sprite (rows 1 to 3).
  const uint64_t pureA = ~sP & aP & aO;
  const uint64_t pureB = ~sP & bP & bO & (~aP | ~aO);
  const uint64_t rest = ~pureA & ~pureB;
  const uint64_t useS = rest & sO;
  const uint64_t planeWithSprite = rest & ~sO;  // SA or SB
  const uint64_t aBeforeB = ~aP & bP;
  const uint64_t chooseSB =
      (sP & ((aBeforeB & bO) | (~aBeforeB & ~aO))) | (~sP & ((~aP & ~bP & ~aO) | aP));
  const uint64_t useA = pureA | (planeWithSprite & ~chooseSB);
  const uint64_t useB = pureB | (planeWithSprite & chooseSB);
  uint64_t v = ((a & useA) | (b & useB) | (sv & useS)) & k3F;
  if constexpr (kShadowHighlight) {
    v |= ((useS | planeWithSprite) & sMarks) | ((useA | useB) & planeMarks);
    // Both marks cancel; colour 14 of lines 0 to 2 is never marked.
    v &= ~(bitMask<6>(v) & bitMask<7>(v) & kMarks);
    const uint64_t fourteen = equalMask(v & (0x0F * k01), 0x0E);
    const uint64_t line3 = equalMask(v & (0x30 * k01), 0x30);
    v &= ~(fourteen & ~line3 & kMarks);
  }
  const uint64_t transparent = ~nonZeroBytes(v & (0x0F * k01));
  v = (v & ~transparent) | (transparent & ((v & kMarks) | background));
  return {v, transparent};
}

}  // namespace vantor::detail
