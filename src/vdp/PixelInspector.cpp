// The pixel inspector, following the composition rules pixel by pixel: the plane cells at the
// pixel's scroll position, the window over plane A in its bands, the sprites of the pixel's
// line under the console's rules (first opaque pixel in chain order wins), shadow/highlight,
// the selection by priorities, then the marks and the backdrop.
#include "vdp/PixelInspector.h"

#include <algorithm>

namespace vantor {

namespace {

constexpr uint16_t kAttrPriority = 0x8000;
constexpr uint16_t kAttrVFlip = 0x1000;
constexpr uint16_t kAttrHFlip = 0x0800;

// A layer's value in the merge: the pixel code (colour, palette line, marks) and its priority.
struct TLayerValue {
  uint8_t Value = 0;
  bool Priority = false;
};

bool opaque(uint8_t value) {
  return (value & 0x0F) != 0;
}

TLayerValue valueOf(const TCellAccount& cell) {
  if (!cell.TakesPart) return {};
  return {uint8_t(cell.Pixel.PaletteLine << 4 | cell.Pixel.ColorIndex), cell.Pixel.Priority};
}

enum class TChoice { chSprite, chA, chB };

struct TSelection {
  TChoice Choice;
  uint8_t Value;
};

// The selection by N = S * 4 + A * 2 + B: the higher priority in front, and among equal
// priorities the sprite, then A, then B. A plane of high priority in front of a low sprite
// shows its own value; otherwise a plane's value carries the sprite's marks (s | plane).
TSelection select(bool sPri, const TLayerValue& a, const TLayerValue& b, uint8_t s) {
  const TSelection sprite{TChoice::chSprite, s};
  const TSelection pureA{TChoice::chA, a.Value}, pureB{TChoice::chB, b.Value};
  const TSelection markedA{TChoice::chA, uint8_t(s | a.Value)};
  const TSelection markedB{TChoice::chB, uint8_t(s | b.Value)};
  switch ((sPri ? 4 : 0) | (a.Priority ? 2 : 0) | (b.Priority ? 1 : 0)) {
    case 1:
      return opaque(b.Value) ? pureB : opaque(s) ? sprite : markedA;
    case 2:
      return opaque(a.Value) ? pureA : opaque(s) ? sprite : markedB;
    case 3:
      return opaque(a.Value) ? pureA : opaque(b.Value) ? pureB : sprite;
    case 5:
      return opaque(s) ? sprite : opaque(b.Value) ? markedB : markedA;
    default:
      return opaque(s) ? sprite : opaque(a.Value) ? markedA : markedB;
  }
}

// Front-to-back rank of an opaque layer: priority first, then sprite, A, B.
int rank(const TPixelAccount& a, TPixelLayer layer) {
  switch (layer) {
    case TPixelLayer::plSprite:
      return a.SpritePriority ? 0 : 3;
    case TPixelLayer::plPlaneB:
      return a.BPriority ? 2 : 5;
    default:
      return a.APriority ? 1 : 4;
  }
}

uint16_t markedWord(uint16_t word, uint8_t marks) {
  if (marks == 0x40) return uint16_t(word | kCRAMHighlight);
  if (marks == 0x80) return uint16_t(word | kCRAMShadow);
  return word;
}

}  // namespace

TPixelInspector::TPixelInspector(const TMegaDriveVDP& vdp, uint16_t options)
    : m_vdp(vdp),
      m_options(options),
      m_geometry(GetScreenGeometry(vdp, options)),
      m_chain(ReadSpriteChain(vdp)),
      m_limits(ConsoleSpriteLimits(vdp)),
      m_shadowHighlight(vdp.GetFlag(kFlagShadowHighlight) &&
                        !(options & kRenderIgnoreShadowHighlight)),
      m_patternBytes(vdp.GetMetric(mkPatternBytes)) {}

TPixelAccount TPixelInspector::Inspect(int32_t x, int32_t y) const {
  TPixelAccount account;
  Inspect(x, y, account);
  return account;
}

void TPixelInspector::Inspect(int32_t x, int32_t y, TPixelAccount& out) const {
  std::vector<TSpriteCover> covering = std::move(out.Sprite.Covering);
  std::vector<TPixelLayer> beaten = std::move(out.Beaten);
  covering.clear();
  beaten.clear();
  out = TPixelAccount{};
  out.Sprite.Covering = std::move(covering);
  out.Beaten = std::move(beaten);
  out.X = x;
  out.Y = y;
  out.Options = m_options;
  out.Inside = x >= 0 && y >= 0 && x < m_geometry.Width && y < m_geometry.Height;
  if (!out.Inside) return;
  out.SpriteX = x + m_geometry.SpriteDX;
  out.SpriteY = y + m_geometry.SpriteDY;
  inspectPlanes(out);
  inspectWindow(out);
  inspectSprites(out);
  compose(out);
}

TPatternPixel TPixelInspector::patternPixel(uint16_t attr, uint16_t pattern, int row,
                                            int column) const {
  TPatternPixel p;
  p.Attr = attr;
  p.Pattern = uint16_t(pattern & 0x7FF);
  p.Priority = (attr & kAttrPriority) != 0;
  p.HFlip = (attr & kAttrHFlip) != 0;
  p.VFlip = (attr & kAttrVFlip) != 0;
  p.PaletteLine = uint8_t((attr >> 13) & 3);
  p.PatternRow = row;
  p.PatternColumn = column;
  p.ByteAddress =
      (uint32_t(p.Pattern) * uint32_t(m_patternBytes) + uint32_t(row * 4 + column / 2)) &
      TMegaDriveVDP::kVramMask;
  p.HighNibble = column % 2 == 0;
  const uint8_t pair = m_vdp.VRAMData()[p.ByteAddress];
  p.ColorIndex = uint8_t(p.HighNibble ? pair >> 4 : pair & 0x0F);
  return p;
}

void TPixelInspector::inspectPlanes(TPixelAccount& out) const {
  if (!RectContains(m_geometry.Plane, out.X, out.Y)) return;
  const int cellsWide = m_vdp.GetMetric(mkPlaneCellsWide);
  const int cellHeight = m_geometry.CellHeight;
  for (TScrolledPlane plane : {TScrolledPlane::spA, TScrolledPlane::spB}) {
    const bool isA = plane == TScrolledPlane::spA;
    TCellAccount& cell = isA ? out.PlaneA : out.PlaneB;
    const int hscroll = PlaneHScroll(m_vdp, m_geometry, m_options, plane, out.Y);
    const TPlaneCellAt at = PlaneCellAt(m_vdp, m_geometry, m_options, plane, hscroll, out.X, out.Y);
    cell.InArea = true;
    cell.Column = at.Column;
    cell.Row = at.Row;
    cell.PixelColumn = at.PixelColumn;
    cell.PixelRow = at.PixelRow;
    cell.HScroll = at.HScroll;
    cell.VScroll = at.VScroll;
    const uint32_t table = isA ? m_vdp.PlaneATable() : m_vdp.PlaneBTable();
    cell.NameAddress =
        (table + uint32_t(at.Row * cellsWide + at.Column) * 2) & TMegaDriveVDP::kVramMask;
    const uint16_t word = m_vdp.ReadVRAMWord(cell.NameAddress);
    const int row = (word & kAttrVFlip) ? cellHeight - 1 - at.PixelRow : at.PixelRow;
    const int column = (word & kAttrHFlip) ? 7 - at.PixelColumn : at.PixelColumn;
    cell.Pixel = patternPixel(word, word, row, column);
    const uint16_t half = cell.Pixel.Priority ? (isA ? kRenderPlaneAHi : kRenderPlaneBHi)
                                              : (isA ? kRenderPlaneALo : kRenderPlaneBLo);
    cell.TakesPart = (m_options & half) != 0;
  }
}

void TPixelInspector::inspectWindow(TPixelAccount& out) const {
  if (!m_geometry.InWindow(out.X, out.Y)) return;
  TCellAccount& cell = out.Window;
  const int cellHeight = m_geometry.CellHeight;
  const int32_t dx = out.X - m_geometry.WindowArea.Left;
  const int32_t dy = out.Y - m_geometry.WindowArea.Top;
  cell.InArea = true;
  cell.Column = dx / 8;
  cell.Row = dy / cellHeight;
  cell.PixelColumn = dx % 8;
  cell.PixelRow = dy % cellHeight;
  cell.NameAddress = (m_vdp.WindowTable() +
                      uint32_t(cell.Row * m_vdp.GetMetric(mkWindowCellsWide) + cell.Column) * 2) &
                     TMegaDriveVDP::kVramMask;
  const uint16_t word = m_vdp.ReadVRAMWord(cell.NameAddress);
  const int row = (word & kAttrVFlip) ? cellHeight - 1 - cell.PixelRow : cell.PixelRow;
  const int column = (word & kAttrHFlip) ? 7 - cell.PixelColumn : cell.PixelColumn;
  cell.Pixel = patternPixel(word, word, row, column);
  cell.TakesPart = (m_options & (cell.Pixel.Priority ? kRenderWindowHi : kRenderWindowLo)) != 0;
}

void TPixelInspector::inspectSprites(TPixelAccount& out) const {
  TSpriteAccount& account = out.Sprite;
  const bool all = (m_options & kRenderAllSprites) != 0;
  account.Limits = !all;
  std::vector<TLineSprite> line;
  line.reserve(m_chain.size());
  SpritesOnLine(m_chain, out.SpriteY, m_limits, line);
  account.Line = SummariseLine(m_chain, line);
  const int cellHeight = m_geometry.CellHeight;
  for (const TLineSprite& on : line) {
    const TChainSprite& s = m_chain[std::size_t(on.Chain)];
    if (out.SpriteX < s.Left || out.SpriteX >= s.Right) continue;
    const TSpriteEntry& e = s.Entry;
    const bool hflip = e.HFlip();
    const int screenColumn = (out.SpriteX - s.Left) / 8;
    int row = out.SpriteY - s.Top;
    if (e.VFlip()) row = e.CellsHigh() * cellHeight - 1 - row;
    const int cellColumn = hflip ? e.CellsWide() - 1 - screenColumn : screenColumn;
    const int cellRow = row / cellHeight;
    const int pixelColumn = (out.SpriteX - s.Left) % 8;
    const TPatternPixel pixel =
        patternPixel(e.Attr, e.CellPattern(cellColumn * e.CellsHigh() + cellRow), row % cellHeight,
                     hflip ? 7 - pixelColumn : pixelColumn);
    const bool halfOn = (m_options & (pixel.Priority ? kRenderSpritesHi : kRenderSpritesLo)) != 0;
    TSpriteCover cover{s.Number, s.Position, on.Fate, pixel.Priority, false, pixel.ColorIndex};
    cover.Drawn = halfOn && screenColumn < (all ? e.CellsWide() : on.Cells);
    account.Covering.push_back(cover);
    if (!cover.Drawn || pixel.ColorIndex == 0 || account.Found) continue;
    account.Found = true;
    account.Number = s.Number;
    account.Position = s.Position;
    account.EntryAddress = m_vdp.SpriteEntryAddress(s.Number);
    account.Entry = e;
    account.CellColumn = cellColumn;
    account.CellRow = cellRow;
    account.Pixel = pixel;
  }
}

void TPixelInspector::compose(TPixelAccount& out) const {
  TLayerValue a = out.Window.TakesPart ? valueOf(out.Window) : valueOf(out.PlaneA);
  TLayerValue b = valueOf(out.PlaneB);
  const TSpriteAccount& sprite = out.Sprite;
  uint8_t s = sprite.Found ? uint8_t(sprite.Pixel.PaletteLine << 4 | sprite.Pixel.ColorIndex) : 0;
  const bool sPri = sprite.Found && sprite.Pixel.Priority;
  out.SpritePriority = sPri;
  out.APriority = a.Priority;
  out.BPriority = b.Priority;
  out.Case = (sPri ? 4 : 0) | (a.Priority ? 2 : 0) | (b.Priority ? 1 : 0);
  TMarkAccount& marks = out.Marks;
  marks.Active = m_shadowHighlight;
  if (m_shadowHighlight) {
    marks.HighlightSprite = s == 0x3E;
    marks.ShadowSprite = s == 0x3F;
    if (marks.HighlightSprite) s = 0x40;  // transparent, highlight
    if (marks.ShadowSprite) s = 0x80;     // transparent, shadow
    marks.NoHighPlane = !a.Priority && !b.Priority;
    if (marks.NoHighPlane) {
      a.Value |= 0x80;
      b.Value |= 0x80;
      if (!sPri) s |= 0x80;
    }
  }
  const TSelection selection = select(sPri, a, b, s);
  const TChoice choice = selection.Choice;
  uint8_t result = selection.Value;
  if ((result & 0xC0) == 0xC0) {
    marks.Cancelled = true;
    result &= 0x3F;
  }
  if (choice == TChoice::chSprite && (result & 0x0F) == 14 && ((result >> 4) & 3) != 3) {
    marks.Colour14 = (result & 0xC0) != 0;
    result &= 0x3F;
  }
  const TPixelLayer aLayer = out.Window.TakesPart ? TPixelLayer::plWindow : TPixelLayer::plPlaneA;
  if (opaque(result)) {
    out.Winner = choice == TChoice::chSprite ? TPixelLayer::plSprite
                 : choice == TChoice::chA    ? aLayer
                                             : TPixelLayer::plPlaneB;
  }
  const struct {
    TPixelLayer Layer;
    bool Opaque;
  } layers[] = {{TPixelLayer::plSprite, opaque(s)},
                {aLayer, opaque(a.Value)},
                {TPixelLayer::plPlaneB, opaque(b.Value)}};
  for (const auto& layer : layers) {
    if (layer.Opaque && layer.Layer != out.Winner) out.Beaten.push_back(layer.Layer);
  }
  std::stable_sort(out.Beaten.begin(), out.Beaten.end(),
                   [&](TPixelLayer l, TPixelLayer r) { return rank(out, l) < rank(out, r); });
  if (!opaque(result)) {
    result = uint8_t((result & 0xC0) | m_vdp.GetField(kFieldBackgroundColor));
    out.Written = (m_options & kRenderBackdrop) != 0;
  }
  out.Code = result;
  marks.Marks = uint8_t(result & 0xC0);
  out.CramIndex = uint8_t(result & 0x3F);
  out.ColorWord = m_vdp.GetColor(out.CramIndex);
  out.Rgb = CRAMToRGB32(markedWord(out.ColorWord, marks.Marks));
}

TPixelAccount InspectPixel(const TMegaDriveVDP& vdp, uint16_t options, int32_t x, int32_t y) {
  return TPixelInspector(vdp, options).Inspect(x, y);
}

}  // namespace vantor
