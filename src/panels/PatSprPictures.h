// The pictures of the "Patterns && Sprites" page: one pattern cell, one sprite cell, and the
// file a sheet of all of them is saved to.
#pragma once

#include <QImage>
#include <QString>
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

// Writes the sheet as an uncompressed BMP with its colour table, or as PNG for a name ending
// in ".png"; EFileError when the file cannot be created.
void SavePatSprPicture(const QString& fileName, const TIndexedBitmap& sheet);

}  // namespace vantor
