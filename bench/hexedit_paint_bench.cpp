// A full repaint of a 64 KiB memory page filling a 1920 x 1080 window, rendered offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>

#include "hexedit/QuorHexEditorEx.h"

namespace {

void BM_FullRepaint64KiB(benchmark::State& state) {
  vantor::TQuorHexEditorEx editor;
  editor.SetNoSizeChange(true);
  editor.SetOffsetFormat(QStringLiteral("-!10:$|"));
  editor.SetShowRuler(true);
  editor.SetDrawGridLines(true);
  std::vector<uint8_t> bytes(65536);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i * 7);
  editor.LoadFromBytes(bytes);
  editor.resize(1920, 1080);
  editor.show();
  QApplication::processEvents();
  editor.SetBytesPerRow(48);  // rows wide enough to fill the window
  editor.Select(0x200, 0x3FF);
  QImage image(editor.viewport()->size(), QImage::Format_RGB32);
  const QRect all(QPoint(0, 0), editor.viewport()->size());
  {
    QPainter warm(&image);  // the glyph strips are built once
    editor.PaintTo(warm, all);
  }
  for (auto _ : state) {
    QPainter painter(&image);
    editor.PaintTo(painter, all);
  }
  state.counters["rows"] = editor.VisibleRows();
  state.counters["width"] = all.width();
  state.counters["height"] = all.height();
}
BENCHMARK(BM_FullRepaint64KiB)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
