#include "document/SavestateImage.h"

#include <cstring>

#include "document/Errors.h"

namespace vantor {

void SavestateImage::Read(void* dst, std::size_t count) {
  ReadAt(m_position, dst, count);
  m_position += count;
}

void SavestateImage::Write(const void* src, std::size_t count) {
  WriteAt(m_position, src, count);
  m_position += count;
}

void SavestateImage::ReadAt(std::size_t offset, void* dst, std::size_t count) {
  if (!Holds(offset, count)) throw EFileError::StreamRead();
  if (count) std::memcpy(dst, m_data.data() + offset, count);
}

void SavestateImage::WriteAt(std::size_t offset, const void* src, std::size_t count) {
  if (count == 0) return;
  if (offset > kMaxImageBytes || count > kMaxImageBytes - offset) throw EFileError::StreamWrite();
  if (offset + count > m_data.size()) m_data.resize(offset + count, 0);
  std::memcpy(m_data.data() + offset, src, count);
}

}  // namespace vantor
