// A literal, pixel-by-pixel composer of the screen, kept as the yardstick the fast renderer
// must match in every pixel. It builds its sprite layer over the whole sprite bounding box.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "ReferenceRender.h"
#include "vdp/SurfaceWriters.h"

namespace vantor::reference {

namespace {

// One byte per sprite-space pixel from (0, 0) to the bounding box's right and bottom.
struct TSpriteLayer {
  int32_t Width = 0, Height = 0;
  std::vector<uint8_t> Bytes;
  uint8_t At(int32_t sx, int32_t sy) const {
    if (sx < 0 || sy < 0 || sx >= Width || sy >= Height) return 0;
    return Bytes[std::size_t(sy) * std::size_t(Width) + std::size_t(sx)];
  }
};

void buildSpriteLayer(const TMegaDriveVDP& vdp, uint16_t options, TSpriteLayer& layer) {
  const TVDPRect rect = vdp.GetSpriteBounds();
  layer.Width = rect.Right;
  layer.Height = rect.Bottom;
  layer.Bytes.assign(std::size_t(rect.Right) * std::size_t(rect.Bottom), 0);
  const int ch = vdp.CellHeight();
  const uint32_t patternBytes = uint32_t(vdp.GetMetric(mkPatternBytes));
  vdp.ForEachChainedSprite([&](int index) {
    const TSpriteEntry s = vdp.GetSprite(uint8_t(index));
    const bool high = (s.Attr & 0x8000) != 0;
    if (!(options & (high ? kRenderSpritesHi : kRenderSpritesLo))) return;
    const bool hflip = (s.Attr & 0x0800) != 0, vflip = (s.Attr & 0x1000) != 0;
    const uint8_t code = uint8_t((high ? 0x80 : 0) | ((s.Attr >> 13) & 3) << 4);
    const int x0 = s.X + (hflip ? (s.CellsWide() - 1) * 8 : 0);
    const int y0 = s.Y + (vflip ? (s.CellsHigh() - 1) * ch : 0);
    int counter = 0;
    for (int c = 0; c < s.CellsWide(); ++c) {
      for (int r = 0; r < s.CellsHigh(); ++r, ++counter) {
        const uint32_t pattern = uint32_t((s.Attr + counter) & 0x7FF) * patternBytes;
        for (int pr = 0; pr < ch; ++pr) {
          const uint32_t row = pattern + uint32_t((vflip ? ch - 1 - pr : pr) * 4);
          const int sy = y0 + pr + r * (vflip ? -ch : ch);
          for (int col = 0; col < 8; ++col) {
            const int k = hflip ? 7 - col : col;
            const uint8_t b = vdp.VRAMData()[(row + uint32_t(k / 2)) & 0xFFFF];
            const uint8_t p = (k & 1) ? b & 0x0F : b >> 4;
            const int sx = x0 + c * (hflip ? -8 : 8) + col;
            uint8_t& out =
                layer.Bytes[std::size_t(sy) * std::size_t(layer.Width) + std::size_t(sx)];
            if (p != 0 && out == 0) out = uint8_t(p | code);
          }
        }
      }
    }
  });
}

// Layer value: pixel code (bits 0-3 colour, 4-5 line, 6 highlight, 7 shadow) and priority.
struct TLayerPixel {
  uint8_t Value = 0;
  bool Priority = false;
};

bool opaque(uint8_t v) {
  return (v & 0x0F) != 0;
}

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

TScreenSetup makeSetup(const TMegaDriveVDP& vdp, uint16_t options, const TVDPRect& bounds) {
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
  s.HScrollMode = vdp.GetScrollMode(false);
  s.VScrollCells = vdp.GetScrollMode(true) == 1 && !(options & kRenderIgnoreVScroll);
  s.Interlace2 = vdp.GetInterlaceMode() == 2;
  s.ShadowHighlight =
      vdp.GetFlag(kFlagShadowHighlight) && !(options & kRenderIgnoreShadowHighlight);
  s.HScrollTable = vdp.GetField(kFieldHScrollTable);
  s.Background = uint8_t(vdp.GetField(kFieldBackgroundColor));
  return s;
}

// Colours of the result codes 0-191 for surfaces deeper than 8 bits.
std::array<uint32_t, 192> makeColorTable(const TMegaDriveVDP& vdp, uint8_t bitsPerPixel) {
  std::array<uint32_t, 192> table{};
  if (bitsPerPixel <= 8) return table;
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

// Running position of one scroll plane along a picture row.
struct TPlaneCursor {
  uint32_t Table = 0;
  uint16_t LayerLo = 0, LayerHi = 0;
  int VSRAMOffset = 0;  // 0 for plane A, 1 for plane B
  int HScroll = 0;
  int CellCol = 0, PixCol = 0;
  int CellRow = 0, PixRow = 0;
};

class TScreenComposer {
 public:
  TScreenComposer(const TMegaDriveVDP& vdp, uint16_t options, const TScreenSetup& setup,
                  const TSpriteLayer& sprites)
      : m_vdp(vdp), m_vram(vdp.VRAMData()), m_options(options), m_s(setup), m_sprites(sprites) {
    m_a.Table = vdp.PlaneATable();
    m_a.LayerLo = kRenderPlaneALo;
    m_a.LayerHi = kRenderPlaneAHi;
    m_b.Table = vdp.PlaneBTable();
    m_b.LayerLo = kRenderPlaneBLo;
    m_b.LayerHi = kRenderPlaneBHi;
    m_b.VSRAMOffset = 1;
  }

  template <typename Writer>
  void Run(const TSurfaceInfo& info, int y, int x, int width, int height, Writer writer) {
    for (int k = 0; k < height; ++k) {
      beginRow(k);
      const int row = y + k;
      uint8_t* dst = row >= 0 ? detail::surfaceRow(info, row) : nullptr;
      for (int j = 0; j < width; ++j) {
        uint8_t result = 0;
        const bool write = composePixel(j, k, result);
        if (write && dst != nullptr && x + j >= 0) writer.Put(dst, x + j, result);
      }
    }
  }

 private:
  void beginRow(int k) {
    int line = k - m_s.PlaneTop;
    if (m_s.Interlace2) line /= 2;
    if (!(m_options & kRenderIgnoreHScroll) && line >= 0 && line < 240) {
      static constexpr int kLineMask[4] = {0, 7, 0xFFF8, 0xFFFF};
      const uint32_t entry = m_s.HScrollTable + uint32_t(line & kLineMask[m_s.HScrollMode]) * 4;
      m_a.HScroll = m_vdp.ReadVRAMWord(entry) & 0x3FF;
      m_b.HScroll = m_vdp.ReadVRAMWord(entry + 2) & 0x3FF;
    }
    for (TPlaneCursor* p : {&m_a, &m_b}) {
      const int x0 = int(uint16_t(-p->HScroll)) & (m_s.PlaneWidth - 1);
      p->CellCol = x0 >> 3;
      p->PixCol = x0 & 7;
      const int v =
          (m_options & kRenderIgnoreVScroll) ? 0 : m_vdp.GetVSRAMWord(p->VSRAMOffset) & 0x3FF;
      setVertical(*p, k, v);
    }
  }

  void setVertical(TPlaneCursor& p, int k, int v) {
    const int yy = (k - m_s.PlaneTop + v) & (m_s.PlaneHeight - 1);
    p.CellRow = yy / m_s.CellHeight;
    p.PixRow = yy & (m_s.CellHeight - 1);
  }

  // The pixel of a name-table cell, or nothing when its priority half is switched off.
  TLayerPixel cellPixel(uint16_t word, uint16_t layerLo, uint16_t layerHi, int pixRow,
                        int pixCol) const {
    const bool high = (word & 0x8000) != 0;
    if (!(m_options & (high ? layerHi : layerLo))) return {};
    if (word & 0x1000) pixRow = m_s.CellHeight - 1 - pixRow;
    if (word & 0x0800) pixCol = 7 - pixCol;
    const uint32_t address =
        uint32_t(word & 0x7FF) * m_s.PatternBytes + uint32_t(pixRow * 8 + pixCol) / 2;
    const uint8_t b = m_vram[address & TMegaDriveVDP::kVramMask];
    const uint8_t p = (pixCol & 1) ? b & 0x0F : b >> 4;
    return {uint8_t(((word >> 13) & 3) << 4 | p), high};
  }

  TLayerPixel planePixel(const TPlaneCursor& p) const {
    const uint32_t entry = uint32_t(p.CellRow * m_s.PlaneCellsWide + p.CellCol);
    const uint16_t word = m_vdp.ReadVRAMWord(p.Table + entry * 2);
    return cellPixel(word, p.LayerLo, p.LayerHi, p.PixRow, p.PixCol);
  }

  void advance(TPlaneCursor& p, int j, int k) {
    if (++p.PixCol < 8) return;
    p.PixCol = 0;
    if (++p.CellCol == m_s.PlaneCellsWide) p.CellCol = 0;
    if (!m_s.VScrollCells) return;
    const int s = std::max(0, j + 1 - m_s.PlaneLeft - (p.HScroll & 15));
    const int entry = 2 * (s >> 4) + p.VSRAMOffset;
    const int v = entry < TMegaDriveVDP::kVsramEntries ? m_vdp.GetVSRAMWord(entry) & 0x3FF : 0;
    setVertical(p, k, v);
  }

  bool inWindow(int j, int k) const {
    const int dx = j - m_s.PlaneLeft, dy = k - m_s.PlaneTop;
    if (dx < 0 || dx >= m_s.WindowWidth || dy < 0 || dy >= m_s.WindowHeight) return false;
    return (j >= m_s.WindowBandLeft && j < m_s.WindowBandRight) ||
           (k >= m_s.WindowBandTop && k < m_s.WindowBandBottom);
  }

  bool composePixel(int j, int k, uint8_t& result) {
    TLayerPixel a, b;
    if (j >= m_s.PlaneLeft && j < m_s.PlaneRight && k >= m_s.PlaneTop && k < m_s.PlaneBottom) {
      a = planePixel(m_a);
      b = planePixel(m_b);
      advance(m_a, j, k);
      advance(m_b, j, k);
    }
    if (inWindow(j, k)) {
      const int dx = j - m_s.PlaneLeft, dy = k - m_s.PlaneTop;
      const uint32_t entry = uint32_t(dx / 8 + (dy / m_s.CellHeight) * m_s.WindowCellsWide);
      const uint16_t word = m_vdp.ReadVRAMWord(m_vdp.WindowTable() + entry * 2);
      const bool high = (word & 0x8000) != 0;
      if (m_options & (high ? kRenderWindowHi : kRenderWindowLo)) {
        a = cellPixel(word, kRenderWindowLo, kRenderWindowHi, k % m_s.CellHeight, j & 7);
      }
    }
    const uint8_t sByte = m_sprites.At(j + m_s.SpriteDX, k + m_s.SpriteDY);
    const bool sPri = (sByte & 0x80) != 0;
    uint8_t sv = sByte & 0x3F;
    if (m_s.ShadowHighlight) {
      if (sv == 0x3E)
        sv = 0x40;
      else if (sv == 0x3F)
        sv = 0x80;
      if (!a.Priority && !b.Priority) {
        a.Value |= 0x80;
        b.Value |= 0x80;
        if (!sPri) sv |= 0x80;
      }
    }
    result = select(sPri, a, b, sv);
    if ((result & 0xC0) == 0xC0) result &= 0x3F;
    if ((result & 0x0F) == 14 && ((result >> 4) & 3) != 3) result &= 0x3F;
    if (!opaque(result)) {
      result = uint8_t((result & 0xC0) | m_s.Background);
      return (m_options & kRenderBackdrop) != 0;
    }
    return true;
  }

  static uint8_t select(bool sPri, const TLayerPixel& a, const TLayerPixel& b, uint8_t s) {
    const uint8_t sa = s | a.Value, sb = s | b.Value;
    switch ((sPri ? 4 : 0) | (a.Priority ? 2 : 0) | (b.Priority ? 1 : 0)) {
      case 1:
        return opaque(b.Value) ? b.Value : opaque(s) ? s : sa;
      case 2:
        return opaque(a.Value) ? a.Value : opaque(s) ? s : sb;
      case 3:
        return opaque(a.Value) ? a.Value : opaque(b.Value) ? b.Value : s;
      case 5:
        return opaque(s) ? s : opaque(b.Value) ? sb : sa;
      default:
        return opaque(s) ? s : opaque(a.Value) ? sa : sb;
    }
  }

  const TMegaDriveVDP& m_vdp;
  const uint8_t* m_vram;
  uint16_t m_options;
  const TScreenSetup& m_s;
  const TSpriteLayer& m_sprites;
  TPlaneCursor m_a, m_b;
};

}  // namespace

void RenderScreen(const TMegaDriveVDP& vdp, const TSurfaceInfo& info, uint16_t options, int y,
                  int x) {
  if (info.Bits == nullptr || info.BitsPerPixel < 8) return;
  const TVDPRect bounds = vdp.GetSpriteBounds();
  const TScreenSetup setup = makeSetup(vdp, options, bounds);
  const int width = std::min(setup.PictureWidth, info.Width - x);
  const int height = std::min(setup.PictureHeight, info.Height - y);
  if (width <= 0 || height <= 0) return;
  TSpriteLayer sprites;
  buildSpriteLayer(vdp, options, sprites);
  const std::array<uint32_t, 192> colors = makeColorTable(vdp, info.BitsPerPixel);
  TScreenComposer composer(vdp, options, setup, sprites);
  detail::withWriter(info, 0, colors.data(),
                     [&](auto writer) { composer.Run(info, y, x, width, height, writer); });
}

}  // namespace vantor::reference
