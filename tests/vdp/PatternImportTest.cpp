// Patterns read back from pictures: the sheets the program writes come back byte for byte, a
// picture's cells land on the patterns they stand for, and every refusal leaves the source
// as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternImport.h"
#include "vdp/VDPPictures.h"

namespace vantor {
namespace {

using ::testing::HasSubstr;

class PatternImportTest : public ::testing::Test {
 protected:
  PatternImportTest() {
    for (int i = 0; i < 64; ++i)
      vdp.SetColor(uint8_t(i), uint16_t((i * 0x0246) & 0x0EEE));
  }

  // 64 KiB in which no two neighbouring bytes are alike.
  static std::vector<uint8_t> noisySource() {
    std::vector<uint8_t> source(65536);
    uint32_t state = 12345;
    for (uint8_t& byte : source) {
      state = state * 1103515245u + 12345u;
      byte = uint8_t(state >> 16);
    }
    return source;
  }

  // An indexed picture of width x height, every pixel 0.
  static TIndexedBitmap indexed(int32_t width, int32_t height) {
    return TIndexedBitmap(width, height, 8);
  }

  std::unique_ptr<TMegaDriveVDP> m_owner = std::make_unique<TMegaDriveVDP>();
  TMegaDriveVDP& vdp = *m_owner;
};

// The sheets of "Save all to Bitmap" and of the view window (4 and 8 bits per pixel, any
// palette line, both cell heights) read back into the bytes they were made from.
TEST_F(PatternImportTest, SheetsComeBackUnchanged) {
  for (int interlace : {0, 2}) {
    vdp.SetInterlaceMode(uint8_t(interlace));
    for (bool eightBits : {false, true}) {
      const std::vector<uint8_t> original = noisySource();
      TIndexedBitmap sheet;
      if (eightBits) {
        BuildPatternSheet8(original.data(), original.size(), vdp, 2, sheet);
      } else {
        BuildPatternSheet(original.data(), original.size(), vdp, 3, sheet);
      }
      std::vector<uint8_t> source(65536, 0);
      const TPatternImport result = ImportPatterns(sheet, vdp, 0, 0, source);
      ASSERT_TRUE(result.Ok) << result.Message;
      EXPECT_EQ(result.Cells, vdp.GetMetric(mkPatternCount));
      EXPECT_EQ(source, original) << "interlace " << interlace << ", 8 bits " << eightBits;

      const TPatternImport again = ImportPatterns(sheet, vdp, 0, 0, source);
      EXPECT_EQ(again.ChangedBytes, 0);
    }
  }
}

// Two cells side by side become patterns first and first + 1; pixel values count modulo 16,
// the left pixel of a pair in the high nibble; nothing outside the two patterns changes.
TEST_F(PatternImportTest, CellsBecomeConsecutivePatternsFromTheFirst) {
  TIndexedBitmap picture = indexed(16, 8);
  picture.Row(0)[0] = 0x1F;  // cell 0, row 0, pixel 0: 15
  picture.Row(0)[1] = 0x02;
  picture.Row(7)[7] = 0x25;      // cell 0, last pixel: 5
  picture.Row(0)[8 + 2] = 0x0A;  // cell 1, row 0, pixel 2
  std::vector<uint8_t> source = noisySource();
  const std::vector<uint8_t> before = source;

  const TPatternImport result = ImportPatterns(picture, vdp, 0, 5, source);
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(result.Cells, 2);
  std::vector<uint8_t> expected = before;
  std::fill(expected.begin() + 5 * 32, expected.begin() + 7 * 32, 0);
  expected[5 * 32] = 0xF2;
  expected[5 * 32 + 31] = 0x05;
  expected[6 * 32 + 1] = 0xA0;
  EXPECT_EQ(source, expected);
}

// A direct-colour picture: transparent pixels are 0, every other colour is the one entry of
// the palette line that has it.
TEST_F(PatternImportTest, DirectColourPixelsTakeTheIndexOfTheirColour) {
  const auto colour = [&](int line, int index) {
    return CRAMToRGB32(vdp.GetPaletteColor(uint8_t(line), uint8_t(index)));
  };
  TIndexedBitmap picture(8, 8, 32);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      reinterpret_cast<uint32_t*>(picture.Row(y))[x] = colour(1, (x + y) % 16);
  reinterpret_cast<uint32_t*>(picture.Row(0))[3] = colour(1, 9) & 0x00FFFFFF;  // alpha 0
  std::vector<uint8_t> source(65536, 0xEE);

  const TPatternImport result = ImportPatterns(picture, vdp, 1, 0, source);
  ASSERT_TRUE(result.Ok) << result.Message;
  EXPECT_EQ(source[0], 0x01);
  EXPECT_EQ(source[1], 0x20);  // pixel 3 transparent
  EXPECT_EQ(source[4], 0x12);  // row 1
  EXPECT_EQ(source[32], 0xEE);
}

// A sheet whose colour table a program rearranged (ImageMagick does) still means the colours
// it shows; a table of the user's own colours means its entry numbers.
TEST_F(PatternImportTest, ARearrangedColourTableIsReadByColour) {
  const auto lineColour = [&](int index) {
    return CRAMToRGB32(vdp.GetPaletteColor(1, uint8_t(index)));
  };
  TIndexedBitmap picture(8, 8, 8);
  for (int32_t x = 0; x < 8; ++x)
    picture.Row(0)[x] = uint8_t(x);  // entries 0-7 in the first row, 0 elsewhere
  // Entries 1 and 2 exchanged, as a program that sorts colours would leave them.
  std::vector<uint32_t> table;
  for (int i = 0; i < 16; ++i)
    table.push_back(lineColour(i == 1 ? 2 : i == 2 ? 1 : i));
  picture.SetColors(0, table.data(), 16);
  std::vector<uint8_t> source(65536, 0);
  ASSERT_TRUE(ImportPatterns(picture, vdp, 1, 0, source).Ok);
  EXPECT_EQ(source[0], 0x02);  // entry 1 shows colour 2 of the line
  EXPECT_EQ(source[1], 0x13);
  EXPECT_EQ(source[2], 0x45);

  // One entry in use with a colour of its own: the entry numbers count.
  table[7] = 0xFF123456;
  picture.SetColors(0, table.data(), 16);
  ASSERT_TRUE(ImportPatterns(picture, vdp, 1, 0, source).Ok);
  EXPECT_EQ(source[0], 0x01);
  EXPECT_EQ(source[1], 0x23);

  // A rearranged entry whose colour two entries of the line have cannot be placed.
  vdp.SetColor(16 + 9, vdp.GetColor(16 + 2));
  table[7] = lineColour(7);
  picture.SetColors(0, table.data(), 16);
  const TPatternImport refused = ImportPatterns(picture, vdp, 1, 0, source);
  EXPECT_FALSE(refused.Ok);
  EXPECT_THAT(refused.Message, HasSubstr("at x 1, y 0 is colour 2 and colour 9 of palette line 1, "
                                         "and the picture's colour table is not in the order"));
  // Also where it stands in its place: the program may have merged entries 2 and 9.
  table[1] = lineColour(1);
  table[2] = lineColour(2);
  std::swap(table[3], table[4]);
  picture.SetColors(0, table.data(), 16);
  EXPECT_THAT(ImportPatterns(picture, vdp, 1, 0, source).Message, HasSubstr("at x 2, y 0"));
  EXPECT_EQ(source[1], 0x23);
}

// Each refusal names its reason and leaves every byte of the source alone.
TEST_F(PatternImportTest, RefusalsWriteNothing) {
  const auto refused = [&](const TIndexedBitmap& picture, int line, int first,
                           std::size_t sourceSize = 65536) {
    std::vector<uint8_t> source = noisySource();
    source.resize(sourceSize);
    const std::vector<uint8_t> before = source;
    const TPatternImport result = ImportPatterns(picture, vdp, line, first, source);
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(source, before);
    return result.Message;
  };
  EXPECT_THAT(refused(indexed(12, 8), 0, 0), HasSubstr("12 pixels wide"));
  EXPECT_THAT(refused(indexed(8, 12), 0, 0), HasSubstr("multiple of 8"));
  EXPECT_THAT(refused(indexed(0, 0), 0, 0), HasSubstr("empty"));
  EXPECT_THAT(refused(indexed(16, 8), 0, 2047), HasSubstr("room for 1 only"));
  EXPECT_THAT(refused(indexed(8, 8), 0, 2048), HasSubstr("0 to 2047"));
  EXPECT_THAT(refused(indexed(8, 16), 0, 0, 63), HasSubstr("room for 1 only"));  // 1 pattern
  EXPECT_THAT(refused(TIndexedBitmap(8, 8, 16), 0, 0), HasSubstr("16 bits per pixel"));

  // Colour 0 of line 0 is black; colour 2 of line 1 is 0x0048C: not in line 0.
  TIndexedBitmap stranger(8, 8, 32);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      reinterpret_cast<uint32_t*>(stranger.Row(y))[x] = CRAMToRGB32(vdp.GetColor(0));
  reinterpret_cast<uint32_t*>(stranger.Row(6))[5] = CRAMToRGB32(vdp.GetColor(18));
  const uint32_t strangeRgb = CRAMToRGB32(vdp.GetColor(18)) & 0xFFFFFF;
  char hex[8];
  std::snprintf(hex, sizeof hex, "#%06X", unsigned(strangeRgb));
  EXPECT_THAT(refused(stranger, 0, 0), HasSubstr(std::string("colour ") + hex + " at x 5, y 6"));

  // Two entries of the line with the same colour: the pixel could be either.
  vdp.SetColor(7, vdp.GetColor(0));
  TIndexedBitmap black(8, 8, 32);
  for (int32_t y = 0; y < 8; ++y)
    for (int32_t x = 0; x < 8; ++x)
      reinterpret_cast<uint32_t*>(black.Row(y))[x] = CRAMToRGB32(vdp.GetColor(0));
  EXPECT_THAT(refused(black, 0, 0), HasSubstr("colour 0 and colour 7 of palette line 0"));

  vdp.SetInterlaceMode(2);
  EXPECT_THAT(refused(indexed(8, 8), 0, 0), HasSubstr("multiple of 16"));
}

}  // namespace
}  // namespace vantor
