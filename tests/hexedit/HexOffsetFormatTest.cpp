#include "hexedit/HexOffsetFormat.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

std::string ErrorOf(std::string_view text) {
  const OffsetFormatParse parse = ParseOffsetFormat(text);
  EXPECT_FALSE(parse.format.has_value()) << text;
  return parse.error;
}

std::string Offset(std::string_view text, int64_t offset, int64_t lastRow, int unit = 1) {
  const OffsetFormatParse parse = ParseOffsetFormat(text);
  EXPECT_TRUE(parse.format.has_value()) << parse.error;
  return FormatOffset(*parse.format, offset, unit, lastRow, false);
}

TEST(OffsetFormat, ProgramFormatShowsDollarAndAsManyDigitsAsTheLastRowNeeds) {
  EXPECT_EQ(Offset("-!10:$|", 0, 0xFFF0), "$0000");
  EXPECT_EQ(Offset("-!10:$|", 0xFFF0, 0xFFF0), "$FFF0");
  EXPECT_EQ(Offset("-!10:$|", 0x1FF0, 0x1FF0), "$1FF0");
  EXPECT_EQ(Offset("-!10:$|", 0x10, 0xF0), "$10");
  EXPECT_EQ(Offset("-!10:0x|", 0x20, 0xFFF0), "0x0020");
}

TEST(OffsetFormat, DigitsRadixUnitPrefixAndSuffix) {
  EXPECT_EQ(Offset("8!10:|h", 0xAB, 0xFFF0), "000000ABh");
  EXPECT_EQ(Offset("10:|", 0xAB, 0xFFF0), "AB");
  EXPECT_EQ(Offset("A:|", 160, 160), "160");
  EXPECT_EQ(Offset("-!2:%|", 5, 15), "%0101");
  EXPECT_EQ(Offset("4%-!10:|", 0x40, 0xFFF0, 4), "0010");

  const auto lower = ParseOffsetFormat("-!10:$|");
  EXPECT_EQ(FormatOffset(*lower.format, 0xABC0, 1, 0xFFF0, true), "$abc0");
}

TEST(OffsetFormat, UnitPartNamesRowsColumnsOrTheRuler) {
  const auto row = ParseOffsetFormat("r%-!10:|");
  ASSERT_TRUE(row.format);
  EXPECT_EQ(row.format->unit, TOffsetUnit::ouRow);
  EXPECT_EQ(OffsetUnitBytes(*row.format, 8, 2, 1), 8);
  EXPECT_EQ(OffsetUnitError(*row.format, 16, 2, 1),
            "Invalid bytes per unit value 16, allowed: 1,2,4,8");
  const auto column = ParseOffsetFormat("C%-!10:|");
  EXPECT_EQ(OffsetUnitBytes(*column.format, 16, 2, 1), 2);
  const auto ruler = ParseOffsetFormat("%10:|");
  EXPECT_EQ(OffsetUnitBytes(*ruler.format, 16, 2, 4), 4);
  EXPECT_EQ(OffsetUnitError(*ruler.format, 16, 2, 4), "");
}

TEST(OffsetFormat, EveryBrokenFormatNamesItsFault) {
  EXPECT_EQ(ErrorOf("-!10$|"), "Missing char in offset format: :");
  EXPECT_EQ(ErrorOf("-!:$|"), "Missing char in offset format: number radix");
  EXPECT_EQ(ErrorOf("-!10:$"), "Missing char in offset format: |");
  EXPECT_EQ(ErrorOf("-!11:$|"), "Invalid radix in offset format (11h), allowed: 02h..10h");
  EXPECT_EQ(ErrorOf("1:|"), "Invalid radix in offset format (1h), allowed: 02h..10h");
  EXPECT_EQ(ErrorOf("-!1G:$|"), "Invalid character G, cannot convert using radix 10h");
  EXPECT_EQ(ErrorOf("3%10:|"), "Invalid bytes per unit value 3, allowed: 1,2,4,8");
}

TEST(OffsetFormat, EmptyFormatShowsNoOffsets) {
  const auto parse = ParseOffsetFormat("");
  ASSERT_TRUE(parse.format);
  EXPECT_TRUE(parse.format->none);
  EXPECT_EQ(FormatOffset(*parse.format, 0x10, 1, 0xFFF0, false), "");
}

TEST(Ruler, NumbersEachUnitAboveBothFields) {
  EXPECT_EQ(RulerHexText(16, 1), "000102030405060708090A0B0C0D0E0F");
  EXPECT_EQ(RulerCharText(16, 1), "0123456789ABCDEF");
  EXPECT_EQ(RulerHexText(8, 2), "0000000100020003");
  EXPECT_EQ(RulerCharText(8, 2), " 0 1 2 3");
  EXPECT_EQ(RulerHexText(5, 2), "00000001  ");
  EXPECT_EQ(RulerHexText(17, 1).substr(32), "10");
}

}  // namespace
}  // namespace vantor
