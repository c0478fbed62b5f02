#include "hexedit/HexChangeMarks.h"

#include <algorithm>

namespace vantor {

bool HexChangeMarks::Get(int64_t pos) const {
  if (pos < 0 || pos >= m_length) return false;
  return (m_words[static_cast<size_t>(pos >> 6)] >> (pos & 63)) & 1U;
}

void HexChangeMarks::Set(int64_t pos, bool marked) {
  if (pos < 0) return;
  if (pos >= m_length) {
    if (!marked) return;
    m_length = pos + 1;
    m_words.resize(static_cast<size_t>((m_length + 63) >> 6), 0);
  }
  const uint64_t bit = uint64_t{1} << (pos & 63);
  uint64_t& word = m_words[static_cast<size_t>(pos >> 6)];
  word = marked ? (word | bit) : (word & ~bit);
}

void HexChangeMarks::ShrinkTo(int64_t pos) {
  if (pos < 0) pos = 0;
  if (pos >= m_length) return;
  m_length = pos;
  m_words.resize(static_cast<size_t>((m_length + 63) >> 6));
  if (m_length & 63) m_words.back() &= (uint64_t{1} << (m_length & 63)) - 1;
}

bool HexChangeMarks::Any() const {
  return std::any_of(m_words.begin(), m_words.end(), [](uint64_t w) { return w != 0; });
}

void HexChangeMarks::CopyBits(int64_t pos, int64_t count, uint8_t* out) const {
  std::fill(out, out + (count + 7) / 8, uint8_t{0});
  const int64_t end = std::min(pos + count, m_length);
  for (int64_t p = std::max<int64_t>(pos, 0); p < end; ++p) {
    if (Get(p)) out[(p - pos) >> 3] |= static_cast<uint8_t>(1U << ((p - pos) & 7));
  }
}

void HexChangeMarks::RestoreBits(int64_t pos, int64_t count, const uint8_t* in) {
  for (int64_t i = 0; i < count; ++i)
    Set(pos + i, (in[i >> 3] >> (i & 7)) & 1U);
}

}  // namespace vantor
