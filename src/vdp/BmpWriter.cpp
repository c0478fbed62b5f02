#include "vdp/BmpWriter.h"

#include <algorithm>
#include <stdexcept>

namespace vantor {

namespace {

constexpr uint32_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr int32_t kPixelsPerMetre = 2835;  // 72 dpi

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const TIndexedBitmap& bitmap) {
  const uint8_t bpp = bitmap.BitsPerPixel();
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24 && bpp != 32) {
    throw std::invalid_argument("EncodeBmp: unsupported pixel format");
  }
  const uint32_t colors = uint32_t(bitmap.ColorCount());
  const uint32_t stride = uint32_t(bitmap.Stride());
  const uint32_t pixelBytes = stride * uint32_t(bitmap.Height());
  const uint32_t offset = kFileHeaderBytes + kInfoHeaderBytes + colors * 4;
  std::vector<uint8_t> out;
  out.reserve(offset + pixelBytes);
  out.push_back('B');
  out.push_back('M');
  put32(out, offset + pixelBytes);
  put32(out, 0);
  put32(out, offset);
  put32(out, kInfoHeaderBytes);
  put32(out, uint32_t(bitmap.Width()));
  put32(out, uint32_t(bitmap.Height()));  // positive: rows bottom-up
  put16(out, 1);
  put16(out, bpp);
  put32(out, 0);  // BI_RGB
  put32(out, pixelBytes);
  put32(out, uint32_t(kPixelsPerMetre));
  put32(out, uint32_t(kPixelsPerMetre));
  put32(out, colors);
  put32(out, colors);
  for (uint32_t i = 0; i < colors; ++i) {
    const uint32_t c = bitmap.Color(int(i));  // 0xFFRRGGBB -> B, G, R, 0
    out.push_back(uint8_t(c));
    out.push_back(uint8_t(c >> 8));
    out.push_back(uint8_t(c >> 16));
    out.push_back(0);
  }
  for (int32_t y = bitmap.Height() - 1; y >= 0; --y) {
    const uint8_t* row = bitmap.Row(y);
    out.insert(out.end(), row, row + stride);
  }
  return out;
}

void WriteBmp(const TIndexedBitmap& bitmap, std::ostream& out) {
  const std::vector<uint8_t> bytes = EncodeBmp(bitmap);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

TIndexedBitmap ScaleBitmap(const TIndexedBitmap& source, int zoom) {
  zoom = std::max(zoom, 1);
  TIndexedBitmap out(source.Width() * zoom, source.Height() * zoom, 8);
  out.SetColors(0, source.Colors().data(), source.ColorCount());
  for (int32_t y = 0; y < source.Height(); ++y) {
    uint8_t* first = out.Row(y * zoom);
    for (int32_t x = 0; x < source.Width(); ++x) {
      std::fill_n(first + x * zoom, zoom, uint8_t(source.Pixel(x, y)));
    }
    for (int i = 1; i < zoom; ++i) {
      std::copy_n(first, out.Stride(), out.Row(y * zoom + i));
    }
  }
  return out;
}

}  // namespace vantor
