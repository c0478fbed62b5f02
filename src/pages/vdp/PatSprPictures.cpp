#include "pages/vdp/PatSprPictures.h"

#include "vdp/MegaDriveVDP.h"

namespace vantor {

namespace {

QList<QRgb> ColorTable(const TIndexedBitmap& bitmap, int count) {
  return QList<QRgb>(bitmap.Colors().begin(), bitmap.Colors().begin() + count);
}

}  // namespace

QImage PatternCellImage(const TMegaDriveVDP& vdp, std::span<const uint8_t> source, int k,
                        int palLine) {
  const int width = vdp.CellWidth();
  const int height = vdp.CellHeight();
  const std::size_t bytes = std::size_t(vdp.GetMetric(mkPatternBytes));
  QImage image(width, height, QImage::Format_Indexed8);
  QList<QRgb> colors(16);
  const int base = (palLine & 3) * 16;
  for (int i = 0; i < 16; ++i)
    colors[i] = CRAMToRGB32(vdp.GetColor(uint8_t(base + i)));
  image.setColorTable(colors);
  // A pattern row (4 bits per pixel, the left pixel in the high nibble) is CellWidth / 2 bytes.
  std::size_t at = std::size_t(k) * bytes;
  for (int y = 0; y < height; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < width; x += 2, ++at) {
      const uint8_t pair = at < source.size() ? source[at] : 0;
      row[x] = pair >> 4;
      row[x + 1] = pair & 0x0F;
    }
  }
  return image;
}

QImage SpriteCellImage(const TMegaDriveVDP& vdp, int k, TIndexedBitmap& cell) {
  const int width = 4 * vdp.CellWidth();
  const int height = 4 * vdp.CellHeight();
  if (cell.BitsPerPixel() != 8) cell.SetPixelFormat(8);
  if (cell.Width() != width || cell.Height() != height) cell.SetSize(width, height);
  const TSurfaceInfo surface = GetSurfaceInfo(cell);
  vdp.FillSurface(TVDPRect{0, 0, width, height}, surface, uint8_t(vdp.GetReg(7) & 0x3F));
  vdp.DrawSprite(uint8_t(k), surface, true, true, 0, 0);
  vdp.SetBitmapPalette(cell, 0, 256, 0);
  QImage image(cell.Bits(), width, height, cell.Stride(), QImage::Format_Indexed8);
  image.setColorTable(ColorTable(cell, 256));
  return image;
}

}  // namespace vantor
