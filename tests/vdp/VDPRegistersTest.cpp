#include <gtest/gtest.h>

#include <memory>

#include "VDPTestKit.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {
namespace {

using testkit::TVectorStream;

class VDPRegistersTest : public ::testing::Test {
 protected:
  std::unique_ptr<TMegaDriveVDP> m_owner = std::make_unique<TMegaDriveVDP>();
  TMegaDriveVDP& vdp = *m_owner;
};

TEST_F(VDPRegistersTest, ResetLeavesH32V28EightByEightCellsAndTablesAtZero) {
  vdp.SetReg(2, 0x38);
  vdp.SetReg(12, 0x87);
  vdp.Reset();
  EXPECT_EQ(vdp.CellWidth(), 8);
  EXPECT_EQ(vdp.CellHeight(), 8);
  EXPECT_EQ(vdp.PlaneATable(), 0u);
  EXPECT_EQ(vdp.GetMetric(mkScreenWidth), 256);
  EXPECT_EQ(vdp.GetMetric(mkScreenHeight), 224);
  EXPECT_EQ(vdp.GetMetric(mkSpriteCount), 64);
}

TEST_F(VDPRegistersTest, OutOfRangeRegistersReadZeroAndIgnoreWrites) {
  vdp.SetReg(24, 0xFF);
  EXPECT_EQ(vdp.GetReg(24), 0);
  EXPECT_EQ(vdp.GetReg(255), 0);
  EXPECT_EQ(vdp.GetMetric(mkRegisterCount), 24);
  EXPECT_EQ(vdp.GetMetric(6), 0);
  EXPECT_EQ(vdp.GetMetric(99), 0);
}

TEST_F(VDPRegistersTest, TablePositionsFollowTheirRegisters) {
  vdp.SetReg(2, 0xFF);
  vdp.SetReg(3, 0xFF);
  vdp.SetReg(4, 0xFF);
  vdp.SetReg(5, 0xFF);
  vdp.SetReg(13, 0xFF);
  EXPECT_EQ(vdp.PlaneATable(), 0xE000u);
  EXPECT_EQ(vdp.WindowTable(), 0xF800u);
  EXPECT_EQ(vdp.PlaneBTable(), 0xE000u);
  EXPECT_EQ(vdp.SpriteTable(), 0xFE00u);
  EXPECT_EQ(vdp.GetField(kFieldHScrollTable), 0xFC00u);
}

TEST_F(VDPRegistersTest, FieldDescriptorShiftsBothWays) {
  vdp.SetReg(17, 0xE0);
  vdp.SetField(kFieldWindowHPos, 10);
  EXPECT_EQ(vdp.GetReg(17), 0xE5);  // bits 5-7 kept
  EXPECT_EQ(vdp.GetField(kFieldWindowHPos), 10u);
  vdp.SetField(kFieldPlaneHeightCode, 3);
  EXPECT_EQ(vdp.GetReg(16), 0x30);
  vdp.SetField(kFieldPlaneBTable, 0xE000);
  EXPECT_EQ(vdp.GetReg(4), 0x07);
  EXPECT_EQ(vdp.PlaneBTable(), 0xE000u);
  vdp.SetField(kFieldVScrollMode, 1);
  EXPECT_EQ(vdp.GetReg(11), 0x04);
  EXPECT_EQ(vdp.GetScrollMode(true), 1);
  EXPECT_EQ(vdp.GetScrollMode(false), 0);
}

TEST_F(VDPRegistersTest, FlagsSetAndClearTheirMaskOnly) {
  vdp.SetReg(1, 0x04);
  vdp.SetFlag(kFlagDisplayEnable, true);
  EXPECT_EQ(vdp.GetReg(1), 0x44);
  EXPECT_TRUE(vdp.GetFlag(kFlagDisplayEnable));
  vdp.SetFlag(kFlagDisplayEnable, false);
  EXPECT_EQ(vdp.GetReg(1), 0x04);
}

TEST_F(VDPRegistersTest, H40CountsWhenEitherBitIsSetAndSetsBoth) {
  for (uint8_t reg12 : {0x01, 0x80, 0x81}) {
    vdp.SetReg(12, reg12);
    EXPECT_TRUE(vdp.GetFlag(kFlagH40)) << int(reg12);
    EXPECT_EQ(vdp.GetMetric(mkScreenCellsWide), 40);
    EXPECT_EQ(vdp.GetMetric(mkScreenWidth), 320);
    EXPECT_EQ(vdp.GetMetric(mkWindowCellsWide), 64);
    EXPECT_EQ(vdp.GetMetric(mkWindowWidth), 512);
    EXPECT_EQ(vdp.GetMetric(mkSpriteCount), 80);
    EXPECT_EQ(vdp.GetMetric(mkSpritesPerLine), 20);
    EXPECT_EQ(vdp.GetMetric(mkSpriteCellsPerLine), 40);
  }
  vdp.SetReg(12, 0x08);
  vdp.SetFlag(kFlagH40, true);
  EXPECT_EQ(vdp.GetReg(12), 0x89);
  vdp.SetReg(12, 0x01);
  vdp.SetFlag(kFlagH40, false);
  EXPECT_EQ(vdp.GetReg(12), 0x00);
  EXPECT_EQ(vdp.GetMetric(mkSpriteCount), 64);
}

TEST_F(VDPRegistersTest, InterlaceModeTwoDoublesTheCellHeight) {
  vdp.SetReg(12, 0x04);  // raw bits 2
  EXPECT_EQ(vdp.GetInterlaceMode(), 2);
  vdp.SetReg(12, 0x02);
  EXPECT_EQ(vdp.GetInterlaceMode(), 1);
  EXPECT_EQ(vdp.CellHeight(), 8);
  vdp.SetReg(12, 0x80);
  vdp.SetInterlaceMode(2);
  EXPECT_EQ(vdp.GetReg(12), 0x86);
  EXPECT_EQ(vdp.GetInterlaceMode(), 2);
  EXPECT_EQ(vdp.CellHeight(), 16);
  EXPECT_EQ(vdp.GetMetric(mkPatternBytes), 64);
  EXPECT_EQ(vdp.GetMetric(mkPatternCount), 1024);
  EXPECT_EQ(vdp.GetMetric(mkScreenHeight), 448);
  EXPECT_EQ(vdp.GetMetric(mkPlaneHeight), 512);
  EXPECT_EQ(vdp.GetMetric(mkWindowHeight), 512);
  EXPECT_EQ(vdp.GetMetric(mkSpriteMaxHeight), 64);
  vdp.SetInterlaceMode(0x85);  // 0x85 AND 0x7F = 5: two or more
  EXPECT_EQ(vdp.GetReg(12), 0x86);
  vdp.SetInterlaceMode(0x81);
  EXPECT_EQ(vdp.GetReg(12), 0x82);
  vdp.SetInterlaceMode(0);
  EXPECT_EQ(vdp.GetReg(12), 0x80);
}

TEST_F(VDPRegistersTest, PlaneSizeCodesTwoIsThirtyTwoAndThreeIsOneHundredTwentyEight) {
  const int expected[4] = {32, 64, 32, 128};
  for (int code = 0; code < 4; ++code) {
    vdp.SetReg(16, uint8_t(code | code << 4));
    EXPECT_EQ(vdp.GetMetric(mkPlaneCellsWide), expected[code]);
    EXPECT_EQ(vdp.GetMetric(mkPlaneCellsHigh), expected[code]);
    EXPECT_EQ(vdp.GetMetric(mkPlaneWidth), expected[code] * 8);
  }
}

TEST_F(VDPRegistersTest, V30AndWindowMetrics) {
  vdp.SetFlag(kFlagV30, true);
  EXPECT_EQ(vdp.GetMetric(mkScreenCellsHigh), 30);
  EXPECT_EQ(vdp.GetMetric(mkScreenHeight), 240);
  EXPECT_EQ(vdp.GetMetric(mkWindowCellsHigh), 32);
  EXPECT_EQ(vdp.GetMetric(mkWindowCellsWide), 32);
  EXPECT_EQ(vdp.GetMetric(mkHsramBytes), 960);
  EXPECT_EQ(vdp.GetMetric(mkSpriteMaxWidth), 32);
}

TEST_F(VDPRegistersTest, WindowAnchorUsesBitSevenOfRegistersSeventeenAndEighteen) {
  vdp.SetReg(17, 0x05);
  vdp.SetReg(18, 0x03);
  vdp.SetWindowAnchor(3);
  EXPECT_EQ(vdp.GetReg(17), 0x85);
  EXPECT_EQ(vdp.GetReg(18), 0x83);
  EXPECT_EQ(vdp.GetWindowAnchor(), 3);
  vdp.SetWindowAnchor(2);
  EXPECT_EQ(vdp.GetReg(17), 0x05);
  EXPECT_EQ(vdp.GetWindowAnchor(), 2);
}

TEST_F(VDPRegistersTest, DMALengthSplitsIntoRegistersNineteenAndTwenty) {
  vdp.SetDMALength(0x1234);
  EXPECT_EQ(vdp.GetReg(19), 0x34);
  EXPECT_EQ(vdp.GetReg(20), 0x12);
  EXPECT_EQ(vdp.GetDMALength(), 0x1234);
}

TEST_F(VDPRegistersTest, DMASourceOfMemoryIsAWordAddressWithBitTwentyThree) {
  vdp.SetReg(23, 0x40);
  EXPECT_EQ(vdp.GetDMASource(), 0x800000u);
  vdp.SetReg(23, 0);
  vdp.SetDMASource(0x123456);
  EXPECT_EQ(vdp.GetReg(21), 0x2B);
  EXPECT_EQ(vdp.GetReg(22), 0x1A);
  EXPECT_EQ(vdp.GetReg(23), 0x09);
  EXPECT_EQ(vdp.GetDMASource(), 0x123456u);
  vdp.SetDMASource(0xFFFFFE);
  EXPECT_EQ(vdp.GetReg(23), 0x7F);  // bit 7 stays clear
  EXPECT_EQ(vdp.GetDMASource(), 0xFFFFFEu);
}

TEST_F(VDPRegistersTest, DMASourceOfFillOrCopyIsAVRAMAddress) {
  vdp.SetReg(23, 0x80);
  vdp.SetReg(22, 0x12);
  vdp.SetReg(21, 0x34);
  EXPECT_EQ(vdp.GetDMASource(), 0x1234u);
  vdp.SetReg(23, 0xC5);
  vdp.SetDMASource(0x1ABCD);
  EXPECT_EQ(vdp.GetReg(21), 0xCD);
  EXPECT_EQ(vdp.GetReg(22), 0xAB);
  EXPECT_EQ(vdp.GetReg(23), 0xC5);
  EXPECT_EQ(vdp.GetDMASource(), 0xABCDu);
}

TEST_F(VDPRegistersTest, DMAModeRoundTrips) {
  vdp.SetReg(23, 0xC0);
  vdp.SetDMAMode(0);
  EXPECT_EQ(vdp.GetReg(23), 0x40);
  EXPECT_EQ(vdp.GetDMAMode(), 0);
  vdp.SetReg(23, 0x7F);
  vdp.SetDMAMode(1);
  EXPECT_EQ(vdp.GetReg(23), 0xBF);
  EXPECT_EQ(vdp.GetDMAMode(), 1);
  vdp.SetDMAMode(2);
  EXPECT_EQ(vdp.GetReg(23), 0xFF);
  EXPECT_EQ(vdp.GetDMAMode(), 2);
  vdp.SetDMAMode(7);
  EXPECT_EQ(vdp.GetReg(23), 0xFF);
}

TEST_F(VDPRegistersTest, ColoursAreMaskedOnAccessButStoredRaw) {
  vdp.SetCRAMWord(5, 0xFFFF);
  EXPECT_EQ(vdp.GetColor(5), 0x0EEE);
  EXPECT_EQ(vdp.GetColor(64 + 5), 0x0EEE);
  EXPECT_EQ(vdp.GetCRAMWord(5), 0xFFFF);
  vdp.SetColor(69, 0xF123);
  EXPECT_EQ(vdp.GetCRAMWord(5), 0x0022);
  vdp.SetColor(16 + 3, 0x0246);
  EXPECT_EQ(vdp.GetPaletteColor(1, 3), 0x0246);
  EXPECT_EQ(vdp.GetPaletteColor(4, 3), 0);
  EXPECT_EQ(vdp.GetPaletteColor(1, 16), 0);
}

TEST_F(VDPRegistersTest, CRAMStreamsKeepUnmaskedBitsAndSwapOnRequest) {
  std::vector<uint8_t> bytes(128, 0);
  bytes[0] = 0xFF;
  bytes[1] = 0xFF;
  bytes[2] = 0x0E;  // little-endian 0x000E; big-endian 0x0E00
  TVectorStream in(bytes);
  vdp.LoadCRAM(in, false);
  EXPECT_EQ(vdp.GetCRAMWord(0), 0xFFFF);
  EXPECT_EQ(vdp.GetColor(0), 0x0EEE);
  EXPECT_EQ(vdp.GetCRAMWord(1), 0x000E);
  TVectorStream out;
  vdp.SaveCRAM(out, false);
  EXPECT_EQ(out.Bytes(), bytes);

  TVectorStream swappedIn(bytes);
  vdp.LoadCRAM(swappedIn, true);
  EXPECT_EQ(vdp.GetCRAMWord(1), 0x0E00);
  TVectorStream swappedOut;
  vdp.SaveCRAM(swappedOut, true);
  EXPECT_EQ(swappedOut.Bytes(), bytes);
}

TEST_F(VDPRegistersTest, VSRAMAndVRAMStreams) {
  std::vector<uint8_t> vsram(80);
  for (std::size_t i = 0; i < vsram.size(); ++i)
    vsram[i] = uint8_t(i);
  TVectorStream in(vsram);
  vdp.LoadVSRAM(in, true);
  EXPECT_EQ(vdp.GetVSRAMWord(0), 0x0001);
  EXPECT_EQ(vdp.GetVSRAMWord(39), 0x4E4F);
  EXPECT_EQ(vdp.GetVSRAMWord(40), 0);
  TVectorStream out;
  vdp.SaveVSRAM(out, true);
  EXPECT_EQ(out.Bytes(), vsram);

  std::vector<uint8_t> vram(65536);
  vram[0] = 0x12;
  vram[65535] = 0x34;
  TVectorStream vin(vram);
  vdp.LoadVRAM(vin);
  EXPECT_EQ(vdp.VRAMData()[65535], 0x34);
  EXPECT_EQ(vdp.ReadVRAMWord(0xFFFF), 0x3412);  // wraps to address 0
  TVectorStream vout;
  vdp.SaveVRAM(vout);
  EXPECT_EQ(vout.Bytes(), vram);
}

TEST_F(VDPRegistersTest, ShortStreamKeepsTheWordsReadBeforeAndReportsTheError) {
  TVectorStream in(std::vector<uint8_t>{0x22, 0x02, 0x44, 0x04, 0x66});
  EXPECT_THROW(vdp.LoadCRAM(in, false), std::runtime_error);
  EXPECT_EQ(vdp.GetCRAMWord(0), 0x0222);
  EXPECT_EQ(vdp.GetCRAMWord(1), 0x0444);
  EXPECT_EQ(vdp.GetCRAMWord(2), 0);
}

}  // namespace
}  // namespace vantor
