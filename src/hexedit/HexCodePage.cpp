#include "hexedit/HexCodePage.h"

#include <array>

namespace vantor {
namespace {

// Bytes $80..$9F; 0 marks the unassigned ones.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

}  // namespace

char32_t CharOfByte(uint8_t byte) {
  if (byte >= 0x80 && byte <= 0x9F && kHighControls[byte - 0x80] != 0) {
    return kHighControls[byte - 0x80];
  }
  return byte;
}

std::optional<uint8_t> ByteOfChar(char32_t ch) {
  if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<uint8_t>(ch);
  for (size_t i = 0; i < kHighControls.size(); ++i) {
    if (kHighControls[i] == ch) return static_cast<uint8_t>(0x80 + i);
  }
  return std::nullopt;
}

bool IsPrintableByte(uint8_t byte) {
  if (byte < 0x20 || byte == 0x7F) return false;
  if (byte >= 0x80 && byte <= 0x9F) return kHighControls[byte - 0x80] != 0;
  return true;
}

}  // namespace vantor
