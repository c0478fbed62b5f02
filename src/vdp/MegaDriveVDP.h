// TMegaDriveVDP: a detached copy of the Mega Drive VDP's state (registers, CRAM, VSRAM, VRAM)
// with register decoding, colour access, pattern and sprite drawing and the composed screen.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "vdp/Bitmap.h"
#include "vdp/VDPColors.h"
#include "vdp/VDPStream.h"

namespace vantor {

// Size queries answered by GetMetric; the codes are grouped by tens.
enum TVDPMetric : int {
  mkRegisterCount = 0,
  mkCramEntries = 1,
  mkCramBytes = 2,
  mkVsramBytes = 3,
  mkHsramBytes = 4,
  mkVramBytes = 5,
  mkScreenCellsWide = 10,
  mkScreenCellsHigh = 11,
  mkScreenWidth = 12,
  mkScreenHeight = 13,
  mkPlaneCellsWide = 20,
  mkPlaneCellsHigh = 21,
  mkPlaneWidth = 22,
  mkPlaneHeight = 23,
  mkWindowCellsWide = 30,
  mkWindowCellsHigh = 31,
  mkWindowWidth = 32,
  mkWindowHeight = 33,
  mkPatternBytes = 40,
  mkPatternCount = 41,
  mkSpriteMaxCellsWide = 50,
  mkSpriteMaxCellsHigh = 51,
  mkSpriteMaxWidth = 52,
  mkSpriteMaxHeight = 53,
  mkSpriteCount = 54,
  mkSpritesPerLine = 55,
  mkSpriteCellsPerLine = 56,
};

// Register field descriptor:
//   bits 23-20 left shift L | 19-16 right shift R | 15-8 register | 7-0 mask
// value = ((register & mask) << L) >> R. A flag descriptor is register * 256 + mask.
constexpr uint32_t kFieldPlaneATable = 0xA00238;
constexpr uint32_t kFieldWindowTable = 0xA0033E;
constexpr uint32_t kFieldPlaneBTable = 0xD00407;
constexpr uint32_t kFieldSpriteTable = 0x90057F;
constexpr uint32_t kFieldBackgroundColor = 0x73F;
constexpr uint32_t kFieldHIntTiming = 0xAFF;
constexpr uint32_t kFieldHScrollMode = 0xB03;
constexpr uint32_t kFieldVScrollMode = 0x20B04;
constexpr uint32_t kFieldInterlaceBits = 0x10C06;
constexpr uint32_t kFieldHScrollTable = 0xA00D3F;
constexpr uint32_t kFieldAutoIncrement = 0xFFF;
constexpr uint32_t kFieldPlaneWidthCode = 0x1003;
constexpr uint32_t kFieldPlaneHeightCode = 0x41030;
constexpr uint32_t kFieldWindowHPos = 0x10111F;
constexpr uint32_t kFieldWindowVPos = 0x121F;

constexpr uint32_t kFlagHIntEnable = 0x010;
constexpr uint32_t kFlagHVCounterStop = 0x002;
constexpr uint32_t kFlagDisplayEnable = 0x140;
constexpr uint32_t kFlagVIntEnable = 0x120;
constexpr uint32_t kFlagDMAEnable = 0x110;
constexpr uint32_t kFlagV30 = 0x108;
constexpr uint32_t kFlagExtIntEnable = 0xB08;
constexpr uint32_t kFlagH40 = 0xC81;
constexpr uint32_t kFlagShadowHighlight = 0xC08;
constexpr uint32_t kFlagWindowRight = 0x1180;
constexpr uint32_t kFlagWindowBottom = 0x1280;

// Render options of RenderScreen.
constexpr uint16_t kRenderBackdrop = 0x0001;
constexpr uint16_t kRenderPlaneBLo = 0x0002;
constexpr uint16_t kRenderPlaneBHi = 0x0004;
constexpr uint16_t kRenderPlaneALo = 0x0008;
constexpr uint16_t kRenderPlaneAHi = 0x0010;
constexpr uint16_t kRenderWindowLo = 0x0020;
constexpr uint16_t kRenderWindowHi = 0x0040;
constexpr uint16_t kRenderSpritesLo = 0x0080;
constexpr uint16_t kRenderSpritesHi = 0x0100;
constexpr uint16_t kRenderIgnoreHScroll = 0x0200;
constexpr uint16_t kRenderIgnoreVScroll = 0x0400;
constexpr uint16_t kRenderIgnoreShadowHighlight = 0x0800;
constexpr uint16_t kRenderVirtualScreen = 0x1000;
// Every chained sprite is drawn, without the console's per-line limits (sprites and cells per
// line) and without masking by sprites at X 0. Front ends set it by default for the entire
// virtual screen, whose rows above and below the display are no lines the console draws.
constexpr uint16_t kRenderAllSprites = 0x2000;
// The backdrop and all eight layer halves, nothing ignored.
constexpr uint16_t kRenderAllLayers = 0x01FF;

// A decoded sprite attribute table entry.
//   attr: P LL V H NNNNNNNNNNN (priority, palette line, flips, first pattern)
struct TSpriteEntry {
  uint16_t Y = 0;
  uint8_t Size = 0;  // bits 3-2 width - 1, bits 1-0 height - 1, in cells
  uint8_t Link = 0;
  uint16_t Attr = 0;
  uint16_t X = 0;

  int CellsWide() const { return (Size >> 2) + 1; }
  int CellsHigh() const { return (Size & 3) + 1; }
  friend bool operator==(const TSpriteEntry&, const TSpriteEntry&) = default;
};

// A rectangle with exclusive right and bottom.
struct TVDPRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const TVDPRect&, const TVDPRect&) = default;
};

class TMegaDriveVDP {
 public:
  static constexpr int kRegisterCount = 24;
  static constexpr int kCramEntries = 64;
  static constexpr int kVsramEntries = 40;
  static constexpr std::size_t kVramBytes = 65536;
  // Every VRAM address wraps to 16 bits, as the VDP's own address arithmetic does.
  static constexpr uint32_t kVramMask = 0xFFFF;

  TMegaDriveVDP();

  // --- State -------------------------------------------------------------------------------
  void Reset();
  // Recomputes the cell size and the four table positions from the registers. In H40 the
  // VDP ignores register 5 bit 0 and register 3 bit 1: the sprite table starts at a multiple
  // of $400 and the window table at a multiple of $1000. GetField reports the register bits.
  void UpdateDerived();
  int GetMetric(int kind) const;

  int32_t CellWidth() const { return m_cellWidth; }
  int32_t CellHeight() const { return m_cellHeight; }
  uint32_t PlaneATable() const { return m_planeATable; }
  uint32_t WindowTable() const { return m_windowTable; }
  uint32_t PlaneBTable() const { return m_planeBTable; }
  uint32_t SpriteTable() const { return m_spriteTable; }
  // Where sprite attribute table entry index lies; addresses wrap as the VDP's do.
  uint32_t SpriteEntryAddress(int index) const {
    return (m_spriteTable + uint32_t(index) * 8) & kVramMask;
  }

  // --- Registers (every setter ends with UpdateDerived) --------------------------------------
  uint8_t GetReg(uint8_t index) const;
  void SetReg(uint8_t index, uint8_t value);
  bool GetFlag(uint32_t descriptor) const;
  void SetFlag(uint32_t descriptor, bool on);
  uint32_t GetField(uint32_t descriptor) const;
  void SetField(uint32_t descriptor, uint16_t value);
  int GetInterlaceMode() const;
  void SetInterlaceMode(uint8_t mode);
  // bit 0 window on the right, bit 1 window at the bottom
  uint8_t GetWindowAnchor() const;
  void SetWindowAnchor(uint8_t flags);
  int GetScrollMode(bool vertical) const;
  uint16_t GetDMALength() const;
  void SetDMALength(uint16_t value);
  uint32_t GetDMASource() const;
  void SetDMASource(uint32_t address);
  int GetDMAMode() const;
  void SetDMAMode(uint8_t mode);

  // --- Colour RAM ----------------------------------------------------------------------------
  uint16_t GetColor(uint8_t index) const;
  void SetColor(uint8_t index, uint16_t value);
  uint16_t GetPaletteColor(uint8_t line, uint8_t index) const;

  // --- Raw memories, as stored (no masking) ---------------------------------------------------
  uint16_t GetCRAMWord(int index) const { return m_cram[std::size_t(index) & 63]; }
  void SetCRAMWord(int index, uint16_t value) { m_cram[std::size_t(index) & 63] = value; }
  uint16_t GetVSRAMWord(int index) const {
    return index >= 0 && index < kVsramEntries ? m_vsram[std::size_t(index)] : 0;
  }
  void SetVSRAMWord(int index, uint16_t value);
  const uint8_t* VRAMData() const { return m_vram.data(); }
  uint8_t* VRAMData() { return m_vram.data(); }
  // The big-endian word at a VRAM address (wrapped to 16 bits).
  uint16_t ReadVRAMWord(uint32_t address) const {
    return uint16_t(m_vram[address & kVramMask] << 8 | m_vram[(address + 1) & kVramMask]);
  }
  void WriteVRAMWord(uint32_t address, uint16_t value);

  // --- Streams (positioned by the caller) ------------------------------------------------------
  // swap exchanges the two bytes of each word, for blocks stored big-endian.
  void LoadCRAM(TVDPStream& stream, bool swap);
  void SaveCRAM(TVDPStream& stream, bool swap) const;
  void LoadVSRAM(TVDPStream& stream, bool swap);
  void SaveVSRAM(TVDPStream& stream, bool swap) const;
  void LoadVRAM(TVDPStream& stream);
  void SaveVRAM(TVDPStream& stream) const;

  // --- Colours and patterns ------------------------------------------------------------------
  // Writes count colours of the palette from line onward into the bitmap's colour table at
  // firstEntry; a negative count takes the bitmap's own table size. With 256 entries: 0-63
  // CRAM, 64-127 highlight, 128-191 shadow, 192-255 CRAM again.
  void SetBitmapPalette(TIndexedBitmap& bitmap, uint8_t line, int count, int firstEntry) const;
  // Fills rect (clipped) with a pixel value (4 and 8 bits) or the colour of a CRAM index.
  void FillSurface(const TVDPRect& rect, const TSurfaceInfo& info, uint8_t color) const;
  // Draws one cell with its top-left at (x, y); attr as in TSpriteEntry::Attr.
  void DrawPattern(uint16_t attr, const TSurfaceInfo& info, bool transparent, int y, int x) const;

  // --- Sprites -------------------------------------------------------------------------------
  void GetSprite(uint8_t index, TSpriteEntry& entry) const;
  TSpriteEntry GetSprite(uint8_t index) const;
  void SetSprite(uint8_t index, const TSpriteEntry& entry);
  // Bounding box of all chained sprites in sprite coordinates.
  void GetSpriteBounds(TVDPRect& rect) const;
  TVDPRect GetSpriteBounds() const;
  void DrawSprite(uint8_t index, const TSurfaceInfo& info, bool transparent, bool atOrigin, int y,
                  int x) const;

  // --- Screen --------------------------------------------------------------------------------
  // Composes the screen (or the entire virtual screen) with its pixel (0, 0) at surface row y,
  // column x; surfaces of fewer than 8 bits per pixel are left alone.
  void RenderScreen(const TSurfaceInfo& info, uint16_t options, int y, int x) const;

  // Calls fn(index) for each sprite of the display list, in chain order: from sprite 0 along
  // the links, ending after a link of 0, before a link at or past mkSpriteCount, or after
  // mkSpriteCount sprites.
  template <typename F>
  void ForEachChainedSprite(F&& fn) const;

 private:
  std::array<uint8_t, kRegisterCount> m_registers{};
  std::array<uint16_t, kCramEntries> m_cram{};
  std::array<uint16_t, kVsramEntries> m_vsram{};
  std::array<uint8_t, kVramBytes> m_vram{};
  int32_t m_cellWidth = 8;
  int32_t m_cellHeight = 8;
  uint32_t m_planeATable = 0;
  uint32_t m_windowTable = 0;
  uint32_t m_planeBTable = 0;
  uint32_t m_spriteTable = 0;
};

template <typename F>
void TMegaDriveVDP::ForEachChainedSprite(F&& fn) const {
  const int count = GetMetric(mkSpriteCount);
  int index = 0;
  for (int visited = 0; visited < count; ++visited) {
    fn(index);
    const int link = GetSprite(uint8_t(index)).Link;
    if (link == 0 || link >= count) break;
    index = link;
  }
}

}  // namespace vantor
