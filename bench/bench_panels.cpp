// Painting the pattern and sprite strips of the "Patterns && Sprites" page: one full repaint of
// a 1280-pixel-wide strip, as scrolling through 2048 patterns asks for on every step. And what
// a mouse move over the Screen picture costs the pixel inspector.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <vector>

#include "pages/ScreenInspection.h"
#include "pages/vdp/PatSprPictures.h"
#include "vdp/MegaDriveVDP.h"
#include "vdp_scene.h"
#include "widgets/CellStrip.h"

namespace {

using vantor::TCellStrip;
using vantor::TMegaDriveVDP;

constexpr int kStripWidth = 1280;

// An H40 model whose video RAM and colours are busy pseudo-random bytes.
TMegaDriveVDP& BusyModel() {
  static TMegaDriveVDP vdp = [] {
    TMegaDriveVDP model;
    model.SetReg(12, 0x81);
    model.SetReg(5, 0x7C);
    uint32_t seed = 12345;
    uint8_t* vram = model.VRAMData();
    for (std::size_t i = 0; i < TMegaDriveVDP::kVramBytes; ++i) {
      seed = seed * 1103515245 + 12345;
      vram[i] = uint8_t(seed >> 16);
    }
    for (int i = 0; i < 64; ++i)
      model.SetColor(uint8_t(i), uint16_t(i * 0x0123));
    return model;
  }();
  return vdp;
}

// One paint of the strip's viewport into an off-screen picture.
void PaintStrip(benchmark::State& state, TCellStrip& strip) {
  QImage target(strip.viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    strip.viewport()->render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}

void BM_PatternStripPaint(benchmark::State& state) {
  const int zoom = int(state.range(0));
  TMegaDriveVDP& vdp = BusyModel();
  const std::span<const uint8_t> source(vdp.VRAMData(), TMegaDriveVDP::kVramBytes);
  TCellStrip strip;
  strip.resize(kStripWidth, 200);
  strip.SetCells(vdp.GetMetric(vantor::mkPatternCount), vdp.CellWidth() * zoom,
                 vdp.CellHeight() * zoom);
  strip.SetCellPainter([&](QPainter& painter, int k, const QRect& rect, bool) {
    painter.drawImage(rect, vantor::PatternCellImage(vdp, source, k, 1));
  });
  strip.SetLeftColumn(1000);
  PaintStrip(state, strip);
}
BENCHMARK(BM_PatternStripPaint)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

void BM_SpriteStripPaint(benchmark::State& state) {
  const int zoom = int(state.range(0));
  TMegaDriveVDP& vdp = BusyModel();
  vantor::TIndexedBitmap cell(32, 32, 8);
  TCellStrip strip;
  strip.resize(kStripWidth, 400);
  strip.SetCells(vdp.GetMetric(vantor::mkSpriteCount), 4 * vdp.CellWidth() * zoom,
                 4 * vdp.CellHeight() * zoom);
  strip.SetCellPainter([&](QPainter& painter, int k, const QRect& rect, bool) {
    painter.drawImage(rect, vantor::SpriteCellImage(vdp, k, cell));
  });
  PaintStrip(state, strip);
}
BENCHMARK(BM_SpriteStripPaint)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

// A mouse move over the Screen picture: the account of the pixel under it and the status bar's
// line; the inspector is built once per rendered picture, outside the loop.
void BM_HoverSummary(benchmark::State& state) {
  const auto vdp = vantor::bench::makeBusyScene(80);
  vantor::TScreenInspection inspection;
  inspection.Rendered(*vdp, vantor::kRenderAllLayers);
  int32_t x = 0, y = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(inspection.Summary(x, y));
    x = (x + 7) % 320;
    y = (y + 3) % 224;
  }
}
BENCHMARK(BM_HoverSummary);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
