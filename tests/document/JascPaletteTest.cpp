#include "document/JascPalette.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vantor {
namespace {

using ::testing::ElementsAre;
using ::testing::SizeIs;

std::string lines(std::initializer_list<std::string_view> items) {
  std::string text;
  for (std::string_view item : items) {
    text += item;
    text += "\r\n";
  }
  return text;
}

TEST(JascPalFormat, SixColorsArePaddedToSixteenLines) {
  const std::vector<TPalColor> colors = {{255, 146, 0}, {0, 0, 255}, {1, 2, 3},
                                         {36, 73, 109}, {0, 0, 0},   {255, 255, 255}};
  std::string expected = lines({"JASC-PAL", "0100", "16", "255 146 0", "0 0 255", "1 2 3",
                                "36 73 109", "0 0 0", "255 255 255"});
  for (int i = 0; i < 10; ++i)
    expected += "0 0 0\r\n";
  EXPECT_EQ(FormatJascPal(colors), expected);
}

TEST(JascPalFormat, CountIs16UpTo16ColorsAnd256Above) {
  EXPECT_EQ(FormatJascPal({}).substr(0, 18), "JASC-PAL\r\n0100\r\n16");
  const std::vector<TPalColor> sixteen(16, TPalColor{1, 1, 1});
  const std::vector<TPalColor> seventeen(17, TPalColor{1, 1, 1});
  const std::string small = FormatJascPal(sixteen);
  const std::string large = FormatJascPal(seventeen);
  EXPECT_EQ(std::count(small.begin(), small.end(), '\n'), 3 + 16);
  EXPECT_EQ(large.substr(0, 19), "JASC-PAL\r\n0100\r\n256");
  EXPECT_EQ(std::count(large.begin(), large.end(), '\n'), 3 + 256);
  EXPECT_NE(large.find("1 1 1\r\n0 0 0\r\n"), std::string::npos);
}

TEST(JascPalRead, WrittenColorsReadBack) {
  const std::vector<TPalColor> colors = {{255, 146, 0}, {0, 36, 219}};
  const TJascPalReadResult read = ReadJascPal(FormatJascPal(colors));
  ASSERT_TRUE(read.Ok);
  ASSERT_THAT(read.Colors, SizeIs(16));
  EXPECT_EQ(read.Colors[0], (TPalColor{255, 146, 0}));
  EXPECT_EQ(read.Colors[1], (TPalColor{0, 36, 219}));
  EXPECT_EQ(read.Colors[15], (TPalColor{}));
}

TEST(JascPalRead, HeaderRules) {
  // Lower case, empty lines, leading blanks and LF-only line ends all pass.
  EXPECT_TRUE(ReadJascPal("\n\n   jasc-pal\n\t0100\n1\n1 2 3\n").Ok);
  EXPECT_TRUE(ReadJascPal("JASC-PAL\r0100\r0\r").Ok);
  // A blank after the header word stays part of the line.
  EXPECT_FALSE(ReadJascPal("JASC-PAL \r\n0100\r\n0\r\n").Ok);
  EXPECT_FALSE(ReadJascPal("JASC-PAL\r\n0101\r\n0\r\n").Ok);
  EXPECT_FALSE(ReadJascPal("GIMP Palette\nName: x\n").Ok);
  EXPECT_FALSE(ReadJascPal("").Ok);
  // A NUL ends a line like a line feed.
  EXPECT_TRUE(ReadJascPal(std::string("JASC-PAL\0000100\0001\0004 5 6", 20)).Ok);
}

TEST(JascPalRead, CountLine) {
  // A blank after the count makes it no number: nothing is read.
  EXPECT_THAT(ReadJascPal("JASC-PAL\r\n0100\r\n2 \r\n1 2 3\r\n4 5 6\r\n").Colors, SizeIs(0));
  // The count is read in the integer syntax, hexadecimal too.
  EXPECT_THAT(ReadJascPal("JASC-PAL\r\n0100\r\n$2\r\n1 2 3\r\n4 5 6\r\n").Colors, SizeIs(2));
  EXPECT_THAT(ReadJascPal("JASC-PAL\r\n0100\r\n0x3\r\n").Colors, SizeIs(3));
  EXPECT_THAT(ReadJascPal("JASC-PAL\r\n0100\r\n-5\r\n").Colors, SizeIs(0));
  // At most the 64 Colour RAM entries are taken.
  EXPECT_THAT(ReadJascPal(FormatJascPal(std::vector<TPalColor>(100))).Colors, SizeIs(64));
  EXPECT_THAT(ReadJascPal(FormatJascPal(std::vector<TPalColor>(100)), 10).Colors, SizeIs(10));
}

TEST(JascPalRead, ColorTokens) {
  const TJascPalReadResult read = ReadJascPal(
      "JASC-PAL\r\n0100\r\n5\r\n  7   8\t9 extra\r\n10 abc 12\r\n300 -1 $10\r\n\r\n\r\n13\r\n");
  ASSERT_TRUE(read.Ok);
  // Empty lines are skipped by the line reader, so "13" is the fourth colour line; the fifth
  // is missing and black.
  EXPECT_THAT(read.Colors, ElementsAre(TPalColor{7, 8, 9}, TPalColor{10, 0, 12},
                                       TPalColor{300, -1, 16}, TPalColor{13, 0, 0}, TPalColor{}));
}

TEST(JascPalRead, OnlyTheFirst32768BytesCount) {
  std::string text = "JASC-PAL\r\n0100\r\n1\r\n";
  text.append(kJascPalMaxBytes - text.size() - 2, ' ');
  text += "1 2 3\r\n";  // "1" and the blank after it are the last bytes read
  const TJascPalReadResult read = ReadJascPal(text);
  ASSERT_THAT(read.Colors, SizeIs(1));
  EXPECT_EQ(read.Colors[0], (TPalColor{1, 0, 0}));
}

TEST(JascPalColor, RgbConversions) {
  EXPECT_EQ(PalColorFromRGB(0xFFFF9200u), (TPalColor{255, 146, 0}));
  EXPECT_EQ(PalColorToRGB({255, 128, 0}), 0xFF8000u);
  // Out-of-range components mix their bits into the combined word.
  EXPECT_EQ(PalColorToRGB({0, 256, 0}), 0x010000u);
  EXPECT_EQ(PalColorToRGB({0, 0, -1}), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace vantor
