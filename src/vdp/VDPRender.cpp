// RenderScreen: the composed screen.
//
// Each picture row is built as three byte lines - plane B, plane A (with the window laid
// over it) and the sprite layer, the last only on rows that have sprites - and merged a vector
// of pixels at a time. The planes' pattern rows are gathered cell by cell and decoded many at
// once (PatternRows.h). The result equals the pixel-by-pixel composition rules in every pixel.
#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <vector>

#include "vdp/CellRowCache.h"
#include "vdp/LineVectors.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp/PatternRows.h"
#include "vdp/PlaneLines.h"
#include "vdp/ScreenMerge.h"
#include "vdp/SpriteLayer.h"
#include "vdp/SurfaceWriters.h"

namespace vantor {

namespace {

using namespace detail;

// Room on the left of a line for the part of a cell scrolled in from the left, and on the
// right for whole groups of decoded cells and merged lanes past the picture's end.
constexpr int kPadLeft = 16;
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
  TCellRun CellsA, CellsB;                    // planes scrolled by two-cell columns
  TCellRowCache CacheA, CacheB, CacheWindow;  // planes scrolled as a whole, the window
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
      const int cells = width / 8 + 2;
      CellsA.Reserve(cells);
      CellsB.Reserve(cells);
    }
    const int patternShift = setup.PatternBytes == 64 ? 6 : 5;
    const uint8_t* vram = vdp.VRAMData();
    CacheA.Reset(vram, vdp.PlaneATable(), setup.PlaneCellsWide, setup.CellHeight, patternShift,
                 Builder.Attrs(true));
    CacheB.Reset(vram, vdp.PlaneBTable(), setup.PlaneCellsWide, setup.CellHeight, patternShift,
                 Builder.Attrs(false));
    CacheWindow.Reset(vram, vdp.WindowTable(), setup.WindowCellsWide, setup.CellHeight,
                      patternShift, Builder.WindowAttrs());
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

// Copies count bytes of a cell row cache's row, from column x0 on and wrapping at its width.
inline void copyWrapped(const uint8_t* row, int rowWidth, int x0, uint8_t* dst, int count) {
  while (count > 0) {
    const int n = std::min(count, rowWidth - x0);
    std::memcpy(dst, row + x0, std::size_t(n));
    dst += n;
    count -= n;
    x0 = 0;
  }
}

// Fills line[0, width) with plane A (isA) or B of picture row k, which lies in the planes'
// rows: the plane's pixels, and 0 outside its columns.
template <class L>
[[gnu::always_inline]] inline void buildPlane(TComposeJob& job, bool isA, int k, uint8_t* line) {
  const TScreenSetup& setup = job.Setup;
  const int jStart = std::clamp(setup.PlaneLeft, 0, job.Width);
  const int jEnd = std::clamp(setup.PlaneRight, jStart, job.Width);
  if (jStart < jEnd && setup.VScrollCells) {
    TCellRun& run = isA ? job.CellsA : job.CellsB;
    job.Builder.GatherPlane(isA, k, job.Width, run);
    decodeCells<L>(run, line);
  } else if (jStart < jEnd) {
    const TLineBuilder::TPlaneRow at = job.Builder.PlaneRow(isA, k);
    TCellRowCache& cache = isA ? job.CacheA : job.CacheB;
    const int count = jEnd - jStart;
    const int cells = std::min(setup.PlaneCellsWide, ((at.X0 & 7) + count + 7) >> 3);
    const uint8_t* row = cache.Row<L>(at.CellRow, at.PixRow, at.X0 >> 3, cells);
    copyWrapped(row, setup.PlaneWidth, at.X0, line + jStart, count);
  }
  // Decoded cells reach up to 7 columns past the plane's edges; outside it the line is empty.
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
  const uint8_t* row = cache.Row<L>(at.CellRow, at.PixRow, firstCell, cells);
  for (int i = 0, j = at.From; i < cells; ++i, j += 8) {
    if (!cache.Drawn(firstCell + i)) continue;  // the cell's half is not drawn: plane A shows
    std::memcpy(line + j, row + (firstCell + i) * 8, std::size_t(std::min(8, at.To - j)));
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
