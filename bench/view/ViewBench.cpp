// The view window's picture rebuilds and repaints, beyond the model's own drawing.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <vector>

#include "vdp/MegaDriveVDP.h"
#include "vdp/VDPPictures.h"
#include "viewwindow/VantorView.h"

namespace {

using vantor::TfrmView;
using vantor::TMegaDriveVDP;

void press(TfrmView& view, const QString& text, int times) {
  for (int i = 0; i < times; ++i) {
    QKeyEvent event(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(&view, &event);
  }
}

std::vector<uint8_t> patternSource() {
  std::vector<uint8_t> data(65536);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = uint8_t(i * 37 + (i >> 7));
  return data;
}

// ShowPatterns: decoding 64 KiB into the 512 x 256 picture and handing it to the screen.
void BM_ShowPatterns(benchmark::State& state) {
  TMegaDriveVDP vdp;
  TfrmView view;
  const std::vector<uint8_t> source = patternSource();
  for (auto _ : state)
    view.ShowPatterns(vdp, source);
}
BENCHMARK(BM_ShowPatterns)->Unit(benchmark::kMicrosecond);

// ShowScreen against the composition alone: the difference is the window's share.
void BM_ShowScreen(benchmark::State& state) {
  TMegaDriveVDP vdp;
  vdp.SetReg(12, 0x81);
  TfrmView view;
  for (auto _ : state)
    view.ShowScreen(vdp, vantor::kRenderAllLayers);
}
BENCHMARK(BM_ShowScreen)->Unit(benchmark::kMicrosecond);

void BM_RenderScreenPicture(benchmark::State& state) {
  TMegaDriveVDP vdp;
  vdp.SetReg(12, 0x81);
  vantor::TIndexedBitmap picture;
  for (auto _ : state)
    vantor::RenderScreenPicture(vdp, vantor::kRenderAllLayers, picture);
}
BENCHMARK(BM_RenderScreenPicture)->Unit(benchmark::kMicrosecond);

void BM_ShowSprites(benchmark::State& state) {
  TMegaDriveVDP vdp;
  vdp.SetReg(12, 0x81);
  TfrmView view;
  for (auto _ : state)
    view.ShowSprites(vdp);
}
BENCHMARK(BM_ShowSprites)->Unit(benchmark::kMicrosecond);

void BM_BuildSpriteSheet(benchmark::State& state) {
  TMegaDriveVDP vdp;
  vdp.SetReg(12, 0x81);
  vantor::TIndexedBitmap picture;
  for (auto _ : state)
    vantor::BuildSpriteSheet(vdp, 16, picture);
}
BENCHMARK(BM_BuildSpriteSheet)->Unit(benchmark::kMicrosecond);

// A palette line change: the high nibble of every pixel, no decoding.
void BM_SetPalLineBits(benchmark::State& state) {
  TMegaDriveVDP vdp;
  TfrmView view;
  view.ShowPatterns(vdp, patternSource());
  int line = 0;
  for (auto _ : state)
    view.SetPalLineBits(++line & 3);
}
BENCHMARK(BM_SetPalLineBits)->Unit(benchmark::kMicrosecond);

// One repaint of the 320 x 224 screen picture at zoom 4, plain and smoothed.
void BM_PaintZoom4(benchmark::State& state) {
  TMegaDriveVDP vdp;
  vdp.SetReg(12, 0x81);
  TfrmView view;
  view.ShowScreen(vdp, vantor::kRenderAllLayers);
  press(view, QStringLiteral("*"), 3);
  if (state.range(0) != 0) press(view, QStringLiteral(" "), 1);
  QImage target(view.size(), QImage::Format_RGB32);
  for (auto _ : state)
    view.render(&target);
}
BENCHMARK(BM_PaintZoom4)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
