// The register grids of the main window: rows from the layout file, typing, one-key steps.
#include <QLineEdit>
#include <QTest>

#include "AppTestKit.h"
#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "app/ScrollLock.h"
#include "document/FieldValues.h"
#include "vdp/MegaDriveVDP.h"
#include "widgets/ColorGrid.h"

namespace vantor::test {

class RegisterGridTest : public QObject {
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
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::RegisterGridTest)
#include "RegisterGridTest.moc"
