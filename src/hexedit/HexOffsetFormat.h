#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vantor {

// What the shown offset number counts in.
enum class TOffsetUnit : uint8_t { ouRuler, ouRow, ouColumn, ouFixed };

// The parsed `OffsetFormat`:  [unit "%"] [digits "!"] radix ":" prefix "|" suffix
//   unit:   "R" bytes per row, "C" bytes per column, a hex number, or nothing (ruler unit)
//   digits: "-" automatic, a hex number (at least that many), or no "!" part (at least 1)
//   radix:  a hex number 02..10
struct HexOffsetFormat {
  bool none = true;  // the empty format: no offsets are shown
  TOffsetUnit unit = TOffsetUnit::ouRuler;
  int unitBytes = 1;  // for ouFixed
  bool autoDigits = false;
  int minDigits = 1;
  int radix = 16;
  std::string prefix;
  std::string suffix;
};

// The format, or the editor's message telling why the text is not a format.
struct OffsetFormatParse {
  std::optional<HexOffsetFormat> format;
  std::string error;
};

OffsetFormatParse ParseOffsetFormat(std::string_view text);

// The byte count one shown unit stands for; 0 when it is not 1, 2, 4 or 8.
int OffsetUnitBytes(const HexOffsetFormat& format, int bytesPerRow, int bytesPerColumn,
                    int rulerUnit);

// "Invalid bytes per unit value %d, allowed: 1,2,4,8" for a unit the format names, or "".
std::string OffsetUnitError(const HexOffsetFormat& format, int bytesPerRow, int bytesPerColumn,
                            int rulerUnit);

// The gutter text of an offset. lastRowOffset is the offset of the last data row, whose
// number decides the automatic digit count.
std::string FormatOffset(const HexOffsetFormat& format, int64_t offset, int unitBytes,
                         int64_t lastRowOffset, bool lowerCase);

// Ruler texts: one character per nibble cell of a row, and one per character cell.
std::string RulerHexText(int bytesPerRow, int rulerUnit);
std::string RulerCharText(int bytesPerRow, int rulerUnit);

}  // namespace vantor
