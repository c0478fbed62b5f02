// JASC-PAL palette files: the text the Colour RAM page and the command-line tool exchange
// colours through.
//
//   JASC-PAL\r\n
//   0100\r\n
//   <count>\r\n
//   <r> <g> <b>\r\n      count times, decimal 0..255
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

// A colour as written in the file. Components read from a file are not range-checked.
struct TPalColor {
  int32_t R = 0;
  int32_t G = 0;
  int32_t B = 0;
  friend bool operator==(const TPalColor&, const TPalColor&) = default;
};

// Only the first 32768 bytes of a palette file are read.
constexpr std::size_t kJascPalMaxBytes = 32768;
// The most colours taken from a file: the Colour RAM's 64 entries.
constexpr int kJascPalMaxColors = 64;

// The whole file for the colours of a selection, in selection order: count 16 when there are
// at most 16 colours, else 256; the lines after the colours are "0 0 0".
std::string FormatJascPal(std::span<const TPalColor> colors);

struct TJascPalReadResult {
  bool Ok = false;                // false: the header is wrong ("Wrong File Type!")
  std::vector<TPalColor> Colors;  // min(count, maxColors) colours; missing ones are black
};

// Reads the first kJascPalMaxBytes of text. Lines skip leading characters of code 32 or less
// and end at NUL, LF or CR; they are compared upper-cased. Line 1 must be "JASC-PAL" and line 2
// "0100"; line 3 is the count in the integer syntax (a trailing blank makes it 0); each colour
// line gives its first three tokens as integers (missing or not numeric: 0).
TJascPalReadResult ReadJascPal(std::string_view text, int maxColors = kJascPalMaxColors);

// 0xFFRRGGBB (or 0x00RRGGBB) to a file colour and back; ToRGB combines the components as
// 32-bit integers, r * 65536 OR g * 256 OR b, so values out of range mix their bits in.
TPalColor PalColorFromRGB(uint32_t rgb);
uint32_t PalColorToRGB(const TPalColor& color);

}  // namespace vantor
