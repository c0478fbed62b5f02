#include "document/FieldSpec.h"

#include <gtest/gtest.h>

#include <tuple>

#include "document/DefaultLayout.h"
#include "document/Layout.h"

namespace vantor {
namespace {

TFieldSpec parse(std::string_view text, std::string_view sep = "|") {
  return ParseFieldSpec(text, sep);
}

TEST(FieldSpec, ParsesEntriesLabelsAndBlankLines) {
  const TFieldSpec z80 = parse("I|$00434|1");
  EXPECT_EQ(z80.Name, "I");
  EXPECT_EQ(z80.Offset, 0x434);
  EXPECT_EQ(z80.Size, 1);
  EXPECT_EQ(z80.Flags, 0u);
  EXPECT_TRUE(z80.Usable());

  const TFieldSpec blank = parse("");
  EXPECT_EQ(blank.Name, "");
  EXPECT_EQ(blank.Offset, -1);
  EXPECT_EQ(blank.Size, 0);
  EXPECT_FALSE(blank.Usable());

  const TFieldSpec label = parse("Z80:");
  EXPECT_EQ(label.Name, "Z80:");
  EXPECT_FALSE(label.Usable());

  const TFieldSpec hsram = parse("Horizontal Scroll RAM|?|960|%111");
  EXPECT_EQ(hsram.Offset, -1);
  EXPECT_EQ(hsram.Size, 960);
  EXPECT_EQ(hsram.Flags, 7u);
}

TEST(FieldSpec, BlanksBeforeANumberAreSkippedAfterItFatal) {
  EXPECT_EQ(parse("X|%1000|2").Offset, 8);
  EXPECT_EQ(parse("X|8 |2").Offset, -1);
  EXPECT_EQ(parse("X| 8|2").Offset, 8);
  const TFieldSpec spaced = parse("D0 | $00080 | 4");
  EXPECT_EQ(spaced.Name, "D0 ");
  EXPECT_EQ(spaced.Offset, -1);
  EXPECT_EQ(spaced.Size, 4);  // leading blanks are fine
  EXPECT_EQ(parse("  padded name |1|2").Name, "padded name ");
}

TEST(FieldSpec, FlagsAndExtraPieces) {
  const TFieldSpec flags = parse("X|$10|2|5");
  EXPECT_TRUE(HasFlag(flags.Flags, ffSigned));
  EXPECT_FALSE(HasFlag(flags.Flags, ffBigEndian));
  EXPECT_FALSE(HasFlag(6, ffBigEndian));  // bit 0 clear: the flag word is not valid
  EXPECT_TRUE(HasFlag(3, ffBigEndian));
  EXPECT_EQ(parse("X|1|2|3|garbage|more").Flags, 3u);
  EXPECT_EQ(parse("X|1|%11111111111111111111111111111111111|1").Size, -1);
  EXPECT_EQ(parse("X|1|$FFFFFFFF|$FFFFFFFF").Flags, 0xFFFFFFFFu);
}

TEST(FieldSpec, OtherSeparators) {
  const TFieldSpec semicolon = parse("D0;$00080;4", ";");
  EXPECT_EQ(semicolon.Name, "D0");
  EXPECT_EQ(semicolon.Offset, 0x80);
  EXPECT_EQ(semicolon.Size, 4);
  const TFieldSpec wide = parse("D0::$80::4", "::");
  EXPECT_EQ(wide.Offset, 0x80);
  EXPECT_EQ(wide.Size, 4);
  EXPECT_EQ(parse("D0|$80|4", "").Name, "D0|$80|4");
}

TEST(FieldSpec, EntriesLargerThanASavestateAreUnusableAndNamed) {
  const TLayout layout(
      LayoutIni::FromText("[VDP]\n"
                          "RAM=VDP RAM|$12478|2147483647\n"
                          "CRAM=Color RAM|$100000|128\n"
                          "VSRAM=Vertical Scroll RAM|$FFFB0|80\n"
                          "Line000=Reg00|$FFFFF|1\n"));
  TFieldSpec spec;
  EXPECT_FALSE(layout.ReadFieldSpec("VDP", "RAM", spec));
  EXPECT_EQ(spec.Size, 2147483647);
  EXPECT_EQ(layout.OversizedEntryError("vdp", "ram"),
            "Error in INI File: Section \"vdp\", Key \"ram\". Its size, 2147483647 bytes, is more "
            "than the 1048576 bytes a savestate holds.");
  // One that ends past the last byte a savestate can have is named too; it stays usable, so
  // that reading it fails as any read past the image's end does.
  EXPECT_TRUE(layout.ReadFieldSpec("VDP", "CRAM", spec));
  EXPECT_EQ(layout.OversizedEntryError("VDP", "CRAM"),
            "Error in INI File: Section \"VDP\", Key \"CRAM\". It ends at byte 1048704, past the "
            "1048576 bytes a savestate holds.");
  EXPECT_EQ(layout.OversizedEntryError("VDP", "VSRAM"), "");
  EXPECT_EQ(layout.OversizedEntryError("VDP", "Line000"), "");
  EXPECT_EQ(layout.OversizedEntryError("VDP", "HSRAM"), "");  // missing

  // No entry of the built-in layout is wrong.
  const TLayout builtIn(LayoutIni::FromText(DefaultLayoutText()));
  for (const char* section : {"CPU MC68000", "CPU Z80", "VDP", "PSG", "YM2612"}) {
    EXPECT_EQ(builtIn.OversizedEntryError(section, "RAM"), "");
    for (int i = 0; i < 1000; ++i)
      EXPECT_EQ(builtIn.OversizedEntryError(section, LineKey(i)), "");
  }
}

TEST(FieldSpec, FormatIsTheInverseOfParse) {
  EXPECT_EQ(FormatFieldSpec("Vertical Scroll RAM", 0x192, 80, 5, "|"),
            "Vertical Scroll RAM|$192|80|%101");
  EXPECT_EQ(FormatFieldSpec("VSRAM", 0x4E, 2, 0, "|"), "VSRAM|$4E|2");
  EXPECT_EQ(FormatFieldSpec("X", -1, 3, 6, "|"), "X|$FFFFFFFFFFFFFFFF|3");
  for (const auto& [name, offset, size, flags, sep] :
       {std::tuple{"D0", int64_t{0x80}, 4, 0u, "|"}, std::tuple{"A", int64_t{-1}, 0, 7u, ";"},
        std::tuple{"Big", int64_t{0x7FFFFFFFFFFF}, 960, 1u, "::"}}) {
    const TFieldSpec back = ParseFieldSpec(FormatFieldSpec(name, offset, size, flags, sep), sep);
    EXPECT_EQ(back.Name, name);
    EXPECT_EQ(back.Offset, offset);
    EXPECT_EQ(back.Size, size);
    EXPECT_EQ(back.Flags, flags);
  }
}

}  // namespace
}  // namespace vantor
