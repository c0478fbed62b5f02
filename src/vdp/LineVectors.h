// Byte vectors for the composer's lines, and the choice of the instructions they run on.
// Internal to the model.
//
// The composer is written once over "lanes": 16 bytes, which every x86-64 processor handles
// in one SSE2 instruction (and other processors with their own vector units), or 32 bytes for
// processors with AVX2, chosen at run time. The compiler maps the lane-wise operators of
// these vector types onto the machine's instructions; both widths give the same pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace vantor::detail {

struct TLanes16 {
  static constexpr int kCount = 16;
  using Bytes = uint8_t __attribute__((vector_size(16)));
  using Signed = int8_t __attribute__((vector_size(16)));
  using Words = uint16_t __attribute__((vector_size(16)));
};

struct TLanes32 {
  static constexpr int kCount = 32;
  using Bytes = uint8_t __attribute__((vector_size(32)));
  using Signed = int8_t __attribute__((vector_size(32)));
  using Words = uint16_t __attribute__((vector_size(32)));
};

template <class L>
[[gnu::always_inline]] inline typename L::Bytes loadLanes(const void* p) {
  typename L::Bytes v;
  std::memcpy(&v, p, L::kCount);
  return v;
}

template <class L>
[[gnu::always_inline]] inline void storeLanes(void* p, typename L::Bytes v) {
  std::memcpy(p, &v, L::kCount);
}

// A lane test (all ones or zero per lane) as bytes.
template <class L>
[[gnu::always_inline]] inline typename L::Bytes laneMask(typename L::Signed test) {
  typename L::Bytes v;
  std::memcpy(&v, &test, L::kCount);
  return v;
}

template <class L, std::size_t... I>
[[gnu::always_inline]] inline typename L::Bytes zipLanes(typename L::Bytes a, typename L::Bytes b,
                                                         std::index_sequence<I...>) {
  constexpr int N = L::kCount;
  return __builtin_shufflevector(a, b, int((I % 2) ? N + I / 2 : I / 2)...);
}

template <class L, std::size_t... I>
[[gnu::always_inline]] inline typename L::Bytes zipHighLanes(typename L::Bytes a,
                                                             typename L::Bytes b,
                                                             std::index_sequence<I...>) {
  constexpr int N = L::kCount;
  return __builtin_shufflevector(a, b, int((I % 2) ? N + N / 2 + I / 2 : N / 2 + I / 2)...);
}

// The lower halves of a and b interleaved: a0 b0 a1 b1 ... (and the upper halves).
template <class L>
[[gnu::always_inline]] inline typename L::Bytes zipLow(typename L::Bytes a, typename L::Bytes b) {
  return zipLanes<L>(a, b, std::make_index_sequence<L::kCount>{});
}
template <class L>
[[gnu::always_inline]] inline typename L::Bytes zipHigh(typename L::Bytes a, typename L::Bytes b) {
  return zipHighLanes<L>(a, b, std::make_index_sequence<L::kCount>{});
}

// --- Which width RenderScreen uses ------------------------------------------------------------

// True when the processor runs AVX2 and the composer has not been held to the baseline.
bool UseWideLanes();

// Holds the composer to the 16-byte baseline (true) or lets it use the widest lanes the
// processor offers (false, the default): tests compare both.
void HoldToBaselineLanes(bool hold);

}  // namespace vantor::detail
