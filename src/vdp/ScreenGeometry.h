// Where things lie in the picture RenderScreen composes, and how the planes are scrolled at a
// pixel: the facts the pixel inspector and the screen overlays share. Computed from the
// model's public state alone.
//
// Coordinates are picture pixels (x to the right, y down from the picture's top-left), as
// RenderScreen writes them at y = x = 0.
#pragma once

#include <cstdint>

#include "vdp/MegaDriveVDP.h"

namespace vantor {

// True when (x, y) lies in the rectangle (right and bottom exclusive).
inline bool RectContains(const TVDPRect& rect, int32_t x, int32_t y) {
  return x >= rect.Left && x < rect.Right && y >= rect.Top && y < rect.Bottom;
}

struct TScreenGeometry {
  int32_t Width = 0;  // the picture, as ScreenPictureSize gives it
  int32_t Height = 0;
  TVDPRect Plane;  // where planes A and B are drawn
  // The window is drawn in the union of its two bands: WindowColumns, the columns left or
  // right of its horizontal position over every row of the window's extent, and WindowRows,
  // the rows above or below its vertical position over every column of it. The extent is
  // mkWindowWidth x mkWindowHeight from the plane rectangle's top-left, and may reach past the
  // picture (a 64-cell window on a 40-cell screen) or, on the entire virtual screen, right of
  // the plane rectangle: clip to the picture. A band without width or height is empty.
  TVDPRect WindowArea;
  TVDPRect WindowColumns;
  TVDPRect WindowRows;
  // Picture pixel (x, y) is sprite-space pixel (x + SpriteDX, y + SpriteDY).
  int32_t SpriteDX = 0;
  int32_t SpriteDY = 0;
  int CellHeight = 8;  // 16 in interlace mode 2

  bool InWindow(int32_t x, int32_t y) const {
    return RectContains(WindowColumns, x, y) || RectContains(WindowRows, x, y);
  }
  // The display line of picture row y that the horizontal scroll table is read for: rows above
  // the plane rectangle give a negative number; in interlace mode 2 two rows share a line.
  int32_t ScrollLine(int32_t y) const;
};

TScreenGeometry GetScreenGeometry(const TMegaDriveVDP& vdp, uint16_t options);

enum class TScrolledPlane { spA, spB };

// The plane cell shown at a picture pixel inside the plane rectangle.
struct TPlaneCellAt {
  int HScroll = 0;  // the row's horizontal scroll value (10 bits), 0 when ignored
  int VScroll = 0;  // the vertical scroll value of the pixel's cell (10 bits), 0 when ignored
  int Column = 0;   // cell in the name table
  int Row = 0;
  int PixelColumn = 0;  // pixel inside the cell as shown (flips not applied)
  int PixelRow = 0;
  int32_t CellLeft = 0;  // picture column of the cell's left edge (may lie left of the plane)
};

// The horizontal scroll value of plane A or B on picture row y, as the screen reads it: the
// table entry of the row's display line by the horizontal scroll mode (10 bits); 0 above the
// display's first line, the last line's value below line 239, 0 with kRenderIgnoreHScroll.
int PlaneHScroll(const TMegaDriveVDP& vdp, const TScreenGeometry& geometry, uint16_t options,
                 TScrolledPlane plane, int32_t y);

// The cell of plane A or B at picture pixel (x, y), which lies in the plane rectangle. hscroll
// is PlaneHScroll of row y. With two-cell vertical scrolling each cell takes the VSRAM entry of
// the 16-pixel column (counted from the fine horizontal scroll) where it starts; the cell
// scrolled in partly at the plane's left edge keeps the first entry; entries past VSRAM give 0.
TPlaneCellAt PlaneCellAt(const TMegaDriveVDP& vdp, const TScreenGeometry& geometry,
                         uint16_t options, TScrolledPlane plane, int hscroll, int32_t x, int32_t y);

}  // namespace vantor
