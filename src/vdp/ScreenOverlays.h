// What the overlays on the composed screen draw, as plain data in picture coordinates: the
// console's sprite facts line by line, the sprite boxes with their numbers, and the cell grid
// of a plane at its scroll position. The window's grid needs no data of its own: its cells lie
// 8 x CellHeight from TScreenGeometry::WindowArea's top-left, drawn in WindowColumns and
// WindowRows.
//
// Built once per rendered picture, with the options of the render.
#pragma once

#include <cstdint>
#include <vector>

#include "vdp/MegaDriveVDP.h"
#include "vdp/ScreenGeometry.h"
#include "vdp/SpriteLines.h"

namespace vantor {

// One picture row.
struct TScreenLine {
  int32_t DisplayLine = -1;  // the console's line shown there; -1 on the virtual screen's rows
                             // above and below the display
  // The console's sprite facts of the row's sprite-space line, under its limits whatever the
  // render options ask (on the virtual screen also for rows the console does not show).
  TSpriteLineFacts Sprites;
};

// A chained sprite's box.
struct TSpriteBox {
  int Number = 0;     // in the sprite table
  int Position = 0;   // in the link chain
  TVDPRect Box;       // picture coordinates; may lie partly or wholly outside the picture
  bool High = false;  // its priority bit
  // Display lines on which the console draws it only in part (cut at the cell limit) or not at
  // all (over a limit, masked, or the masking sprite itself).
  int MissingLines = 0;
};

struct TScreenOverlays {
  TScreenGeometry Geometry;
  std::vector<TScreenLine> Lines;   // one per picture row
  std::vector<TSpriteBox> Sprites;  // in chain order
};

TScreenOverlays GetScreenOverlays(const TMegaDriveVDP& vdp, uint16_t options);

// One cell of a plane on one picture row.
struct TPlaneCellSpan {
  int32_t Left = 0;  // picture column of the cell's left edge; its 8 pixels reach Left + 7.
                     // The first and last cell of a row may stick out of the plane rectangle.
  int Column = 0;    // the cell in the name table
  int Row = 0;
  int PixelRow = 0;  // the row of the cell shown: 0 on the cell's top row
  int VScroll = 0;   // the vertical scroll value the cell is shown with
};

// The cells of a plane along one picture row, left to right; none outside the plane
// rectangle's rows.
struct TPlaneGridRow {
  int HScroll = 0;
  std::vector<TPlaneCellSpan> Cells;
};

// Plane A's or B's cells on every picture row (one entry per row, clipped to the picture's
// width): a grid line runs left of every span and above every span whose PixelRow is 0.
std::vector<TPlaneGridRow> GetPlaneGrid(const TMegaDriveVDP& vdp, uint16_t options,
                                        TScrolledPlane plane);

}  // namespace vantor
