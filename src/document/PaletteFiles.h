// The palette files the Colour RAM page and the command-line tool exchange colours through:
// JASC-PAL (JascPalette.h), GIMP palettes and Adobe colour tables.
//
// GIMP palette (.gpl), text:
//   GIMP Palette
//   Name: <name>              optional
//   Columns: <n>              optional
//   # comment                 anywhere; empty lines too
//   <r> <g> <b>[<blank><name>]  one colour a line, decimal 0..255, separated by blanks or tabs
//
// Adobe colour table (.act), binary: 256 colours of three bytes (red, green, blue), 768 bytes;
// optionally followed by two big-endian 16-bit words, the number of colours used (at most 256)
// and the index of the transparent colour (0xFFFF for none), 772 bytes in all.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "document/JascPalette.h"

namespace vantor {

enum class TPaletteFormat { pfJasc, pfGimp, pfAct };

// By the file name's extension in any letter case: ".pal" and ".PspPalette" JASC-PAL, ".gpl"
// GIMP, ".act" Adobe; nothing for any other name.
std::optional<TPaletteFormat> PaletteFormatFromFileName(std::string_view path);
// "jasc", "gimp" or "act", as the command-line tool's --format takes them.
std::optional<TPaletteFormat> PaletteFormatFromName(std::string_view name);

// The most bytes read from a palette file of this format.
std::size_t PaletteReadLimit(TPaletteFormat format);

// The whole file for the colours in order. JASC-PAL as FormatJascPal (padded to 16 or 256);
// GIMP: the colours as they are, named "Index <n>"; Adobe: the colours, black up to 256, and
// the trailer with their number (at most 256 are written) and no transparent colour.
std::string FormatPalette(TPaletteFormat format, std::span<const TPalColor> colors);

struct TPaletteReadResult {
  bool Ok = false;
  // Why the file was refused: "Wrong File Type!" when it is not a file of the format at all,
  // else a sentence naming the line that is wrong.
  std::string Message;
  std::vector<TPalColor> Colors;  // at most maxColors, in file order
};

// Reads a file of the format. Colours past maxColors are not read, so faults after them do not
// matter. JASC-PAL follows ReadJascPal. GIMP: the first line must be "GIMP Palette" (a UTF-8
// byte order mark and trailing blanks are allowed); a line that is neither empty, a comment,
// a "Name:" or "Columns:" line nor three numbers 0..255 refuses the file. Adobe: 768 or 772
// bytes, else "Wrong File Type!"; a trailer's number of colours above 256 refuses the file.
TPaletteReadResult ReadPalette(TPaletteFormat format, std::string_view bytes,
                               int maxColors = kJascPalMaxColors);

}  // namespace vantor
