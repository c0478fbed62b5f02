// Every save of the desktop program (savestate, memory dump, palette, pictures of the pages and
// of the view window) against a folder target, a missing folder, a read-only folder and a full
// disk: the error is shown, the existing file stays as it was, nothing is left beside it, and
// the document keeps its changes and its modified mark.
#include <QAction>
#include <QtTest>
#include <functional>

#include "app/AppTestKit.h"
#include "document/SaveFailures.h"
#include "hexedit/QuorHexEditorEx.h"
#include "vdp/MegaDriveVDP.h"
#include "view/MemoryPages.h"
#include "view/VantorView.h"

using namespace vantor;
using vantor::test::TWindowKit;
using vantor::testing::kSaveFailures;
using vantor::testing::TSaveFailure;
using vantor::testing::TSaveFailureScope;

namespace {

struct TSaveCommand {
  const char* Name;
  const char* FileName;
  std::function<void(TfrmMain&, TfrmView&)> Prepare;  // brings up what the command works on
  std::function<void(TfrmMain&, TfrmView&)> Run;
};

void trigger(TfrmMain& window, const char* action) {
  auto* item = window.findChild<QAction*>(action);
  QVERIFY2(item, action);
  item->trigger();
}

const std::vector<TSaveCommand>& saveCommands() {
  static const std::vector<TSaveCommand> commands = {
      {"savestate", "state.gs0", [](TfrmMain&, TfrmView&) {},
       [](TfrmMain& window, TfrmView&) { window.RunCommand([&] { window.SaveSavestateAs(); }); }},
      {"memory dump", "vram.bin",
       [](TfrmMain& window, TfrmView&) {
         window.ShowVDPPage(TVDPPageId::vpVideoRAM);
         window.HexEditor(THexPageId::hpVideoRAM)->setFocus();
       },
       [](TfrmMain& window, TfrmView&) { window.MemoryPages().pmiHexSaveFileClick(); }},
      {"palette", "colors.pal",
       [](TfrmMain& window, TfrmView&) { window.ShowVDPPage(TVDPPageId::vpColorRAM); },
       [](TfrmMain& window, TfrmView&) { trigger(window, "pmiCRAMSavePal"); }},
      {"screen picture", "screen.png",
       [](TfrmMain& window, TfrmView&) { window.ShowVDPPage(TVDPPageId::vpScreen); },
       [](TfrmMain& window, TfrmView&) { trigger(window, "pmiScreenSaveBmp"); }},
      {"pattern sheet", "patterns.bmp",
       [](TfrmMain& window, TfrmView&) { window.ShowVDPPage(TVDPPageId::vpPatterns); },
       [](TfrmMain& window, TfrmView&) { trigger(window, "pmiPatSprSave"); }},
      {"view window picture", "view.png",
       [](TfrmMain& window, TfrmView&) { window.ViewMenuItem(vmiScreen)->trigger(); },
       [](TfrmMain&, TfrmView& view) { view.pmiSaveBmp()->trigger(); }},
  };
  return commands;
}

QString fixture() {
  return vantor::test::FixturePath("emulator-h40/state.gs0");
}

}  // namespace

class SaveFailuresTest : public QObject {
  Q_OBJECT

 private slots:
  void aFailedSaveKeepsTheFileAndTheChanges_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("failure");
    for (std::size_t c = 0; c < saveCommands().size(); ++c) {
      for (TSaveFailure failure : kSaveFailures) {
        QTest::addRow("%s, %s", saveCommands()[c].Name, testing::Describe(failure))
            << int(c) << int(failure);
      }
    }
  }

  void aFailedSaveKeepsTheFileAndTheChanges() {
    QFETCH(int, command);
    QFETCH(int, failure);
    const TSaveCommand& save = saveCommands()[std::size_t(command)];

    TWindowKit kit;
    TfrmMain& window = kit.Start();
    TfrmView view(&window);
    window.AttachViewWindow(&view);
    kit.ShowActive();
    QVERIFY2(QFile::exists(fixture()), qPrintable(fixture()));
    window.OpenSavestate(fixture());
    // A change the user made and has not saved yet.
    window.VDP().SetReg(7, 0x21);
    window.VDPToImage();
    window.SetModified(true);
    const std::vector<uint8_t> changed = window.Document().Image().Bytes();
    save.Prepare(window, view);

    TSaveFailureScope scope(TSaveFailure(failure), kit.Path("").toStdString(), save.FileName);
    if (!scope.Armed()) QSKIP("this system cannot make a folder read-only for this user");
    kit.Dialogs->Messages.clear();
    kit.Dialogs->FileAnswers = {QString::fromStdString(scope.Target())};
    save.Run(window, view);
    scope.Disarm();

    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Type, TMsgDlgType::mtError);
    QVERIFY2(
        kit.Dialogs->Messages[0].Text.startsWith(QStringLiteral("Cannot create file \"%1\".")
                                                     .arg(QString::fromStdString(scope.Target()))),
        qPrintable(kit.Dialogs->Messages[0].Text));
    QVERIFY(scope.Intact());
    QVERIFY(window.Document().Modified());
    QVERIFY(window.windowTitle().endsWith(QLatin1Char('*')));
    QVERIFY(window.Document().Image().Bytes() == changed);

    // With the cause gone, the same command writes the file.
    if (TSaveFailure(failure) == TSaveFailure::ReadOnlyFolder ||
        TSaveFailure(failure) == TSaveFailure::DiskFull) {
      kit.Dialogs->Messages.clear();
      kit.Dialogs->FileAnswers = {QString::fromStdString(scope.Target())};
      save.Run(window, view);
      QVERIFY(kit.Dialogs->Messages.empty());
      const QByteArray written = vantor::test::readAll(QString::fromStdString(scope.Target()));
      QVERIFY(written.size() > 64);
      QVERIFY(written != QByteArray(TSaveFailureScope::kOldContents));
    }
  }
};

QTEST_MAIN(SaveFailuresTest)
#include "SaveFailuresTest.moc"
