// Core pictures as Qt images and PNG files.
#include "pictureio/PictureIO.h"

#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace vantor {
namespace {

// Pixel rows as texts of hexadecimal digits, one digit a pixel.
TIndexedBitmap bitmapOf(std::initializer_list<const char*> rows, uint8_t bitsPerPixel) {
  const auto width = static_cast<int32_t>(std::strlen(*rows.begin()));
  TIndexedBitmap bitmap(width, static_cast<int32_t>(rows.size()), bitsPerPixel);
  int32_t y = 0;
  for (const char* row : rows) {
    for (int32_t x = 0; x < width; ++x) {
      const int value = row[x] <= '9' ? row[x] - '0' : row[x] - 'A' + 10;
      uint8_t* line = bitmap.Row(y);
      if (bitsPerPixel == 8) line[x] = static_cast<uint8_t>(value);
      if (bitsPerPixel == 4) line[x / 2] |= static_cast<uint8_t>(x & 1 ? value : value << 4);
      if (bitsPerPixel == 1) line[x / 8] |= static_cast<uint8_t>(value << (7 - x % 8));
    }
    ++y;
  }
  const uint32_t colors[16] = {0x00000000, 0xFF112233, 0x00445566, 0xFFFFFFFF};
  bitmap.SetColors(0, colors, std::min(16, bitmap.ColorCount()));
  return bitmap;
}

std::string indices(const QImage& image) {
  std::string text;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      text += "0123456789ABCDEF"[image.pixelIndex(x, y) & 15];
    text += '\n';
  }
  return text;
}

TEST(ToQImage, IndexedPicturesKeepTheirPixelValues) {
  const QImage four = ToQImage(bitmapOf({"123", "F0E"}, 4));
  ASSERT_EQ(four.format(), QImage::Format_Indexed8);
  EXPECT_EQ(indices(four), "123\nF0E\n");
  EXPECT_EQ(four.colorCount(), 16);

  const QImage one = ToQImage(bitmapOf({"101100101"}, 1));
  EXPECT_EQ(indices(one), "101100101\n");
  EXPECT_EQ(one.colorCount(), 2);

  const QImage eight = ToQImage(bitmapOf({"3A", "B2"}, 8));
  EXPECT_EQ(indices(eight), "3A\nB2\n");
  EXPECT_EQ(eight.colorCount(), 256);
  EXPECT_TRUE(ToQImage(TIndexedBitmap()).isNull());
}

TEST(ToQImage, ColourTableIsOpaqueButForTheTransparentEntry) {
  const TIndexedBitmap bitmap = bitmapOf({"12"}, 4);
  const QImage opaque = ToQImage(bitmap);
  EXPECT_EQ(opaque.color(0), 0xFF000000u);
  EXPECT_EQ(opaque.color(2), 0xFF445566u);  // the core's table may leave alpha clear
  const QImage transparent = ToQImage(bitmap, 1);
  EXPECT_EQ(transparent.color(1), 0x00112233u);
  EXPECT_EQ(transparent.color(3), 0xFFFFFFFFu);
}

// What the pages hand to Qt: the 8-bit picture's own memory, read in place.
TEST(IndexedView, EightBitPicturesAreSharedOthersConverted) {
  const TIndexedBitmap eight = bitmapOf({"3A1", "B20"}, 8);
  const QImage view = IndexedView(eight, 1);
  EXPECT_EQ(view.constBits(), eight.Bits());
  EXPECT_EQ(indices(view), "3A1\nB20\n");
  EXPECT_EQ(view.colorTable(), ToQImage(eight, 1).colorTable());

  const TIndexedBitmap four = bitmapOf({"123", "F0E"}, 4);
  EXPECT_EQ(indices(IndexedView(four)), "123\nF0E\n");
  EXPECT_TRUE(IndexedView(TIndexedBitmap()).isNull());
}

TEST(EncodePng, IndexedPngReadsBackWithIndicesAndColours) {
  const std::vector<uint8_t> png = EncodePng(bitmapOf({"0123", "3210"}, 4), {0});
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  QImage back;
  ASSERT_TRUE(back.loadFromData(png.data(), static_cast<int>(png.size()), "png"));
  ASSERT_EQ(back.format(), QImage::Format_Indexed8);
  EXPECT_EQ(indices(back), "0123\n3210\n");
  EXPECT_EQ(qAlpha(back.color(0)), 0);
  EXPECT_EQ(back.color(1), 0xFF112233u);
}

TEST(PictureFileName, PngByExtensionInAnyCase) {
  EXPECT_TRUE(IsPngFileName("a.png"));
  EXPECT_TRUE(IsPngFileName("dir/A.PNG"));
  EXPECT_FALSE(IsPngFileName("a.bmp"));
  EXPECT_FALSE(IsPngFileName("png"));
  EXPECT_FALSE(IsPngFileName("a.png.bak"));
}

}  // namespace
}  // namespace vantor
