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

}  // namespace
}  // namespace vantor::clitest
