// The one place where core pictures become Qt images, and where picture files are written.
#pragma once

#include <QImage>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "vdp/Bitmap.h"

namespace vantor {

struct TPictureOptions {
  // The colour-table entry that PNG files write fully transparent (alpha 0); -1 for none.
  // BMP files have no transparency and ignore it.
  int TransparentIndex = -1;
  // PNG files of 8-bit pictures in the pixel code of the screen: every colour-table entry whose
  // low four bits are 0 (colour 0 of each palette line) is written fully transparent.
  bool TransparentColorZero = false;
};

// Indexed bitmaps (1, 4 or 8 bits per pixel) become QImage::Format_Indexed8 with the same
// pixel values and their colour table (2, 16 or 256 entries, opaque); direct-colour bitmaps
// become QImage::Format_RGB32. An empty bitmap gives a null image.
QImage ToQImage(const TIndexedBitmap& bitmap, int transparentIndex = -1);

// The fastest way to hand a picture to Qt (QPixmap::fromImage, an image writer): an 8-bit
// bitmap becomes an indexed QImage over the bitmap's own pixels, with its colour table, without
// copying or converting a pixel; other depths give ToQImage's copy. The image must not be used
// after the bitmap's pixels change size or go away.
QImage IndexedView(const TIndexedBitmap& bitmap, int transparentIndex = -1);

// An indexed PNG that keeps the colour table and the pixel values, written by Qt's image
// writer. Throws std::runtime_error with the writer's reason when it fails.
std::vector<uint8_t> EncodePng(const TIndexedBitmap& bitmap, const TPictureOptions& options = {});

// Reads a picture file (BMP, PNG or any other format Qt reads) into a core bitmap. Indexed
// pictures (1 to 8 bits per pixel with a colour table) become 8 bits per pixel with the same
// pixel values and colour table; all others become 32 bits per pixel, 0xAARRGGBB. Throws
// EFileError "Cannot open file ..." when the file cannot be read or is no picture.
TIndexedBitmap LoadPicture(const std::string& path);
// The same for a Qt image: a null image gives an empty bitmap.
TIndexedBitmap FromQImage(const QImage& image);

// Whether a file name asks for PNG: it ends in ".png" in any letter case.
bool IsPngFileName(std::string_view path);

// PNG for ".png" names, else the uncompressed BMP file of the core; written with
// WriteFileSafely (EFileError "Cannot create file ..." on failure).
void SavePicture(const std::string& path, const TIndexedBitmap& bitmap,
                 const TPictureOptions& options = {});

}  // namespace vantor
