#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

// The editor's data bytes. Every access outside the data raises
// "Data position/length out of data bounds".
class TQuorHMemoryStream {
 public:
  int64_t Size() const { return static_cast<int64_t>(m_bytes.size()); }
  // Growing fills the new bytes with zero.
  void SetSize(int64_t size);

  uint8_t* Data() { return m_bytes.data(); }
  const uint8_t* Data() const { return m_bytes.data(); }

  uint8_t At(int64_t pos) const;
  void Put(int64_t pos, uint8_t value);
  void Read(int64_t pos, int64_t length, uint8_t* dest) const;
  void Write(int64_t pos, const uint8_t* src, int64_t length);
  // Replaces [pos, pos + removed) by the inserted bytes; the size changes by the difference.
  void Splice(int64_t pos, int64_t removed, const uint8_t* src, int64_t inserted);
  void Assign(const uint8_t* src, size_t length);

  // Throws unless [pos, pos + length) lies inside the data.
  void CheckRange(int64_t pos, int64_t length) const;

 private:
  std::vector<uint8_t> m_bytes;
};

}  // namespace vantor
