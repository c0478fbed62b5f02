// RenderScreen: the composed screen.
//
// Each picture row is built as three byte lines - plane B, plane A (with the window laid
// over it) and the sprite layer - decoded a pattern row (8 pixels) at a time, and then merged
// pixel by pixel through tables built once per call. The result equals the pixel-by-pixel
// composition rules in every pixel.
#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <vector>

#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternRows.h"
#include "vdp/ScreenMerge.h"
#include "vdp/SpriteLayer.h"
#include "vdp/SurfaceWriters.h"

namespace vantor {

namespace {

using detail::kEachByte;

// Plane line byte:  P O LL CCCC
//   P priority of the cell, O opaque (colour not 0), LL palette line, CCCC colour.
// A transparent pixel keeps only P; outside the planes the byte is 0.
constexpr uint8_t kLinePriority = 0x80;
constexpr uint8_t kLineOpaque = 0x40;
// Room on both sides of a line for whole cells that stick out of the picture, and for the
// merge's groups of 16 pixels past its end.
constexpr int kPad = 16;

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

TScreenSetup makeSetup(const TMegaDriveVDP& vdp, uint16_t options) {
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

// --- The plane lines --------------------------------------------------------------------------

class TLineBuilder {
 public:
  TLineBuilder(const TMegaDriveVDP& vdp, uint16_t options, const TScreenSetup& setup)
      : m_vdp(vdp), m_vram(vdp.VRAMData()), m_options(options), m_s(setup) {
    m_cellShift = setup.CellHeight == 16 ? 4 : 3;
    m_patternShift = setup.PatternBytes == 64 ? 6 : 5;
    fillAttrs(m_attrA, kRenderPlaneALo, kRenderPlaneAHi);
    fillAttrs(m_attrB, kRenderPlaneBLo, kRenderPlaneBHi);
    fillAttrs(m_attrWindow, kRenderWindowLo, kRenderWindowHi);
  }

  // Reads the horizontal scroll of picture row k (kept from the last row read outside the
  // table's 240 lines).
  void ReadHScroll(int k) {
    int line = k - m_s.PlaneTop;
    if (m_s.Interlace2) line /= 2;
    if ((m_options & kRenderIgnoreHScroll) || line < 0 || line >= 240) return;
    static constexpr int kLineMask[4] = {0, 7, 0xFFF8, 0xFFFF};
    const uint32_t entry = m_s.HScrollTable + uint32_t(line & kLineMask[m_s.HScrollMode]) * 4;
    m_hscrollA = m_vdp.ReadVRAMWord(entry) & 0x3FF;
    m_hscrollB = m_vdp.ReadVRAMWord(entry + 2) & 0x3FF;
  }

  // Fills line[0, width) with plane A (isA) or B of picture row k, which lies in the planes'
  // rows; line has kPad spare bytes on either side.
  void BuildPlane(bool isA, int k, int width, uint8_t* line) const {
    const int hscroll = isA ? m_hscrollA : m_hscrollB;
    const int vsramEntry = isA ? 0 : 1;
    const TCellSource source{isA ? m_vdp.PlaneATable() : m_vdp.PlaneBTable(),
                             isA ? m_attrA.data() : m_attrB.data()};
    const int jStart = m_s.PlaneLeft, jEnd = std::min(m_s.PlaneRight, width);
    std::memset(line - kPad, 0, std::size_t(width + 2 * kPad));
    if (jStart >= jEnd) return;
    const int x0 = int(uint16_t(-hscroll)) & (m_s.PlaneWidth - 1);
    const int colMask = m_s.PlaneCellsWide - 1;  // 32, 64 or 128 cells
    int cellCol = x0 >> 3;
    int v = (m_options & kRenderIgnoreVScroll) ? 0 : m_vdp.GetVSRAMWord(vsramEntry) & 0x3FF;
    int j = jStart - (x0 & 7);
    if (!m_s.VScrollCells) {
      const TCellRow row = cellRow(source, k, v);
      for (; j < jEnd; j += 8, cellCol = (cellCol + 1) & colMask) {
        detail::store64(line + j, cellPixels(row, cellCol));
      }
    } else {
      // Two-cell columns of 16 pixels from the fine horizontal scroll on, each with its own
      // vertical scroll entry; the first cell, scrolled in from the left, keeps the first
      // column's. Each column's cells are drawn in one run.
      detail::store64(line + j, cellPixels(cellRow(source, k, v), cellCol));
      j += 8;
      cellCol = (cellCol + 1) & colMask;
      const int base = m_s.PlaneLeft + (hscroll & 15);
      while (j < jEnd) {
        const int column = std::max(0, j - base) >> 4;
        const int entry = 2 * column + vsramEntry;
        v = entry < TMegaDriveVDP::kVsramEntries ? m_vdp.GetVSRAMWord(entry) & 0x3FF : 0;
        const TCellRow row = cellRow(source, k, v);
        const int runEnd = std::min(jEnd, base + (column + 1) * 16);
        for (; j < runEnd; j += 8, cellCol = (cellCol + 1) & colMask) {
          detail::store64(line + j, cellPixels(row, cellCol));
        }
      }
    }
    // Whole cells may have spilled past the plane's edges: those pixels are empty.
    std::memset(line + jStart - kPad, 0, kPad);
    std::memset(line + jEnd, 0, kPad);
  }

  // Lays the window over plane A's line where row k is inside a window band and the window
  // cell takes part.
  void OverlayWindow(int k, int width, uint8_t* line) const {
    const int dy = k - m_s.PlaneTop;
    if (dy < 0 || dy >= m_s.WindowHeight) return;
    int from = m_s.PlaneLeft, to = m_s.PlaneLeft + m_s.WindowWidth;
    if (k < m_s.WindowBandTop || k >= m_s.WindowBandBottom) {
      from = std::max(from, m_s.WindowBandLeft);
      to = std::min(to, m_s.WindowBandRight);
    }
    from = std::max(from, 0);
    to = std::min(to, width);
    if (from >= to) return;
    const TCellSource source{m_vdp.WindowTable(), m_attrWindow.data()};
    TCellRow row = rowOffsets(source, k % m_s.CellHeight);
    row.Names = source.Table + uint32_t((dy >> m_cellShift) * m_s.WindowCellsWide) * 2;
    // Band edges lie on cell boundaries of the plane's left edge, itself a multiple of 8.
    for (int j = from; j < to; j += 8) {
      const int col = (j - m_s.PlaneLeft) / 8;
      if (!row.Attrs[nameWord(row, col) >> 11].Enabled) continue;
      const uint64_t px = cellPixels(row, col);
      std::memcpy(line + j, &px, std::size_t(std::min(8, to - j)));
    }
  }

 private:
  // What the top five bits of a cell attribute word (P LL V H) mean to a line.
  struct TCellAttr {
    uint64_t Enabled = 0;   // all ones when the cell's priority half is drawn
    uint64_t Priority = 0;  // 0x80 in every lane for high-priority cells
    uint64_t HFlip = 0;     // all ones with horizontal flip
    uint64_t Code = 0;      // opaque bit and palette line, 0x40 | LL << 4
    int VFlip = 0;
  };
  using TCellAttrs = std::array<TCellAttr, 32>;

  struct TCellSource {
    uint32_t Table;
    const TCellAttr* Attrs;
  };

  // One pixel row across a name table: where its names lie and which pattern row they show.
  struct TCellRow {
    uint32_t Names = 0;
    uint32_t RowOffset[2] = {0, 0};  // pattern row * 4; [1] counted from the bottom
    const TCellAttr* Attrs = nullptr;
  };

  void fillAttrs(TCellAttrs& attrs, uint16_t lo, uint16_t hi) const {
    for (int top = 0; top < 32; ++top) {
      TCellAttr& a = attrs[std::size_t(top)];
      const bool high = (top & 0x10) != 0;
      a.Enabled = (m_options & (high ? hi : lo)) ? ~uint64_t(0) : 0;
      a.Priority = high ? kLinePriority * kEachByte : 0;
      a.HFlip = (top & 1) ? ~uint64_t(0) : 0;
      a.Code = uint64_t(kLineOpaque | ((top >> 2) & 3) << 4);
      a.VFlip = (top >> 1) & 1;
    }
  }

  TCellRow rowOffsets(const TCellSource& source, int pixRow) const {
    TCellRow row;
    row.RowOffset[0] = uint32_t(pixRow) * 4;
    row.RowOffset[1] = uint32_t(m_s.CellHeight - 1 - pixRow) * 4;
    row.Attrs = source.Attrs;
    return row;
  }

  TCellRow cellRow(const TCellSource& source, int k, int v) const {
    const int yy = (k - m_s.PlaneTop + v) & (m_s.PlaneHeight - 1);
    TCellRow row = rowOffsets(source, yy & (m_s.CellHeight - 1));
    row.Names = source.Table + uint32_t((yy >> m_cellShift) * m_s.PlaneCellsWide) * 2;
    return row;
  }

  // Name tables start on even addresses, so a name word never straddles the end of VRAM.
  uint16_t nameWord(const TCellRow& row, int col) const {
    uint16_t word;
    std::memcpy(&word, m_vram + ((row.Names + uint32_t(col) * 2) & TMegaDriveVDP::kVramMask), 2);
    return __builtin_bswap16(word);
  }

  // The 8 line bytes of a cell's pixel row, or 0 when its priority half is switched off.
  uint64_t cellPixels(const TCellRow& row, int col) const {
    const uint16_t word = nameWord(row, col);
    const TCellAttr& attr = row.Attrs[word >> 11];
    // Pattern rows are 4-byte aligned, so the 4 bytes never straddle the end of VRAM.
    const uint32_t address =
        ((uint32_t(word & 0x7FF) << m_patternShift) + row.RowOffset[attr.VFlip]) &
        TMegaDriveVDP::kVramMask;
    uint64_t px = detail::decodePatternRow(m_vram + address, false);
    px = (__builtin_bswap64(px) & attr.HFlip) | (px & ~attr.HFlip);
    // Pixels are at most 15: adding 0x7F sets bit 7 exactly in the opaque lanes.
    const uint64_t opaque = ((px + 0x7F * kEachByte) & (0x80 * kEachByte)) >> 7;
    return (px | opaque * attr.Code | attr.Priority) & attr.Enabled;
  }

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

// --- Writing ----------------------------------------------------------------------------------

// Merges columns [j0, j1) of one row and writes them through the writer; transparent results
// are written only with the backdrop on. The lines have at least 16 readable bytes past j1.
template <bool kShadowHighlight, bool kBackdrop, typename Writer>
void writeRow(const uint8_t* s, const uint8_t* a, const uint8_t* b, uint8_t background, int j0,
              int j1, uint8_t* dst, int x, const Writer& writer) {
  using detail::load16;
  for (int j = j0; j < j1; j += 16) {
    const detail::TMergedGroup g = detail::mergeGroup<kShadowHighlight>(
        load16(s + j), load16(a + j), load16(b + j), background);
    writer.PutGroup(dst, x + j, std::min(16, j1 - j), g, kBackdrop);
  }
}

// 8-bit surfaces take the codes themselves.
struct TCodeWriter {
  void PutGroup(uint8_t* row, int col, int count, const detail::TMergedGroup& g,
                bool backdrop) const {
    detail::TPixels16 codes = g.Codes;
    // Whole groups with a fixed size, so that they are single vector moves.
    if (count == 16) {
      if (!backdrop) codes = (codes & ~g.Transparent) | (detail::load16(row + col) & g.Transparent);
      std::memcpy(row + col, &codes, 16);
      return;
    }
    if (!backdrop) {
      detail::TPixels16 old{};
      std::memcpy(&old, row + col, std::size_t(count));
      codes = (codes & ~g.Transparent) | (old & g.Transparent);
    }
    std::memcpy(row + col, &codes, std::size_t(count));
  }
};

// Deeper surfaces look each code up in the colour table.
template <typename PixelWriter>
struct TColorWriter {
  PixelWriter Pixels;
  void PutGroup(uint8_t* row, int col, int count, const detail::TMergedGroup& g,
                bool backdrop) const {
    for (int i = 0; i < count; ++i) {
      if (!backdrop && g.Transparent[i] != 0) continue;
      Pixels.Put(row, col + i, g.Codes[i]);
    }
  }
};

// Colours of the result codes 0-191 for surfaces deeper than 8 bits.
std::array<uint32_t, 256> makeColorTable(const TMegaDriveVDP& vdp, uint8_t bitsPerPixel) {
  std::array<uint32_t, 256> table{};
  for (uint8_t n = 0; n < 64; ++n) {
    const uint16_t w = vdp.GetColor(n);
    const uint16_t words[3] = {w, uint16_t(w | kCRAMHighlight), uint16_t(w | kCRAMShadow)};
    for (int form = 0; form < 3; ++form) {
      table[std::size_t(form * 64 + n)] = bitsPerPixel <= 16
                                              ? CRAMToRGB16(words[form], bitsPerPixel == 16)
                                              : CRAMToRGB32(words[form]);
    }
  }
  return table;
}

}  // namespace

void TMegaDriveVDP::RenderScreen(const TSurfaceInfo& info, uint16_t options, int y, int x) const {
  if (info.Bits == nullptr || info.BitsPerPixel < 8) return;
  const TScreenSetup setup = makeSetup(*this, options);
  const int width = std::min(setup.PictureWidth, info.Width - x);
  const int height = std::min(setup.PictureHeight, info.Height - y);
  if (width <= 0 || height <= 0) return;
  detail::TSpriteLayer sprites;
  detail::BuildSpriteLayer(
      *this, options,
      TVDPRect{setup.SpriteDX, setup.SpriteDY, setup.SpriteDX + width, setup.SpriteDY + height},
      sprites);
  const std::array<uint32_t, 256> colors = makeColorTable(*this, info.BitsPerPixel);
  const std::size_t lineBytes = std::size_t(width + 2 * kPad);
  std::vector<uint8_t> lines(3 * lineBytes, 0);
  uint8_t* lineA = lines.data() + kPad;
  uint8_t* lineB = lineA + lineBytes;
  const uint8_t* noSprites = lineB + lineBytes;  // stays all zero
  TLineBuilder builder(*this, options, setup);
  const int j0 = std::max(0, -x);
  const uint8_t background = setup.Background;
  auto run = [&](const auto& writer, auto shadowHighlight, auto backdrop) {
    for (int k = 0; k < height; ++k) {
      builder.ReadHScroll(k);
      if (y + k < 0) continue;
      if (k >= setup.PlaneTop && k < setup.PlaneBottom) {
        builder.BuildPlane(true, k, width, lineA);
        builder.BuildPlane(false, k, width, lineB);
      } else {
        std::memset(lineA, 0, std::size_t(width));
        std::memset(lineB, 0, std::size_t(width));
      }
      builder.OverlayWindow(k, width, lineA);
      const uint8_t* spriteRow = sprites.Width() > 0 ? sprites.Row(k + setup.SpriteDY) : noSprites;
      writeRow<decltype(shadowHighlight)::value, decltype(backdrop)::value>(
          spriteRow, lineA, lineB, background, j0, width, detail::surfaceRow(info, y + k), x,
          writer);
    }
  };
  auto withModes = [&](const auto& writer) {
    const bool backdrop = (options & kRenderBackdrop) != 0;
    using T = std::true_type;
    using F = std::false_type;
    if (setup.ShadowHighlight) {
      backdrop ? run(writer, T{}, T{}) : run(writer, T{}, F{});
    } else {
      backdrop ? run(writer, F{}, T{}) : run(writer, F{}, F{});
    }
  };
  if (info.BitsPerPixel == 8) {
    withModes(TCodeWriter{});
  } else {
    detail::withWriter(info, 0, colors.data(),
                       [&](auto pixels) { withModes(TColorWriter<decltype(pixels)>{pixels}); });
  }
}

}  // namespace vantor
