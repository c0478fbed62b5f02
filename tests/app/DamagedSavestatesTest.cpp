// Damaged savestates and layout files in the real main window: the seed and fuzzed inputs of
// the savestate fuzzer (a layout text, a NUL byte, the savestate bytes), those of the layout
// fuzzer over the emulator's savestate, and that savestate cut short and sprinkled with
// random bytes. Each is opened and every page is shown and painted, the view window included;
// afterwards the window still saves. VANTOR_SAVESTATE_CORPUS and VANTOR_LAYOUT_CORPUS name
// other folders of inputs (the corpus of a long fuzzing run).
#include <QDir>
#include <QFileInfo>
#include <QtTest>
#include <random>

#include "app/AppTestKit.h"
#include "app/PageControl.h"
#include "view/VantorView.h"

using namespace vantor;
using vantor::test::TWindowKit;

namespace {

struct TDamagedInput {
  QByteArray Layout;  // empty: the built-in layout
  QByteArray State;
};

QByteArray fixtureBytes(const char* name) {
  return vantor::test::readAll(vantor::test::FixturePath("emulator-h40/") + name);
}

// The committed corpus, or a larger one of a long fuzzing run named by the variable.
QString corpusFolder(const char* variable, const char* committed) {
  return qEnvironmentVariable(variable, QString::fromLocal8Bit(committed));
}

// Shows every page of every page control, painting each.
void visitEveryPage(TfrmMain& window, TfrmView& view) {
  const std::pair<TMainPageId, TPageControl*> controls[] = {
      {TMainPageId::mpMainCPU, window.pcMainCPU()},
      {TMainPageId::mpSubCPU, window.pcSubCPU()},
      {TMainPageId::mpVDP, window.pcVDP()}};
  for (const auto& [main, control] : controls) {
    window.ShowMainPage(main);
    for (int page = 0; page < control->count(); ++page) {
      control->setCurrentIndex(page);
      QCoreApplication::processEvents();
      (void)window.grab();
    }
  }
  for (int mode : {vmiScreen, vmiPatterns, vmiSprites}) {
    window.ViewMenuItem(mode)->trigger();
    QCoreApplication::processEvents();
    (void)view.grab();
  }
  view.hide();
}

}  // namespace

class DamagedSavestatesTest : public QObject {
  Q_OBJECT

 private slots:
  void everyPageShowsADamagedSavestate_data() {
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<QByteArray>("state");

    QDir corpus(corpusFolder("VANTOR_SAVESTATE_CORPUS", VANTOR_SAVESTATE_CORPUS));
    for (const QFileInfo& entry : corpus.entryInfoList(QDir::Files, QDir::Name)) {
      const QByteArray input = vantor::test::readAll(entry.filePath());
      const qsizetype split = input.indexOf('\0');
      QByteArray layout = split < 0 ? input : input.left(split);
      QByteArray state = split < 0 ? QByteArray() : input.mid(split + 1);
      QTest::addRow("corpus %s", qPrintable(entry.fileName())) << layout << state;
    }

    const QByteArray state = fixtureBytes("state.gs0");
    const QByteArray ownLayout = fixtureBytes("layout.ini");
    QVERIFY2(!state.isEmpty() && !ownLayout.isEmpty(), "the emulator savestate is missing");
    // The layout fuzzer's inputs as the layout file of the emulator's savestate.
    QDir layouts(corpusFolder("VANTOR_LAYOUT_CORPUS", VANTOR_LAYOUT_CORPUS));
    for (const QFileInfo& entry : layouts.entryInfoList(QDir::Files, QDir::Name)) {
      QTest::addRow("layout %s", qPrintable(entry.fileName()))
          << vantor::test::readAll(entry.filePath()) << state;
    }
    QTest::addRow("emulator savestate, its own layout") << ownLayout << state;
    for (int size : {3, 0x100, 0x474, 0x2478, 0x12478 + 0x800}) {
      QTest::addRow("emulator savestate cut to %d bytes", size) << QByteArray() << state.left(size);
    }
    std::mt19937 random(20261208);
    for (int round = 0; round < 4; ++round) {
      QByteArray damaged = state;
      // The register, colour and scroll tables near the start take most of the damage.
      for (int i = 0; i < 400; ++i) {
        const int offset = int(random() % (round % 2 ? damaged.size() : 0x2478));
        damaged[offset] = char(random());
      }
      QTest::addRow("emulator savestate with random bytes %d", round)
          << (round < 2 ? QByteArray() : ownLayout) << damaged;
    }
  }

  void everyPageShowsADamagedSavestate() {
    QFETCH(QByteArray, layout);
    QFETCH(QByteArray, state);

    TWindowKit kit;
    if (!layout.isEmpty()) kit.WriteLayout(layout);
    TfrmMain& window = kit.Start();
    TfrmView view(&window);
    window.AttachViewWindow(&view);
    kit.ShowActive();
    kit.WriteFile("damaged.gs0", state);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("damaged.gs0")); });
    visitEveryPage(window, view);

    // The window still works: an edit is stored and saved, or the failure is reported.
    window.SetModified(true);
    kit.Dialogs->Messages.clear();
    kit.Dialogs->FileAnswers = {kit.Path("saved.gs0")};
    window.RunCommand([&] { window.SaveSavestateAs(); });
    const bool saved = QFileInfo::exists(kit.Path("saved.gs0"));
    QCOMPARE(saved, kit.Dialogs->Messages.empty());
    QCOMPARE(window.Document().Modified(), !saved);
  }
};

QTEST_MAIN(DamagedSavestatesTest)
#include "DamagedSavestatesTest.moc"
