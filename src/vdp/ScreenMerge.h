// Merging plane B, plane A (window included) and the sprite layer, sixteen pixels at a time.
// Internal to the model.
//
// Inputs, one byte per pixel:
//   sprite layer byte  P 0 LL CCCC   (0: no sprite pixel)
//   plane line byte    P O LL CCCC   (O: opaque; a transparent pixel keeps only P)
// Output: the pixel code  S H LL CCCC  (shadow, highlight, palette line, colour), with the
// backdrop colour in place of transparent results.
#pragma once

#include <cstdint>
#include <cstring>

namespace vantor::detail {

// Sixteen pixels, one per lane; the compiler maps the lane-wise operations onto the machine's
// vector instructions (or plain registers where it has none).
using TPixels16 = uint8_t __attribute__((vector_size(16)));
using TLaneTest16 = int8_t __attribute__((vector_size(16)));

inline TPixels16 load16(const uint8_t* p) {
  TPixels16 v;
  std::memcpy(&v, p, 16);
  return v;
}

struct TMergedGroup {
  TPixels16 Codes{};
  TPixels16 Transparent{};  // 0xFF where the result showed the backdrop
};

namespace merge {

inline TPixels16 lanes(TLaneTest16 test) {
  return reinterpret_cast<TPixels16&>(test);
}

// 0xFF in the lanes where the bits are all set.
inline TPixels16 allSet(TPixels16 x, uint8_t bits) {
  return lanes((x & bits) == bits);
}
inline TPixels16 equal(TPixels16 x, uint8_t value) {
  return lanes(x == value);
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
// is of high priority the planes (and a low-priority sprite) take the shadow mark. Both marks
// cancel. A sprite's own pixel of colour 14 in lines 0 to 2 is never marked; a plane pixel of
// colour 14 is marked like any other.
template <bool kShadowHighlight>
inline TMergedGroup mergeGroup(TPixels16 s, TPixels16 a, TPixels16 b, uint8_t background) {
  using namespace merge;
  const TPixels16 sP = allSet(s, 0x80), aP = allSet(a, 0x80), bP = allSet(b, 0x80);
  const TPixels16 aO = allSet(a, 0x40), bO = allSet(b, 0x40);
  const TPixels16 sv = s & 0x3F;
  TPixels16 sO = ~equal(s, 0);
  TPixels16 sMarks{}, planeMarks{};
  if constexpr (kShadowHighlight) {
    const TPixels16 highlight = equal(sv, 0x3E), shadow = equal(sv, 0x3F);
    sO &= ~(highlight | shadow);
    const TPixels16 noHighPlane = ~aP & ~bP;
    planeMarks = noHighPlane & 0x80;
    sMarks = (highlight & 0x40) | ((shadow | (noHighPlane & ~sP)) & 0x80);
  }
  // A plane of high priority in front of a low-priority sprite (rows 1 to 3).
  const TPixels16 pureA = ~sP & aP & aO;
  const TPixels16 pureB = ~sP & bP & bO & (~aP | ~aO);
  const TPixels16 rest = ~pureA & ~pureB;
  const TPixels16 useS = rest & sO;
  const TPixels16 planeWithSprite = rest & ~sO;  // SA or SB
  const TPixels16 aBeforeB = ~aP & bP;
  const TPixels16 chooseSB =
      (sP & ((aBeforeB & bO) | (~aBeforeB & ~aO))) | (~sP & ((~aP & ~bP & ~aO) | aP));
  const TPixels16 useA = pureA | (planeWithSprite & ~chooseSB);
  const TPixels16 useB = pureB | (planeWithSprite & chooseSB);
  TPixels16 v = ((a & useA) | (b & useB) | (sv & useS)) & 0x3F;
  if constexpr (kShadowHighlight) {
    v |= ((useS | planeWithSprite) & sMarks) | ((useA | useB) & planeMarks);
    v &= ~(allSet(v, 0xC0) & 0xC0);
    const TPixels16 unmarked = useS & equal(v & 0x0F, 0x0E) & ~allSet(v, 0x30);
    v &= ~(unmarked & 0xC0);
  }
  const TPixels16 transparent = equal(v & 0x0F, 0);
  v = (v & ~transparent) | (transparent & ((v & 0xC0) | background));
  return {v, transparent};
}

}  // namespace vantor::detail
