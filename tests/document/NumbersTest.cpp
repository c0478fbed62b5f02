#include "document/Numbers.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(IntegerSyntax, AcceptsDecimalHexAndSigns) {
  EXPECT_EQ(TryParseInt64("140408"), 140408);
  EXPECT_EQ(TryParseInt64("  -42"), -42);
  EXPECT_EQ(TryParseInt64("+7"), 7);
  EXPECT_EQ(TryParseInt64("$00080"), 0x80);
  EXPECT_EQ(TryParseInt64("x1f"), 0x1F);
  EXPECT_EQ(TryParseInt64("X1F"), 0x1F);
  EXPECT_EQ(TryParseInt64("0x1F"), 0x1F);
  EXPECT_EQ(TryParseInt64("0XaB"), 0xAB);
  EXPECT_EQ(TryParseInt64("-$10"), -16);
  EXPECT_EQ(TryParseInt64("0"), 0);
}

TEST(IntegerSyntax, RefusesTrailingTextEmptyAndBareprefixes) {
  EXPECT_FALSE(TryParseInt64(""));
  EXPECT_FALSE(TryParseInt64("   "));
  EXPECT_FALSE(TryParseInt64("8 "));  // a blank after the number is fatal
  EXPECT_FALSE(TryParseInt64("$"));
  EXPECT_FALSE(TryParseInt64("0x"));
  EXPECT_FALSE(TryParseInt64("-"));
  EXPECT_FALSE(TryParseInt64("12a"));
  EXPECT_FALSE(TryParseInt64("%101"));
  EXPECT_FALSE(TryParseInt64("?"));
}

TEST(IntegerSyntax, HexUsesTheFullWidthDecimalMustFitSigned) {
  EXPECT_EQ(TryParseInt32("$FFFFFFFF"), -1);
  EXPECT_EQ(TryParseInt32("$80000000"), INT32_MIN);
  EXPECT_FALSE(TryParseInt32("$100000000"));
  EXPECT_EQ(TryParseInt32("2147483647"), INT32_MAX);
  EXPECT_FALSE(TryParseInt32("2147483648"));
  EXPECT_EQ(TryParseInt32("-2147483648"), INT32_MIN);
  EXPECT_FALSE(TryParseInt32("-2147483649"));
  EXPECT_EQ(TryParseInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_FALSE(TryParseInt64("$10000000000000000"));
  EXPECT_FALSE(TryParseInt64("9223372036854775808"));
  EXPECT_EQ(TryParseInt64("-9223372036854775808"), INT64_MIN);
}

TEST(BinarySyntax, TrimsTakesDigitsAndHasNoOverflowCheck) {
  EXPECT_EQ(TryParseBinary("%111"), 7);
  EXPECT_EQ(TryParseBinary(" %101 "), 5);
  EXPECT_EQ(TryParseBinary("101"), 5);
  EXPECT_FALSE(TryParseBinary("%"));
  EXPECT_FALSE(TryParseBinary(""));
  EXPECT_FALSE(TryParseBinary("%12"));
  EXPECT_FALSE(TryParseBinary("%%1"));
  // 65 digits: the leading 1 is pushed out.
  EXPECT_EQ(TryParseBinary("1" + std::string(63, '0') + "1"), 1);
  EXPECT_EQ(TryParseBinary("11" + std::string(63, '0')), INT64_MIN);
  EXPECT_EQ(ParseBinaryDef("12", 99), 99);
}

TEST(BitHelpers, SwapBytesReversesOnlyTheLowestBytes) {
  EXPECT_EQ(SwapBytes(3, 0x44332211), 0x44112233);
  EXPECT_EQ(SwapBytes(2, 0x0427), 0x2704);
  EXPECT_EQ(SwapBytes(1, 0x1234), 0x1234);
  EXPECT_EQ(SwapBytes(9, 0x1234), 0x1234);
  EXPECT_EQ(SwapBytes(8, 0x0102030405060708), 0x0807060504030201);
}

TEST(BitHelpers, SignExtendAndBitRanges) {
  EXPECT_EQ(SignExtend(8, 0x80), -128);
  EXPECT_EQ(SignExtend(8, 0x17F), 127);
  EXPECT_EQ(SignExtend(16, 0xFFFE), -2);
  EXPECT_EQ(SignExtend(0, 0x1FF), 0x1FF);
  EXPECT_EQ(SignExtend(65, 0x1FF), 0x1FF);
  EXPECT_EQ(SignExtend(64, -5), -5);
  EXPECT_EQ(SetBitRange(0, 7, 0), 0xFF);
  EXPECT_EQ(SetBitRange(0, 63, 0), -1);
  EXPECT_EQ(SetBitRange(4, 5, 1), 0x31);
}

TEST(BitHelpers, FormatBinaryKeepsAtLeastTheSignificantDigits) {
  EXPECT_EQ(FormatBinary(0, 0), "0");
  EXPECT_EQ(FormatBinary(0, 5), "101");
  EXPECT_EQ(FormatBinary(8, 10), "00001010");
  EXPECT_EQ(FormatBinary(8, 0x1FF), "111111111");
  EXPECT_EQ(FormatBinary(100, 1).size(), 64u);
  EXPECT_EQ(FormatBinary(0, -1), std::string(64, '1'));
  EXPECT_EQ(FormatHex(10, 2), "0A");
  EXPECT_EQ(FormatHex(-2, 4), "FFFFFFFFFFFFFFFE");
}

}  // namespace
}  // namespace vantor
