#include "pictureio/PictureIO.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "document/Errors.h"
#include "document/FileIO.h"
#include "vdp/BmpWriter.h"

namespace vantor {
namespace {

// The bitmap's colour table, opaque but for the transparent entry.
QList<QRgb> colorTable(const TIndexedBitmap& bitmap, int transparentIndex) {
  QList<QRgb> table(bitmap.ColorCount());
  for (int i = 0; i < table.size(); ++i)
    table[i] = bitmap.Color(i) | 0xFF000000u;
  if (transparentIndex >= 0 && transparentIndex < table.size())
    table[transparentIndex] &= 0x00FFFFFFu;
  return table;
}

QImage indexedImage(const TIndexedBitmap& bitmap, int transparentIndex) {
  const int32_t width = bitmap.Width();
  const int32_t height = bitmap.Height();
  QImage image(width, height, QImage::Format_Indexed8);
  image.setColorTable(colorTable(bitmap, transparentIndex));

  const int bits = bitmap.BitsPerPixel();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* source = bitmap.Row(y);
    uchar* target = image.scanLine(y);
    if (bits == 8) {
      std::memcpy(target, source, static_cast<std::size_t>(width));
    } else if (bits == 4) {
      // Two pixels a byte, the left one in the high nibble.
      for (int32_t x = 0; x + 1 < width; x += 2) {
        target[x] = source[x / 2] >> 4;
        target[x + 1] = source[x / 2] & 0x0F;
      }
      if (width & 1) target[width - 1] = source[width / 2] >> 4;
    } else {
      for (int32_t x = 0; x < width; ++x)
        target[x] = (source[x / 8] >> (7 - x % 8)) & 1;
    }
  }
  return image;
}

QImage directImage(const TIndexedBitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_RGB32);
  const bool fiveFiveFive = bitmap.BitsPerPixel() == 15;
  const bool sixteen = bitmap.BitsPerPixel() == 16 || fiveFiveFive;
  for (int32_t y = 0; y < bitmap.Height(); ++y) {
    auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      uint32_t pixel = bitmap.Pixel(x, y);
      if (sixteen) {
        // 5-6-5, or 5-5-5 below a top bit: widened to 8 bits a component.
        const uint32_t r = fiveFiveFive ? (pixel >> 10) & 31 : (pixel >> 11) & 31;
        const uint32_t g = fiveFiveFive ? ((pixel >> 5) & 31) << 1 : (pixel >> 5) & 63;
        const uint32_t b = pixel & 31;
        pixel = (r * 255 / 31) << 16 | (g * 255 / 63) << 8 | (b * 255 / 31);
      }
      target[x] = pixel | 0xFF000000u;
    }
  }
  return image;
}

}  // namespace

QImage ToQImage(const TIndexedBitmap& bitmap, int transparentIndex) {
  if (bitmap.IsEmpty()) return QImage();
  if (bitmap.ColorCount() > 0) return indexedImage(bitmap, transparentIndex);
  return directImage(bitmap);
}

QImage IndexedView(const TIndexedBitmap& bitmap, int transparentIndex) {
  if (bitmap.IsEmpty() || bitmap.BitsPerPixel() != 8) return ToQImage(bitmap, transparentIndex);
  // Read-only over the bitmap's rows (4-byte padded, as QImage's own).
  QImage image(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
               QImage::Format_Indexed8);
  image.setColorTable(colorTable(bitmap, transparentIndex));
  return image;
}

std::vector<uint8_t> EncodePng(const TIndexedBitmap& bitmap, const TPictureOptions& options) {
  QImage image = IndexedView(bitmap, options.TransparentIndex);
  if (options.TransparentColorZero && image.format() == QImage::Format_Indexed8) {
    QList<QRgb> table = image.colorTable();
    for (qsizetype i = 0; i < table.size(); i += 16)
      table[i] &= 0x00FFFFFFu;
    image.setColorTable(table);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) throw std::runtime_error(writer.errorString().toStdString());
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

TIndexedBitmap FromQImage(const QImage& source) {
  if (source.isNull()) return {};
  const bool indexed = source.format() == QImage::Format_Indexed8 ||
                       source.format() == QImage::Format_Mono ||
                       source.format() == QImage::Format_MonoLSB;
  const QImage image =
      source.convertToFormat(indexed ? QImage::Format_Indexed8 : QImage::Format_ARGB32);
  TIndexedBitmap bitmap(image.width(), image.height(), indexed ? 8 : 32);
  const std::size_t rowBytes = std::size_t(image.width()) * (indexed ? 1 : 4);
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(bitmap.Row(y), image.constScanLine(y), rowBytes);
  if (indexed) {
    const QList<QRgb> table = image.colorTable();
    std::vector<uint32_t> colors(table.begin(), table.end());
    bitmap.SetColors(0, colors.data(), int(colors.size()));
  }
  return bitmap;
}

TIndexedBitmap LoadPicture(const std::string& path) {
  // A picture of any sensible size; the cut leaves a damaged file that the reader refuses.
  constexpr std::size_t kMaxPictureBytes = std::size_t(256) << 20;
  const std::vector<uint8_t> bytes = ReadFileBytes(path, kMaxPictureBytes);
  QByteArray data(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QImage image = reader.read();
  if (image.isNull()) throw EFileError::CannotOpen(path, reader.errorString().toStdString());
  return FromQImage(image);
}

bool IsPngFileName(std::string_view path) {
  if (path.size() < 4) return false;
  std::string extension(path.substr(path.size() - 4));
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return extension == ".png";
}

void SavePicture(const std::string& path, const TIndexedBitmap& bitmap,
                 const TPictureOptions& options) {
  std::vector<uint8_t> bytes;
  try {
    bytes = IsPngFileName(path) ? EncodePng(bitmap, options) : EncodeBmp(bitmap);
  } catch (const std::exception& error) {
    throw EFileError::CannotCreate(path, error.what());
  }
  WriteFileSafely(path, bytes);
}

}  // namespace vantor
