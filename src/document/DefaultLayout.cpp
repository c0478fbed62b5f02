#include "document/DefaultLayout.h"

#include <cstdio>
#include <string>

namespace vantor {
namespace {

constexpr const char* kHeaderComment[] = {
    "; Feel free to change these settings, if you know what you are doing.",
    "; If you mess up, just delete this file, it will be recreated.",
    ";",
    "; Notes:",
    "; Hexadecimal number strings must be marked by a preceding \"$\". Binary",
    "; number strings must be marked by a preceding \"%\".",
    "; Common format is \"Name|File Offset|Size in Bytes|Flags\", assuming that",
    "; \"|\" is the separating character (\"SepChar\").",
    "; \"Flags\" is optional and treated as 32 bit number; so far three flags",
    "; are defined:",
    "; Bit 0: if set, \"Flags\" is valid, otherwise \"Flags\" is considered to be",
    ";        undefined, regardless of the state of all other bits.",
    "; Bit 1: if set, Value is considered to be big endian, otherwise little.",
    "; Bit 2: if set, Value is considered to be signed, otherwise unsigned.",
    ";",
    "; XXX in \"LineXXX\" must be a decimal number with leading zeroes (000..999).",
    "; \"Size in Bytes\" should be limited to 1..4 for LineXXX fields.",
    "; A data file will only be loaded when it matches ALL \"FileIdentifiers\",",
    "; there can be up to 100 of them (00..99).",
};

constexpr const char* kGeneral[] = {
    "[General]",
    "FilenameFilter=Genecyst type savestates (*.gs?)|*.gs?|All files (*.*)|*.*",
    "DefaultFileSize=140408",
    "SepChar=|",
    "FileIdentifier00=GST|$00000|3",
    "AutoDetectVRAMEndian=1",
    "",
    "; For savestates produced by Gens:",
    ";FileIdentifier01=$0000E040|$00003|4",
    "",
    "; For savestates produced by Genecyst:",
    ";FileIdentifier01=$000040E0|$00006|4",
    "",
    "FileIdentifier02=0|$0000C|4",
};

constexpr const char* kZ80Registers[] = {"AF", "BC", "DE",  "HL",  "IX",  "IY",
                                         "PC", "SP", "AF'", "BC'", "DE'", "HL'"};

// prefix followed by n in decimal.
std::string numbered(const char* prefix, int n) {
  std::string text(prefix);
  text += std::to_string(n);
  return text;
}

class Writer {
 public:
  void line(const std::string& text) { m_text += text + "\r\n"; }
  void blank(int count) {
    for (int i = 0; i < count; ++i)
      line("");
  }
  // "LineNNN=Name|$OOOOO|size"
  void field(int line, const std::string& name, int offset, int size) {
    char buffer[160];
    std::snprintf(buffer, sizeof buffer, "Line%03d=%s|$%05X|%d", line, name.c_str(), offset, size);
    this->line(buffer);
  }
  void empty(int line) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "Line%03d=", line);
    this->line(buffer);
  }
  void label(int line, const std::string& text) {
    empty(line);
    m_text.insert(m_text.size() - 2, text);
  }
  std::string take() { return std::move(m_text); }

 private:
  std::string m_text;
};

std::string buildDefaultLayout() {
  Writer w;
  for (const char* text : kHeaderComment)
    w.line(text);
  w.blank(2);
  for (const char* text : kGeneral)
    w.line(text);
  w.blank(2);

  w.line("[CPU MC68000]");
  w.line("RAM=Main CPU RAM|$02478|65536");
  for (int n = 0; n < 8; ++n)
    w.field(n, numbered("D", n), 0x80 + 4 * n, 4);
  w.empty(8);
  for (int n = 0; n < 8; ++n)
    w.field(9 + n, numbered("A", n), 0xA0 + 4 * n, 4);
  w.empty(17);
  w.field(18, "PC", 0xC8, 4);
  w.empty(19);
  w.field(20, "SR", 0xD0, 2);
  w.field(21, "USP", 0xD2, 4);
  w.field(22, "SSP", 0xD6, 4);
  w.blank(2);

  w.line("[CPU Z80]");
  w.line("RAM=Z80 RAM|$00474|8192");
  w.label(0, "Z80:");
  for (int n = 0; n < 12; ++n)
    w.field(1 + n, kZ80Registers[n], 0x404 + 4 * n, 2);
  w.field(13, "I", 0x434, 1);
  w.blank(3);

  w.line("[VDP]");
  w.line("RAM=VDP RAM|$12478|65536");
  w.line("CRAM=Color RAM|$00112|128");
  w.line("; Note: Gens has the VSRAM in little endian format, but Genecyst in big endian");
  w.line("VSRAM=Vertical Scroll RAM|$00192|80");
  w.line("; Note: The HSRAM is part of the VDP RAM. Its offset is automatically");
  w.line("; calculated during runtime");
  w.line("HSRAM=Horizontal Scroll RAM|?|960|%111");
  for (int n = 0; n < 24; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "Reg%02d", n);
    w.field(n, name, 0xFA + n, 1);
  }
  w.empty(24);
  w.label(25, "Gens & Kega only:");
  w.field(26, "last VDP Control data written", 0x40, 4);
  w.field(27, "second write flag", 0x44, 1);
  w.field(28, "DMA Fill flag", 0x45, 1);
  w.field(29, "VDP write address", 0x48, 4);
  w.blank(3);

  w.line("[PSG]");
  w.label(0, "PSG:");
  for (int n = 0; n < 8; ++n)
    w.field(1 + n, numbered("PSGWord", n), 0x60 + 2 * n, 2);
  w.blank(2);

  w.line("[YM2612]");
  w.label(0, "YM2612:");
  for (int n = 0; n < 256; ++n) {
    char name[16];
    std::snprintf(name, sizeof name, "Word%03d", n);
    w.field(1 + n, name, 0x1E4 + 2 * n, 2);
  }
  return w.take();
}

}  // namespace

std::string_view DefaultLayoutText() {
  static const std::string text = buildDefaultLayout();
  return text;
}

}  // namespace vantor
