// The main window driven as a user would: start-up, register grids, savestate commands.
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "AppTestKit.h"
#include "app/HexPage.h"
#include "app/PageControl.h"
#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/ScrollLock.h"
#include "document/FieldValues.h"
#include "hexedit/QuorHexEditorEx.h"
#include "panels/ColorGrid.h"
#include "vdp/MegaDriveVDP.h"

namespace vantor::test {
namespace {

constexpr int kHex = 1;
constexpr int kDec = 2;

QString fixture(const char* name) {
  const QByteArray dir = qgetenv("VANTOR_FIXTURES");
  if (dir.isEmpty()) return {};
  return QString::fromLocal8Bit(dir) + QStringLiteral("/") + QString::fromLatin1(name);
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int64_t field(TfrmMain& window, const char* section, const std::string& key) {
  return ReadField(window.Layout(), window.Document().Image(), section, key).Value;
}

// Types text into a value cell, as keys into the cell's editor.
void typeInto(TRegisterGrid* grid, int col, int row, const QString& text) {
  grid->setFocus();
  grid->SelectCell(col, row);
  QVERIFY(grid->Editor());
  QTest::keyClicks(grid->Editor(), text);
}

// Moves one row down with the Down key, which commits the cell being left.
void pressDown(TRegisterGrid* grid) {
  QWidget* target = grid->Editor() ? static_cast<QWidget*>(grid->Editor()) : grid;
  QTest::keyClick(target, Qt::Key_Down);
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { SetScrollLockOverride(false); }
  void cleanup() { SetScrollLockOverride(std::nullopt); }

  void firstStartWritesLayoutAndShowsZeroRows() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    QVERIFY(QFile::exists(kit.Path("program/vantor.ini")));
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - "));
    QVERIFY(kit.Dialogs->Messages.empty());
    TRegisterGrid* main = window.Grid(TGridId::sgMainCPURegs);
    QCOMPARE(main->Cell(0, 1), QStringLiteral("D0"));
    QCOMPARE(main->Cell(kHex, 1), QStringLiteral("$00000000"));
    QCOMPARE(main->Cell(kDec, 1), QStringLiteral("0"));
    QCOMPARE(main->Cell(3, 1), QStringLiteral("%00000000000000000000000000000000"));
    QCOMPARE(main->Cell(0, 9), QString());
    QCOMPARE(main->Cell(kHex, 9), QString());
    QCOMPARE(main->Cell(0, 23), QStringLiteral("SSP"));
    QCOMPARE(main->horizontalHeaderItem(0)->text(), QStringLiteral("Name"));
    QCOMPARE(main->horizontalHeaderItem(3)->text(), QStringLiteral("Binary"));
    QCOMPARE(window.size(), QSize(580, 460));
  }

  void gridRowsFollowTheDefaultLayout() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    TRegisterGrid* vdp = window.Grid(TGridId::sgVDPRegs);
    QCOMPARE(vdp->RowCount(), 31);
    QCOMPARE(vdp->Cell(0, 1), QStringLiteral("Reg00"));
    QCOMPARE(vdp->Cell(0, 24), QStringLiteral("Reg23"));
    QCOMPARE(vdp->Cell(0, 25), QString());
    QCOMPARE(vdp->Cell(0, 26), QStringLiteral("Gens & Kega only:"));
    QCOMPARE(vdp->Cell(0, 30), QStringLiteral("VDP write address"));

    TRegisterGrid* sub = window.Grid(TGridId::sgSubCPURegs);
    QCOMPARE(window.Grids().PSGFirstRow(), 16);
    QCOMPARE(window.Grids().YM2612FirstRow(), 26);
    const std::pair<int, const char*> rows[] = {{1, "Z80:"},      {2, "AF"},       {14, "I"},
                                                {15, ""},         {16, "PSG:"},    {17, "PSGWord0"},
                                                {24, "PSGWord7"}, {25, ""},        {26, "YM2612:"},
                                                {27, "Word000"},  {282, "Word255"}};
    for (const auto& [row, name] : rows)
      QCOMPARE(sub->Cell(0, row), QString::fromLatin1(name));
    QCOMPARE(sub->RowCount(), 283);
    QCOMPARE(sub->Cell(kHex, 26), QString());
    QCOMPARE(sub->Cell(kHex, 14), QStringLiteral("$00"));

    TRegisterGrid* cram = window.Grid(TGridId::sgCRAM);
    QCOMPARE(cram->RowCount(), 65);
    QCOMPARE(cram->Cell(0, 1), QStringLiteral("Color RAM[0]"));
    QCOMPARE(cram->Cell(0, 64), QStringLiteral("Color RAM[63]"));
    QCOMPARE(cram->Cell(kHex, 64), QStringLiteral("$0000"));
    QCOMPARE(window.Grid(TGridId::sgVSRAM)->RowCount(), 41);
    QCOMPARE(window.Grid(TGridId::sgHSRAM)->RowCount(), 481);
    QCOMPARE(window.Grid(TGridId::sgHSRAM)->Cell(0, 480),
             QStringLiteral("Horizontal Scroll RAM[479]"));
  }

  void hsramRowsFollowRegister13() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    // Register 13 = $3F puts the table at VDP RAM + 63 KiB.
    QVERIFY(WriteField(window.Layout(), window.Document().Image(), "VDP", "Line013", 0x3F));
    const std::size_t table = 0x12478 + 63 * 1024;
    window.Document().Image().Data()[table + 1] = 0x12;
    window.RefreshFromImage();
    QCOMPARE(window.Grid(TGridId::sgHSRAM)->Cell(kHex, 1), QStringLiteral("$0012"));
  }

  void stepKeysChangeTheValueAtOnce() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    TRegisterGrid* grid = window.Grid(TGridId::sgMainCPURegs);
    typeInto(grid, kDec, 1, QStringLiteral("5"));
    pressDown(grid);
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 5);
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - *"));

    typeInto(grid, kDec, 1, QStringLiteral("+"));
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 6);
    QCOMPARE(grid->Cell(kDec, 1), QStringLiteral("6"));
    QCOMPARE(grid->Editor()->text(), QStringLiteral("6"));
    QCOMPARE(grid->Editor()->selectedText(), QStringLiteral("6"));
    QTest::keyClicks(grid->Editor(), QStringLiteral("*"));
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 16);
    QCOMPARE(grid->Cell(kHex, 1), QStringLiteral("$00000010"));
  }

  void scrollLockLetsANegativeNumberBeTyped() {
    SetScrollLockOverride(true);
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    TRegisterGrid* grid = window.Grid(TGridId::sgMainCPURegs);
    typeInto(grid, kDec, 1, QStringLiteral("-"));
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 0);
    QTest::keyClicks(grid->Editor(), QStringLiteral("3"));
    pressDown(grid);
    QCOMPARE(grid->Row(), 2);
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 0xFFFFFFFD);
    QCOMPARE(grid->Cell(kHex, 1), QStringLiteral("$FFFFFFFD"));
  }

  void labelAndBlankRowsRefuseText() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    TRegisterGrid* grid = window.Grid(TGridId::sgVDPRegs);
    window.ShowVDPPage(TVDPPageId::vpRegisters);
    typeInto(grid, kHex, 25, QStringLiteral("7"));
    QCOMPARE(grid->Editor()->text(), QString());
    typeInto(grid, kDec, 26, QStringLiteral("+"));
    QCOMPARE(grid->Editor()->text(), QString());
    pressDown(grid);
    QCOMPARE(grid->Cell(kDec, 26), QString());
    QVERIFY(!window.Document().Modified());
    // The name column takes no input: a click there leaves the current cell alone.
    grid->SelectCell(kHex, 3);
    const QRect nameCell = grid->visualRect(grid->model()->index(3, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, nameCell.center());
    QCOMPARE(grid->Col(), kHex);
  }

  void typingTheSameValueLeavesTheDocumentUnmodified() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    TRegisterGrid* grid = window.Grid(TGridId::sgMainCPURegs);
    typeInto(grid, kHex, 1, QStringLiteral("0"));
    pressDown(grid);
    QVERIFY(!window.Document().Modified());
    QCOMPARE(grid->Cell(kHex, 1), QStringLiteral("$00000000"));
  }

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
    if (!QFile::exists(fixture("emulator-h40/state.gs0")))
      QSKIP("the emulator fixtures are not at hand");
    kit.Dialogs->FileAnswers = {fixture("emulator-h40/state.gs0")};
    window.RunCommand([&] { window.LoadSavestate(); });
    QCOMPARE(window.windowTitle(),
             QStringLiteral("Palavex - ") + fixture("emulator-h40/state.gs0"));
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
    const QString source = fixture("emulator-h40/state.gs0");
    const QByteArray original = readAll(source);
    if (original.isEmpty()) QSKIP("the emulator fixtures are not at hand");
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
    QCOMPARE(window.StatusText(), QStringLiteral("AutoDetect: VSRAM is little endian"));
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
    QCOMPARE(window.UpdateLock(), 0);
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

  void colorGridFollowsTheColorRAMGrid() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpColorRAM);
    TRegisterGrid* grid = window.Grid(TGridId::sgCRAM);
    auto* colors = window.findChild<TColorGrid*>();
    QVERIFY(colors);
    grid->setFocus();
    grid->SelectCell(kHex, 6);
    grid->SelectCell(kHex, 18);
    QCOMPARE(colors->CurrentCell(), QPoint(1, 1));  // colour 17: line 1, index 1
  }

  void droppingASavestateLoadsItAfterTheCloseQuery() {
    if (!QFile::exists(fixture("emulator-h40/state.gs0")))
      QSKIP("the emulator fixtures are not at hand");
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    window.show();
    window.SetModified(true);
    kit.Dialogs->MessageAnswers = {mbNo};
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(fixture("emulator-h40/state.gs0"))});
    const QPoint centre = window.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    QTRY_COMPARE(window.windowTitle(),
                 QStringLiteral("Palavex - ") + fixture("emulator-h40/state.gs0"));
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
      int Repaints = 0;
      void PageShow() override { ++Shows; }
      void RepaintColors() override { ++Repaints; }
    };
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    TCountingPage screen;
    TCountingPage colors;
    window.InstallVDPPage(TVDPPageId::vpScreen, nullptr, &screen);
    window.InstallVDPPage(TVDPPageId::vpColorRAM, nullptr, &colors);
    window.ShowVDPPage(TVDPPageId::vpScreen);
    QCOMPARE(screen.Shows, 1);
    window.ShowMainPage(TMainPageId::mpMainCPU);  // the page stays selected inside "VDP"
    QByteArray bytes(140408, '\0');
    bytes.replace(0, 3, "GST");
    kit.WriteFile("plain.gs0", bytes);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("plain.gs0")); });
    QCOMPARE(screen.Shows, 2);
    QVERIFY(colors.Repaints >= 1);
    window.ShowVDPPage(TVDPPageId::vpRegisters);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("plain.gs0")); });
    QCOMPARE(screen.Shows, 3);  // shown once more on the way to "Registers", not by the load
    window.InstallVDPPage(TVDPPageId::vpScreen, nullptr, nullptr);
    window.InstallVDPPage(TVDPPageId::vpColorRAM, nullptr, nullptr);
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
    QVERIFY(kit.Dialogs->Messages[0].Text.endsWith(
        QStringLiteral("\"Enter\" to save bitmap to file (in zoomed size)\n")));
    QCOMPARE(kit.Dialogs->Messages[0].Text.count(QLatin1Char('\n')), 13);
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
