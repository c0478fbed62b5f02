// The main window loading a savestate and refreshing every page from it.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/VantorMain.h"
#include "pages/PageHost.h"

namespace {

// Answers every question with OK; the benchmark never shows a dialog.
class TSilentDialogs : public vantor::TDialogs {
 public:
  bool GetOpenFileName(vantor::TFileDialog&) override { return false; }
  bool GetSaveFileName(vantor::TFileDialog&) override { return false; }
  vantor::TMsgDlgBtn ShowMessage(vantor::TMsgDlgType, const QString& text,
                                 vantor::TMsgDlgButtons) override {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    return vantor::mbOK;
  }
  std::optional<QColor> ChooseColor(const QColor&) override { return std::nullopt; }
  void Beep() override {}
};

// A 140408-byte savestate: the emulator fixture when at hand, else the blank document with
// every byte set.
QString savestate(const QTemporaryDir& dir) {
  const QByteArray fixtures = qgetenv("VANTOR_FIXTURES");
  const QString fixture = QString::fromLocal8Bit(fixtures) + "/emulator-h40/state.gs0";
  if (!fixtures.isEmpty() && QFile::exists(fixture)) return fixture;
  QByteArray bytes(140408, '\x5A');
  bytes.replace(0, 3, "GST");
  bytes.replace(12, 4, QByteArray(4, '\0'));
  const QString path = dir.filePath("state.gs0");
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  return path;
}

void BM_LoadAndRefreshEveryPage(benchmark::State& state) {
  QTemporaryDir dir;
  vantor::TLayoutLocations where;
  where.FileName = "vantor.ini";
  where.SystemDir = where.ProgramDir = where.UserDir = dir.path().toStdString();
  vantor::TfrmMain window(where, std::make_unique<TSilentDialogs>());
  window.show();
  // The selected VDP page re-runs its show handler on every load.
  window.ShowVDPPage(vantor::TVDPPageId::vpPatterns);
  const QString path = savestate(dir);
  for (auto _ : state) {
    window.RunCommand([&] { window.OpenSavestate(path); });
    QApplication::processEvents();
  }
}
BENCHMARK(BM_LoadAndRefreshEveryPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
