#include "document/FieldValues.h"

#include <gtest/gtest.h>

#include "document/DefaultLayout.h"
#include "document/Errors.h"
#include "document/Layout.h"
#include "document/SavestateImage.h"

namespace vantor {
namespace {

class FieldValues : public ::testing::Test {
 protected:
  TLayout layout{LayoutIni::FromText(std::string(DefaultLayoutText()) +
                                     "\r\n[Test]\r\n"
                                     "SR=SR|$000D0|2\r\n"
                                     "SRBig=SR|$000D0|2|%11\r\n"
                                     "Signed=S|$00010|1|%101\r\n"
                                     "Wide=W|$00020|8\r\n"
                                     "Huge=H|$00020|12\r\n"
                                     "Far=F|$7FFFFFFFFFFF|1\r\n"
                                     "Block=Blk|$00040|6|%111\r\n")};
  SavestateImage image{std::vector<uint8_t>(140408, 0)};

  TFieldValue read(std::string_view section, std::string_view key) {
    return ReadField(layout, image, section, key);
  }
};

TEST_F(FieldValues, RegisterLinesHonourByteOrderAndSign) {
  image.Data()[0xD0] = 0x27;
  image.Data()[0xD1] = 0x04;
  const TFieldValue sr = read("Test", "SR");
  ASSERT_TRUE(sr.Ok);
  EXPECT_EQ(sr.Value, 1063);
  EXPECT_EQ(sr.ByteCount, 2);
  EXPECT_EQ(FormatFieldTexts(sr.Value, 2),
            (std::array<std::string, 3>{"$0427", "1063", "%0000010000100111"}));
  EXPECT_EQ(read("Test", "SRBig").Value, 0x2704);

  image.Data()[0x10] = 0x80;
  const TFieldValue s = read("Test", "Signed");
  EXPECT_EQ(s.Value, -128);
  EXPECT_EQ(FormatFieldTexts(s.Value, 1), (std::array<std::string, 3>{"$80", "-128", "%10000000"}));
  EXPECT_EQ(FormatFieldTexts(-2, 2)[0], "$FFFE");
  EXPECT_EQ(FormatFieldTexts(10, 1), (std::array<std::string, 3>{"$0A", "10", "%00001010"}));
}

TEST_F(FieldValues, EightByteFieldsAndLargerSizesReadEightBytes) {
  image.Data()[0x27] = 0x80;
  const TFieldValue wide = read("Test", "Wide");
  EXPECT_EQ(FormatFieldTexts(wide.Value, 8)[2].substr(0, 2), "%1");
  const TFieldValue huge = read("Test", "Huge");
  EXPECT_EQ(huge.ByteCount, 8);
  EXPECT_EQ(huge.Spec.Size, 8);
  EXPECT_EQ(huge.Value, wide.Value);
}

TEST_F(FieldValues, WritingStoresTheLowBytesInTheFieldsOrder) {
  EXPECT_TRUE(WriteField(layout, image, "Test", "SRBig", 0x12345678));
  EXPECT_EQ(image.Data()[0xD0], 0x56);
  EXPECT_EQ(image.Data()[0xD1], 0x78);
  EXPECT_EQ(image.Data()[0xD2], 0x00);
  EXPECT_TRUE(WriteField(layout, image, "Test", "Signed", -56));
  EXPECT_EQ(image.Data()[0x10], 0xC8);
  EXPECT_FALSE(WriteField(layout, image, "CPU Z80", "Line000", 1));  // a label
}

TEST_F(FieldValues, SubFieldKeysAddressElementsOfBlocks) {
  image.Data()[0x192 + 0x4E] = 0x34;
  image.Data()[0x192 + 0x4F] = 0x12;
  const std::string key = SubFieldKey(layout, "VSRAM", 0x4E, 2);
  EXPECT_EQ(key, "VSRAM|$4E|2");
  const TFieldValue v = read("VDP", key);
  ASSERT_TRUE(v.Ok);
  EXPECT_EQ(v.Value, 0x1234);
  EXPECT_EQ(v.Spec.Name, "Vertical Scroll RAM[39]");
  EXPECT_EQ(v.Spec.Offset, 0x192 + 0x4E);
  EXPECT_EQ(v.Spec.Size, 2);
  EXPECT_FALSE(read("VDP", "VSRAM|$50|2").Ok);
  EXPECT_EQ(read("VDP", "CRAM|$A|2").Spec.Name, "Color RAM[5]");

  // The block's flags apply: big endian and signed.
  image.Data()[0x44] = 0xFF;
  image.Data()[0x45] = 0xFE;
  EXPECT_EQ(read("Test", "Block|$4|2").Value, -2);
  // The last element is cut to the bytes left in the block.
  const TFieldValue cut = read("Test", "Block|$5|2");
  EXPECT_EQ(cut.ByteCount, 1);
  EXPECT_EQ(cut.Value, -2);
  EXPECT_TRUE(WriteFieldValueAt(layout, image, "Test", "Block", 4, 0x0102, 2));
  EXPECT_EQ(image.Data()[0x44], 0x01);
  EXPECT_EQ(image.Data()[0x45], 0x02);
  // An element size of zero reads nothing and names element 0.
  const TFieldValue zero = read("Test", "Block|$4|0");
  EXPECT_FALSE(zero.Ok);
  EXPECT_EQ(zero.Spec.Name, "Blk[0]");
}

TEST_F(FieldValues, ReadsPastTheImageFailWithTheStreamMessage) {
  image.SetSize(0xD1);
  try {
    read("Test", "SR");
    FAIL() << "no error";
  } catch (const EFileError& error) {
    EXPECT_STREQ(error.what(), "Stream read error");
  }
  EXPECT_THROW(read("Test", "Far"), EFileError);
  // Writes past the end make the image grow, but never without bound.
  EXPECT_TRUE(WriteField(layout, image, "Test", "SR", 0x1234));
  EXPECT_EQ(image.Size(), 0xD2u);
  EXPECT_THROW(WriteField(layout, image, "Test", "Far", 1), EFileError);
}

// For the grids of a short savestate: a field past the end is named but not read.
TEST_F(FieldValues, TryReadFieldFlagsFieldsPastTheImage) {
  image.SetSize(0x45);
  const TFieldValue inside = TryReadField(layout, image, "Test", "Block|$2|2");
  EXPECT_TRUE(inside.Ok);
  EXPECT_FALSE(inside.PastEnd);
  const TFieldValue across = TryReadField(layout, image, "Test", "Block|$4|2");
  EXPECT_FALSE(across.Ok);
  EXPECT_TRUE(across.PastEnd);
  EXPECT_EQ(across.Spec.Name, "Blk[2]");
  const TFieldValue far = TryReadField(layout, image, "Test", "Far");
  EXPECT_TRUE(far.PastEnd);
  EXPECT_EQ(far.Spec.Name, "F");
  // An entry that is not usable is not past the end: it has no place at all.
  EXPECT_FALSE(TryReadField(layout, image, "Test", "Missing").PastEnd);
}

TEST(ParseFieldInput, NumbersInEachColumnAndTheOneKeySteps) {
  const TFieldSpec word{"W", 0, 2, 0};
  const TFieldSpec byte{"B", 0, 1, 0};
  const TFieldSpec signedByte{"S", 0, 1, ffValid | ffSigned};
  using enum TColumnKind;
  EXPECT_EQ(ParseFieldInput(ckHex, "+", 0xFFFF, word), 0);
  EXPECT_EQ(ParseFieldInput(ckHex, "*", 0xFFFF, word), 0x000F);
  EXPECT_EQ(ParseFieldInput(ckHex, "/", 0x20, word), 0x10);
  EXPECT_EQ(ParseFieldInput(ckHex, "FF", 0, byte), 255);
  EXPECT_EQ(ParseFieldInput(ckHex, "1FF", 0, byte), 255);
  EXPECT_EQ(ParseFieldInput(ckHex, " $1f ", 0, byte), 31);
  EXPECT_EQ(ParseFieldInput(ckHex, "zz", 7, byte), 7);
  EXPECT_EQ(ParseFieldInput(ckHex, "", 7, byte), 7);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "$10", 0, byte), 16);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "200", 0, signedByte), -56);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "+", 127, signedByte), -128);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "-", 0, byte), 255);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "+", 5, TFieldSpec{"D0", 0, 4, 0}), 6);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "*", 6, TFieldSpec{"D0", 0, 4, 0}), 16);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "-3", 0, TFieldSpec{"D0", 0, 4, 0}), 0xFFFFFFFD);
  EXPECT_EQ(ParseFieldInput(ckBinary, "%101", 0, byte), 5);
  EXPECT_EQ(ParseFieldInput(ckBinary, "101", 0, byte), 5);
  EXPECT_EQ(ParseFieldInput(ckBinary, "12", 9, byte), 9);
  EXPECT_EQ(ParseFieldInput(ckBinary, "*", 9, byte), 11);
  EXPECT_EQ(ParseFieldInput(ckDecimal, "+", INT64_MAX, TFieldSpec{"Q", 0, 8, 0}), INT64_MIN);
}

}  // namespace
}  // namespace vantor
