// Colour tables, rectangle fills and single cells.
#include <algorithm>
#include <cstring>

#include "vdp/MegaDriveVDP.h"
#include "vdp/SurfaceWriters.h"

namespace vantor {

using detail::surfaceRow;

namespace {

// The direct-colour pixel of a CRAM word in the surface's layout.
uint32_t directPixel(uint16_t word, uint8_t bitsPerPixel) {
  if (bitsPerPixel == 15 || bitsPerPixel == 16) return CRAMToRGB16(word, bitsPerPixel == 16);
  return CRAMToRGB32(word);
}

}  // namespace

void TMegaDriveVDP::SetBitmapPalette(TIndexedBitmap& bitmap, uint8_t line, int count,
                                     int firstEntry) const {
  if (count < 0) {
    count = bitmap.BitsPerPixel() == 1 ? 2 : bitmap.BitsPerPixel() == 4 ? 16 : 256;
  }
  count = std::min(count, TIndexedBitmap::kMaxColors);
  std::array<uint32_t, TIndexedBitmap::kMaxColors> colors{};
  const int base = (line & 3) * 16;
  for (int i = 0; i < count; ++i) {
    uint16_t w = GetColor(uint8_t(i + base));
    if (i >= 64 && i <= 127 && count >= 128) w |= kCRAMHighlight;
    if (i >= 128 && i <= 191 && count >= 192) w |= kCRAMShadow;
    colors[std::size_t(i)] = CRAMToRGB32(w);
  }
  bitmap.SetColors(firstEntry, colors.data(), count);
}

void TMegaDriveVDP::FillSurface(const TVDPRect& rect, const TSurfaceInfo& info,
                                uint8_t color) const {
  if (info.Bits == nullptr) return;
  const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
  const int right = std::min(rect.Right, info.Width), bottom = std::min(rect.Bottom, info.Height);
  if (left >= right || top >= bottom) return;
  const uint32_t pixel = directPixel(GetColor(color), info.BitsPerPixel);
  for (int y = top; y < bottom; ++y) {
    uint8_t* row = surfaceRow(info, y);
    switch (info.BitsPerPixel) {
      case 4: {
        const detail::TNibbleWriter nibble;
        int x = left;
        if (x & 1) nibble.Put(row, x++, color);
        const int evenRight = right & ~1;
        if (x < evenRight) {
          std::memset(row + x / 2, (color & 0x0F) * 0x11, std::size_t(evenRight - x) / 2);
        }
        if (right & 1 && right - 1 >= x) nibble.Put(row, right - 1, color);
        break;
      }
      case 8:
        std::memset(row + left, color, std::size_t(right - left));
        break;
      default:
        detail::withWriter(info, 0, &pixel, [&](auto writer) {
          for (int x = left; x < right; ++x)
            writer.Put(row, x, 0);
        });
        break;
    }
  }
}

void TMegaDriveVDP::DrawPattern(uint16_t attr, const TSurfaceInfo& info, bool transparent, int y,
                                int x) const {
  if (info.Bits == nullptr) return;
  const uint8_t line = uint8_t((attr >> 13) & 3);
  const uint32_t pattern = uint32_t(attr & 0x7FF) * uint32_t(GetMetric(mkPatternBytes));
  const bool vflip = (attr & 0x1000) != 0, hflip = (attr & 0x0800) != 0;
  std::array<uint32_t, 16> table{};
  if (info.BitsPerPixel > 8) {
    for (uint8_t i = 0; i < 16; ++i) {
      table[i] = directPixel(GetPaletteColor(line, i), info.BitsPerPixel);
    }
  }
  const int c0 = x < 0 ? -x : 0, c1 = std::min(m_cellWidth, info.Width - x);
  const int r0 = y < 0 ? -y : 0, r1 = std::min(m_cellHeight, info.Height - y);
  const int rowBytes = m_cellWidth / 2;
  detail::withWriter(info, uint8_t(line << 4), table.data(), [&](auto writer) {
    for (int r = r0; r < r1; ++r) {
      const int dataRow = vflip ? m_cellHeight - 1 - r : r;
      const uint32_t rowAddress = pattern + uint32_t(dataRow * rowBytes);
      uint8_t* dst = surfaceRow(info, y + r);
      for (int c = c0; c < c1; ++c) {
        const int k = hflip ? m_cellWidth - 1 - c : c;
        const uint8_t b = m_vram[(rowAddress + uint32_t(k >> 1)) & kVramMask];
        const uint8_t p = (k & 1) ? b & 0x0F : b >> 4;
        if (transparent && p == 0) continue;
        writer.Put(dst, x + c, p);
      }
    }
  });
}

}  // namespace vantor
