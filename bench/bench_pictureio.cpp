// Core pictures as Qt images: what the Screen page and the view window do on every redraw,
// and the PNG files of vantor-cli.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>

#include "pictureio/PictureIO.h"
#include "pictureio/ScreenOverlayPainter.h"
#include "vdp/Bitmap.h"
#include "vdp/VDPPictures.h"
#include "vdp_scene.h"

namespace vantor {
namespace {

TIndexedBitmap stripes(int32_t width, int32_t height, uint8_t bitsPerPixel) {
  TIndexedBitmap bitmap(width, height, bitsPerPixel);
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = bitmap.Row(y);
    for (int32_t x = 0; x < bitmap.Stride(); ++x)
      row[x] = static_cast<uint8_t>(x * 7 + y);
  }
  return bitmap;
}

void BM_ToQImageScreen8(benchmark::State& state) {
  const TIndexedBitmap screen = stripes(320, 224, 8);
  for (auto _ : state)
    benchmark::DoNotOptimize(ToQImage(screen));
}
BENCHMARK(BM_ToQImageScreen8);

void BM_ToQImagePatternSheet4(benchmark::State& state) {
  const TIndexedBitmap sheet = stripes(512, 256, 4);
  for (auto _ : state)
    benchmark::DoNotOptimize(ToQImage(sheet));
}
BENCHMARK(BM_ToQImagePatternSheet4);

void BM_EncodePngScreen(benchmark::State& state) {
  const TIndexedBitmap screen = stripes(320, 224, 8);
  for (auto _ : state)
    benchmark::DoNotOptimize(EncodePng(screen));
}
BENCHMARK(BM_EncodePngScreen);

// From the composed 8-bit screen to the pixels of a 32-bit window surface, as the Screen page
// and the view window take it after every render: the picture handed to Qt, converted once
// into a pixmap, then painted. Arg 0: the picture only; 1: RenderScreenPicture of the busy
// scene before it.
void BM_ScreenToWindow(benchmark::State& state) {
  const auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap screen;
  RenderScreenPicture(*vdp, kRenderAllLayers, screen);
  QImage window(screen.Width(), screen.Height(), QImage::Format_RGB32);
  for (auto _ : state) {
    if (state.range(0) != 0) RenderScreenPicture(*vdp, kRenderAllLayers, screen);
    const QPixmap shown = QPixmap::fromImage(IndexedView(screen));
    QPainter painter(&window);
    painter.drawPixmap(0, 0, shown);
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_ScreenToWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same with the picture copied into a QImage of its own first (ToQImage), for comparison.
void BM_ScreenToWindowCopied(benchmark::State& state) {
  const auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap screen;
  RenderScreenPicture(*vdp, kRenderAllLayers, screen);
  QImage window(screen.Width(), screen.Height(), QImage::Format_RGB32);
  for (auto _ : state) {
    const QPixmap shown = QPixmap::fromImage(ToQImage(screen));
    QPainter painter(&window);
    painter.drawPixmap(0, 0, shown);
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_ScreenToWindowCopied)->Unit(benchmark::kMicrosecond);

// Repainting the pixmap alone (an expose, a zoom at 1).
void BM_WindowRepaint(benchmark::State& state) {
  const auto vdp = bench::makeBusyScene(80);
  TIndexedBitmap screen;
  RenderScreenPicture(*vdp, kRenderAllLayers, screen);
  QImage window(screen.Width(), screen.Height(), QImage::Format_RGB32);
  const QPixmap shown = QPixmap::fromImage(IndexedView(screen));
  for (auto _ : state) {
    QPainter painter(&window);
    painter.drawPixmap(0, 0, shown);
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_WindowRepaint)->Unit(benchmark::kMicrosecond);

// The overlays: built once per rendered picture (arg: the overlays, 0x1F all), then painted over
// the picture at every repaint at zoom 1 (the Screen page) and 3 (the view window).
void BM_OverlayBuild(benchmark::State& state) {
  const auto vdp = bench::makeBusyScene(80);
  TScreenOverlayPainter overlays;
  for (auto _ : state) {
    overlays.Build(*vdp, kRenderAllLayers, uint8_t(state.range(0)));
    benchmark::DoNotOptimize(overlays.Overlays());
  }
}
BENCHMARK(BM_OverlayBuild)
    ->Arg(0x01)
    ->Arg(0x04)
    ->Arg(0x08)
    ->Arg(0x10)
    ->Arg(0x1F)
    ->Unit(benchmark::kMicrosecond);

void BM_OverlayPaint(benchmark::State& state) {
  const auto vdp = bench::makeBusyScene(80);
  const int scale = int(state.range(0));
  TScreenOverlayPainter overlays;
  overlays.Build(*vdp, kRenderAllLayers, 0x1F);
  QImage window(320 * scale, 224 * scale, QImage::Format_RGB32);
  for (auto _ : state) {
    QPainter painter(&window);
    overlays.Paint(painter, scale);
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_OverlayPaint)->Arg(1)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vantor

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
