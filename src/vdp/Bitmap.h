// A toolkit-free bitmap and the surface record every drawing routine writes through.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

// Where a bitmap's pixels lie. Pixel row r starts at Bits + r * Stride. Bits is null when
// there is nothing to draw into; 15-bit pixels take 2 bytes like 16-bit ones.
struct TSurfaceInfo {
  uint8_t* Bits = nullptr;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t Stride = 0;
  uint8_t BitsPerPixel = 0;
};

// A picture in memory: 1, 4 or 8 bits per pixel with a colour table, or 15, 16, 24 or 32 bits
// per pixel of direct colour. Rows are stored top-down and padded to 4 bytes. The colour table
// holds up to 256 entries 0xFFRRGGBB; 4-bit pixels keep the left pixel in the high nibble.
class TIndexedBitmap {
 public:
  static constexpr int kMaxColors = 256;

  TIndexedBitmap() = default;
  TIndexedBitmap(int32_t width, int32_t height, uint8_t bitsPerPixel);

  // Reallocates the pixels (all zero). A negative size counts as 0.
  void SetSize(int32_t width, int32_t height);
  // Changes the pixel format (1, 4, 8, 15, 16, 24 or 32) and reallocates; other values are
  // kept as a format that cannot be drawn into.
  void SetPixelFormat(uint8_t bitsPerPixel);

  int32_t Width() const { return m_width; }
  int32_t Height() const { return m_height; }
  int32_t Stride() const { return m_stride; }
  uint8_t BitsPerPixel() const { return m_bitsPerPixel; }
  bool IsEmpty() const { return m_width == 0 || m_height == 0; }

  uint8_t* Bits() { return m_pixels.data(); }
  const uint8_t* Bits() const { return m_pixels.data(); }
  uint8_t* Row(int32_t y) { return m_pixels.data() + std::size_t(y) * std::size_t(m_stride); }
  const uint8_t* Row(int32_t y) const {
    return m_pixels.data() + std::size_t(y) * std::size_t(m_stride);
  }
  std::size_t ByteSize() const { return m_pixels.size(); }

  // Number of colour-table entries the format uses: 2, 16 or 256, 0 for direct colour.
  int ColorCount() const;
  uint32_t Color(int index) const { return m_colors[std::size_t(index) & 0xFF]; }
  const std::array<uint32_t, kMaxColors>& Colors() const { return m_colors; }
  // Copies count entries to first..; entries past the format's colour count are dropped.
  void SetColors(int first, const uint32_t* colors, int count);

  // The raw pixel value at (x, y): a colour index up to 8 bits per pixel, else the packed
  // pixel (0xRRGGBB for 24 and 32 bits). Coordinates outside the bitmap give 0.
  uint32_t Pixel(int32_t x, int32_t y) const;

 private:
  void reallocate();

  int32_t m_width = 0;
  int32_t m_height = 0;
  int32_t m_stride = 0;
  uint8_t m_bitsPerPixel = 8;
  std::vector<uint8_t> m_pixels;
  std::array<uint32_t, kMaxColors> m_colors{};
};

// Fills info for bitmaps of 4, 8, 15, 16, 24 or 32 bits per pixel with a size; otherwise
// leaves it all zero, and every drawing routine then does nothing.
void GetSurfaceInfo(TIndexedBitmap& bitmap, TSurfaceInfo& info);
TSurfaceInfo GetSurfaceInfo(TIndexedBitmap& bitmap);
// For callers that only read the pixels through the record.
TSurfaceInfo GetSurfaceInfo(const TIndexedBitmap& bitmap);

// Bytes per row of a bitmap of this width and depth, padded to 4 bytes.
int32_t BitmapStride(int32_t width, uint8_t bitsPerPixel);

}  // namespace vantor
