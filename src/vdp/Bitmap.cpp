#include "vdp/Bitmap.h"

#include <algorithm>

namespace vantor {

namespace {

bool isKnownFormat(uint8_t bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32;
}

bool isDrawableFormat(uint8_t bpp) {
  return bpp != 1 && isKnownFormat(bpp);
}

int bytesPerPixelBits(uint8_t bpp) {
  return bpp == 15 ? 16 : bpp;
}

}  // namespace

int32_t BitmapStride(int32_t width, uint8_t bitsPerPixel) {
  if (!isKnownFormat(bitsPerPixel) || width <= 0) return 0;
  const int64_t bits = int64_t(width) * bytesPerPixelBits(bitsPerPixel);
  return int32_t(((bits + 31) / 32) * 4);
}

TIndexedBitmap::TIndexedBitmap(int32_t width, int32_t height, uint8_t bitsPerPixel)
    : m_bitsPerPixel(bitsPerPixel) {
  SetSize(width, height);
}

void TIndexedBitmap::SetSize(int32_t width, int32_t height) {
  m_width = std::max(width, 0);
  m_height = std::max(height, 0);
  reallocate();
}

void TIndexedBitmap::SetPixelFormat(uint8_t bitsPerPixel) {
  m_bitsPerPixel = bitsPerPixel;
  reallocate();
}

void TIndexedBitmap::reallocate() {
  m_stride = BitmapStride(m_width, m_bitsPerPixel);
  m_pixels.assign(std::size_t(m_stride) * std::size_t(m_height), 0);
}

int TIndexedBitmap::ColorCount() const {
  switch (m_bitsPerPixel) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

void TIndexedBitmap::SetColors(int first, const uint32_t* colors, int count) {
  for (int i = 0; i < count; ++i) {
    const int entry = first + i;
    if (entry >= 0 && entry < ColorCount()) m_colors[std::size_t(entry)] = colors[i];
  }
}

uint32_t TIndexedBitmap::Pixel(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= m_width || y >= m_height) return 0;
  const uint8_t* row = Row(y);
  switch (m_bitsPerPixel) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8:
      return row[x];
    case 15:
    case 16:
      return uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
    case 24:
      return uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
    case 32:
      return uint32_t(row[4 * x]) | uint32_t(row[4 * x + 1]) << 8 | uint32_t(row[4 * x + 2]) << 16 |
             uint32_t(row[4 * x + 3]) << 24;
    default:
      return 0;
  }
}

void GetSurfaceInfo(TIndexedBitmap& bitmap, TSurfaceInfo& info) {
  info = TSurfaceInfo{};
  if (bitmap.IsEmpty() || !isDrawableFormat(bitmap.BitsPerPixel())) return;
  info.Bits = bitmap.Bits();
  info.Width = bitmap.Width();
  info.Height = bitmap.Height();
  info.Stride = bitmap.Stride();
  info.BitsPerPixel = bitmap.BitsPerPixel();
}

TSurfaceInfo GetSurfaceInfo(TIndexedBitmap& bitmap) {
  TSurfaceInfo info;
  GetSurfaceInfo(bitmap, info);
  return info;
}

TSurfaceInfo GetSurfaceInfo(const TIndexedBitmap& bitmap) {
  return GetSurfaceInfo(const_cast<TIndexedBitmap&>(bitmap));
}

}  // namespace vantor
