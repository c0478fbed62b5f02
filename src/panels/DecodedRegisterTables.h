// The controls of the "Registers decoded" page as data: which register field each one shows,
// how, and the code tables of the two scroll lists.
#pragma once

#include <array>
#include <cstdint>

#include "vdp/MegaDriveVDP.h"

namespace vantor {

// A check box's Tag is a flag descriptor: register * 256 + mask (0x120 is register 1, bit 5).
struct TDecodedCheckBox {
  const char* Name;
  const char* Caption;
  uint32_t Tag;
};

// In tab order; the first five form the left column, the rest the right one.
inline constexpr std::array<TDecodedCheckBox, 9> kDecodedCheckBoxes = {{
    {"chkVIRQEnabled", "V Interrupt enabled (IRQ6)", kFlagVIntEnable},
    {"chkHIRQEnabled", "H Interrupt enabled (IRQ4)", kFlagHIntEnable},
    {"chkXIRQEnabled", "External Interrupt enabled (IRQ2)", kFlagExtIntEnable},
    {"chkHVCounter", "HV Counter stopped", kFlagHVCounterStop},
    {"chkDMAEnabled", "DMA enabled", kFlagDMAEnable},
    {"chkDisplayEnabled", "Display enabled", kFlagDisplayEnable},
    {"chkShdwHilite", "Shadow / Highlight enabled", kFlagShadowHighlight},
    {"chkH40Cell", "H 40 Cell Mode enabled (else H 32 Cell)", kFlagH40},
    {"chkV30Cell", "V 30 Cell Mode enabled (else V 28 Cell)", kFlagV30},
}};
inline constexpr int kDecodedLeftCheckBoxes = 5;

enum class TEditFormat { efHex2, efHex4, efHex6, efDecimal };
// Where a link caption jumps: a table in Video RAM, a Colour RAM entry, the DMA source.
enum class TEditLink { elNone, elVideoRAM, elBgColor, elDMASource };

// An edit box's Tag (1 to 12) selects its field, read with GetField and written with SetField
// through its register field descriptor. Tags 9 and 10 have none: they use the DMA length and
// DMA source operations.
struct TDecodedEdit {
  const char* Name;
  int Tag;
  const char* Caption;  // null: no caption label of its own
  uint32_t Descriptor;
  TEditFormat Format;
  int MaxLength;
  TEditLink Link;
};

inline constexpr int kTagWindowTable = 2;
inline constexpr int kTagSpriteTable = 4;
inline constexpr int kTagBgColor = 6;
inline constexpr int kTagDMALength = 9;
inline constexpr int kTagDMASource = 10;
inline constexpr int kTagWinHPos = 11;
inline constexpr int kTagWinVPos = 12;

// Indexed by Tag - 1, which is also the tab order of the first ten.
inline constexpr std::array<TDecodedEdit, 12> kDecodedEdits = {{
    {"lbledPNTScrollA", 1, "Scroll A Pattern Name Table Base Address (in VRAM)", kFieldPlaneATable,
     TEditFormat::efHex4, 6, TEditLink::elVideoRAM},
    {"lbledPNTWindow", 2, "Window Pattern Name Table Base Address (in VRAM)", kFieldWindowTable,
     TEditFormat::efHex4, 6, TEditLink::elVideoRAM},
    {"lbledPNTScrollB", 3, "Scroll B Pattern Name Table Base Address (in VRAM)", kFieldPlaneBTable,
     TEditFormat::efHex4, 6, TEditLink::elVideoRAM},
    {"lbledSAT", 4, "Sprite Attribute Table Base Address (in VRAM)", kFieldSpriteTable,
     TEditFormat::efHex4, 6, TEditLink::elVideoRAM},
    {"lbledHSRAM", 5, "H Scroll Data Table Base Address (in VRAM)", kFieldHScrollTable,
     TEditFormat::efHex4, 6, TEditLink::elVideoRAM},
    {"lbledBgColor", 6, "Background Color", kFieldBackgroundColor, TEditFormat::efHex2, 3,
     TEditLink::elBgColor},
    {"lbledHIRQTiming", 7, "H Interrupt Timing", kFieldHIntTiming, TEditFormat::efDecimal, 3,
     TEditLink::elNone},
    {"lbledAutoInc", 8, "Auto Increment", kFieldAutoIncrement, TEditFormat::efDecimal, 3,
     TEditLink::elNone},
    {"lbledDMALen", 9, "DMA Length", 0, TEditFormat::efDecimal, 6, TEditLink::elNone},
    {"lbledDMASrc", 10, "DMA Source Address", 0, TEditFormat::efHex6, 8, TEditLink::elDMASource},
    {"edWinHPos", 11, nullptr, kFieldWindowHPos, TEditFormat::efDecimal, 3, TEditLink::elNone},
    {"lbledWinVPos", 12, "V   Window Split Point", kFieldWindowVPos, TEditFormat::efDecimal, 3,
     TEditLink::elNone},
}};
// Edits with Tags 1 to 5 have their caption on the right, 6 to 10 on the left.
inline constexpr int kDecodedLeftEdits = 5;

inline constexpr const char* kBgColorHint = "High Nibble = Palette Line, Low Nibble = Index";

// Scroll mode list. Code = horizontal mode (register 11 bits 1-0) * 2 + vertical mode
// (register 11 bit 2). Horizontal mode 1 (first eight lines) has no item.
inline constexpr std::array<int, 8> kScrollModeItemByCode = {0, 1, -1, -1, 2, 3, 4, 5};
inline constexpr std::array<int, 6> kScrollModeCodeByItem = {0, 1, 4, 5, 6, 7};

// Scroll size list. Code = horizontal size code (register 16 bits 1-0) * 4 + vertical size
// code (register 16 bits 5-4); only the six sizes the VDP supports have an item.
inline constexpr std::array<int, 16> kScrollSizeItemByCode = {0,  1,  -1, 2,  3, 4,  -1, -1,
                                                              -1, -1, -1, -1, 5, -1, -1, -1};
inline constexpr std::array<int, 6> kScrollSizeCodeByItem = {0, 1, 3, 4, 5, 12};

}  // namespace vantor
