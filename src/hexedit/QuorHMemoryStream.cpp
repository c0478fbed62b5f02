#include "hexedit/QuorHMemoryStream.h"

#include <algorithm>
#include <cstring>

#include "hexedit/QuorHexEditorError.h"

namespace vantor {

void TQuorHMemoryStream::SetSize(int64_t size) {
  if (size < 0) throw EQuorHexEditor(kErrOutOfBounds);
  m_bytes.resize(static_cast<size_t>(size), 0);
}

void TQuorHMemoryStream::CheckRange(int64_t pos, int64_t length) const {
  if (pos < 0 || length < 0 || pos > Size() || length > Size() - pos) {
    throw EQuorHexEditor(kErrOutOfBounds);
  }
}

uint8_t TQuorHMemoryStream::At(int64_t pos) const {
  CheckRange(pos, 1);
  return m_bytes[static_cast<size_t>(pos)];
}

void TQuorHMemoryStream::Put(int64_t pos, uint8_t value) {
  CheckRange(pos, 1);
  m_bytes[static_cast<size_t>(pos)] = value;
}

void TQuorHMemoryStream::Read(int64_t pos, int64_t length, uint8_t* dest) const {
  CheckRange(pos, length);
  if (length > 0) std::memcpy(dest, m_bytes.data() + pos, static_cast<size_t>(length));
}

void TQuorHMemoryStream::Write(int64_t pos, const uint8_t* src, int64_t length) {
  CheckRange(pos, length);
  if (length > 0) std::memmove(m_bytes.data() + pos, src, static_cast<size_t>(length));
}

void TQuorHMemoryStream::Splice(int64_t pos, int64_t removed, const uint8_t* src,
                                int64_t inserted) {
  CheckRange(pos, removed);
  if (inserted < 0) throw EQuorHexEditor(kErrOutOfBounds);
  const auto at = m_bytes.begin() + pos;
  const int64_t common = std::min(removed, inserted);
  if (common > 0) std::memmove(&*at, src, static_cast<size_t>(common));
  if (removed > inserted) {
    m_bytes.erase(at + common, at + removed);
  } else if (inserted > removed) {
    m_bytes.insert(at + common, src + common, src + inserted);
  }
}

void TQuorHMemoryStream::Assign(const uint8_t* src, size_t length) {
  m_bytes.assign(src, src + length);
}

}  // namespace vantor
