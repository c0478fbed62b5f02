// RenderScreen: the composed screen.
//
// Each picture row is built as three byte lines - plane B, plane A (with the window laid
// over it) and the sprite layer, the last only on rows that have sprites - and merged a vector
// of pixels at a time. The planes' cells are decoded once for all the rows they span
// (CellRowCache.h). The result equals the pixel-by-pixel composition rules in every pixel.
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "vdp/CellRowCache.h"
#include "vdp/CellRuns.h"
#include "vdp/LineVectors.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PlaneLines.h"
#include "vdp/ScreenMerge.h"
#include "vdp/SpriteLayer.h"
#include "vdp/SurfaceWriters.h"

namespace vantor {

namespace {

using namespace detail;

// Room on the left of a line for the part of a cell scrolled in from the left and for sprites
// reaching past the left edge, and on the right for whole groups of decoded cells, sprites and
// merged lanes past the picture's end.
constexpr int kPadLeft = 32;
constexpr int kPadRight = 128;

// One line of bytes with its spare room on both sides.
class TLine {
 public:
  explicit TLine(int width) : m_bytes(std::size_t(kPadLeft + width + kPadRight), 0) {}
  uint8_t* Data() { return m_bytes.data() + kPadLeft; }

 private:
  std::vector<uint8_t> m_bytes;
};

// What one call composes, and its working lines.
struct TComposeJob {
  const TMegaDriveVDP& VDP;
  uint16_t Options;
  const TScreenSetup& Setup;
  TSurfaceInfo Info;
  int X, Y, Width, Height;
  TLineBuilder Builder;
  TSpriteRows Sprites;
  TCellRowCache CacheA, CacheB, CacheWindow;  // planes scrolled as a whole, the window
  TCellRun CellsA, CellsB;                    // planes scrolled by two-cell columns
  TLine LineA, LineB, SpriteLine, NoSprites;

  TComposeJob(const TMegaDriveVDP& vdp, uint16_t options, const TScreenSetup& setup,
              const TSurfaceInfo& info, int x, int y, int width, int height)
      : VDP(vdp),
        Options(options),
        Setup(setup),
        Info(info),
        X(x),
        Y(y),
        Width(width),
        Height(height),
        Builder(vdp, options, setup),
        Sprites(vdp, options, setup.SpriteDX, setup.SpriteDY, width, setup.SpriteDY + height),
        LineA(width),
        LineB(width),
        SpriteLine(width),
        NoSprites(width) {
    if (setup.VScrollCells) {
      CellsA.Reserve(width / 8 + 2);
      CellsB.Reserve(width / 8 + 2);
    } else {
      CacheA.Reset(Builder.PlaneTable(true));
      CacheB.Reset(Builder.PlaneTable(false));
    }
    CacheWindow.Reset(Builder.WindowTable());
  }
};

// --- Writing ----------------------------------------------------------------------------------

// 8-bit surfaces take the codes themselves, a vector of them at a time.
struct TCodeWriter {
  template <class L>
  [[gnu::always_inline]] void PutLanes(uint8_t* row, int col, int count, const TMerged<L>& g,
                                       bool backdrop) const {
    typename L::Bytes codes = g.Codes;
    // Whole vectors with a fixed size, so that they are single vector moves.
    if (count == L::kCount) {
      if (!backdrop) codes = (codes & ~g.Transparent) | (loadLanes<L>(row + col) & g.Transparent);
      storeLanes<L>(row + col, codes);
      return;
    }
    if (!backdrop) {
      typename L::Bytes old{};
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
  template <class L>
  [[gnu::always_inline]] void PutLanes(uint8_t* row, int col, int count, const TMerged<L>& g,
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

// --- Composing --------------------------------------------------------------------------------

// Plane columns [x0, x0 + count) of a plane scrolled as a whole into line: one cell row's
// pixel row, wrapping at the plane's width.
template <class L>
[[gnu::always_inline]] inline void copyPlaneRow(TComposeJob& job, bool isA, int k, uint8_t* line,
                                                int count) {
  const TLineBuilder::TPlaneRow at = job.Builder.PlaneRow(isA, k, 0);
  const int planeWidth = job.Setup.PlaneWidth;
  const int cells = std::min(job.Setup.PlaneCellsWide, ((at.X0 & 7) + count + 7) >> 3);
  TCellRowCache& cache = isA ? job.CacheA : job.CacheB;
  const uint8_t* row = cache.Row<L>(at.CellRow, at.PixRow, at.X0 >> 3, cells);
  for (int x0 = at.X0; count > 0; x0 = 0) {
    const int n = std::min(count, planeWidth - x0);
    std::memcpy(line, row + x0, std::size_t(n));
    line += n;
    count -= n;
  }
}

// The cells of a plane scrolled by two-cell columns into line, covering [jStart, jEnd) and up
// to 7 columns either side: columns of 16 pixels from the fine horizontal scroll on, each with
// its own vertical scroll entry; the cells left of the first column keep the first column's.
template <class L>
[[gnu::always_inline]] inline void buildColumnCells(TComposeJob& job, bool isA, int k,
                                                    uint8_t* line, int jStart, int jEnd) {
  const TCellTable table = job.Builder.PlaneTable(isA);
  TCellRun& run = isA ? job.CellsA : job.CellsB;
  TLineBuilder::TPlaneRow at = job.Builder.PlaneRow(isA, k, 0);
  TCellRun::TSource source = TCellRun::Source(table, at.CellRow, at.PixRow);
  const int cellMask = table.CellsWide - 1;  // 32, 64 or 128 cells
  const int base = jStart + (job.Builder.HScroll(isA) & 15);
  run.First = jStart - (at.X0 & 7);
  int i = 0, column = 0;
  for (int j = run.First, cell = at.X0 >> 3; j < jEnd; j += 8, ++i, cell = (cell + 1) & cellMask) {
    const int c = std::max(0, j - base) >> 4;
    if (c != column) {
      column = c;
      at = job.Builder.PlaneRow(isA, k, column);
      source = TCellRun::Source(table, at.CellRow, at.PixRow);
    }
    run.Gather(table, source, cell, i);
  }
  run.Count = i;
  decodeCells<L>(run, line);
}

// Fills line[0, width) with plane A (isA) or B of picture row k, which lies in the planes'
// rows: the plane's pixels, and 0 outside its columns.
template <class L>
[[gnu::always_inline]] inline void buildPlane(TComposeJob& job, bool isA, int k, uint8_t* line) {
  const TScreenSetup& setup = job.Setup;
  const int jStart = std::clamp(setup.PlaneLeft, 0, job.Width);
  const int jEnd = std::clamp(setup.PlaneRight, jStart, job.Width);
  if (jStart < jEnd && setup.VScrollCells) {
    buildColumnCells<L>(job, isA, k, line, jStart, jEnd);
  } else if (jStart < jEnd) {
    copyPlaneRow<L>(job, isA, k, line + jStart, jEnd - jStart);
  }
  // Whole cells reach up to 7 columns past the plane's edges; outside it the line is empty.
  std::memset(line, 0, std::size_t(jStart));
  std::memset(line + jEnd, 0, std::size_t(job.Width - jEnd));
}

// Lays the window over plane A's line where row k is inside a window band and the window
// cell takes part.
template <class L>
[[gnu::always_inline]] inline void overlayWindow(TComposeJob& job, int k, uint8_t* line) {
  TLineBuilder::TWindowRow at;
  if (!job.Builder.WindowRow(k, job.Width, at)) return;
  // Band edges lie on cell boundaries of the plane's left edge, itself a multiple of 8.
  const int firstCell = (at.From - job.Setup.PlaneLeft) / 8;
  const int cells = (at.To - at.From + 7) / 8;
  TCellRowCache& cache = job.CacheWindow;
  const uint8_t* row = cache.Row<L>(at.CellRow, at.PixRow, firstCell, cells) + firstCell * 8;
  for (int i = 0, j = at.From; i < cells; ++i, j += 8) {
    if (!cache.Drawn(firstCell + i)) continue;  // the cell's half is not drawn: plane A shows
    if (j + 8 <= at.To) {
      std::memcpy(line + j, row + i * 8, 8);
    } else {
      std::memcpy(line + j, row + i * 8, std::size_t(at.To - j));
    }
  }
}

// Merges columns [j0, width) of one row and writes them through the writer; transparent
// results are written only with the backdrop on.
template <class L, bool kShadowHighlight, bool kBackdrop, typename Writer>
[[gnu::always_inline]] inline void writeRow(const TComposeJob& job, const uint8_t* s,
                                            const uint8_t* a, const uint8_t* b, uint8_t* dst,
                                            const Writer& writer) {
  const uint8_t background = job.Setup.Background;
  for (int j = std::max(0, -job.X); j < job.Width; j += L::kCount) {
    const TMerged<L> g = mergeLanes<L, kShadowHighlight>(loadLanes<L>(s + j), loadLanes<L>(a + j),
                                                         loadLanes<L>(b + j), background);
    writer.template PutLanes<L>(dst, job.X + j, std::min(L::kCount, job.Width - j), g, kBackdrop);
  }
}

template <class L, bool kShadowHighlight, bool kBackdrop, typename Writer>
[[gnu::always_inline]] inline void composeRows(TComposeJob& job, const Writer& writer) {
  const TScreenSetup& setup = job.Setup;
  uint8_t* lineA = job.LineA.Data();
  uint8_t* lineB = job.LineB.Data();
  for (int k = 0; k < job.Height; ++k) {
    job.Builder.ReadHScroll(k);
    if (job.Y + k < 0) continue;
    if (k >= setup.PlaneTop && k < setup.PlaneBottom) {
      buildPlane<L>(job, true, k, lineA);
      buildPlane<L>(job, false, k, lineB);
    } else {
      std::memset(lineA, 0, std::size_t(job.Width));
      std::memset(lineB, 0, std::size_t(job.Width));
    }
    overlayWindow<L>(job, k, lineA);
    const uint8_t* sprites = job.Sprites.Row(k + setup.SpriteDY, job.SpriteLine.Data());
    if (sprites == nullptr) sprites = job.NoSprites.Data();
    writeRow<L, kShadowHighlight, kBackdrop>(job, sprites, lineA, lineB,
                                             surfaceRow(job.Info, job.Y + k), writer);
  }
}

template <class L, typename Writer>
[[gnu::always_inline]] inline void composeWithModes(TComposeJob& job, const Writer& writer) {
  const bool backdrop = (job.Options & kRenderBackdrop) != 0;
  if (job.Setup.ShadowHighlight) {
    backdrop ? composeRows<L, true, true>(job, writer) : composeRows<L, true, false>(job, writer);
  } else {
    backdrop ? composeRows<L, false, true>(job, writer) : composeRows<L, false, false>(job, writer);
  }
}

// An 8-bit surface on the baseline lanes, and on AVX2's: the same code compiled twice.
void composeCodes(TComposeJob& job) {
  composeWithModes<TLanes16>(job, TCodeWriter{});
}

#if defined(__x86_64__)
__attribute__((target("avx2"))) void composeCodesWide(TComposeJob& job) {
  composeWithModes<TLanes32>(job, TCodeWriter{});
}
#endif

}  // namespace

// --- Which lanes ------------------------------------------------------------------------------

namespace detail {

namespace {
bool gHoldToBaseline = false;
}  // namespace

bool UseWideLanes() {
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  return avx2 && !gHoldToBaseline;
#else
  return false;
#endif
}

void HoldToBaselineLanes(bool hold) {
  gHoldToBaseline = hold;
}

}  // namespace detail

void TMegaDriveVDP::RenderScreen(const TSurfaceInfo& info, uint16_t options, int y, int x) const {
  if (info.Bits == nullptr || info.BitsPerPixel < 8) return;
  const TScreenSetup setup = MakeScreenSetup(*this, options);
  const int width = std::min(setup.PictureWidth, info.Width - x);
  const int height = std::min(setup.PictureHeight, info.Height - y);
  if (width <= 0 || height <= 0) return;
  TComposeJob job(*this, options, setup, info, x, y, width, height);
  if (info.BitsPerPixel == 8) {
#if defined(__x86_64__)
    if (UseWideLanes()) {
      composeCodesWide(job);
      return;
    }
#endif
    composeCodes(job);
    return;
  }
  const std::array<uint32_t, 256> colors = makeColorTable(*this, info.BitsPerPixel);
  detail::withWriter(info, 0, colors.data(), [&](auto pixels) {
    composeWithModes<TLanes16>(job, TColorWriter<decltype(pixels)>{pixels});
  });
}

}  // namespace vantor
