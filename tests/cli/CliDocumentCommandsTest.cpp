// The commands that work on the savestate image alone: errors and usage, info, dump, load,
// get, set and diff.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "CliTestKit.h"
#include "document/SavestateImage.h"

namespace vantor::clitest {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class CliDocumentCommands : public ::testing::Test {
 protected:
  CliDocumentCommands() : m_layout(dir.Path("layout.ini")), m_state(dir.Path("state.gs0")) {
    WriteText(m_layout, LayoutText(false));
    image = BlankImage(MakeLayout());
  }

  // Writes the image as the test's savestate and returns its path.
  const std::string& Save() {
    WriteFile(m_state, image.Bytes());
    return m_state;
  }
  void Poke(std::size_t offset, std::vector<uint8_t> bytes) {
    image.WriteAt(offset, bytes.data(), bytes.size());
  }
  TRunResult Run(std::vector<std::string> args) {
    args.push_back("--layout");
    args.push_back(m_layout);
    return RunTool(args);
  }

  TTempDir dir;
  SavestateImage image;

 private:
  std::string m_layout;
  std::string m_state;
};

TEST_F(CliDocumentCommands, UsageErrorsExitWithOneAndAShortUsage) {
  const std::string state = Save();
  const TRunResult none = RunTool({});
  EXPECT_EQ(none.Status, 1);
  EXPECT_THAT(none.Err, HasSubstr("usage: vantor-cli COMMAND"));

  EXPECT_EQ(Run({"frobnicate", state}).Status, 1);
  EXPECT_EQ(Run({"get", state, "VDP"}).Status, 1);
  EXPECT_EQ(Run({"get", state, "VDP", "Reg01", "extra"}).Status, 1);
  EXPECT_EQ(Run({"dump", state, "nonsense", dir.Path("x.bin")}).Status, 1);
  EXPECT_EQ(Run({"palette", "mix", state}).Status, 1);

  const TRunResult unknownOption = Run({"info", state, "--colour"});
  EXPECT_EQ(unknownOption.Status, 1);
  EXPECT_THAT(unknownOption.Err, HasSubstr("unknown option --colour"));
  EXPECT_THAT(unknownOption.Err, HasSubstr("usage: vantor-cli info STATE"));

  // Writing commands need -o; a value that is no number is refused before anything happens.
  const TRunResult noOutput = Run({"set", state, "VDP", "Reg01", "5"});
  EXPECT_EQ(noOutput.Status, 1);
  EXPECT_THAT(noOutput.Err, HasSubstr("-o OUT"));
  EXPECT_EQ(Run({"set", state, "VDP", "Reg01", "+", "-o", dir.Path("o.gs0")}).Status, 1);
  EXPECT_EQ(Run({"set", state, "VDP", "Reg01", "12x", "-o", dir.Path("o.gs0")}).Status, 1);
}

TEST_F(CliDocumentCommands, HelpForTheToolAndEachCommand) {
  const TRunResult tool = RunTool({"--help"});
  EXPECT_EQ(tool.Status, 0);
  EXPECT_THAT(tool.Out, HasSubstr("diff A B [--json]"));
  EXPECT_THAT(tool.Out, HasSubstr("Exit status"));
  EXPECT_THAT(RunTool({"palette", "--help"}).Out, HasSubstr("usage: vantor-cli palette import"));
  for (std::string command : {"info", "render", "patterns", "sprites", "palette export",
                              "palette import", "dump", "load", "get", "set", "diff"}) {
    std::vector<std::string> args;
    for (std::size_t at = 0; at != std::string::npos;) {
      const std::size_t blank = command.find(' ', at);
      args.push_back(command.substr(at, blank - at));
      at = blank == std::string::npos ? blank : blank + 1;
    }
    args.push_back("--help");
    const TRunResult help = RunTool(args);
    EXPECT_EQ(help.Status, 0) << command;
    EXPECT_THAT(help.Out, StartsWith("usage: vantor-cli " + command)) << command;
  }
}

TEST_F(CliDocumentCommands, FileErrorsExitWithTwo) {
  image.WriteAt(0, "GSX", 3);
  const TRunResult wrongType = Run({"info", Save()});
  EXPECT_EQ(wrongType.Status, 2);
  EXPECT_EQ(wrongType.Err, "Wrong File Type! \"" + dir.Path("state.gs0") +
                               "\" does not match the layout's file identifiers.\n");
  EXPECT_EQ(wrongType.Out, "");

  const std::string missing = dir.Path("missing.gs0");
  const TRunResult notThere = Run({"get", missing, "VDP", "Reg01"});
  EXPECT_EQ(notThere.Status, 2);
  EXPECT_EQ(notThere.Err, "Cannot open file \"" + missing + "\". No such file or directory.\n");

  const TRunResult noLayout = RunTool({"info", missing, "--layout", dir.Path("none.ini")});
  EXPECT_EQ(noLayout.Status, 2);
  EXPECT_THAT(noLayout.Err, StartsWith("Cannot open file \"" + dir.Path("none.ini")));

  // A malformed identifier is reported with the layout file it is in; the command goes on.
  const std::string odd = dir.Path("odd.ini");
  WriteText(odd, LayoutText(false) + "[General]\r\nFileIdentifier05=ABCDE|$0|8\r\n");
  image.WriteAt(0, "GST", 3);
  const TRunResult reported = RunTool({"get", Save(), "VDP", "Reg01", "--layout", odd});
  EXPECT_EQ(reported.Status, 0);
  EXPECT_EQ(reported.Err,
            "Error in INI File \"" + odd + "\": Section \"General\", Key \"FileIdentifier05\".\n");
}

TEST_F(CliDocumentCommands, AFailedWriteToStandardOutputIsAFileError) {
  const std::string state = Save();
  WriteFile(dir.Path("colours.pal"), {});
  ASSERT_EQ(Run({"palette", "export", state, dir.Path("colours.pal")}).Status, 0);
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"get", state, "VDP", "Reg01"},
        {"set", state, "VDP", "Reg01", "1", "-o", dir.Path("out.gs0")},
        {"info", state},
        {"info", state, "--json"},
        {"diff", state, dir.Path("out.gs0")},
        {"palette", "import", state, dir.Path("colours.pal"), "-o", dir.Path("out.gs0")},
        {"--help"},
        {"get", "--help"}}) {
    const TRunResult run = RunTool(args, "/dev/full");
    EXPECT_EQ(run.Status, 2) << args[0];
    EXPECT_EQ(run.Err, "Cannot write to standard output. No space left on device.\n") << args[0];
  }
  // A command that prints nothing has nothing to lose; one that failed keeps its status.
  EXPECT_EQ(RunTool({"dump", state, "cram", dir.Path("cram.bin")}, "/dev/full").Status, 0);
  EXPECT_EQ(RunTool({"get", state, "VDP", "Reg99"}, "/dev/full").Status, 3);
}

TEST_F(CliDocumentCommands, TruncatedSavestateFailsWhereItsFieldsAreMissing) {
  image.WriteAt(kRegOffset + 1, "\x44", 1);
  image.SetSize(kVramOffset + 100);  // video RAM cut short
  const std::string state = Save();

  // The registers are there; the video RAM is not.
  EXPECT_EQ(Run({"get", state, "VDP", "Reg01"}).Out, "Reg01\t$44\t68\t%01000100\n");
  const TRunResult dump = Run({"dump", state, "vram", dir.Path("vram.bin")});
  EXPECT_EQ(dump.Status, 2);
  const std::string shortState =
      "Stream read error: \"" + state + "\" is shorter than its layout says.\n";
  EXPECT_EQ(dump.Err, shortState);
  // Of two savestates, the short one is named.
  const std::string full = dir.Path("full.gs0");
  WriteFile(full, BlankImage(MakeLayout()).Bytes());
  const TRunResult diff = Run({"diff", full, state});
  EXPECT_EQ(diff.Status, 2);
  EXPECT_EQ(diff.Err, shortState);
  EXPECT_EQ(Run({"diff", state, full}).Err, shortState);
  // The VDP model cannot be loaded either.
  const TRunResult render = Run({"render", state, dir.Path("screen.png")});
  EXPECT_EQ(render.Status, 2);
  EXPECT_EQ(render.Err, shortState);
  EXPECT_EQ(Run({"info", state}).Status, 2);
}

TEST_F(CliDocumentCommands, InfoNamesIdentificationSizeAndVSRAMByteOrder) {
  const TRunResult info = Run({"info", Save()});
  EXPECT_EQ(info.Status, 0);
  EXPECT_THAT(info.Out, HasSubstr("Identification:     matches the layout's file identifiers\n"));
  EXPECT_THAT(info.Out, HasSubstr("Image size:         140408 bytes\n"));
  EXPECT_THAT(info.Out, HasSubstr("VSRAM byte order:   little endian (layout; detection off)\n"));

  // With the built-in layout (detection on) the blank document counts as big endian.
  const TRunResult json = RunTool({"info", Save(), "--json"});
  EXPECT_EQ(json.Status, 0);
  EXPECT_THAT(json.Out, HasSubstr("\"imageSize\": 140408"));
  EXPECT_THAT(json.Out, HasSubstr("\"byteOrder\": \"big\",\n    \"detected\": true,\n"
                                  "    \"reason\": \"undecided\""));
  EXPECT_THAT(RunTool({"info", Save()}).Out,
              HasSubstr("VSRAM byte order:   big endian (AutoDetect: content fits both orders)\n"));
  // Words that fit only when read least significant byte first.
  Poke(kVsramOffset, {0x23, 0x01, 0x2D, 0x00});
  EXPECT_THAT(RunTool({"info", Save()}).Out,
              HasSubstr("VSRAM byte order:   little endian (AutoDetect: by content)\n"));
  // The header that marks little-endian VSRAM.
  Poke(kVsramOffset, {0x01, 0x23});
  Poke(0, {0x47, 0x53, 0x54, 0x40, 0xE0, 0, 0, 0});
  Poke(80, {5});
  EXPECT_THAT(RunTool({"info", Save()}).Out,
              HasSubstr("VSRAM byte order:   little endian (AutoDetect: byte 80 is 5)\n"));
}

TEST_F(CliDocumentCommands, DumpWritesTheBlockBytes) {
  for (std::size_t i = 0; i < 128; ++i)
    Poke(kCramOffset + i, {static_cast<uint8_t>(i * 3)});
  Poke(kMainRamOffset, {0xDE, 0xAD});
  Poke(kMainRamOffset + 0xFFFF, {0xEF});
  const std::string state = Save();

  ASSERT_EQ(Run({"dump", state, "cram", dir.Path("cram.bin")}).Status, 0);
  const std::vector<uint8_t> cram = ReadFile(dir.Path("cram.bin"));
  ASSERT_EQ(cram.size(), 128u);
  EXPECT_EQ(cram[5], 15);
  EXPECT_EQ(cram[127], static_cast<uint8_t>(127 * 3));

  ASSERT_EQ(Run({"dump", state, "main-ram", dir.Path("ram.bin")}).Status, 0);
  const std::vector<uint8_t> ram = ReadFile(dir.Path("ram.bin"));
  ASSERT_EQ(ram.size(), 65536u);
  EXPECT_EQ(ram[0], 0xDE);
  EXPECT_EQ(ram[1], 0xAD);
  EXPECT_EQ(ram[0xFFFF], 0xEF);
}

TEST_F(CliDocumentCommands, DumpOfABlockTheLayoutDoesNotPlaceExitsWithThree) {
  std::string layout = LayoutText();
  const std::string entry = "RAM=Z80 RAM|$00474|8192";
  layout.replace(layout.find(entry), entry.size(), "RAM=Z80 RAM|?|8192");
  WriteText(dir.Path("noz80.ini"), layout);
  const TRunResult dump =
      RunTool({"dump", Save(), "z80-ram", dir.Path("z80.bin"), "--layout", dir.Path("noz80.ini")});
  EXPECT_EQ(dump.Status, 3);
  EXPECT_THAT(dump.Err, HasSubstr("[CPU Z80] RAM"));
}

TEST_F(CliDocumentCommands, SizesNoSavestateHoldsNameTheLayoutEntry) {
  const std::string state = Save();
  std::string layout = LayoutText(false);
  const std::string entry = "RAM=VDP RAM|$12478|65536";
  layout.replace(layout.find(entry), entry.size(), "RAM=VDP RAM|$12478|2147483647");
  WriteText(dir.Path("huge.ini"), layout);
  const std::string huge = "--layout=" + dir.Path("huge.ini");

  // Refused before anything is read, allocated or written.
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"dump", state, "vram", dir.Path("vram.bin"), huge},
        {"load", state, "vram", dir.Path("vram.bin"), "-o", dir.Path("out.gs0"), huge},
        {"diff", state, state, huge},
        {"render", state, dir.Path("screen.png"), huge}}) {
    const TRunResult run = RunTool(args);
    EXPECT_EQ(run.Status, 3) << args[0];
    EXPECT_EQ(run.Err, "Error in INI File \"" + dir.Path("huge.ini") +
                           "\": Section \"VDP\", Key \"RAM\". Its size, 2147483647 bytes, is "
                           "more than the 1048576 bytes a savestate holds.\n")
        << args[0];
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.gs0")));
  const std::string line = "Line001=Reg01|$000FB|1";
  layout.replace(layout.find(line), line.size(), "Line001=Reg01|$FFFFF|4");
  WriteText(dir.Path("far.ini"), layout);
  const TRunResult get = RunTool({"get", state, "VDP", "Reg01", "--layout", dir.Path("far.ini")});
  EXPECT_EQ(get.Status, 3);
  EXPECT_THAT(get.Err, HasSubstr("Key \"Line001\". It ends at byte 1048579, past the 1048576"));

  // A layout file longer than any layout is not read to its end.
  WriteText(dir.Path("long.ini"), LayoutText(false) + std::string(1048576, ';'));
  const TRunResult longLayout = RunTool({"info", state, "--layout", dir.Path("long.ini")});
  EXPECT_EQ(longLayout.Status, 2);
  EXPECT_EQ(longLayout.Err,
            "Cannot open file \"" + dir.Path("long.ini") +
                "\". It is longer than 1048576 bytes, too long for a layout file.\n");
}

TEST_F(CliDocumentCommands, LoadKeepsTheBlockSize) {
  Poke(kZ80RamOffset, std::vector<uint8_t>(8192, 0x77));
  Poke(kZ80RamOffset + 8192, {0x55});  // the byte after the block
  const std::string state = Save();

  WriteFile(dir.Path("short.bin"), {1, 2, 3});
  ASSERT_EQ(Run({"load", state, "z80-ram", dir.Path("short.bin"), "-o", dir.Path("a.gs0")}).Status,
            0);
  std::vector<uint8_t> expected = image.Bytes();
  std::fill_n(expected.begin() + kZ80RamOffset, 8192, 0);
  expected[kZ80RamOffset] = 1;
  expected[kZ80RamOffset + 1] = 2;
  expected[kZ80RamOffset + 2] = 3;
  EXPECT_EQ(ReadFile(dir.Path("a.gs0")), expected);

  // A long file is cut at the block's end; the output may be the input itself.
  WriteFile(dir.Path("long.bin"), std::vector<uint8_t>(9000, 0x99));
  ASSERT_EQ(Run({"load", state, "z80-ram", dir.Path("long.bin"), "-o", state}).Status, 0);
  const std::vector<uint8_t> patched = ReadFile(state);
  ASSERT_EQ(patched.size(), image.Size());
  EXPECT_EQ(patched[kZ80RamOffset + 8191], 0x99);
  EXPECT_EQ(patched[kZ80RamOffset + 8192], 0x55);

  const TRunResult missing =
      Run({"load", state, "z80-ram", dir.Path("none.bin"), "-o", dir.Path("b.gs0")});
  EXPECT_EQ(missing.Status, 2);
  EXPECT_THAT(missing.Err, StartsWith("Cannot open file"));
}

TEST_F(CliDocumentCommands, GetShowsTheGridTexts) {
  Poke(kRegOffset + 1, {0x44});
  Poke(0xD0, {0x27, 0x04});              // SR
  Poke(kCramOffset + 10, {0x6A, 0x02});  // CRAM entry 5
  const std::string state = Save();

  EXPECT_EQ(Run({"get", state, "VDP", "Reg01"}).Out, "Reg01\t$44\t68\t%01000100\n");
  EXPECT_EQ(Run({"get", state, "VDP", "Line001"}).Out, "Reg01\t$44\t68\t%01000100\n");
  EXPECT_EQ(Run({"get", state, "CPU MC68000", "SR"}).Out, "SR\t$0427\t1063\t%0000010000100111\n");
  EXPECT_EQ(Run({"get", state, "VDP", "CRAM|$A|2"}).Out,
            "Color RAM[5]\t$026A\t618\t%0000001001101010\n");

  const TRunResult unknown = Run({"get", state, "VDP", "Reg99"});
  EXPECT_EQ(unknown.Status, 3);
  EXPECT_EQ(unknown.Err, "The layout file \"" + dir.Path("layout.ini") +
                             "\" has no usable field \"Reg99\" in section \"VDP\".\n");
  EXPECT_EQ(Run({"get", state, "VDP", "VSRAM|$50|2"}).Status, 3);
}

TEST_F(CliDocumentCommands, ScrollAndColourRamWordsByIndexAsTheGridsListThem) {
  Poke(kRegOffset + 13, {0x3E});                 // the horizontal scroll table at VRAM $F800
  Poke(kVramOffset + 0xF800 + 6, {0xFF, 0xDB});  // its word 3, big endian: -37
  Poke(kVramOffset + 0xFC00 + 6, {0x00, 0x15});  // where register 13 = $3F would put it
  Poke(kVsramOffset + 78, {0x2D, 0x00});         // little endian in this layout
  Poke(kCramOffset + 10, {0x6A, 0x02});
  const std::string state = Save();

  const std::string word3 = "Horizontal Scroll RAM[3]\t$FFDB\t-37\t%1111111111011011\n";
  EXPECT_EQ(Run({"get", state, "HSRAM", "3"}).Out, word3);
  EXPECT_EQ(Run({"get", state, "VDP", "HSRAM|$6|2"}).Out, word3);
  EXPECT_EQ(Run({"get", state, "vsram", "39"}).Out,
            "Vertical Scroll RAM[39]\t$002D\t45\t%0000000000101101\n");
  EXPECT_EQ(Run({"get", state, "Cram", "$5"}).Out, "Color RAM[5]\t$026A\t618\t%0000001001101010\n");

  const std::string out = dir.Path("out.gs0");
  EXPECT_EQ(Run({"set", state, "hsram", "479", "-$10", "-o", out}).Out,
            "Horizontal Scroll RAM[479]\t$FFF0\t-16\t%1111111111110000\n");
  std::vector<uint8_t> expected = image.Bytes();
  expected[kVramOffset + 0xF800 + 958] = 0xFF;
  expected[kVramOffset + 0xF800 + 959] = 0xF0;
  EXPECT_EQ(ReadFile(out), expected);

  // Only the rows the grids have; an index is a number.
  const TRunResult past = Run({"get", state, "HSRAM", "480"});
  EXPECT_EQ(past.Status, 3);
  EXPECT_EQ(past.Err,
            "Horizontal Scroll RAM has 480 elements, 0 to 479: there is no element 480.\n");
  EXPECT_EQ(Run({"get", state, "VSRAM", "40"}).Status, 3);
  EXPECT_EQ(Run({"get", state, "CRAM", "first"}).Status, 1);
}

TEST_F(CliDocumentCommands, SetWritesTheFieldAndSignExtendsAsTheGridsDo) {
  const std::string state = Save();
  const std::string out = dir.Path("out.gs0");

  const TRunResult set = Run({"set", state, "VDP", "Reg01", "$FF", "-o", out});
  EXPECT_EQ(set.Status, 0);
  EXPECT_EQ(set.Out, "Reg01\t$FF\t255\t%11111111\n");
  std::vector<uint8_t> expected = image.Bytes();
  expected[kRegOffset + 1] = 0xFF;
  EXPECT_EQ(ReadFile(out), expected);
  EXPECT_EQ(ReadFile(state), image.Bytes());  // the input stays as it was

  EXPECT_EQ(Run({"set", state, "VDP", "Reg02", "%101", "-o", out}).Out,
            "Reg02\t$05\t5\t%00000101\n");
  EXPECT_EQ(Run({"set", state, "CPU MC68000", "D0", "-2", "-o", out}).Out,
            "D0\t$FFFFFFFE\t4294967294\t%11111111111111111111111111111110\n");

  // A signed, big-endian element: the VSRAM entry as detection leaves it for this file.
  const TRunResult vsram = RunTool({"set", state, "VDP", "VSRAM|$2|2", "65535", "-o", out});
  EXPECT_EQ(vsram.Status, 0);
  EXPECT_EQ(vsram.Out, "Vertical Scroll RAM[1]\t$FFFF\t-1\t%1111111111111111\n");
  const std::vector<uint8_t> written = ReadFile(out);
  EXPECT_EQ(written[kVsramOffset + 2], 0xFF);
  EXPECT_EQ(written[kVsramOffset + 3], 0xFF);
}

TEST_F(CliDocumentCommands, NegativeNumbersAreValuesAndValuesThatDoNotFitAreRefused) {
  const std::string state = Save();
  const std::string out = dir.Path("out.gs0");

  // A number with a minus is a value in every syntax, not an option.
  const TRunResult hex = Run({"set", state, "VDP", "VSRAM|$0|2", "-$10", "-o", out});
  EXPECT_EQ(hex.Status, 0) << hex.Err;
  EXPECT_EQ(hex.Out, "Vertical Scroll RAM[0]\t$FFF0\t65520\t%1111111111110000\n");
  EXPECT_EQ(Run({"set", state, "VDP", "Reg07", "-x1", "-o", out}).Out,
            "Reg07\t$FF\t255\t%11111111\n");
  EXPECT_EQ(Run({"set", state, "VDP", "Reg07", "-0x80", "-o", out}).Out,
            "Reg07\t$80\t128\t%10000000\n");
  const TRunResult malformed = Run({"set", state, "VDP", "Reg07", "-$G", "-o", out});
  EXPECT_EQ(malformed.Status, 1);
  EXPECT_THAT(malformed.Err, HasSubstr("\"-$G\" is not a number"));

  // Register names match without regard to case, as sections and keys do.
  EXPECT_EQ(Run({"get", state, "cpu mc68000", "sr"}).Out, "SR\t$0000\t0\t%0000000000000000\n");
  EXPECT_EQ(Run({"set", state, "vdp", "REG01", "4", "-o", out}).Out, "Reg01\t$04\t4\t%00000100\n");

  // A value fits when its field can hold it unsigned or in two's complement; else nothing is
  // written and the message says what would fit.
  const std::string refused = dir.Path("refused.gs0");
  for (const char* value : {"$1FF", "256", "-129", "%111111111", "99999999999999999999"}) {
    const TRunResult run = Run({"set", state, "VDP", "Reg01", value, "-o", refused});
    EXPECT_EQ(run.Status, 1) << value;
    EXPECT_EQ(run.Err, "vantor-cli: " + std::string(value) +
                           " does not fit Reg01, a field of 1 byte: -128 to 255 ($00 to $FF); "
                           "nothing was written.\n");
  }
  EXPECT_THAT(Run({"set", state, "CPU MC68000", "SR", "-32769", "-o", refused}).Err,
              HasSubstr("a field of 2 bytes: -32768 to 65535 ($0000 to $FFFF)"));
  EXPECT_FALSE(std::filesystem::exists(refused));
  EXPECT_EQ(Run({"set", state, "VDP", "Reg01", "-128", "-o", out}).Out,
            "Reg01\t$80\t128\t%10000000\n");
  EXPECT_EQ(Run({"set", state, "VDP", "Reg01", "%011111111", "-o", out}).Out,
            "Reg01\t$FF\t255\t%11111111\n");
}

TEST_F(CliDocumentCommands, DiffListsRegistersAndRunsOfChangedBytes) {
  const std::string a = dir.Path("a.gs0");
  WriteFile(a, image.Bytes());
  Poke(kRegOffset + 1, {0x74});
  Poke(kVramOffset + 0xC000, std::vector<uint8_t>(32, 0x11));
  Poke(kVramOffset + 0xC040, {0x22});
  Poke(kCramOffset + 2, {0x0E});
  Poke(0x30, {0x01});  // no field names this byte
  const std::string b = Save();

  const TRunResult text = Run({"diff", a, b});
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "register\tVDP\tReg01\t$00\t$74\n"
            "block\tvram\t$C000\t$C01F\t32\n"
            "block\tvram\t$C040\t$C040\t1\n"
            "block\tcram\t$0002\t$0002\t1\n"
            "block\tother\t$0030\t$0030\t1\n");
  EXPECT_EQ(Run({"diff", a, a}).Out, "");

  const TRunResult json = Run({"diff", a, b, "--json"});
  EXPECT_EQ(json.Status, 0);
  EXPECT_THAT(json.Out, HasSubstr("\"section\": \"VDP\",\n      \"key\": \"Line001\",\n"
                                  "      \"name\": \"Reg01\",\n      \"old\": 0,\n"
                                  "      \"new\": 116,"));
  EXPECT_THAT(json.Out, HasSubstr("\"block\": \"vram\",\n      \"first\": 49152,\n"
                                  "      \"last\": 49183,\n      \"count\": 32"));

  image.SetSize(image.Size() + 10);
  EXPECT_THAT(Run({"diff", a, Save()}).Out, StartsWith("size\t140408\t140418\n"));
}

TEST_F(CliDocumentCommands, WithoutLayoutOptionTheBuiltInLayoutIsUsed) {
  Poke(kRegOffset + 1, {0x44});
  const TRunResult get = RunTool({"get", Save(), "VDP", "Reg01"});
  EXPECT_EQ(get.Status, 0);
  EXPECT_EQ(get.Out, "Reg01\t$44\t68\t%01000100\n");
}

}  // namespace
}  // namespace vantor::clitest
