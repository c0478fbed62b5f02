#include "document/LayoutIni.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "TestData.h"
#include "document/DefaultLayout.h"
#include "document/FieldSpec.h"
#include "document/Layout.h"
#include "document/SavestateDocument.h"

namespace vantor {
namespace {

TEST(LayoutIni, ReadsSectionsKeysAndValuesAsTheFileHasThem) {
  const LayoutIni ini = LayoutIni::FromText(
      "Stray=before any section\r\n"
      "  [ General ]  \r\n"
      "; a comment=1\n"
      ";FileIdentifier01=$0000E040|$00003|4\r\n"
      "\tSepChar = ; \r\n"
      "Empty=\r\n"
      "NoEquals\r\n"
      "Number=$10\r\n"
      "Broken=12 monkeys\r\n"
      "[cpu z80]\r\n"
      "RAM=Z80 RAM|$00474|8192");
  EXPECT_EQ(ini.ReadString("general", "SEPCHAR", "|"), ";");
  EXPECT_EQ(ini.ReadString("General", "Empty", "default"), "");
  EXPECT_EQ(ini.ReadString("General", "Missing", "default"), "default");
  EXPECT_EQ(ini.ReadString("General", "NoEquals", "x"), "x");
  EXPECT_EQ(ini.ReadString("General", "Stray", "x"), "x");
  EXPECT_EQ(ini.ReadString("General", "FileIdentifier01", "x"), "x");
  EXPECT_EQ(ini.ReadString("General", "; a comment", "x"), "x");
  EXPECT_EQ(ini.ReadInteger("General", "Number", 0), 16);
  EXPECT_EQ(ini.ReadInteger("General", "Broken", 5), 5);
  EXPECT_EQ(ini.ReadInteger("General", "Empty", 5), 5);
  EXPECT_TRUE(ini.ReadBool("General", "Number", false));
  EXPECT_EQ(ini.ReadString("CPU Z80", "ram", ""), "Z80 RAM|$00474|8192");
}

// Lookups of every length and the numbered key names the program asks for.
TEST(LayoutIni, LongAndNumberedKeysAreFound) {
  const std::string longKey(120, 'K');
  const LayoutIni ini = LayoutIni::FromText("[A Section]\n" + longKey +
                                            "=long\nLine007=seven\n"
                                            "fileidentifier05=five\n");
  EXPECT_EQ(ini.ReadString("a section", std::string(120, 'k'), ""), "long");
  EXPECT_EQ(ini.ReadString("A SECTION", LineKey(7), ""), "seven");
  EXPECT_EQ(ini.ReadString("A Section", FileIdentifierKey(5), ""), "five");
  EXPECT_EQ(LineKey(1000), "Line1000");
  EXPECT_EQ(LineKey(-5), "Line-05");
  EXPECT_EQ(FileIdentifierKey(42), "FileIdentifier42");
}

TEST(LayoutIni, AByteOrderMarkBeforeTheFirstSectionIsSkipped) {
  const TLayout layout(
      LayoutIni::FromText("\xEF\xBB\xBF[General]\r\n"
                          "SepChar=;\r\n"
                          "FileIdentifier00=GST;$00000;3\r\n"));
  EXPECT_EQ(layout.SepChar(), ";");
  // The identifier is there, so a file of another kind is refused.
  const auto reader = [](std::string_view content) -> TByteReader {
    return [content](uint64_t offset, void* dst, std::size_t count) {
      if (offset + count > content.size()) return false;
      std::copy_n(content.data() + offset, count, static_cast<char*>(dst));
      return true;
    };
  };
  EXPECT_TRUE(MatchFileIdentifiers(layout, reader("GST@"), {}));
  EXPECT_FALSE(MatchFileIdentifiers(layout, reader("GSX@"), {}));
}

TEST(LayoutIni, RewritesStayInMemory) {
  LayoutIni ini = LayoutIni::FromText("[VDP]\nVSRAM=Vertical Scroll RAM|$00192|80\n");
  ini.WriteString("vdp", "vsram", "Vertical Scroll RAM|$192|80|%101");
  ini.WriteString("New", "Key", "Value");
  EXPECT_EQ(ini.ReadString("VDP", "VSRAM", ""), "Vertical Scroll RAM|$192|80|%101");
  EXPECT_EQ(ini.ReadString("new", "key", ""), "Value");
}

TEST(DefaultLayout, IsTheGenecystLayoutByteForByte) {
  const std::string_view text = DefaultLayoutText();
  EXPECT_EQ(text.size(), 10247u);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 394);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 394);
  EXPECT_TRUE(text.ends_with("Line256=Word255|$003E2|2\r\n"));
  EXPECT_TRUE(text.starts_with(
      "; Feel free to change these settings, if you know what you are doing.\r\n"));
  EXPECT_NE(text.find("there can be up to 100 of them (00..99).\r\n\r\n\r\n[General]\r\n"),
            std::string_view::npos);
  EXPECT_NE(text.find("Line013=I|$00434|1\r\n\r\n\r\n\r\n[VDP]\r\n"), std::string_view::npos);
  EXPECT_NE(text.find("Line024=\r\nLine025=Gens & Kega only:\r\n"), std::string_view::npos);
  EXPECT_NE(text.find("HSRAM=Horizontal Scroll RAM|?|960|%111\r\n"), std::string_view::npos);
}

TEST(DefaultLayout, MatchesTheEmulatorFixtureButForDetection) {
  const std::string path = testdata::TestDataPath("emulator-h40/layout.ini");
  FILE* file = std::fopen(path.c_str(), "rb");
  ASSERT_TRUE(file) << "cannot read " << path;
  std::string fixture(20000, '\0');
  fixture.resize(std::fread(fixture.data(), 1, fixture.size(), file));
  std::fclose(file);
  // The fixture turns byte-order detection off; everything else is the built-in layout.
  const std::size_t at = fixture.find("AutoDetectVRAMEndian=0");
  ASSERT_NE(at, std::string::npos);
  fixture[at + 21] = '1';
  EXPECT_EQ(fixture, DefaultLayoutText());
}

TEST(DefaultLayout, ReadsAsTheRowsTheGridsShow) {
  const TLayout layout(LayoutIni::FromText(DefaultLayoutText()));
  EXPECT_EQ(layout.SepChar(), "|");
  EXPECT_EQ(layout.DefaultFileSize(), 140408);
  EXPECT_EQ(layout.FilenameFilter(), "Genecyst type savestates (*.gs?)|*.gs?|All files (*.*)|*.*");
  TFieldSpec spec;
  EXPECT_TRUE(layout.ReadFieldSpec("CPU MC68000", LineKey(7), spec));
  EXPECT_EQ(spec.Name, "D7");
  EXPECT_EQ(spec.Offset, 0x9C);
  EXPECT_FALSE(layout.ReadFieldSpec("CPU MC68000", LineKey(8), spec));
  EXPECT_EQ(spec.Name, "");
  EXPECT_FALSE(layout.ReadFieldSpec("CPU Z80", LineKey(0), spec));
  EXPECT_EQ(spec.Name, "Z80:");
  EXPECT_TRUE(layout.ReadFieldSpec("YM2612", LineKey(256), spec));
  EXPECT_EQ(spec.Offset, 0x3E2);
  EXPECT_FALSE(layout.ReadFieldSpec("VDP", "HSRAM", spec));
  EXPECT_EQ(spec.Size, 960);
  EXPECT_EQ(spec.Flags, 7u);
}

}  // namespace
}  // namespace vantor
