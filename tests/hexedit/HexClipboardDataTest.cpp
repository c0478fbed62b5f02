#include "hexedit/HexClipboardData.h"

#include <gtest/gtest.h>

#include "hexedit/HexCodePage.h"

namespace vantor {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(ClipboardBlock, RoundTripsAnyBytesIncludingZeros) {
  const Bytes bytes = {0x00, 0x41, 0x00, 0xFF};
  const Bytes block = EncodeClipboardBlock(bytes);
  const Bytes header = {'Q', 'H', 'X', 'E', 0x01, 0x00, 0x01, 0x00, 4, 0, 0, 0};
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 12), header);
  EXPECT_EQ(DecodeClipboardBlock(block), bytes);
  EXPECT_EQ(DecodeClipboardBlock(block, 2), (Bytes{0x00, 0x41}));
  EXPECT_EQ(DecodeClipboardBlock(EncodeClipboardBlock({})), Bytes{});
}

TEST(ClipboardBlock, MalformedBlocksYieldNothing) {
  Bytes block = EncodeClipboardBlock(Bytes{1, 2, 3});
  EXPECT_FALSE(DecodeClipboardBlock(std::span(block).first(11)));
  Bytes letters = block;
  letters[3] = 'X';
  EXPECT_FALSE(DecodeClipboardBlock(letters));
  Bytes version = block;
  version[4] = 0x02;
  EXPECT_FALSE(DecodeClipboardBlock(version));
  Bytes count = block;
  count[8] = 4;  // claims one byte more than it holds
  EXPECT_FALSE(DecodeClipboardBlock(count));
  count[11] = 0xFF;
  EXPECT_FALSE(DecodeClipboardBlock(count));
}

TEST(ClipboardText, TextEndsBeforeTheFirstZeroHexTextHoldsEverything) {
  const Bytes bytes = {'H', 'i', 0x00, 'x'};
  EXPECT_EQ(ClipboardTextOf(bytes, false, false, false), "Hi");
  EXPECT_EQ(ClipboardTextOf(bytes, true, false, false), "48690078");
  EXPECT_EQ(ClipboardTextOf(Bytes{0xA5}, true, true, false), "5A");
  EXPECT_EQ(ClipboardTextOf(Bytes{0xA5}, true, false, true), "a5");
  EXPECT_EQ(BytesOfText(std::string("ab\0cd", 5)), (Bytes{'a', 'b'}));
  EXPECT_EQ(BytesOfText("abcdef", 3), (Bytes{'a', 'b', 'c'}));
}

TEST(ClipboardText, HexTextTakesDigitPairsAndSkipsTheRest) {
  EXPECT_EQ(ReadHexText("0A ff-1b\n2", false), (Bytes{0x0A, 0xFF, 0x1B}));
  EXPECT_EQ(ReadHexText("A5", true), Bytes{0x5A});
  EXPECT_EQ(ReadHexText("zz", false), Bytes{});
  EXPECT_EQ(ReadHexText("112233", false, 2), (Bytes{0x11, 0x22}));
}

TEST(ClipboardFormats, RegEditDibAndFileNames) {
  EXPECT_EQ(DecodeRegEditHexData(Bytes{2, 0, 0, 0, 7, 8, 9}), (Bytes{7, 8}));
  EXPECT_FALSE(DecodeRegEditHexData(Bytes{9, 0, 0, 0, 7}));
  EXPECT_FALSE(DecodeRegEditHexData(Bytes{1, 0}));
  const Bytes bmp = BitmapFileOfDib(Bytes{0x28, 0});
  EXPECT_EQ(bmp.size(), 16U);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(bmp[2], 0);
  EXPECT_EQ(bmp[14], 0x28);
  EXPECT_EQ(FileNameList({"/a", "/b"}), (Bytes{'/', 'a', 0, '/', 'b', 0}));
}

TEST(ClipboardFormats, DumpFileNameUsesTheBareName) {
  EXPECT_EQ(DumpFileName("---"), "Dump of ---.bin");
  EXPECT_EQ(DumpFileName("/home/u/sonic.gs0"), "Dump of sonic.bin");
  EXPECT_EQ(DumpFileName("C:\\games\\x.y.bin"), "Dump of x.y.bin");
  EXPECT_EQ(DumpFileName(std::string(400, 'n')).size(), 259U);
}

TEST(CodePage, ShowsWindows1252AndMasksControls) {
  EXPECT_EQ(CharOfByte(0x41), U'A');
  EXPECT_EQ(CharOfByte(0x80), U'\u20AC');
  EXPECT_EQ(CharOfByte(0xE9), U'\u00E9');
  EXPECT_EQ(ByteOfChar(U'\u0153'), 0x9C);
  EXPECT_FALSE(ByteOfChar(U'\u0100'));
  EXPECT_FALSE(IsPrintableByte(0x00));
  EXPECT_FALSE(IsPrintableByte(0x81));
  EXPECT_FALSE(IsPrintableByte(0x7F));
  EXPECT_TRUE(IsPrintableByte(0x80));
  for (int b = 0; b < 256; ++b) {
    if (IsPrintableByte(static_cast<uint8_t>(b))) {
      EXPECT_EQ(ByteOfChar(CharOfByte(static_cast<uint8_t>(b))), b);
    }
  }
}

}  // namespace
}  // namespace vantor
