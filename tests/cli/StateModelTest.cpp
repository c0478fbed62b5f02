// The image <-> VDP model rule shared by the tool and the desktop program.
#include "cli/StateModel.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "CliTestKit.h"
#include "document/LayoutIni.h"

namespace vantor::clitest {
namespace {

class StateModel : public ::testing::Test {
 protected:
  void UseLayout(std::string text) {
    layout = TLayout(LayoutIni::FromText(text));
    image = BlankImage(layout);
  }
  static std::string Replace(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
  }
  TLayout layout = MakeLayout(false);
  SavestateImage image = BlankImage(layout);
  TMegaDriveVDP vdp;
};

TEST_F(StateModel, RegistersAreTheFirst24UsableLinesLowByte) {
  // Line002 becomes a label: registers 2..23 come from Line003..Line024 (24 is empty, so 23
  // comes from the next usable line, Line026, a 4-byte field whose low byte counts).
  UseLayout(Replace(LayoutText(false), "Line002=Reg02|$000FC|1", "Line002=Label:"));
  for (int i = 0; i < 24; ++i)
    image.WriteAt(kRegOffset + static_cast<std::size_t>(i),
                  std::vector<uint8_t>{uint8_t(i + 1)}.data(), 1);
  const uint8_t control[4] = {0x99, 0x88, 0x77, 0x66};
  image.WriteAt(0x40, control, 4);
  ImageToVDP(layout, image, vdp);
  EXPECT_EQ(vdp.GetReg(0), 1);
  EXPECT_EQ(vdp.GetReg(1), 2);
  EXPECT_EQ(vdp.GetReg(2), 4);
  EXPECT_EQ(vdp.GetReg(22), 24);
  EXPECT_EQ(vdp.GetReg(23), 0x99);
}

TEST_F(StateModel, ColourAndScrollRamFollowTheBigEndianFlag) {
  UseLayout(Replace(
      Replace(LayoutText(false), "CRAM=Color RAM|$00112|128", "CRAM=Color RAM|$00112|128|%11"),
      "VSRAM=Vertical Scroll RAM|$00192|80", "VSRAM=Vertical Scroll RAM|$00192|2"));
  const uint8_t word[2] = {0x0E, 0x02};
  image.WriteAt(kCramOffset + 2, word, 2);
  image.WriteAt(kVsramOffset + 78, word, 2);
  image.WriteAt(kVramOffset + 0x1234, word, 2);
  ImageToVDP(layout, image, vdp);
  EXPECT_EQ(vdp.GetCRAMWord(1), 0x0E02);    // big endian: swapped into the model
  EXPECT_EQ(vdp.GetVSRAMWord(39), 0x020E);  // little endian; the entry's size plays no part
  EXPECT_EQ(vdp.VRAMData()[0x1234], 0x0E);
  EXPECT_EQ(vdp.VRAMData()[0x1235], 0x02);

  // Back into the image the same way.
  SavestateImage copy = BlankImage(layout);
  VDPToImage(layout, copy, vdp);
  EXPECT_EQ(copy.Bytes(), image.Bytes());
}

TEST_F(StateModel, UnusableEntriesLeaveTheModelAlone) {
  UseLayout(Replace(LayoutText(false), "RAM=VDP RAM|$12478|65536", "RAM=VDP RAM|?|65536"));
  vdp.VRAMData()[5] = 0xAB;
  ImageToVDP(layout, image, vdp);
  EXPECT_EQ(vdp.VRAMData()[5], 0xAB);
}

TEST_F(StateModel, AShortImageStopsTheLoadWithStreamReadError) {
  image.SetSize(kVramOffset + 10);
  try {
    ImageToVDP(layout, image, vdp);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Stream read error");
  }
}

// The desktop program's reading of a savestate shorter than its layout: what lies past the end
// reads as zero, nothing the model held before stays, and the shortness is told.
TEST_F(StateModel, APaddedLoadReadsWhatAShortImageHoldsAndZerosTheRest) {
  const uint8_t reg1 = 0x44;
  image.WriteAt(kRegOffset + 1, &reg1, 1);
  const uint8_t pattern[2] = {0x12, 0x34};
  image.WriteAt(kVramOffset + 6, pattern, 2);
  EXPECT_TRUE(ImageToVDPPadded(layout, image, vdp));
  EXPECT_EQ(vdp.VRAMData()[7], 0x34);

  image.SetSize(kVramOffset + 7);  // Video RAM cut after its seventh byte
  vdp.VRAMData()[0x8000] = 0xAB;
  EXPECT_FALSE(ImageToVDPPadded(layout, image, vdp));
  EXPECT_EQ(vdp.GetReg(1), 0x44);
  EXPECT_EQ(vdp.VRAMData()[6], 0x12);
  EXPECT_EQ(vdp.VRAMData()[7], 0);
  EXPECT_EQ(vdp.VRAMData()[0x8000], 0);

  // Cut inside the registers: those past the end read as zero.
  image.SetSize(kRegOffset + 2);
  vdp.SetReg(5, 0x7F);
  EXPECT_FALSE(ImageToVDPPadded(layout, image, vdp));
  EXPECT_EQ(vdp.GetReg(1), 0x44);
  EXPECT_EQ(vdp.GetReg(5), 0);
}

// The parts the model changed since it last matched the image, and storing only those.
TEST_F(StateModel, TheSnapshotNamesThePartsTheModelChanged) {
  ImageToVDP(layout, image, vdp);
  TVDPSnapshot synced;
  synced.Take(vdp);
  EXPECT_EQ(synced.Changed(vdp), 0u);
  vdp.SetReg(12, 0x81);
  vdp.VRAMData()[0xFFFF] = 1;
  EXPECT_EQ(synced.Changed(vdp), unsigned(vdpRegisters | vdpVideoRAM));
  vdp.SetCRAMWord(63, 0x0EEE);
  vdp.SetVSRAMWord(39, 5);
  EXPECT_EQ(synced.Changed(vdp), unsigned(vdpAllParts));

  // The registers alone: the short image keeps its length.
  image.SetSize(kRegOffset + 24);
  VDPToImage(layout, image, vdp, vdpRegisters);
  EXPECT_EQ(image.Size(), kRegOffset + 24);
  EXPECT_EQ(image.Data()[kRegOffset + 12], 0x81);
}

}  // namespace
}  // namespace vantor::clitest
