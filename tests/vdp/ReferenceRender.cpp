// A plain composer of the screen, written from the composition rules and the console's sprite
// rules alone. It reads only the model's raw state (registers, Video RAM, CRAM, VSRAM) and
// decodes everything itself - table positions, sizes, window bands, scroll values, sprite
// entries, the display list - computing each picture pixel on its own, with its own colour
// conversion and its own pixel writer. It shares no code with the renderer, so the renderer's
// set-up, running counters, line building, merging and writers are all checked against it.
// Slow on purpose.
#include "ReferenceRender.h"

#include <algorithm>
#include <array>
#include <vector>

namespace vantor::reference {

namespace {

// --- The registers, decoded from the rules ----------------------------------------------------

struct TRules {
  bool H40 = false;
  int CellHeight = 8;  // 16 in interlace mode 2
  bool Interlace2 = false;
  int ScreenWidth = 256, ScreenHeight = 224;
  int PlaneCellsWide = 32, PlaneWidth = 256, PlaneHeight = 256;
  int WindowCellsWide = 32;
  uint32_t PlaneA = 0, PlaneB = 0, Window = 0, SpriteTable = 0, HScrollTable = 0;
  int HScrollMode = 0;
  bool VScrollPerTwoCells = false;
  int WindowH0 = 0, WindowV0 = 0;  // in pixels
  bool WindowRight = false, WindowDown = false;
  bool ShadowHighlight = false;
  uint8_t Background = 0;
  int SpriteCount = 64, SpritesPerLine = 16, CellsPerLine = 32;
};

constexpr int kPlaneCells[4] = {32, 64, 32, 128};

TRules decodeRules(const TMegaDriveVDP& vdp, uint16_t options) {
  auto reg = [&](int n) { return int(vdp.GetReg(uint8_t(n))); };
  TRules r;
  r.H40 = (reg(12) & 0x81) != 0;
  r.Interlace2 = ((reg(12) >> 1) & 3) >= 2;
  r.CellHeight = r.Interlace2 ? 16 : 8;
  r.ScreenWidth = r.H40 ? 320 : 256;
  r.ScreenHeight = ((reg(1) & 0x08) ? 30 : 28) * r.CellHeight;
  r.PlaneCellsWide = kPlaneCells[reg(16) & 3];
  r.PlaneWidth = r.PlaneCellsWide * 8;
  r.PlaneHeight = kPlaneCells[(reg(16) >> 4) & 3] * r.CellHeight;
  r.WindowCellsWide = r.H40 ? 64 : 32;
  r.PlaneA = uint32_t(reg(2) & 0x38) << 10;
  r.PlaneB = uint32_t(reg(4) & 0x07) << 13;
  // H40 ignores register 3 bit 1 and register 5 bit 0.
  r.Window = uint32_t(reg(3) & (r.H40 ? 0x3C : 0x3E)) << 10;
  r.SpriteTable = uint32_t(reg(5) & (r.H40 ? 0x7E : 0x7F)) << 9;
  r.HScrollTable = uint32_t(reg(13) & 0x3F) << 10;
  r.HScrollMode = reg(11) & 3;
  r.VScrollPerTwoCells = (reg(11) & 4) && !(options & kRenderIgnoreVScroll);
  r.WindowH0 = (reg(17) & 0x1F) * 2 * 8;
  r.WindowRight = (reg(17) & 0x80) != 0;
  r.WindowV0 = (reg(18) & 0x1F) * r.CellHeight;
  r.WindowDown = (reg(18) & 0x80) != 0;
  r.ShadowHighlight = (reg(12) & 0x08) && !(options & kRenderIgnoreShadowHighlight);
  r.Background = uint8_t(reg(7) & 0x3F);
  r.SpriteCount = r.H40 ? 80 : 64;
  r.SpritesPerLine = r.H40 ? 20 : 16;
  r.CellsPerLine = r.H40 ? 40 : 32;
  return r;
}

uint8_t vramByte(const TMegaDriveVDP& vdp, uint32_t address) {
  return vdp.VRAMData()[address & 0xFFFF];
}

uint16_t vramWord(const TMegaDriveVDP& vdp, uint32_t address) {
  return uint16_t(vramByte(vdp, address) << 8 | vramByte(vdp, address + 1));
}

// Pixel (column, row) of a pattern, flips applied: 0-15.
int patternPixel(const TMegaDriveVDP& vdp, const TRules& r, int pattern, int row, int column) {
  const uint32_t address =
      uint32_t(pattern & 0x7FF) * uint32_t(r.CellHeight * 4) + uint32_t(row * 4 + column / 2);
  const uint8_t pair = vramByte(vdp, address);
  return column % 2 == 0 ? pair >> 4 : pair & 0x0F;
}

// --- Sprites ---------------------------------------------------------------------------------

struct TSprite {
  int X = 0, Y = 0, CellsWide = 1, CellsHigh = 1;
  uint16_t Attr = 0;
};

std::vector<TSprite> displayList(const TMegaDriveVDP& vdp, const TRules& r) {
  std::vector<TSprite> list;
  int n = 0;
  for (int visited = 0; visited < r.SpriteCount; ++visited) {
    const uint32_t at = r.SpriteTable + uint32_t(n) * 8;
    TSprite s;
    s.Y = vramWord(vdp, at) & (r.Interlace2 ? 0x3FF : 0x1FF);
    s.CellsWide = ((vramByte(vdp, at + 2) >> 2) & 3) + 1;
    s.CellsHigh = (vramByte(vdp, at + 2) & 3) + 1;
    s.Attr = vramWord(vdp, at + 4);
    s.X = vramWord(vdp, at + 6) & 0x1FF;
    list.push_back(s);
    const int link = vramByte(vdp, at + 3) & 0x7F;
    if (link == 0 || link >= r.SpriteCount) break;
    n = link;
  }
  return list;
}

struct TDrawnSprite {
  TSprite Sprite;
  int Cells = 0;  // columns drawn, from the left
};

// The sprites the console draws on sprite-space line sy.
std::vector<TDrawnSprite> spritesOnLine(const std::vector<TSprite>& list, const TRules& r, int sy,
                                        bool allSprites) {
  std::vector<TDrawnSprite> drawn;
  int count = 0, cells = 0;
  bool nonZeroXBefore = false;
  for (const TSprite& s : list) {
    if (sy < s.Y || sy >= s.Y + s.CellsHigh * r.CellHeight) continue;
    if (allSprites) {
      drawn.push_back({s, s.CellsWide});
      continue;
    }
    ++count;
    if (count > r.SpritesPerLine) break;
    if (s.X == 0 && nonZeroXBefore) break;
    if (s.X != 0) nonZeroXBefore = true;
    const int room = r.CellsPerLine - cells;
    drawn.push_back({s, s.CellsWide < room ? s.CellsWide : room});
    cells += s.CellsWide;
    if (cells >= r.CellsPerLine) break;
  }
  return drawn;
}

// The sprite byte at (sx, sy): P 0 LL CCCC, 0 where no taking-part sprite is opaque.
uint8_t spritePixel(const TMegaDriveVDP& vdp, const TRules& r, uint16_t options,
                    const std::vector<TDrawnSprite>& line, int sx, int sy) {
  for (const TDrawnSprite& d : line) {
    const TSprite& s = d.Sprite;
    const bool high = (s.Attr & 0x8000) != 0;
    if (!(options & (high ? kRenderSpritesHi : kRenderSpritesLo))) continue;
    if (sx < s.X || sx >= s.X + d.Cells * 8) continue;
    const int screenColumn = (sx - s.X) / 8;
    int row = sy - s.Y;
    if (s.Attr & 0x1000) row = s.CellsHigh * r.CellHeight - 1 - row;
    int pixelColumn = (sx - s.X) % 8;
    int column = screenColumn;
    if (s.Attr & 0x0800) {
      column = s.CellsWide - 1 - screenColumn;
      pixelColumn = 7 - pixelColumn;
    }
    const int pattern = s.Attr + column * s.CellsHigh + row / r.CellHeight;
    const int p = patternPixel(vdp, r, pattern, row % r.CellHeight, pixelColumn);
    if (p != 0) return uint8_t((high ? 0x80 : 0) | ((s.Attr >> 13) & 3) << 4 | p);
  }
  return 0;
}

// --- Planes and window -----------------------------------------------------------------------

struct TLayerPixel {
  uint8_t Value = 0;  // pixel code: colour, palette line, marks
  bool Priority = false;
};

bool opaque(uint8_t value) {
  return (value & 0x0F) != 0;
}

TLayerPixel namePixel(const TMegaDriveVDP& vdp, const TRules& r, uint16_t options, uint16_t name,
                      uint16_t lo, uint16_t hi, int row, int column) {
  const bool high = (name & 0x8000) != 0;
  if (!(options & (high ? hi : lo))) return {};
  if (name & 0x1000) row = r.CellHeight - 1 - row;
  if (name & 0x0800) column = 7 - column;
  const int p = patternPixel(vdp, r, name, row, column);
  return {uint8_t(((name >> 13) & 3) << 4 | p), high};
}

struct TGeometry {
  int PlaneLeft = 0, PlaneTop = 0, PlaneRight = 0, PlaneBottom = 0;
  int Width = 0, Height = 0;
  int SpriteDX = 0, SpriteDY = 0;  // picture to sprite space
};

TGeometry geometry(const TRules& r, const std::vector<TSprite>& list, uint16_t options) {
  TGeometry g;
  if (!(options & kRenderVirtualScreen)) {
    g.PlaneRight = g.Width = r.ScreenWidth;
    g.PlaneBottom = g.Height = r.ScreenHeight;
    g.SpriteDX = 128;
    g.SpriteDY = 16 * r.CellHeight;
    return g;
  }
  g.PlaneLeft = 128;
  g.PlaneTop = 16 * r.CellHeight;
  g.PlaneRight = g.Width = g.PlaneLeft + r.PlaneWidth;
  g.PlaneBottom = g.Height = g.PlaneTop + r.PlaneHeight;
  for (const TSprite& s : list) {
    g.Width = std::max(g.Width, s.X + s.CellsWide * 8);
    g.Height = std::max(g.Height, s.Y + s.CellsHigh * r.CellHeight);
  }
  return g;
}

// The horizontal scroll of plane A (b false) or B for picture row k: the table's line, the
// top line above the table (where no line was read yet) and line 239 below it.
int hscrollOf(const TMegaDriveVDP& vdp, const TRules& r, const TGeometry& g, uint16_t options,
              int k, bool b) {
  if (options & kRenderIgnoreHScroll) return 0;
  int line = k - g.PlaneTop;
  if (r.Interlace2) line /= 2;
  if (line < 0) return 0;
  line = std::min(line, 239);
  static constexpr int kLineMask[4] = {0, 7, 0xFFF8, 0xFFFF};
  const uint32_t entry = r.HScrollTable + uint32_t(line & kLineMask[r.HScrollMode]) * 4;
  return vramWord(vdp, entry + (b ? 2 : 0)) & 0x3FF;
}

// The vertical scroll of the plane at offset d from the plane's left edge. Per two-cell column,
// each cell takes the entry of the 16-pixel column (counted from the fine horizontal scroll)
// where it starts; the cell scrolled in partly from the left keeps the first entry.
int vscrollOf(const TMegaDriveVDP& vdp, const TRules& r, uint16_t options, int d, int hscroll,
              bool b) {
  if (options & kRenderIgnoreVScroll) return 0;
  const int first = vdp.GetVSRAMWord(b ? 1 : 0) & 0x3FF;
  if (!r.VScrollPerTwoCells) return first;
  const int x0 = (-hscroll) & (r.PlaneWidth - 1);
  const int cellStart = d - ((x0 + d) & 7);
  if (cellStart <= 0) return first;
  const int entry = 2 * (std::max(0, cellStart - (hscroll & 15)) / 16) + (b ? 1 : 0);
  return entry < 40 ? vdp.GetVSRAMWord(entry) & 0x3FF : 0;
}

TLayerPixel planePixel(const TMegaDriveVDP& vdp, const TRules& r, const TGeometry& g,
                       uint16_t options, int j, int k, bool b) {
  const int hscroll = hscrollOf(vdp, r, g, options, k, b);
  const int d = j - g.PlaneLeft;
  const int px = ((-hscroll) + d) & (r.PlaneWidth - 1);
  const int v = vscrollOf(vdp, r, options, d, hscroll, b);
  const int py = (k - g.PlaneTop + v) & (r.PlaneHeight - 1);
  const uint32_t entry = uint32_t((py / r.CellHeight) * r.PlaneCellsWide + px / 8);
  const uint16_t name = vramWord(vdp, (b ? r.PlaneB : r.PlaneA) + entry * 2);
  return b ? namePixel(vdp, r, options, name, kRenderPlaneBLo, kRenderPlaneBHi, py % r.CellHeight,
                       px % 8)
           : namePixel(vdp, r, options, name, kRenderPlaneALo, kRenderPlaneAHi, py % r.CellHeight,
                       px % 8);
}

// The window's pixel when (j, k) lies in one of its bands and its cell takes part.
bool windowPixel(const TMegaDriveVDP& vdp, const TRules& r, const TGeometry& g, uint16_t options,
                 int j, int k, TLayerPixel& out) {
  const int dx = j - g.PlaneLeft, dy = k - g.PlaneTop;
  if (dx < 0 || dx >= r.WindowCellsWide * 8 || dy < 0 || dy >= 32 * r.CellHeight) return false;
  const bool inColumns = r.WindowRight ? dx >= r.WindowH0 : dx < r.WindowH0;
  const bool inRows = r.WindowDown ? dy >= r.WindowV0 : dy < r.WindowV0;
  if (!inColumns && !inRows) return false;
  const uint32_t entry = uint32_t(dx / 8 + (dy / r.CellHeight) * r.WindowCellsWide);
  const uint16_t name = vramWord(vdp, r.Window + entry * 2);
  const bool high = (name & 0x8000) != 0;
  if (!(options & (high ? kRenderWindowHi : kRenderWindowLo))) return false;
  out = namePixel(vdp, r, options, name, kRenderWindowLo, kRenderWindowHi, k % r.CellHeight, j & 7);
  return true;
}

// --- One pixel -------------------------------------------------------------------------------

// The selection table by N = S * 4 + A * 2 + B; fromSprite tells a result that is the sprite's
// own pixel.
uint8_t select(bool sPri, const TLayerPixel& a, const TLayerPixel& b, uint8_t s, bool& fromSprite) {
  const uint8_t sa = s | a.Value, sb = s | b.Value;
  fromSprite = false;
  auto sprite = [&] {
    fromSprite = true;
    return s;
  };
  switch ((sPri ? 4 : 0) | (a.Priority ? 2 : 0) | (b.Priority ? 1 : 0)) {
    case 1:
      return opaque(b.Value) ? b.Value : opaque(s) ? sprite() : sa;
    case 2:
      return opaque(a.Value) ? a.Value : opaque(s) ? sprite() : sb;
    case 3:
      return opaque(a.Value) ? a.Value : opaque(b.Value) ? b.Value : sprite();
    case 5:
      return opaque(s) ? sprite() : opaque(b.Value) ? sb : sa;
    default:
      return opaque(s) ? sprite() : opaque(a.Value) ? sa : sb;
  }
}

// The pixel code of picture pixel (j, k); false when it is a transparent result and the
// backdrop is off.
bool composePixel(const TMegaDriveVDP& vdp, const TRules& r, const TGeometry& g, uint16_t options,
                  const std::vector<TDrawnSprite>& line, int j, int k, uint8_t& result) {
  TLayerPixel a, b;
  if (j >= g.PlaneLeft && j < g.PlaneRight && k >= g.PlaneTop && k < g.PlaneBottom) {
    a = planePixel(vdp, r, g, options, j, k, false);
    b = planePixel(vdp, r, g, options, j, k, true);
  }
  windowPixel(vdp, r, g, options, j, k, a);
  const uint8_t sByte = spritePixel(vdp, r, options, line, j + g.SpriteDX, k + g.SpriteDY);
  const bool sPri = (sByte & 0x80) != 0;
  uint8_t s = sByte & 0x3F;
  if (r.ShadowHighlight) {
    if (s == 0x3E) s = 0x40;  // transparent, highlight
    if (s == 0x3F) s = 0x80;  // transparent, shadow
    if (!a.Priority && !b.Priority) {
      a.Value |= 0x80;
      b.Value |= 0x80;
      if (!sPri) s |= 0x80;
    }
  }
  bool fromSprite = false;
  result = select(sPri, a, b, s, fromSprite);
  if ((result & 0xC0) == 0xC0) result &= 0x3F;
  // A sprite's own pixel of colour 14 in lines 0 to 2 shows at normal intensity.
  if (fromSprite && (result & 0x0F) == 14 && ((result >> 4) & 3) != 3) result &= 0x3F;
  if (opaque(result)) return true;
  result = uint8_t((result & 0xC0) | r.Background);
  return (options & kRenderBackdrop) != 0;
}

// --- Colours and writing ---------------------------------------------------------------------

// The colour of a pixel code as 0xFFRRGGBB, or as 16 bits (5-6-5, or 5-5-5 with bit 15 set).
uint32_t colourOf(const TMegaDriveVDP& vdp, uint8_t code, int bitsPerPixel) {
  const uint16_t word = vdp.GetCRAMWord(code & 0x3F);
  const bool highlight = (code & 0x40) != 0, shadow = (code & 0x80) != 0;
  auto level = [&](int v, int bits) {
    const int normal = bits == 8   ? (v << 5 | v << 2 | v >> 1)
                       : bits == 6 ? (v << 3 | v)
                                   : (v << 2 | v >> 1);
    if (shadow) return normal >> 1;
    if (highlight) return (1 << (bits - 1)) | normal >> 1;
    return normal;
  };
  const int red = (word >> 1) & 7, green = (word >> 5) & 7, blue = (word >> 9) & 7;
  if (bitsPerPixel == 16)
    return uint32_t(level(red, 5) << 11 | level(green, 6) << 5 | level(blue, 5));
  if (bitsPerPixel == 15)
    return uint32_t(0x8000 | level(red, 5) << 10 | level(green, 5) << 5 | level(blue, 5));
  return 0xFF000000u | uint32_t(level(red, 8)) << 16 | uint32_t(level(green, 8)) << 8 |
         uint32_t(level(blue, 8));
}

void writePixel(const TMegaDriveVDP& vdp, const TSurfaceInfo& info, int row, int column,
                uint8_t code) {
  uint8_t* line = info.Bits + std::ptrdiff_t(row) * info.Stride;
  if (info.BitsPerPixel == 8) {
    line[column] = code;
    return;
  }
  const uint32_t colour = colourOf(vdp, code, info.BitsPerPixel);
  const int bytes = info.BitsPerPixel == 15 ? 2 : info.BitsPerPixel / 8;
  for (int i = 0; i < bytes; ++i)
    line[column * bytes + i] = uint8_t(colour >> (8 * i));
}

}  // namespace

void PictureSize(const TMegaDriveVDP& vdp, uint16_t options, int32_t& width, int32_t& height) {
  const TRules rules = decodeRules(vdp, options);
  const TGeometry g = geometry(rules, displayList(vdp, rules), options);
  width = g.Width;
  height = g.Height;
}

void RenderScreen(const TMegaDriveVDP& vdp, const TSurfaceInfo& info, uint16_t options, int y,
                  int x) {
  if (info.Bits == nullptr || info.BitsPerPixel < 8) return;
  const TRules rules = decodeRules(vdp, options);
  const std::vector<TSprite> list = displayList(vdp, rules);
  const TGeometry g = geometry(rules, list, options);
  const int width = std::min(g.Width, info.Width - x);
  const int height = std::min(g.Height, info.Height - y);
  const bool allSprites = (options & kRenderAllSprites) != 0;
  for (int k = 0; k < height; ++k) {
    if (y + k < 0) continue;
    const std::vector<TDrawnSprite> line = spritesOnLine(list, rules, k + g.SpriteDY, allSprites);
    for (int j = 0; j < width; ++j) {
      if (x + j < 0) continue;
      uint8_t code = 0;
      if (composePixel(vdp, rules, g, options, line, j, k, code))
        writePixel(vdp, info, y + k, x + j, code);
    }
  }
}

}  // namespace vantor::reference
