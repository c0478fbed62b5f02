#include "vdp/ScreenGeometry.h"

#include <algorithm>

#include "vdp/VDPPictures.h"

namespace vantor {

namespace {

// The part of rect inside bounds; an empty result keeps no width or no height.
TVDPRect clip(const TVDPRect& rect, const TVDPRect& bounds) {
  TVDPRect r{std::max(rect.Left, bounds.Left), std::max(rect.Top, bounds.Top),
             std::min(rect.Right, bounds.Right), std::min(rect.Bottom, bounds.Bottom)};
  r.Right = std::max(r.Right, r.Left);
  r.Bottom = std::max(r.Bottom, r.Top);
  return r;
}

// The window's two bands: the horizontal position (in pixels) counts from the left edge, the
// band lying left of it or, with the window on the right, from it to the window's right edge;
// the vertical position likewise from the top.
void setWindowBands(const TMegaDriveVDP& vdp, TScreenGeometry& g) {
  const TVDPRect& area = g.WindowArea;
  const int32_t h0 = area.Left + int32_t(vdp.GetField(kFieldWindowHPos)) * 8;
  const int32_t v0 = area.Top + int32_t(vdp.GetField(kFieldWindowVPos)) * g.CellHeight;
  TVDPRect columns = area, rows = area;
  if (vdp.GetFlag(kFlagWindowRight)) {
    columns.Left = h0;
  } else {
    columns.Right = h0;
  }
  if (vdp.GetFlag(kFlagWindowBottom)) {
    rows.Top = v0;
  } else {
    rows.Bottom = v0;
  }
  g.WindowColumns = clip(columns, area);
  g.WindowRows = clip(rows, area);
}

}  // namespace

int32_t TScreenGeometry::ScrollLine(int32_t y) const {
  int32_t line = y - Plane.Top;
  if (CellHeight == 16) line /= 2;  // toward zero, as the screen counts
  return line;
}

TScreenGeometry GetScreenGeometry(const TMegaDriveVDP& vdp, uint16_t options) {
  TScreenGeometry g;
  g.CellHeight = vdp.CellHeight();
  ScreenPictureSize(vdp, options, g.Width, g.Height);
  if (options & kRenderVirtualScreen) {
    g.Plane.Left = 128;
    g.Plane.Top = 16 * g.CellHeight;
    g.Plane.Right = g.Plane.Left + vdp.GetMetric(mkPlaneWidth);
    g.Plane.Bottom = g.Plane.Top + vdp.GetMetric(mkPlaneHeight);
  } else {
    g.Plane.Right = vdp.GetMetric(mkScreenWidth);
    g.Plane.Bottom = vdp.GetMetric(mkScreenHeight);
    g.SpriteDX = 128;
    g.SpriteDY = 16 * g.CellHeight;
  }
  g.WindowArea = TVDPRect{g.Plane.Left, g.Plane.Top, g.Plane.Left + vdp.GetMetric(mkWindowWidth),
                          g.Plane.Top + vdp.GetMetric(mkWindowHeight)};
  setWindowBands(vdp, g);
  return g;
}

int PlaneHScroll(const TMegaDriveVDP& vdp, const TScreenGeometry& geometry, uint16_t options,
                 TScrolledPlane plane, int32_t y) {
  if (options & kRenderIgnoreHScroll) return 0;
  const int32_t line = geometry.ScrollLine(y);
  if (line < 0) return 0;
  // Entry by mode: 0 the whole screen, 1 the first eight lines repeated, 2 per cell row,
  // 3 per line; 4 bytes a line, plane A's word first.
  static constexpr int32_t kLineMask[4] = {0, 7, 0xFFF8, 0xFFFF};
  const int32_t entry = std::min(line, int32_t(239)) & kLineMask[vdp.GetScrollMode(false) & 3];
  const uint32_t address = vdp.GetField(kFieldHScrollTable) + uint32_t(entry) * 4 +
                           (plane == TScrolledPlane::spB ? 2 : 0);
  return vdp.ReadVRAMWord(address) & 0x3FF;
}

TPlaneCellAt PlaneCellAt(const TMegaDriveVDP& vdp, const TScreenGeometry& geometry,
                         uint16_t options, TScrolledPlane plane, int hscroll, int32_t x,
                         int32_t y) {
  TPlaneCellAt at;
  at.HScroll = hscroll;
  const int planeWidth = vdp.GetMetric(mkPlaneWidth);
  const int planeHeight = vdp.GetMetric(mkPlaneHeight);
  const int32_t d = x - geometry.Plane.Left;
  const int x0 = int(uint16_t(-hscroll)) & (planeWidth - 1);
  const int px = (x0 + d) & (planeWidth - 1);
  at.Column = px >> 3;
  at.PixelColumn = px & 7;
  at.CellLeft = x - at.PixelColumn;
  const int first = plane == TScrolledPlane::spB ? 1 : 0;
  if (!(options & kRenderIgnoreVScroll)) {
    at.VScroll = vdp.GetVSRAMWord(first) & 0x3FF;
    const int32_t cellStart = d - at.PixelColumn;
    if (vdp.GetScrollMode(true) == 1) {
      const int entry = 2 * (std::max(0, cellStart - (hscroll & 15)) / 16) + first;
      at.VScroll = entry < TMegaDriveVDP::kVsramEntries ? vdp.GetVSRAMWord(entry) & 0x3FF : 0;
    }
  }
  const int py = (y - geometry.Plane.Top + at.VScroll) & (planeHeight - 1);
  at.Row = py / geometry.CellHeight;
  at.PixelRow = py % geometry.CellHeight;
  return at;
}

}  // namespace vantor
