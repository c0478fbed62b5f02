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
  s.PlaneCellsHigh = vdp.GetMetric(mkPlaneCellsHigh);
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
    : m_vdp(vdp), m_options(options), m_s(setup) {
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

TCellTable TLineBuilder::PlaneTable(bool isA) const {
  return TCellTable{m_vdp.VRAMData(),
                    isA ? m_vdp.PlaneATable() : m_vdp.PlaneBTable(),
                    m_s.PlaneCellsWide,
                    m_s.PlaneCellsHigh,
                    m_s.CellHeight,
                    m_patternShift,
                    isA ? m_attrA.data() : m_attrB.data()};
}

TCellTable TLineBuilder::WindowTable() const {
  return TCellTable{m_vdp.VRAMData(), m_vdp.WindowTable(), m_s.WindowCellsWide, 32,
                    m_s.CellHeight,   m_patternShift,      m_attrWindow.data()};
}

}  // namespace vantor::detail
