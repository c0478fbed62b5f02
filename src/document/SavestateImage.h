// The savestate held whole in memory: a growable byte buffer with a current position.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/FieldSpec.h"

namespace vantor {

class SavestateImage {
 public:
  // At most this many bytes of a file become the image.
  static constexpr std::size_t kMaxFileBytes = kMaxSavestateBytes;
  // Writes never grow the image beyond this (a layout entry with an absurd offset must not
  // exhaust memory); such a write fails with "Stream write error".
  static constexpr std::size_t kMaxImageBytes = 64 * 1048576;

  SavestateImage() = default;
  explicit SavestateImage(std::vector<uint8_t> bytes) : m_data(std::move(bytes)) {}

  std::size_t Size() const { return m_data.size(); }
  // New size; new bytes are zero.
  void SetSize(std::size_t size) { m_data.resize(size, 0); }
  uint8_t* Data() { return m_data.data(); }
  const uint8_t* Data() const { return m_data.data(); }
  const std::vector<uint8_t>& Bytes() const { return m_data; }

  std::size_t Position() const { return m_position; }
  void Seek(std::size_t position) { m_position = position; }

  // Reads count bytes at the position and advances it; a read past the end throws
  // EFileError "Stream read error" and reads nothing.
  void Read(void* dst, std::size_t count);
  // Writes count bytes at the position and advances it; grows the image (zero-filled gap)
  // when the write reaches past its end.
  void Write(const void* src, std::size_t count);

  // Position-free helpers for callers that address bytes directly.
  void ReadAt(std::size_t offset, void* dst, std::size_t count);
  void WriteAt(std::size_t offset, const void* src, std::size_t count);
  // Whether [offset, offset + count) lies inside the image.
  bool Holds(std::size_t offset, std::size_t count) const {
    return offset <= m_data.size() && count <= m_data.size() - offset;
  }

 private:
  std::vector<uint8_t> m_data;
  std::size_t m_position = 0;
};

}  // namespace vantor
