// Small helpers to build readable VDP set-ups for the tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor::testkit {

// Tables used by most screen tests (H32, 32 x 32 planes):
constexpr uint32_t kPlaneA = 0xC000;   // register 2 = 0x30
constexpr uint32_t kPlaneB = 0xE000;   // register 4 = 0x07
constexpr uint32_t kWindow = 0xB000;   // register 3 = 0x2C
constexpr uint32_t kSprites = 0xA800;  // register 5 = 0x54
constexpr uint32_t kHScroll = 0xAC00;  // register 13 = 0x2B

inline void useStandardTables(TMegaDriveVDP& vdp) {
  vdp.SetReg(2, 0x30);
  vdp.SetReg(3, 0x2C);
  vdp.SetReg(4, 0x07);
  vdp.SetReg(5, 0x54);
  vdp.SetReg(13, 0x2B);
}

// pixels: eight nibbles, left pixel first (0x12345678 -> bytes 12 34 56 78).
inline void setPatternRow(TMegaDriveVDP& vdp, int pattern, int row, uint32_t pixels) {
  const uint32_t address = uint32_t(pattern * vdp.GetMetric(mkPatternBytes) + row * 4);
  for (int k = 0; k < 4; ++k) {
    vdp.VRAMData()[(address + uint32_t(k)) & 0xFFFF] = uint8_t(pixels >> (24 - 8 * k));
  }
}

inline void fillPattern(TMegaDriveVDP& vdp, int pattern, uint8_t color) {
  for (int r = 0; r < vdp.CellHeight(); ++r)
    setPatternRow(vdp, pattern, r, color * 0x11111111u);
}

// Cell attribute word: P LL V H NNNNNNNNNNN
inline uint16_t cell(int pattern, int line = 0, bool high = false, bool hflip = false,
                     bool vflip = false) {
  return uint16_t((high ? 0x8000 : 0) | (line & 3) << 13 | (vflip ? 0x1000 : 0) |
                  (hflip ? 0x0800 : 0) | (pattern & 0x7FF));
}

inline void setName(TMegaDriveVDP& vdp, uint32_t table, int cellsWide, int col, int row,
                    uint16_t word) {
  vdp.WriteVRAMWord(table + uint32_t(row * cellsWide + col) * 2, word);
}

inline void fillNames(TMegaDriveVDP& vdp, uint32_t table, int cellsWide, int cellsHigh,
                      uint16_t word) {
  for (int r = 0; r < cellsHigh; ++r) {
    for (int c = 0; c < cellsWide; ++c)
      setName(vdp, table, cellsWide, c, r, word);
  }
}

inline void setHScroll(TMegaDriveVDP& vdp, int line, uint16_t a, uint16_t b) {
  const uint32_t base = vdp.GetField(kFieldHScrollTable) + uint32_t(line) * 4;
  vdp.WriteVRAMWord(base, a);
  vdp.WriteVRAMWord(base + 2, b);
}

inline TSpriteEntry sprite(uint16_t x, uint16_t y, uint8_t size, uint8_t link, uint16_t attr) {
  TSpriteEntry s;
  s.X = x;
  s.Y = y;
  s.Size = size;
  s.Link = link;
  s.Attr = attr;
  return s;
}

// The pixels of one row of a picture.
inline std::vector<uint32_t> rowOf(const TIndexedBitmap& bmp, int y, int x0, int count) {
  std::vector<uint32_t> out;
  for (int x = x0; x < x0 + count; ++x)
    out.push_back(bmp.Pixel(x, y));
  return out;
}

// A byte stream over a vector for the load/save tests.
class TVectorStream : public TVDPStream {
 public:
  explicit TVectorStream(std::vector<uint8_t> bytes = {}) : m_bytes(std::move(bytes)) {}
  void ReadBuffer(void* dst, std::size_t count) override {
    if (m_pos + count > m_bytes.size()) throw std::runtime_error("Stream read error");
    std::memcpy(dst, m_bytes.data() + m_pos, count);
    m_pos += count;
  }
  void WriteBuffer(const void* src, std::size_t count) override {
    const auto* p = static_cast<const uint8_t*>(src);
    m_bytes.insert(m_bytes.end(), p, p + count);
  }
  const std::vector<uint8_t>& Bytes() const { return m_bytes; }

 private:
  std::vector<uint8_t> m_bytes;
  std::size_t m_pos = 0;
};

}  // namespace vantor::testkit
