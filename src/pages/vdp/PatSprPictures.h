// The cell pictures of the "Patterns && Sprites" page, drawn afresh at every paint.
#pragma once

#include <QImage>
#include <cstdint>
#include <span>

#include "vdp/Bitmap.h"

namespace vantor {

class TMegaDriveVDP;

// Sprites per row of the saved sprite sheet.
constexpr int kSpriteSheetColumns = 16;

// Pattern k of the source as CellWidth x CellHeight pixels in the colours of palette line
// palLine. Bytes past the end of the source show colour 0; nothing past it is read.
QImage PatternCellImage(const TMegaDriveVDP& vdp, std::span<const uint8_t> source, int k,
                        int palLine);

// Sprite k drawn at the top-left of cell (4 x CellWidth by 4 x CellHeight, 8 bits per pixel)
// over the background colour, transparent pixels left out; the image shares cell's pixels
// and lives no longer than the next use of cell.
QImage SpriteCellImage(const TMegaDriveVDP& vdp, int k, TIndexedBitmap& cell);

}  // namespace vantor
