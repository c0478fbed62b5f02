// GIMP palettes and Adobe colour tables: what the program writes reads back the same, files
// as other programs write them (by the formats' published descriptions) read right, and
// malformed ones are refused with a reason.
#include "document/PaletteFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::vector<TPalColor> kColors = {{255, 146, 0}, {0, 0, 255}, {1, 2, 3},
                                        {36, 73, 109}, {0, 0, 0},   {255, 255, 255}};

TEST(PaletteFiles, WhatTheProgramWritesReadsBackTheSame) {
  std::vector<TPalColor> many;
  for (int i = 0; i < 64; ++i)
    many.push_back({i * 4, 255 - i, i});
  for (TPaletteFormat format : {TPaletteFormat::pfGimp, TPaletteFormat::pfAct}) {
    for (const std::vector<TPalColor>& colors : {kColors, many}) {
      const TPaletteReadResult read = ReadPalette(format, FormatPalette(format, colors), 64);
      ASSERT_TRUE(read.Ok) << read.Message;
      EXPECT_EQ(read.Colors, colors);
    }
  }
}

TEST(PaletteFiles, AGimpPaletteAsGimpWritesIt) {
  const std::string text =
      "GIMP Palette\n"
      "Name: Sunset\n"
      "Columns: 4\n"
      "#\n"
      "255 146   0\tOrange\n"
      "  0   0 255\tBlue\n"
      "\n"
      "# a comment between colours\n"
      "  1   2   3\n";
  const TPaletteReadResult read = ReadPalette(TPaletteFormat::pfGimp, text);
  ASSERT_TRUE(read.Ok) << read.Message;
  EXPECT_THAT(read.Colors,
              ElementsAre(TPalColor{255, 146, 0}, TPalColor{0, 0, 255}, TPalColor{1, 2, 3}));

  // Written on Windows: a byte order mark and CR LF line ends.
  const std::string windows = "\xEF\xBB\xBFGIMP Palette\r\nName: x\r\n10 20 30 Dark\r\n";
  const TPaletteReadResult fromWindows = ReadPalette(TPaletteFormat::pfGimp, windows);
  ASSERT_TRUE(fromWindows.Ok) << fromWindows.Message;
  EXPECT_THAT(fromWindows.Colors, ElementsAre(TPalColor{10, 20, 30}));

  // Colours past the most that are wanted are not read, faults after them not seen.
  const TPaletteReadResult two =
      ReadPalette(TPaletteFormat::pfGimp, "GIMP Palette\n1 1 1\n2 2 2\nnonsense\n", 2);
  EXPECT_TRUE(two.Ok);
  EXPECT_THAT(two.Colors, ElementsAre(TPalColor{1, 1, 1}, TPalColor{2, 2, 2}));
}

TEST(PaletteFiles, MalformedGimpPalettesAreRefused) {
  const auto message = [](std::string_view text) {
    const TPaletteReadResult read = ReadPalette(TPaletteFormat::pfGimp, text);
    EXPECT_FALSE(read.Ok);
    EXPECT_THAT(read.Colors, IsEmpty());
    return read.Message;
  };
  EXPECT_EQ(message("JASC-PAL\r\n0100\r\n1\r\n0 0 0\r\n"), "Wrong File Type!");
  EXPECT_EQ(message(""), "Wrong File Type!");
  EXPECT_EQ(message("\nGIMP Palette\n"), "Wrong File Type!");
  EXPECT_EQ(message("GIMP Palette\nName: x\n#\n1 2 3\n4 five 6\n"),
            "Line 5 of the GIMP palette is not a colour (red, green and blue from 0 to 255): "
            "\"4 five 6\".");
  EXPECT_THAT(message("GIMP Palette\n1 2 256\n"), HasSubstr("Line 2 "));
  EXPECT_THAT(message("GIMP Palette\n1 2\n"), HasSubstr("Line 2 "));
  EXPECT_THAT(message("GIMP Palette\n1 2 -3\n"), HasSubstr("Line 2 "));
  EXPECT_THAT(message("GIMP Palette\n1 2 3\nName: late\n"), HasSubstr("Line 3 "));
}

TEST(PaletteFiles, AdobeColourTablesWithAndWithoutTheirCount) {
  std::string table(768, '\0');
  table[0] = char(255);
  table[4] = char(128);
  table[767] = char(7);
  const TPaletteReadResult all = ReadPalette(TPaletteFormat::pfAct, table, 256);
  ASSERT_TRUE(all.Ok);
  ASSERT_EQ(all.Colors.size(), 256u);
  EXPECT_EQ(all.Colors[0], (TPalColor{255, 0, 0}));
  EXPECT_EQ(all.Colors[1], (TPalColor{0, 128, 0}));
  EXPECT_EQ(all.Colors[255], (TPalColor{0, 0, 7}));
  EXPECT_EQ(ReadPalette(TPaletteFormat::pfAct, table).Colors.size(), 64u);

  // The count 2 and the transparent index 0 of the trailer.
  const std::string counted = table + std::string("\x00\x02\x00\x00", 4);
  const TPaletteReadResult two = ReadPalette(TPaletteFormat::pfAct, counted);
  ASSERT_TRUE(two.Ok);
  EXPECT_THAT(two.Colors, ElementsAre(TPalColor{255, 0, 0}, TPalColor{0, 128, 0}));

  for (const std::string& wrong :
       {table.substr(0, 767), table + "x", table + std::string("\x01\x01\xFF\xFF", 4)}) {
    const TPaletteReadResult read = ReadPalette(TPaletteFormat::pfAct, wrong);
    EXPECT_FALSE(read.Ok);
    EXPECT_EQ(read.Message, "Wrong File Type!");
  }

  // Written: 256 colours, the selection's own count, no transparent colour.
  const std::string written = FormatPalette(TPaletteFormat::pfAct, kColors);
  ASSERT_EQ(written.size(), 772u);
  EXPECT_EQ(written.substr(0, 6), std::string("\xFF\x92\x00\x00\x00\xFF", 6));
  EXPECT_EQ(written.substr(768), std::string("\x00\x06\xFF\xFF", 4));
}

TEST(PaletteFiles, FormatsByNameAndExtension) {
  EXPECT_EQ(PaletteFormatFromFileName("a/b.GPL"), TPaletteFormat::pfGimp);
  EXPECT_EQ(PaletteFormatFromFileName("x.act"), TPaletteFormat::pfAct);
  EXPECT_EQ(PaletteFormatFromFileName("x.PspPalette"), TPaletteFormat::pfJasc);
  EXPECT_EQ(PaletteFormatFromFileName("x.pal"), TPaletteFormat::pfJasc);
  EXPECT_EQ(PaletteFormatFromFileName("x.txt"), std::nullopt);
  EXPECT_EQ(PaletteFormatFromName("gimp"), TPaletteFormat::pfGimp);
  EXPECT_EQ(PaletteFormatFromName("GIMP"), std::nullopt);
  // JASC-PAL through the same door keeps its own rules.
  const TPaletteReadResult jasc =
      ReadPalette(TPaletteFormat::pfJasc, FormatPalette(TPaletteFormat::pfJasc, kColors), 6);
  EXPECT_EQ(jasc.Colors, kColors);
  EXPECT_EQ(ReadPalette(TPaletteFormat::pfJasc, "GIMP Palette\n").Message, "Wrong File Type!");
}

}  // namespace
}  // namespace vantor
