#include "vdp/MegaDriveVDP.h"

#include <utility>

namespace vantor {

namespace {

uint8_t registerOf(uint32_t descriptor) {
  return uint8_t((descriptor >> 8) & 0xFF);
}
uint8_t maskOf(uint32_t descriptor) {
  return uint8_t(descriptor & 0xFF);
}
int rightShiftOf(uint32_t descriptor) {
  return int((descriptor >> 16) & 0xF);
}
int leftShiftOf(uint32_t descriptor) {
  return int((descriptor >> 20) & 0xF);
}

// Plane size codes 0-3 give 32, 64, 32 (code 2 is not a size of its own) and 128 cells.
constexpr int kPlaneCells[4] = {32, 64, 32, 128};

constexpr uint8_t kRegDMALow = 19;
constexpr uint8_t kRegDMAHigh = 20;
constexpr uint8_t kRegDMASrcLow = 21;
constexpr uint8_t kRegDMASrcMid = 22;
constexpr uint8_t kRegDMASrcHigh = 23;

uint16_t swapped(uint16_t w) {
  return uint16_t((w >> 8) | (w << 8));
}

void loadWords(TVDPStream& stream, uint16_t* words, int count, bool swap) {
  // Word by word, so the words read before a short read stay stored.
  for (int i = 0; i < count; ++i) {
    uint8_t bytes[2];
    stream.ReadBuffer(bytes, 2);
    const uint16_t host = uint16_t(bytes[0] | bytes[1] << 8);
    words[i] = swap ? swapped(host) : host;
  }
}

void saveWords(TVDPStream& stream, const uint16_t* words, int count, bool swap) {
  for (int i = 0; i < count; ++i) {
    const uint16_t w = swap ? swapped(words[i]) : words[i];
    const uint8_t bytes[2] = {uint8_t(w & 0xFF), uint8_t(w >> 8)};
    stream.WriteBuffer(bytes, 2);
  }
}

}  // namespace

TMegaDriveVDP::TMegaDriveVDP() {
  Reset();
}

void TMegaDriveVDP::Reset() {
  m_registers.fill(0);
  m_cram.fill(0);
  m_vsram.fill(0);
  m_vram.fill(0);
  UpdateDerived();
}

void TMegaDriveVDP::UpdateDerived() {
  m_cellWidth = 8;
  m_cellHeight = GetInterlaceMode() == 2 ? 16 : 8;
  m_planeATable = GetField(kFieldPlaneATable);
  m_windowTable = GetField(kFieldWindowTable);
  m_planeBTable = GetField(kFieldPlaneBTable);
  m_spriteTable = GetField(kFieldSpriteTable);
  if (GetFlag(kFlagH40)) {
    m_windowTable &= ~uint32_t(0x0800);  // register 3 bit 1
    m_spriteTable &= ~uint32_t(0x0200);  // register 5 bit 0
  }
}

int TMegaDriveVDP::GetMetric(int kind) const {
  const bool h40 = GetFlag(kFlagH40);
  switch (kind) {
    case mkRegisterCount:
      return kRegisterCount;
    case mkCramEntries:
      return kCramEntries;
    case mkCramBytes:
      return kCramEntries * 2;
    case mkVsramBytes:
      return kVsramEntries * 2;
    case mkHsramBytes:
      return 960;
    case mkVramBytes:
      return int(kVramBytes);
    case mkScreenCellsWide:
      return h40 ? 40 : 32;
    case mkScreenCellsHigh:
      return GetFlag(kFlagV30) ? 30 : 28;
    case mkScreenWidth:
      return GetMetric(mkScreenCellsWide) * m_cellWidth;
    case mkScreenHeight:
      return GetMetric(mkScreenCellsHigh) * m_cellHeight;
    case mkPlaneCellsWide:
      return kPlaneCells[GetField(kFieldPlaneWidthCode) & 3];
    case mkPlaneCellsHigh:
      return kPlaneCells[GetField(kFieldPlaneHeightCode) & 3];
    case mkPlaneWidth:
      return GetMetric(mkPlaneCellsWide) * m_cellWidth;
    case mkPlaneHeight:
      return GetMetric(mkPlaneCellsHigh) * m_cellHeight;
    case mkWindowCellsWide:
      return h40 ? 64 : 32;
    case mkWindowCellsHigh:
      return 32;
    case mkWindowWidth:
      return GetMetric(mkWindowCellsWide) * m_cellWidth;
    case mkWindowHeight:
      return 32 * m_cellHeight;
    case mkPatternBytes:
      return m_cellWidth * m_cellHeight / 2;
    case mkPatternCount:
      return int(kVramBytes) / GetMetric(mkPatternBytes);
    case mkSpriteMaxCellsWide:
    case mkSpriteMaxCellsHigh:
      return 4;
    case mkSpriteMaxWidth:
      return 4 * m_cellWidth;
    case mkSpriteMaxHeight:
      return 4 * m_cellHeight;
    case mkSpriteCount:
      return h40 ? 80 : 64;
    case mkSpritesPerLine:
      return h40 ? 20 : 16;
    case mkSpriteCellsPerLine:
      return h40 ? 40 : 32;
    default:
      return 0;
  }
}

uint8_t TMegaDriveVDP::GetReg(uint8_t index) const {
  return index < kRegisterCount ? m_registers[index] : 0;
}

void TMegaDriveVDP::SetReg(uint8_t index, uint8_t value) {
  if (index < kRegisterCount) m_registers[index] = value;
  UpdateDerived();
}

bool TMegaDriveVDP::GetFlag(uint32_t descriptor) const {
  return (GetReg(registerOf(descriptor)) & maskOf(descriptor)) != 0;
}

void TMegaDriveVDP::SetFlag(uint32_t descriptor, bool on) {
  const uint8_t reg = registerOf(descriptor), mask = maskOf(descriptor);
  const uint8_t cleared = uint8_t(GetReg(reg) & ~mask);
  SetReg(reg, on ? uint8_t(cleared | mask) : cleared);
}

uint32_t TMegaDriveVDP::GetField(uint32_t descriptor) const {
  const uint32_t bits = GetReg(registerOf(descriptor)) & maskOf(descriptor);
  return (bits << leftShiftOf(descriptor)) >> rightShiftOf(descriptor);
}

void TMegaDriveVDP::SetField(uint32_t descriptor, uint16_t value) {
  const uint8_t reg = registerOf(descriptor), mask = maskOf(descriptor);
  const uint32_t bits =
      ((uint32_t(value) << rightShiftOf(descriptor)) >> leftShiftOf(descriptor)) & mask;
  SetReg(reg, uint8_t((GetReg(reg) & ~mask) | bits));
}

int TMegaDriveVDP::GetInterlaceMode() const {
  const uint32_t raw = GetField(kFieldInterlaceBits);
  return raw == 3 ? 2 : int(raw);
}

void TMegaDriveVDP::SetInterlaceMode(uint8_t mode) {
  mode &= 0x7F;
  SetField(kFieldInterlaceBits, mode >= 2 ? 3 : mode);
}

uint8_t TMegaDriveVDP::GetWindowAnchor() const {
  return uint8_t((GetFlag(kFlagWindowRight) ? 1 : 0) | (GetFlag(kFlagWindowBottom) ? 2 : 0));
}

void TMegaDriveVDP::SetWindowAnchor(uint8_t flags) {
  SetFlag(kFlagWindowRight, (flags & 1) != 0);
  SetFlag(kFlagWindowBottom, (flags & 2) != 0);
}

int TMegaDriveVDP::GetScrollMode(bool vertical) const {
  return int(GetField(vertical ? kFieldVScrollMode : kFieldHScrollMode));
}

uint16_t TMegaDriveVDP::GetDMALength() const {
  return uint16_t(GetReg(kRegDMAHigh) << 8 | GetReg(kRegDMALow));
}

void TMegaDriveVDP::SetDMALength(uint16_t value) {
  SetReg(kRegDMALow, uint8_t(value & 0xFF));
  SetReg(kRegDMAHigh, uint8_t(value >> 8));
}

// Source registers 23-21: for memory to VRAM a word address (bit 6 of register 23 is address
// bit 23 of the byte address); for fill and copy (register 23 bit 7) a VRAM address in 21-22.
uint32_t TMegaDriveVDP::GetDMASource() const {
  const uint32_t s = uint32_t(GetReg(kRegDMASrcHigh)) << 16 | uint32_t(GetReg(kRegDMASrcMid)) << 8 |
                     GetReg(kRegDMASrcLow);
  if (GetReg(kRegDMASrcHigh) & 0x80) return s & 0xFFFF;
  return s * 2;
}

void TMegaDriveVDP::SetDMASource(uint32_t address) {
  if (GetReg(kRegDMASrcHigh) & 0x80) {
    SetReg(kRegDMASrcLow, uint8_t(address & 0xFF));
    SetReg(kRegDMASrcMid, uint8_t((address >> 8) & 0xFF));
    return;
  }
  const uint32_t v = (address & 0xFFFFFF) >> 1;
  SetReg(kRegDMASrcLow, uint8_t(v & 0xFF));
  SetReg(kRegDMASrcMid, uint8_t((v >> 8) & 0xFF));
  SetReg(kRegDMASrcHigh, uint8_t((v >> 16) & 0x7F));
}

int TMegaDriveVDP::GetDMAMode() const {
  switch (GetReg(kRegDMASrcHigh) >> 6) {
    case 2:
      return 1;
    case 3:
      return 2;
    default:
      return 0;
  }
}

void TMegaDriveVDP::SetDMAMode(uint8_t mode) {
  const uint8_t reg = GetReg(kRegDMASrcHigh);
  switch (mode) {
    case 0:
      SetReg(kRegDMASrcHigh, reg & 0x7F);
      break;
    case 1:
      SetReg(kRegDMASrcHigh, uint8_t((reg & 0x3F) | 0x80));
      break;
    case 2:
      SetReg(kRegDMASrcHigh, uint8_t((reg & 0x3F) | 0xC0));
      break;
    default:
      break;
  }
}

uint16_t TMegaDriveVDP::GetColor(uint8_t index) const {
  return m_cram[index & 63] & kCRAMColorMask;
}

void TMegaDriveVDP::SetColor(uint8_t index, uint16_t value) {
  m_cram[index & 63] = value & kCRAMColorMask;
}

uint16_t TMegaDriveVDP::GetPaletteColor(uint8_t line, uint8_t index) const {
  if (line > 3 || index > 15) return 0;
  return GetColor(uint8_t(line * 16 + index));
}

void TMegaDriveVDP::SetVSRAMWord(int index, uint16_t value) {
  if (index >= 0 && index < kVsramEntries) m_vsram[std::size_t(index)] = value;
}

void TMegaDriveVDP::WriteVRAMWord(uint32_t address, uint16_t value) {
  m_vram[address & kVramMask] = uint8_t(value >> 8);
  m_vram[(address + 1) & kVramMask] = uint8_t(value & 0xFF);
}

void TMegaDriveVDP::LoadCRAM(TVDPStream& stream, bool swap) {
  loadWords(stream, m_cram.data(), kCramEntries, swap);
}

void TMegaDriveVDP::SaveCRAM(TVDPStream& stream, bool swap) const {
  saveWords(stream, m_cram.data(), kCramEntries, swap);
}

void TMegaDriveVDP::LoadVSRAM(TVDPStream& stream, bool swap) {
  loadWords(stream, m_vsram.data(), kVsramEntries, swap);
}

void TMegaDriveVDP::SaveVSRAM(TVDPStream& stream, bool swap) const {
  saveWords(stream, m_vsram.data(), kVsramEntries, swap);
}

void TMegaDriveVDP::LoadVRAM(TVDPStream& stream) {
  stream.ReadBuffer(m_vram.data(), kVramBytes);
}

void TMegaDriveVDP::SaveVRAM(TVDPStream& stream) const {
  stream.WriteBuffer(m_vram.data(), kVramBytes);
}

}  // namespace vantor
