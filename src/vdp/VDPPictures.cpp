#include "vdp/VDPPictures.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vantor {

namespace {

void prepare(TIndexedBitmap& out, uint8_t bitsPerPixel, int32_t width, int32_t height) {
  if (out.BitsPerPixel() != bitsPerPixel) out.SetPixelFormat(bitsPerPixel);
  out.SetSize(width, height);
}

// Calls rowFn(bitmapRow, byteColumn, sourceOffset) for every 4-byte pattern row of the sheet.
template <typename F>
void forEachPatternRow(const TMegaDriveVDP& vdp, F&& rowFn) {
  const int cellHeight = vdp.CellHeight();
  const std::size_t rowBytes = std::size_t(vdp.CellWidth() / 2);
  const int rows = vdp.GetMetric(mkPatternCount) / kPatternSheetColumns;
  std::size_t offset = 0;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < kPatternSheetColumns; ++j) {
      for (int y = 0; y < cellHeight; ++y, offset += rowBytes) {
        rowFn(i * cellHeight + y, std::size_t(j) * rowBytes, offset);
      }
    }
  }
}

}  // namespace

void BuildPatternSheet(const uint8_t* source, std::size_t available, const TMegaDriveVDP& vdp,
                       int palLine, TIndexedBitmap& out) {
  const int rows = vdp.GetMetric(mkPatternCount) / kPatternSheetColumns;
  prepare(out, 4, vdp.CellWidth() * kPatternSheetColumns, rows * vdp.CellHeight());
  vdp.SetBitmapPalette(out, uint8_t(palLine), 16, 0);
  if (source == nullptr) available = 0;
  forEachPatternRow(vdp, [&](int row, std::size_t column, std::size_t offset) {
    if (offset >= available) return;  // the bitmap starts all zero: colour 0
    const std::size_t n = std::min<std::size_t>(4, available - offset);
    std::memcpy(out.Row(row) + column, source + offset, n);
  });
}

void BuildPatternSheet8(const uint8_t* source, std::size_t available, const TMegaDriveVDP& vdp,
                        int palLine, TIndexedBitmap& out) {
  const int rows = vdp.GetMetric(mkPatternCount) / kPatternSheetColumns;
  prepare(out, 8, vdp.CellWidth() * kPatternSheetColumns, rows * vdp.CellHeight());
  vdp.SetBitmapPalette(out, 0, 256, 0);
  const uint8_t line = uint8_t((palLine & 3) << 4);
  // Both pixels of a source byte at once: high nibble left.
  std::array<uint16_t, 256> pair{};
  for (int b = 0; b < 256; ++b) {
    const uint8_t px[2] = {uint8_t((b >> 4) | line), uint8_t((b & 0x0F) | line)};
    std::memcpy(&pair[std::size_t(b)], px, 2);
  }
  if (source == nullptr) available = 0;
  forEachPatternRow(vdp, [&](int row, std::size_t column, std::size_t offset) {
    uint8_t* dst = out.Row(row) + column * 2;
    for (std::size_t k = 0; k < 4; ++k) {
      const uint8_t b = offset + k < available ? source[offset + k] : 0;
      std::memcpy(dst + 2 * k, &pair[b], 2);
    }
  });
}

void BuildSpriteSheet(const TMegaDriveVDP& vdp, int perRow, TIndexedBitmap& out) {
  perRow = std::max(perRow, 1);
  const int count = vdp.GetMetric(mkSpriteCount);
  const int rows = (count + perRow - 1) / perRow;
  const int cellWidth = vdp.GetMetric(mkSpriteMaxWidth);
  const int cellHeight = vdp.GetMetric(mkSpriteMaxHeight);
  prepare(out, 8, perRow * cellWidth, rows * cellHeight);
  vdp.SetBitmapPalette(out, 0, 256, 0);
  const TSurfaceInfo info = GetSurfaceInfo(out);
  vdp.FillSurface(TVDPRect{0, 0, out.Width(), out.Height()}, info,
                  uint8_t(vdp.GetField(kFieldBackgroundColor)));
  for (int k = 0; k < count; ++k) {
    vdp.DrawSprite(uint8_t(k), info, true, true, (k / perRow) * cellHeight,
                   (k % perRow) * cellWidth);
  }
}

int ViewSpritesPerRow(const TMegaDriveVDP& vdp) {
  return vdp.GetMetric(mkSpriteCount) == 64 ? 8 : 16;
}

void ScreenPictureSize(const TMegaDriveVDP& vdp, uint16_t options, int32_t& width,
                       int32_t& height) {
  if (!(options & kRenderVirtualScreen)) {
    width = vdp.GetMetric(mkScreenWidth);
    height = vdp.GetMetric(mkScreenHeight);
    return;
  }
  const TVDPRect bounds = vdp.GetSpriteBounds();
  width = std::max(vdp.GetMetric(mkPlaneWidth) + 16 * vdp.CellWidth(), bounds.Right);
  height = std::max(vdp.GetMetric(mkPlaneHeight) + 16 * vdp.CellHeight(), bounds.Bottom);
}

void RenderScreenPicture(const TMegaDriveVDP& vdp, uint16_t options, TIndexedBitmap& out) {
  int32_t width = 0, height = 0;
  ScreenPictureSize(vdp, options, width, height);
  // With the backdrop every pixel is written: a picture of the same size is drawn over as it
  // is. Without it, what no layer covers must be 0 from a cleared picture.
  const bool drawnOver = (options & kRenderBackdrop) && out.BitsPerPixel() == 8 &&
                         out.Width() == width && out.Height() == height;
  if (!drawnOver) prepare(out, 8, width, height);
  vdp.SetBitmapPalette(out, 0, 256, 0);
  vdp.RenderScreen(GetSurfaceInfo(out), options, 0, 0);
}

void SetPalLineBits(TIndexedBitmap& bitmap, int line) {
  if (bitmap.BitsPerPixel() != 8) return;
  const uint8_t bits = uint8_t((line & 3) << 4);
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int32_t x = 0; x < bitmap.Width(); ++x)
      row[x] = uint8_t((row[x] & 0x0F) | bits);
  }
}

}  // namespace vantor
