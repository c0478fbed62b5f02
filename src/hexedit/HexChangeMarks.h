#pragma once

#include <cstdint>
#include <vector>

namespace vantor {

// One bit per byte position telling that the byte was changed. The set grows only when
// a bit is set; positions beyond its length count as unmarked.
class HexChangeMarks {
 public:
  bool Get(int64_t pos) const;
  void Set(int64_t pos, bool marked);
  // Clears every mark from pos on.
  void ShrinkTo(int64_t pos);
  void Clear() {
    m_words.clear();
    m_length = 0;
  }
  int64_t Length() const { return m_length; }
  bool Any() const;

  // Packs count bits from pos into out (bit i of the range = out[i / 8] bit i % 8).
  void CopyBits(int64_t pos, int64_t count, uint8_t* out) const;
  // Sets count bits from pos from a packed copy.
  void RestoreBits(int64_t pos, int64_t count, const uint8_t* in);

 private:
  std::vector<uint64_t> m_words;
  int64_t m_length = 0;
};

}  // namespace vantor
