#include "vdp/ScreenOverlays.h"

#include <algorithm>

namespace vantor {

namespace {

int32_t displayLineOf(const TScreenGeometry& g, int displayLines, int32_t y) {
  const int32_t line = y - g.Plane.Top;
  return line >= 0 && line < displayLines ? line : -1;
}

}  // namespace

TScreenOverlays GetScreenOverlays(const TMegaDriveVDP& vdp, uint16_t options) {
  TScreenOverlays overlays;
  const TScreenGeometry& g = overlays.Geometry = GetScreenGeometry(vdp, options);
  const std::vector<TChainSprite> chain = ReadSpriteChain(vdp);
  for (const TChainSprite& s : chain) {
    overlays.Sprites.push_back({s.Number, s.Position,
                                TVDPRect{s.Left - g.SpriteDX, s.Top - g.SpriteDY,
                                         s.Right - g.SpriteDX, s.Bottom - g.SpriteDY},
                                s.Entry.Priority(), 0});
  }
  const TSpriteLimits limits = ConsoleSpriteLimits(vdp);
  const int displayLines = vdp.GetMetric(mkScreenHeight);
  std::vector<TLineSprite> line;
  overlays.Lines.resize(std::size_t(std::max(g.Height, 0)));
  for (int32_t y = 0; y < g.Height; ++y) {
    TScreenLine& row = overlays.Lines[std::size_t(y)];
    row.DisplayLine = displayLineOf(g, displayLines, y);
    SpritesOnLine(chain, y + g.SpriteDY, limits, line);
    row.Sprites = SummariseLine(chain, line);
    if (row.DisplayLine < 0) continue;
    for (const TLineSprite& s : line) {
      if (s.Fate != TSpriteFate::sfDrawn) ++overlays.Sprites[std::size_t(s.Chain)].MissingLines;
    }
  }
  return overlays;
}

std::vector<TPlaneGridRow> GetPlaneGrid(const TMegaDriveVDP& vdp, uint16_t options,
                                        TScrolledPlane plane) {
  const TScreenGeometry g = GetScreenGeometry(vdp, options);
  std::vector<TPlaneGridRow> rows(std::size_t(std::max(g.Height, 0)));
  const int32_t right = std::min(g.Plane.Right, g.Width);
  for (int32_t y = std::max(g.Plane.Top, 0); y < std::min(g.Plane.Bottom, g.Height); ++y) {
    TPlaneGridRow& row = rows[std::size_t(y)];
    row.HScroll = PlaneHScroll(vdp, g, options, plane, y);
    for (int32_t x = g.Plane.Left; x < right;) {
      const TPlaneCellAt at = PlaneCellAt(vdp, g, options, plane, row.HScroll, x, y);
      row.Cells.push_back({at.CellLeft, at.Column, at.Row, at.PixelRow, at.VScroll});
      x = at.CellLeft + 8;
    }
  }
  return rows;
}

}  // namespace vantor
