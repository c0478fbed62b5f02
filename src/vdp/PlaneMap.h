// Plane maps: the name tables of plane A, plane B and the window as grids of cell attribute
// words, as plain CSV text, and as the tiles of a Tiled map.
//
// The Tiled scheme. The tileset picture holds the pattern sheet four times, one band of
// mkPatternCount / 64 rows of 64 patterns for each palette line from line 0 at the top, each
// band in the colours of its line (pixel = line << 4 | pattern pixel, colour table of palette
// line 0). Two tilesets cut that one picture: low priority from global tile id 1, high priority
// right after it. A cell's global tile id is therefore
//   1 + priority * 4 * count + line * count + (pattern mod count),  count = mkPatternCount,
// with Tiled's flip flags in the high bits: horizontal flip 0x80000000, vertical 0x40000000.
// (Pattern numbers past count read the same bytes as pattern mod count: Video RAM addresses
// wrap.)
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vdp/Bitmap.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor {

enum class TPlaneId { plA, plB, plWindow };

// "a", "b" or "window", as the command-line tool names the planes.
std::optional<TPlaneId> PlaneFromName(std::string_view name);
// "Plane A", "Plane B", "Window".
std::string_view PlaneCaption(TPlaneId plane);

// A name table: Width x Height cell attribute words, row by row from the top left.
//   word: P LL V H NNNNNNNNNNN (priority, palette line, flips, pattern)
struct TPlaneMap {
  int Width = 0;
  int Height = 0;
  std::vector<uint16_t> Words;

  uint16_t Word(int column, int row) const { return Words[std::size_t(row * Width + column)]; }
};

// The plane's name table as the screen reads it: mkPlaneCellsWide x mkPlaneCellsHigh words
// for planes A and B, mkWindowCellsWide x mkWindowCellsHigh for the window, big-endian words
// from the table's address on (Video RAM addresses wrap).
TPlaneMap ReadPlaneMap(const TMegaDriveVDP& vdp, TPlaneId plane);

// One line per cell row, the words as decimal numbers separated by commas, each line ending
// in LF.
std::string FormatPlaneCsv(const TPlaneMap& map);

constexpr uint32_t kTiledFlipHorizontal = 0x80000000u;
constexpr uint32_t kTiledFlipVertical = 0x40000000u;
constexpr int kTiledPaletteLines = 4;

// The global tile id of a cell attribute word, with its flip flags; patternCount is
// mkPatternCount.
uint32_t TiledTileId(uint16_t word, int patternCount);

// The tileset picture of the Tiled scheme: 64 * CellWidth wide, 4 * mkPatternCount / 64 *
// CellHeight high, 8 bits per pixel, from the model's Video RAM.
void BuildTilesetPicture(const TMegaDriveVDP& vdp, TIndexedBitmap& out);

}  // namespace vantor
