// The scroll planes and the window of the composed screen: the registers decoded once per
// picture, and where each picture row lies in the name tables. Internal to the model.
#pragma once

#include <array>
#include <cstdint>

#include "vdp/CellRowCache.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor::detail {

// Everything RenderScreen reads from the registers, decoded once per call.
struct TScreenSetup {
  int CellHeight = 8;
  uint32_t PatternBytes = 32;
  int PlaneCellsWide = 32;
  int PlaneCellsHigh = 32;
  int PlaneWidth = 256;
  int PlaneHeight = 256;
  int WindowCellsWide = 32;
  int WindowWidth = 256;
  int WindowHeight = 256;
  int PlaneLeft = 0, PlaneTop = 0, PlaneRight = 0, PlaneBottom = 0;
  int WindowBandLeft = 0, WindowBandRight = 0, WindowBandTop = 0, WindowBandBottom = 0;
  int PictureWidth = 0, PictureHeight = 0;
  int SpriteDX = 0, SpriteDY = 0;  // picture to sprite space
  int HScrollMode = 0;
  bool VScrollCells = false;
  bool Interlace2 = false;
  bool ShadowHighlight = false;
  uint32_t HScrollTable = 0;
  uint8_t Background = 0;
};

TScreenSetup MakeScreenSetup(const TMegaDriveVDP& vdp, uint16_t options);

class TLineBuilder {
 public:
  TLineBuilder(const TMegaDriveVDP& vdp, uint16_t options, const TScreenSetup& setup);

  // Reads the horizontal scroll of picture row k (kept from the last row read outside the
  // table's 240 lines).
  void ReadHScroll(int k);
  int HScroll(bool isA) const { return isA ? m_hscrollA : m_hscrollB; }

  // Where row k of plane A (isA) or B lies under the vertical scroll of a two-cell column
  // (0 when the plane scrolls as a whole): its cell row and pixel row, and the plane column
  // shown at the plane's left edge.
  struct TPlaneRow {
    int CellRow = 0;
    int PixRow = 0;
    int X0 = 0;
  };
  TPlaneRow PlaneRow(bool isA, int k, int column) const {
    const int entry = 2 * column + (isA ? 0 : 1);
    const int v = (m_options & kRenderIgnoreVScroll) ? 0 : m_vdp.GetVSRAMWord(entry) & 0x3FF;
    const int yy = (k - m_s.PlaneTop + v) & (m_s.PlaneHeight - 1);
    TPlaneRow row;
    row.CellRow = yy >> m_cellShift;
    row.PixRow = yy & (m_s.CellHeight - 1);
    row.X0 = int(uint16_t(-HScroll(isA))) & (m_s.PlaneWidth - 1);
    return row;
  }

  // The window's columns [From, To) on row k within [0, width), its cell row and pixel row;
  // false when the window covers none of them.
  struct TWindowRow {
    int From = 0, To = 0;
    int CellRow = 0;
    int PixRow = 0;
  };
  bool WindowRow(int k, int width, TWindowRow& row) const;

  // The name tables of the planes (isA) and the window.
  TCellTable PlaneTable(bool isA) const;
  TCellTable WindowTable() const;

 private:
  void fillAttrs(TCellAttrs& attrs, uint16_t lo, uint16_t hi) const;

  const TMegaDriveVDP& m_vdp;
  uint16_t m_options;
  const TScreenSetup& m_s;
  int m_cellShift = 3;
  int m_patternShift = 5;
  TCellAttrs m_attrA{}, m_attrB{}, m_attrWindow{};
  int m_hscrollA = 0;
  int m_hscrollB = 0;
};

}  // namespace vantor::detail
