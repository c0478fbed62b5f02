// The main window driven as a user would: savestate commands, pages, memory pages, menus.
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "AppTestKit.h"
#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/ScrollLock.h"
#include "document/FieldValues.h"
#include "hexedit/QuorHexEditorEx.h"
#include "pages/VDPPage.h"
#include "pages/memory/HexPage.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/PageControl.h"

namespace vantor::test {

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { SetScrollLockOverride(false); }

  void cleanup() { SetScrollLockOverride(std::nullopt); }

  void wrongFileTypeLeavesDocumentAndCaption() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    QByteArray bytes(140408, '\0');
    bytes.replace(0, 3, "GSX");
    kit.WriteFile("wrong.gs0", bytes);
    window.SetModified(true);
    window.SetFileName(QStringLiteral("/st/a.gs0"));
    window.SetModified(false);
    kit.Dialogs->FileAnswers = {kit.Path("wrong.gs0")};
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Type, TMsgDlgType::mtError);
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Wrong File Type!"));
    QCOMPARE(kit.Dialogs->Messages[0].Buttons, TMsgDlgButtons(mbOK));
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - /st/a.gs0"));
    QCOMPARE(window.Document().Image().Data()[0], uint8_t('G'));
    QCOMPARE(window.Document().Image().Data()[2], uint8_t('T'));
  }

  void openDialogUsesTheLayoutFilter() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(kit.Dialogs->FileDialogs.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->FileDialogs[0].Filter,
             QStringLiteral("Genecyst type savestates (*.gs?)|*.gs?|All files (*.*)|*.*"));
    QCOMPARE(kit.Dialogs->FileDialogs[0].DefaultExt, QStringLiteral("gst"));
  }

  void closeQueryCancelStopsTheLoad() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.SetModified(true);
    kit.Dialogs->MessageAnswers = {mbCancel};
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Type, TMsgDlgType::mtConfirmation);
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Save changes?"));
    QCOMPARE(kit.Dialogs->Messages[0].Buttons, TMsgDlgButtons(mbYes | mbNo | mbCancel));
    QVERIFY(kit.Dialogs->FileDialogs.empty());
    QVERIFY(window.Document().Modified());
  }

  void aTypedButUncommittedValueCountsForTheCloseQuery() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    typeInto(window.Grid(TGridId::sgMainCPURegs), kDec, 1, QStringLiteral("9"));
    QVERIFY(!window.Document().Modified());
    kit.Dialogs->MessageAnswers = {mbCancel};
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Save changes?"));
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 9);
  }

  void closeQueryYesWithCancelledSaveStopsTheLoad() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.SetModified(true);
    kit.Dialogs->MessageAnswers = {mbYes};
    kit.Dialogs->FileAnswers = {QString()};  // the save dialog is cancelled
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(kit.Dialogs->FileDialogs.size(), std::size_t(1));
    QVERIFY(kit.Dialogs->FileDialogs[0].OverwritePrompt);  // it was the save dialog
    QVERIFY(window.Document().Modified());
  }

  void closeQueryNoLoadsWithoutSaving() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.SetModified(true);
    kit.Dialogs->MessageAnswers = {mbNo};
    QVERIFY(QFile::exists(FixturePath("emulator-h40/state.gs0")));
    kit.Dialogs->FileAnswers = {FixturePath("emulator-h40/state.gs0")};
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Palavex - ") + FixturePath("emulator-h40/state.gs0"));
    QVERIFY(!window.Document().Modified());
  }

  void closingAskesAndCancelKeepsTheWindow() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.show();
    window.SetModified(true);
    kit.Dialogs->MessageAnswers = {mbCancel};
    QVERIFY(!window.close());
    QVERIFY(window.isVisible());
    kit.Dialogs->MessageAnswers = {mbNo};
    QVERIFY(window.close());
  }

  void saveAfterEditChangesOnlyTheEditedBytes() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    const QString source = FixturePath("emulator-h40/state.gs0");
    const QByteArray original = readAll(source);
    QVERIFY2(!original.isEmpty(), qPrintable(source));
    QCOMPARE(original.size(), 140408);
    window.RunCommand([&] { window.OpenSavestate(source); });
    QVERIFY(kit.Dialogs->Messages.empty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + source);

    TRegisterGrid* grid = window.Grid(TGridId::sgMainCPURegs);
    typeInto(grid, kHex, 1, QStringLiteral("12345678"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + source);  // not committed yet
    const QString target = kit.Path("saved.gs0");
    kit.Dialogs->FileAnswers = {target};
    window.RunCommand([&] { window.SaveSavestateAs(); });
    QVERIFY(kit.Dialogs->Messages.empty());
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + target);

    const QByteArray saved = readAll(target);
    QCOMPARE(saved.size(), original.size());
    QByteArray expected = original;
    expected.replace(0x80, 4, QByteArray("\x78\x56\x34\x12", 4));
    QVERIFY(saved == expected);
  }

  void saveWithoutNameRunsSaveAs() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.SetModified(true);
    const QString target = kit.Path("blank.gs0");
    kit.Dialogs->FileAnswers = {target};
    window.RunCommand([&] { window.SaveSavestate(); });
    QCOMPARE(readAll(target).size(), 140408);
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + target);
  }

  void failedSaveIsReportedAndKeepsModified() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.SetModified(true);
    kit.Dialogs->FileAnswers = {kit.Path("missing/dir/x.gs0")};
    window.RunCommand([&] { window.SaveSavestate(); });
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Type, TMsgDlgType::mtError);
    QVERIFY(kit.Dialogs->Messages[0].Text.startsWith(QStringLiteral("Cannot create file \"")));
    QVERIFY(window.Document().Modified());
  }

  void loadShowsTheVSRAMByteOrder() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    QByteArray bytes(140408, '\0');
    bytes.replace(0, 8, QByteArray("GST@\xE0\0\0\0", 8));
    bytes[80] = 5;
    kit.WriteFile("little.gs0", bytes);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("little.gs0")); });
    QCOMPARE(window.StatusText(),
             QStringLiteral("AutoDetect: VSRAM is little endian (byte 80 is 5)"));
    // Without the header the words decide: 0x0123 stored least significant byte first.
    bytes[80] = 0;
    bytes.replace(0x192, 2, QByteArray("\x23\x01", 2));
    kit.WriteFile("content.gs0", bytes);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("content.gs0")); });
    QCOMPARE(window.StatusText(),
             QStringLiteral("AutoDetect: VSRAM is little endian (by content)"));
    QCOMPARE(window.VDP().GetVSRAMWord(0), uint16_t(0x0123));
  }

  void shortSavestateReportsAndNamesTheNewFile() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    QByteArray bytes(0x100, '\0');
    bytes.replace(0, 3, "GST");
    kit.WriteFile("short.gs0", bytes);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("short.gs0")); });
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Stream read error"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + kit.Path("short.gs0"));
    QVERIFY(!window.UpdateLock().Raised());
  }

  void vdpPageChangeReloadsTheModel() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpRegisters);
    TRegisterGrid* grid = window.Grid(TGridId::sgVDPRegs);
    typeInto(grid, kHex, 2, QStringLiteral("64"));  // Reg01
    QCOMPARE(window.VDP().GetReg(1), 0);
    window.pcVDP()->setCurrentIndex(int(TVDPPageId::vpDecoded));
    QCOMPARE(field(window, "VDP", "Line001"), 0x64);
    QCOMPARE(window.VDP().GetReg(1), 0x64);
    QVERIFY(!window.VDPStale());
  }

  void leavingAModelPageWritesTheModelBack() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    window.VDP().SetReg(12, 0x81);
    window.pcVDP()->setCurrentIndex(int(TVDPPageId::vpRegisters));
    QCOMPARE(field(window, "VDP", "Line012"), 0x81);
    QCOMPARE(window.Grid(TGridId::sgVDPRegs)->Cell(kHex, 13), QStringLiteral("$81"));
  }

  void hexPagesHoldTheirBlocks() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    SavestateImage& image = window.Document().Image();
    QCOMPARE(window.HexPage(THexPageId::hpMainRAM)->DataSize(), std::size_t(65536));
    QCOMPARE(window.HexPage(THexPageId::hpSubRAM)->DataSize(), std::size_t(8192));
    QCOMPARE(window.HexEditor(THexPageId::hpVideoRAM)->BytesPerColumn(), 1);
    QCOMPARE(window.HexEditor(THexPageId::hpMainRAM)->BytesPerColumn(), 2);
    QVERIFY(window.HexEditor(THexPageId::hpVideoRAM)->NoSizeChange());
    // Showing a page takes the block from the image again.
    image.Data()[0x474 + 5] = 0xA5;
    window.ShowMainPage(TMainPageId::mpSubCPU);
    window.pcSubCPU()->setCurrentIndex(1);
    QCOMPARE(window.HexPage(THexPageId::hpSubRAM)->Bytes()[5], uint8_t(0xA5));
    QCOMPARE(window.ActiveHexEditor(), window.HexEditor(THexPageId::hpSubRAM));
    QVERIFY(!window.Document().Modified());
  }

  void typingInAHexPageReachesTheImageOnExit() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowMainCPURAM();
    TQuorHexEditorEx* editor = window.HexEditor(THexPageId::hpMainRAM);
    editor->setFocus();
    QVERIFY(editor->hasFocus());
    QTest::keyClicks(editor, QStringLiteral("7f"));
    QVERIFY(window.Document().Modified());
    QCOMPARE(window.Document().Image().Data()[0x2478], uint8_t(0));
    window.pcMainCPU()->setCurrentIndex(0);
    QCOMPARE(window.Document().Image().Data()[0x2478], uint8_t(0x7F));
    QCOMPARE(window.Document().Image().Size(), std::size_t(140408));
  }

  void videoRAMEditsRefillTheHScrollGridOnExit() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpVideoRAM);
    TQuorHexEditorEx* editor = window.HexEditor(THexPageId::hpVideoRAM);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("12"));  // the table starts at VRAM 0 (register 13 = 0)
    window.Grid(TGridId::sgVDPRegs)->setFocus();
    QCOMPARE(window.Grid(TGridId::sgHSRAM)->Cell(kHex, 1), QStringLiteral("$1200"));
  }

  void saveStoresTheSelectedHexPages() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.ShowMainCPURAM();
    window.HexEditor(THexPageId::hpMainRAM)->DataBuffer()[1] = 0x42;
    window.ShowMainPage(TMainPageId::mpVDP);  // the RAM page stays selected in its own control
    const QString target = kit.Path("hex.gs0");
    kit.Dialogs->FileAnswers = {target};
    window.RunCommand([&] { window.SaveSavestateAs(); });
    QCOMPARE(uint8_t(readAll(target).at(0x2479)), uint8_t(0x42));
  }

  void droppingASavestateLoadsItAfterTheCloseQuery() {
    QVERIFY(QFile::exists(FixturePath("emulator-h40/state.gs0")));
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.show();
    window.SetModified(true);
    kit.Dialogs->MessageAnswers = {mbNo};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(FixturePath("emulator-h40/state.gs0"))});
    const QPoint centre = window.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    QTRY_COMPARE(window.windowTitle(),
                 QStringLiteral("Palavex - ") + FixturePath("emulator-h40/state.gs0"));
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Save changes?"));
  }

  void layoutFileThatCannotBeWrittenIsReported() {
    TWindowKit kit;
    kit.WriteFile("plain", "not a folder");
    TLayoutLocations where = kit.Where();
    where.ProgramDir = kit.Path("plain/program").toStdString();
    where.UserDir = kit.Path("plain/user").toStdString();
    auto dialogs = std::make_unique<TScriptedDialogs>();
    TScriptedDialogs* shown = dialogs.get();
    TfrmMain window(where, std::move(dialogs));
    QTRY_COMPARE(shown->Messages.size(), std::size_t(1));
    QCOMPARE(shown->Messages[0].Type, TMsgDlgType::mtError);
    QVERIFY(shown->Messages[0].Text.startsWith(QStringLiteral("Cannot create file \"")));
    // The built-in layout runs the window all the same.
    QCOMPARE(window.Grid(TGridId::sgVDPRegs)->RowCount(), 31);
  }

  void saveOnAModelPageWritesTheModelFirst() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    window.VDP().SetReg(1, 0x74);
    const QString target = kit.Path("decoded.gs0");
    kit.Dialogs->FileAnswers = {target};
    window.RunCommand([&] { window.SaveSavestateAs(); });
    QCOMPARE(uint8_t(readAll(target).at(0xFA + 1)), uint8_t(0x74));
  }

  void loadRerunsTheSelectedVDPPage() {
    struct TCountingPage : TVDPPage {
      int Shows = 0;
      int Reloads = 0;
      void PageShow() override { ++Shows; }
      void ModelReloaded() override { ++Reloads; }
    };
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    TCountingPage screen;
    TCountingPage colors;
    window.SetVDPPage(TVDPPageId::vpScreen, &screen);
    window.SetVDPPage(TVDPPageId::vpColorRAM, &colors);
    window.ShowVDPPage(TVDPPageId::vpScreen);
    QCOMPARE(screen.Shows, 1);
    window.ShowMainPage(TMainPageId::mpMainCPU);  // the page stays selected inside "VDP"
    QByteArray bytes(140408, '\0');
    bytes.replace(0, 3, "GST");
    kit.WriteFile("plain.gs0", bytes);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("plain.gs0")); });
    QCOMPARE(screen.Shows, 2);
    QVERIFY(colors.Reloads >= 1);
    window.ShowVDPPage(TVDPPageId::vpRegisters);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("plain.gs0")); });
    QCOMPARE(screen.Shows, 3);  // shown once more on the way to "Registers", not by the load
    window.SetVDPPage(TVDPPageId::vpScreen, nullptr);
    window.SetVDPPage(TVDPPageId::vpColorRAM, nullptr);
  }

  void viewMenuIsOneGroupThatMayHaveNoneChecked() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    QList<int> chosen;
    connect(&window, &TfrmMain::viewMenuChosen, this, [&](int id) { chosen << id; });
    window.ViewMenuItem(vmiScreen)->trigger();
    QVERIFY(window.ViewMenuItem(vmiScreen)->isChecked());
    window.ViewMenuItem(vmiPatterns)->trigger();
    QVERIFY(!window.ViewMenuItem(vmiScreen)->isChecked());
    QVERIFY(window.ViewMenuItem(vmiPatterns)->isChecked());
    window.ViewMenuItem(vmiPatterns)->trigger();
    QVERIFY(!window.ViewMenuItem(vmiPatterns)->isChecked());
    QCOMPARE(chosen, QList<int>({1, 2, 2}));
    QCOMPARE(window.ViewMenuItem(vmiSprites)->shortcut(), QKeySequence(Qt::Key_F7));
    window.ViewMenuItem(vmiSprites)->trigger();
    window.ViewWindowClosed();
    QVERIFY(!window.ViewMenuItem(vmiSprites)->isChecked());
  }

  void helpAndAboutShowInformation() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    const auto actions = window.findChildren<QAction*>();
    for (QAction* action : actions) {
      if (action->text() == QStringLiteral("Tiny &Help") ||
          action->text() == QStringLiteral("&About")) {
        action->trigger();
      }
    }
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(2));
    QCOMPARE(kit.Dialogs->Messages[0].Type, TMsgDlgType::mtInformation);
    QVERIFY(kit.Dialogs->Messages[0].Text.startsWith(
        QStringLiteral("Most functions of this program should be obvious")));
    QVERIFY(kit.Dialogs->Messages[0].Text.contains(
        QStringLiteral("\"Enter\" to save bitmap to file (in zoomed size)\n\"G\", \"R\"")));
    // The view window's keys, then the pixel inspector, the overlays and the map.
    QVERIFY(kit.Dialogs->Messages[0].Text.endsWith(
        QStringLiteral("click it to open the Video RAM editor there.\n")));
    QCOMPARE(kit.Dialogs->Messages[0].Text.count(QLatin1Char('\n')), 21);
    QVERIFY(kit.Dialogs->Messages[1].Text.startsWith(
        QStringLiteral("Viewer / Editor for Genecyst type Mega Drive / Genesis savestates\n")));
    QVERIFY(!window.Document().Modified());
  }

  void layoutWithoutFilterGivesNoFilterList() {
    TWindowKit kit;
    kit.WriteLayout("[General]\r\nDefaultFileSize=16\r\n");
    TfrmMain& window = kit.Start();
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(kit.Dialogs->FileDialogs.size(), std::size_t(1));
    QVERIFY(kit.Dialogs->FileDialogs[0].Filter.isEmpty());
    QCOMPARE(window.Document().Image().Size(), std::size_t(16));
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::MainWindowTest)
#include "MainWindowTest.moc"
