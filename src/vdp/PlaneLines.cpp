// The scroll planes and the window of the composed screen, one picture row at a time.
#include "vdp/PlaneLines.h"

#include <algorithm>
#include <cstring>

namespace vantor::detail {

namespace {

void setBands(const TMegaDriveVDP& vdp, TScreenSetup& s) {
  const int h0 = int(vdp.GetField(kFieldWindowHPos)) * 8;
  const int v0 = int(vdp.GetField(kFieldWindowVPos)) * s.CellHeight;
  if (vdp.GetFlag(kFlagWindowRight)) {
    s.WindowBandLeft = s.PlaneLeft + h0;
    s.WindowBandRight = s.PlaneLeft + s.WindowCellsWide * 8;
  } else {
    s.WindowBandLeft = s.PlaneLeft;
    s.WindowBandRight = s.PlaneLeft + h0;
  }
  if (vdp.GetFlag(kFlagWindowBottom)) {
    s.WindowBandTop = s.PlaneTop + v0;
    s.WindowBandBottom = s.PlaneTop + 32 * s.CellHeight;
  } else {
    s.WindowBandTop = s.PlaneTop;
    s.WindowBandBottom = s.PlaneTop + v0;
  }
}

}  // namespace

TScreenSetup MakeScreenSetup(const TMegaDriveVDP& vdp, uint16_t options) {
  TScreenSetup s;
  s.CellHeight = vdp.CellHeight();
  s.PatternBytes = uint32_t(vdp.GetMetric(mkPatternBytes));
  s.PlaneCellsWide = vdp.GetMetric(mkPlaneCellsWide);
  s.PlaneWidth = vdp.GetMetric(mkPlaneWidth);
  s.PlaneHeight = vdp.GetMetric(mkPlaneHeight);
  s.WindowCellsWide = vdp.GetMetric(mkWindowCellsWide);
  s.WindowWidth = vdp.GetMetric(mkWindowWidth);
  s.WindowHeight = vdp.GetMetric(mkWindowHeight);
  if (options & kRenderVirtualScreen) {
    const TVDPRect bounds = vdp.GetSpriteBounds();
    s.PlaneLeft = 128;
    s.PlaneTop = 16 * s.CellHeight;
    s.PlaneRight = s.PlaneLeft + s.PlaneWidth;
    s.PlaneBottom = s.PlaneTop + s.PlaneHeight;
    s.PictureWidth = std::max(s.PlaneRight, bounds.Right);
    s.PictureHeight = std::max(s.PlaneBottom, bounds.Bottom);
  } else {
    s.PlaneRight = s.PictureWidth = vdp.GetMetric(mkScreenWidth);
    s.PlaneBottom = s.PictureHeight = vdp.GetMetric(mkScreenHeight);
    s.SpriteDX = 128;
    s.SpriteDY = 16 * s.CellHeight;
  }
  setBands(vdp, s);
  s.HScrollMode = vdp.GetScrollMode(false);
  s.VScrollCells = vdp.GetScrollMode(true) == 1 && !(options & kRenderIgnoreVScroll);
  s.Interlace2 = vdp.GetInterlaceMode() == 2;
  s.ShadowHighlight =
      vdp.GetFlag(kFlagShadowHighlight) && !(options & kRenderIgnoreShadowHighlight);
  s.HScrollTable = vdp.GetField(kFieldHScrollTable);
  s.Background = uint8_t(vdp.GetField(kFieldBackgroundColor));
  return s;
}

TLineBuilder::TLineBuilder(const TMegaDriveVDP& vdp, uint16_t options, const TScreenSetup& setup)
    : m_vdp(vdp), m_vram(vdp.VRAMData()), m_options(options), m_s(setup) {
  m_cellShift = setup.CellHeight == 16 ? 4 : 3;
  m_patternShift = setup.PatternBytes == 64 ? 6 : 5;
  fillAttrs(m_attrA, kRenderPlaneALo, kRenderPlaneAHi);
  fillAttrs(m_attrB, kRenderPlaneBLo, kRenderPlaneBHi);
  fillAttrs(m_attrWindow, kRenderWindowLo, kRenderWindowHi);
}

void TLineBuilder::ReadHScroll(int k) {
  int line = k - m_s.PlaneTop;
  if (m_s.Interlace2) line /= 2;
  if ((m_options & kRenderIgnoreHScroll) || line < 0 || line >= 240) return;
  static constexpr int kLineMask[4] = {0, 7, 0xFFF8, 0xFFFF};
  const uint32_t entry = m_s.HScrollTable + uint32_t(line & kLineMask[m_s.HScrollMode]) * 4;
  m_hscrollA = m_vdp.ReadVRAMWord(entry) & 0x3FF;
  m_hscrollB = m_vdp.ReadVRAMWord(entry + 2) & 0x3FF;
}

void TLineBuilder::fillAttrs(TCellAttrs& attrs, uint16_t lo, uint16_t hi) const {
  for (int top = 0; top < 32; ++top) {
    TCellAttr& a = attrs[std::size_t(top)];
    const bool high = (top & 0x10) != 0;
    const bool drawn = (m_options & (high ? hi : lo)) != 0;
    const uint8_t code = uint8_t(0x80 | (high ? 0x40 : 0) | ((top >> 2) & 3) << 4);
    a.Code = drawn ? code * kEachByte : 0;
    a.Drawn = drawn ? ~uint32_t(0) : 0;
    a.HFlip = (top & 1) ? ~uint32_t(0) : 0;
    a.VFlip = uint32_t(top >> 1) & 1;
  }
}

TLineBuilder::TCellRow TLineBuilder::rowOffsets(const TCellAttrs& attrs, int pixRow) const {
  TCellRow row;
  row.RowOffset[0] = uint32_t(pixRow) * 4;
  row.RowOffset[1] = uint32_t(m_s.CellHeight - 1 - pixRow) * 4;
  row.Attrs = attrs.data();
  return row;
}

TLineBuilder::TCellRow TLineBuilder::cellRow(uint32_t table, const TCellAttrs& attrs, int k,
                                             int v) const {
  const int yy = (k - m_s.PlaneTop + v) & (m_s.PlaneHeight - 1);
  TCellRow row = rowOffsets(attrs, yy & (m_s.CellHeight - 1));
  row.Names = table + uint32_t((yy >> m_cellShift) * m_s.PlaneCellsWide) * 2;
  return row;
}

// The hot path of the planes: a name word, its pattern row, and the attribute bits the
// decoding needs. A flipped cell's 4 bytes are stored reversed (bswap); the decoding then
// exchanges the nibbles of each byte.
inline void TLineBuilder::gatherCell(const TCellRow& row, int col, TCellRun& run, int i) const {
  // Name tables start on even addresses, so a name word never straddles the end of VRAM.
  uint16_t word;
  std::memcpy(&word, m_vram + ((row.Names + uint32_t(col) * 2) & TMegaDriveVDP::kVramMask), 2);
  word = __builtin_bswap16(word);
  const TCellAttr& attr = row.Attrs[word >> 11];
  // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
  const uint32_t address =
      ((uint32_t(word & 0x7FF) << m_patternShift) + row.RowOffset[attr.VFlip]) &
      TMegaDriveVDP::kVramMask;
  uint32_t bytes;
  std::memcpy(&bytes, m_vram + address, 4);
  bytes &= attr.Drawn;
  const std::size_t at = std::size_t(i);
  run.Rows[at] = attr.HFlip ? __builtin_bswap32(bytes) : bytes;
  run.Flips[at] = attr.HFlip;
  run.Codes[at] = attr.Code;
}

void TLineBuilder::GatherPlane(bool isA, int k, int width, TCellRun& run) const {
  run.Count = 0;
  const int jStart = m_s.PlaneLeft, jEnd = std::min(m_s.PlaneRight, width);
  if (jStart >= jEnd) return;
  const int hscroll = isA ? m_hscrollA : m_hscrollB;
  const int vsramEntry = isA ? 0 : 1;
  const uint32_t table = isA ? m_vdp.PlaneATable() : m_vdp.PlaneBTable();
  const TCellAttrs& attrs = isA ? m_attrA : m_attrB;
  const int x0 = int(uint16_t(-hscroll)) & (m_s.PlaneWidth - 1);
  const int colMask = m_s.PlaneCellsWide - 1;  // 32, 64 or 128 cells
  int cellCol = x0 >> 3;
  int v = (m_options & kRenderIgnoreVScroll) ? 0 : m_vdp.GetVSRAMWord(vsramEntry) & 0x3FF;
  run.First = jStart - (x0 & 7);
  // Two-cell columns of 16 pixels from the fine horizontal scroll on, each with its own
  // vertical scroll entry; the first cell, scrolled in from the left, keeps the first
  // column's. Each column's cells are gathered in one run.
  gatherCell(cellRow(table, attrs, k, v), cellCol, run, 0);
  cellCol = (cellCol + 1) & colMask;
  const int base = m_s.PlaneLeft + (hscroll & 15);
  int i = 1;
  for (int j = run.First + 8; j < jEnd;) {
    const int column = std::max(0, j - base) >> 4;
    const int entry = 2 * column + vsramEntry;
    v = entry < TMegaDriveVDP::kVsramEntries ? m_vdp.GetVSRAMWord(entry) & 0x3FF : 0;
    const TCellRow row = cellRow(table, attrs, k, v);
    const int runEnd = std::min(jEnd, base + (column + 1) * 16);
    for (; j < runEnd; j += 8, ++i, cellCol = (cellCol + 1) & colMask)
      gatherCell(row, cellCol, run, i);
  }
  run.Count = i;
}

TLineBuilder::TPlaneRow TLineBuilder::PlaneRow(bool isA, int k) const {
  const int hscroll = isA ? m_hscrollA : m_hscrollB;
  const int v = (m_options & kRenderIgnoreVScroll) ? 0 : m_vdp.GetVSRAMWord(isA ? 0 : 1) & 0x3FF;
  const int yy = (k - m_s.PlaneTop + v) & (m_s.PlaneHeight - 1);
  TPlaneRow row;
  row.CellRow = yy >> m_cellShift;
  row.PixRow = yy & (m_s.CellHeight - 1);
  row.X0 = int(uint16_t(-hscroll)) & (m_s.PlaneWidth - 1);
  return row;
}

bool TLineBuilder::WindowRow(int k, int width, TWindowRow& row) const {
  const int dy = k - m_s.PlaneTop;
  if (dy < 0 || dy >= m_s.WindowHeight) return false;
  int from = m_s.PlaneLeft, to = m_s.PlaneLeft + m_s.WindowWidth;
  if (k < m_s.WindowBandTop || k >= m_s.WindowBandBottom) {
    from = std::max(from, m_s.WindowBandLeft);
    to = std::min(to, m_s.WindowBandRight);
  }
  row.From = std::max(from, 0);
  row.To = std::min(to, width);
  row.CellRow = dy >> m_cellShift;
  row.PixRow = k % m_s.CellHeight;
  return row.From < row.To;
}

}  // namespace vantor::detail
