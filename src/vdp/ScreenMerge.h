// Merging plane B, plane A (window included) and the sprite layer, a vector of pixels at a
// time. Internal to the model.
//
// Inputs, one byte per pixel, the same for all three lines:
//   line byte  O P LL CCCC   (O: opaque; P: priority; a transparent pixel keeps only P;
//                             a sprite line holds 0 where no sprite is opaque)
// Output: the pixel code  S H LL CCCC  (shadow, highlight, palette line, colour), with the
// backdrop colour in place of transparent results.
#pragma once

#include <cstdint>

#include "vdp/LineVectors.h"

namespace vantor::detail {

template <class L>
struct TMerged {
  typename L::Bytes Codes{};
  typename L::Bytes Transparent{};  // 0xFF where the result showed the backdrop
};

namespace merge {

// 0xFF in the lanes where the bits are all set.
template <class L>
[[gnu::always_inline]] inline typename L::Bytes allSet(typename L::Bytes x, uint8_t bits) {
  return laneMask<L>((x & bits) == bits);
}
template <class L>
[[gnu::always_inline]] inline typename L::Bytes equal(typename L::Bytes x, uint8_t value) {
  return laneMask<L>(x == value);
}

}  // namespace merge

// Without shadow/highlight the selection table below comes down to one order of six layers:
// opaque high-priority layers before opaque low-priority ones, and at equal priority the
// sprite before A before B. Each line's rank is its byte's top bits O P with the layer's
// place below; the largest rank shows, and a rank without O means the backdrop.
template <class L>
[[gnu::always_inline]] inline TMerged<L> mergePlain(typename L::Bytes s, typename L::Bytes a,
                                                    typename L::Bytes b, uint8_t background) {
  using V = typename L::Bytes;
  const V rankS = (s & 0xC0) | 2, rankA = (a & 0xC0) | 1, rankB = b & 0xC0;
  const V topSA = rankS > rankA ? rankS : rankA;  // byte maximum
  const V top = topSA > rankB ? topSA : rankB;
  const V fromS = laneMask<L>(top == rankS), fromA = laneMask<L>(top == rankA);
  const V v = (s & fromS) | (a & fromA) | (b & ~(fromS | fromA));
  const V transparent = laneMask<L>(reinterpret_cast<const typename L::Signed&>(top) >= 0);
  return {((v & 0x3F) & ~transparent) | (transparent & background), transparent};
}

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
template <class L>
[[gnu::always_inline]] inline TMerged<L> mergeShadowHighlight(typename L::Bytes s,
                                                              typename L::Bytes a,
                                                              typename L::Bytes b,
                                                              uint8_t background) {
  using namespace merge;
  using V = typename L::Bytes;
  const V sP = allSet<L>(s, 0x40), aP = allSet<L>(a, 0x40), bP = allSet<L>(b, 0x40);
  const V aO = allSet<L>(a, 0x80), bO = allSet<L>(b, 0x80);
  const V sv = s & 0x3F;
  const V highlight = equal<L>(sv, 0x3E), shadow = equal<L>(sv, 0x3F);
  const V sO = allSet<L>(s, 0x80) & ~(highlight | shadow);
  const V noHighPlane = ~aP & ~bP;
  const V planeMarks = noHighPlane & 0x80;
  const V sMarks = (highlight & 0x40) | ((shadow | (noHighPlane & ~sP)) & 0x80);
  // A plane of high priority in front of a low-priority sprite (rows 1 to 3).
  const V pureA = ~sP & aP & aO;
  const V pureB = ~sP & bP & bO & (~aP | ~aO);
  const V rest = ~pureA & ~pureB;
  const V useS = rest & sO;
  const V planeWithSprite = rest & ~sO;  // SA or SB
  const V aBeforeB = ~aP & bP;
  const V chooseSB =
      (sP & ((aBeforeB & bO) | (~aBeforeB & ~aO))) | (~sP & ((~aP & ~bP & ~aO) | aP));
  const V useA = pureA | (planeWithSprite & ~chooseSB);
  const V useB = pureB | (planeWithSprite & chooseSB);
  V v = ((a & useA) | (b & useB) | (sv & useS)) & 0x3F;
  v |= ((useS | planeWithSprite) & sMarks) | ((useA | useB) & planeMarks);
  v &= ~(allSet<L>(v, 0xC0) & 0xC0);
  const V unmarked = useS & equal<L>(v & 0x0F, 0x0E) & ~allSet<L>(v, 0x30);
  v &= ~(unmarked & 0xC0);
  const V transparent = equal<L>(v & 0x0F, 0);
  return {(v & ~transparent) | (transparent & ((v & 0xC0) | background)), transparent};
}

template <class L, bool kShadowHighlight>
[[gnu::always_inline]] inline TMerged<L> mergeLanes(typename L::Bytes s, typename L::Bytes a,
                                                    typename L::Bytes b, uint8_t background) {
  if constexpr (kShadowHighlight) {
    return mergeShadowHighlight<L>(s, a, b, background);
  } else {
    return mergePlain<L>(s, a, b, background);
  }
}

}  // namespace vantor::detail
