// The scroll planes and the window of the composed screen, one picture row at a time: which
// cells a row shows and their pattern rows, gathered for decoding (PatternRows.h). Internal
// to the model.
#pragma once

#include <array>
#include <cstdint>

#include "vdp/CellRowCache.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternRows.h"

namespace vantor::detail {

// Everything RenderScreen reads from the registers, decoded once per call.
struct TScreenSetup {
  int CellHeight = 8;
  uint32_t PatternBytes = 32;
  int PlaneCellsWide = 32;
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

  // Where row k of plane A (isA) or B lies when the plane scrolls vertically as a whole: its
  // cell row and pixel row, and the plane column shown at the plane's left edge.
  struct TPlaneRow {
    int CellRow = 0;
    int PixRow = 0;
    int X0 = 0;
  };
  TPlaneRow PlaneRow(bool isA, int k) const;

  // The cells of plane A (isA) or B that cover picture columns [0, width) of row k, which lies
  // in the planes' rows, when every two cells scroll vertically on their own. The run may
  // start up to 7 columns left of the plane and end up to 7 past it; Count is 0 when the plane
  // covers none of the columns.
  void GatherPlane(bool isA, int k, int width, TCellRun& run) const;

  // The window's columns [from, to) on row k within [0, width), its cell row and pixel row;
  // false when the window covers none of them.
  struct TWindowRow {
    int From = 0, To = 0;
    int CellRow = 0;
    int PixRow = 0;
  };
  bool WindowRow(int k, int width, TWindowRow& row) const;

  const TCellAttr* Attrs(bool isA) const { return isA ? m_attrA.data() : m_attrB.data(); }
  const TCellAttr* WindowAttrs() const { return m_attrWindow.data(); }

 private:
  // One pixel row across a name table: where its names lie and which pattern row they show.
  struct TCellRow {
    uint32_t Names = 0;
    uint32_t RowOffset[2] = {0, 0};  // pattern row * 4; [1] counted from the bottom
    const TCellAttr* Attrs = nullptr;
  };

  void fillAttrs(TCellAttrs& attrs, uint16_t lo, uint16_t hi) const;
  TCellRow rowOffsets(const TCellAttrs& attrs, int pixRow) const;
  TCellRow cellRow(uint32_t table, const TCellAttrs& attrs, int k, int v) const;
  // Stores cell col of the row as entry i of the run.
  void gatherCell(const TCellRow& row, int col, TCellRun& run, int i) const;

  const TMegaDriveVDP& m_vdp;
  const uint8_t* m_vram;
  uint16_t m_options;
  const TScreenSetup& m_s;
  int m_cellShift = 3;
  int m_patternShift = 5;
  TCellAttrs m_attrA{}, m_attrB{}, m_attrWindow{};
  int m_hscrollA = 0;
  int m_hscrollB = 0;
};

}  // namespace vantor::detail
