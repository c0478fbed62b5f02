// The Video RAM map: what each part of the 64 KiB is used for by the display - the name
// tables, the sprite table, the horizontal scroll table, the patterns the planes and the
// sprites show - and what nothing points at.
//
// Granularity. The map is kept per 32-byte block (2048 blocks; a pattern is one block, or two
// in interlace mode 2), a block taking every use of any byte in it; the tables are also given
// as exact byte ranges. What counts as read:
//   - plane A and B name tables: the whole table (mkPlaneCellsWide x mkPlaneCellsHigh words),
//     since scrolling can bring any cell into view, and the patterns of all its words;
//   - the window name table: the words of the cells the window covers on the display (none
//     when its bands are empty), and their patterns;
//   - the sprite table: all mkSpriteCount entries; the patterns of every cell of the chained
//     sprites;
//   - the horizontal scroll table: the entries the display's lines read in the scroll mode
//     (one entry for the whole screen, eight, one per cell row, or one per line).
// Addresses wrap at 64 KiB, as the VDP's do. A block holding a table and patterns in use, or
// two tables, is an overlap.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

// Uses of a block, as bits.
enum TVRAMUse : uint16_t {
  vuPlaneATable = 0x001,
  vuPlaneBTable = 0x002,
  vuWindowTable = 0x004,
  vuSpriteTable = 0x008,
  vuHScrollTable = 0x010,
  vuPlaneAPatterns = 0x020,
  vuPlaneBPatterns = 0x040,
  vuWindowPatterns = 0x080,
  vuSpritePatterns = 0x100,
};
constexpr uint16_t kVRAMTableUses = 0x01F;
constexpr uint16_t kVRAMPlanePatternUses = vuPlaneAPatterns | vuPlaneBPatterns | vuWindowPatterns;
constexpr uint16_t kVRAMPatternUses = kVRAMPlanePatternUses | vuSpritePatterns;
constexpr int kVRAMUseCount = 9;

// "plane A table" ... "sprite patterns" (bit n of the uses names entry n).
std::string_view VRAMUseText(int bit);
// "planeATable" ... "spritePatterns": for --json.
std::string_view VRAMUseName(int bit);

constexpr uint32_t kVRAMBlockBytes = 32;
constexpr int kVRAMBlocks = int(TMegaDriveVDP::kVramBytes / kVRAMBlockBytes);

// What a block is shown as: one class per block, in this order of precedence: an overlap, a
// table, patterns (of planes, of sprites, of both), nothing.
enum class TVRAMClass : uint8_t {
  vcFree,
  vcPlaneATable,
  vcPlaneBTable,
  vcWindowTable,
  vcSpriteTable,
  vcHScrollTable,
  vcPlanePatterns,
  vcSpritePatterns,
  vcSharedPatterns,
  vcOverlap,
};
constexpr int kVRAMClassCount = 10;

struct TVRAMLegendEntry {
  std::string_view Caption;  // "free", "plane A table", ... "overlap"
  std::string_view Name;     // "free", "planeATable", ... for --json
  uint32_t Color;            // 0xFFRRGGBB in the map's picture
};
// By TVRAMClass.
const TVRAMLegendEntry& VRAMLegend(TVRAMClass cls);

// A table as the display reads it: Bytes of the Span bytes from Start on (Start + Span may
// wrap past $FFFF); an unread table has Span 0.
struct TVRAMTable {
  uint16_t Use = 0;  // its table bit
  uint32_t Start = 0;
  uint32_t Span = 0;
  uint32_t Bytes = 0;
};

struct TVRAMMap {
  int PatternBytes = 32;  // 64 in interlace mode 2
  int PatternCount = 2048;
  int CellHeight = 8;
  std::array<uint16_t, kVRAMBlocks> Blocks{};  // TVRAMUse bits of each block
  std::vector<uint16_t> Patterns;              // pattern-use bits of each pattern (PatternCount)
  std::vector<TVRAMTable> Tables;  // plane A, plane B, window, sprite, horizontal scroll

  uint16_t UsesAt(uint32_t address) const { return Blocks[(address & 0xFFFF) / kVRAMBlockBytes]; }
  TVRAMClass ClassOf(int block) const;
  bool IsOverlap(int block) const;
};

TVRAMMap BuildVRAMMap(const TMegaDriveVDP& vdp);

// Consecutive blocks with the same uses.
struct TVRAMRegion {
  uint32_t Start = 0;
  uint32_t Bytes = 0;
  uint16_t Uses = 0;
  TVRAMClass Class = TVRAMClass::vcFree;
};
std::vector<TVRAMRegion> VRAMRegions(const TVRAMMap& map);

// Consecutive patterns with the same (non-zero) pattern uses.
struct TPatternRun {
  int First = 0;
  int Last = 0;
  uint16_t Uses = 0;
};
std::vector<TPatternRun> PatternRuns(const TVRAMMap& map);

// The map's picture, laid out as the pattern sheet (BuildPatternSheet): 512 x 256 pixels, 8
// bits per pixel, each byte of Video RAM at the place its pattern pixels have in the sheet, so
// that each 32-byte block is an 8 x 8 square. Pixel value = the block's TVRAMClass, plus 16 on
// the square's right column and bottom row (a darker edge); the colour table holds the legend's
// colours at 0-9 and their darker forms at 16-25.
void BuildVRAMMapPicture(const TVRAMMap& map, TIndexedBitmap& out);

// The Video RAM address shown at a pixel of the map's picture (the byte holding that pattern
// pixel); -1 outside the picture.
int32_t VRAMMapAddressAt(const TVRAMMap& map, int32_t x, int32_t y);

}  // namespace vantor
