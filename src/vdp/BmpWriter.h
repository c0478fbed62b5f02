// Uncompressed BMP files of core bitmaps.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "vdp/Bitmap.h"

namespace vantor {

// The whole file: BITMAPFILEHEADER, BITMAPINFOHEADER, the colour table (16 entries for 4 bits,
// 256 for 8 bits; 2 for 1 bit; none for 24 and 32 bits) and the rows bottom-up, each padded
// to 4 bytes. Throws std::invalid_argument for 15- and 16-bit bitmaps.
std::vector<uint8_t> EncodeBmp(const TIndexedBitmap& bitmap);
void WriteBmp(const TIndexedBitmap& bitmap, std::ostream& out);

// An 8-bit (or 4-bit) picture enlarged by an integer zoom, every pixel becoming a zoom x zoom
// block of the same value; the colour table is copied. The result has 8 bits per pixel.
TIndexedBitmap ScaleBitmap(const TIndexedBitmap& source, int zoom);

}  // namespace vantor
