// Patterns from a picture: the way back from the pattern sheet. The picture is cut into cells
// of CellWidth x CellHeight pixels (8 x 8, or 8 x 16 in interlace mode 2), left to right and
// top to bottom, and cell c becomes pattern first + c of the pattern source (Video RAM or
// 68000 RAM: pattern n at byte n * mkPatternBytes, 4 bits a pixel, the left pixel of each pair
// in the high nibble).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

struct TPatternImport {
  bool Ok = false;
  // Why nothing was written; empty when Ok.
  std::string Message;
  int First = 0;         // the first pattern written
  int Cells = 0;         // patterns written
  int ChangedBytes = 0;  // bytes of the source that now differ from before
};

// Writes the picture's cells as patterns into source from pattern first on, or nothing at all.
//
// The picture's pixels:
// - 1, 4 or 8 bits per pixel (an indexed picture): each value modulo 16 is the pattern pixel,
//   whatever the colour table holds, so the palette line stays the user's choice. One
//   exception: when the colour-table entries the picture uses have different colours, each a
//   colour of palette line palLine, but not all at their own place in the line, a program has
//   rearranged the table (ImageMagick does so when it writes a picture); then each such entry
//   stands for the entry of the line with its colour, and a colour in use that several entries
//   of the line have is refused (such a program may have merged them).
// - 24 or 32 bits per pixel (direct colour, 0xAARRGGBB; 24-bit pixels are opaque): a pixel of
//   alpha 0 is pattern pixel 0; every other pixel must have exactly the colour of one entry of
//   palette line palLine of the model (CRAMToRGB32), and takes that entry's index.
//
// Refused, with a message naming the fault: an empty picture, a width that is not a multiple
// of 8 or a height that is not a multiple of the cell height, a first pattern outside the
// source, more cells than the source has patterns from first on, a direct-colour pixel that is
// in no entry of the line or in several of them (the first such pixel, by colour and place),
// or in a rearranged colour table, and other pixel formats. The room is mkPatternCount patterns,
// fewer when source is shorter.
TPatternImport ImportPatterns(const TIndexedBitmap& picture, const TMegaDriveVDP& vdp, int palLine,
                              int first, std::span<uint8_t> source);

}  // namespace vantor
