// The "Color RAM" page driven through its real grid with a stand-in main window: keys, clicks
// and header drags in; the savestate image, the model and palette files out.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "document/FieldValues.h"
#include "pages/vdp/ColorRAMPage.h"
#include "support/FakePageHost.h"
#include "vdp/VDPColors.h"
#include "widgets/ColorGrid.h"

namespace vantor::test {

class ColorRAMPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TFakePageHost> m_host;
  TColorRAMPage* m_page = nullptr;
  TColorGrid* m_grid = nullptr;
  std::unique_ptr<QTemporaryDir> m_dir;

  QString Path(const char* name) const { return m_dir->filePath(name); }

  static QByteArray ReadAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }
  static void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
  }

  // Every entry a different colour: red = index bits, green = line, blue = index / 2.
  void FillDistinctColors() {
    for (int entry = 0; entry < 64; ++entry) {
      const int index = entry % 16;
      const int line = entry / 16;
      m_host->PutColor(entry, uint16_t(((index & 7) << 1) | (line << 5) | ((index >> 1) << 9)));
    }
  }
  void Select(int line1, int index1, int line2, int index2) {
    m_grid->SetCurrentCell(line1, index1);
    m_grid->SetCurrentCell(line2, index2, true);
  }
  QPoint HeaderCenter(int gridColumn, int gridRow) const {
    return TColorGrid::CellRect(gridColumn, gridRow).center();
  }
  void SavePalette(const QString& path) {
    m_host->ScriptedDialogs.FileAnswers.push_back(path);
    m_page->pmiCRAMSavePalClick();
  }
  void LoadPalette(const QString& path) {
    m_host->ScriptedDialogs.FileAnswers.push_back(path);
    m_page->pmiCRAMLoadPalClick();
  }

 private slots:
  void init() {
    m_host = std::make_unique<TFakePageHost>();
    m_page = new TColorRAMPage(*m_host);
    m_host->Install(TVDPPageId::vpColorRAM, m_page);
    m_grid = m_page->dgCRAM();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_host->ShowWindow(800, 600));
    m_grid->setFocus();
  }
  void cleanup() {
    m_host.reset();
    m_dir.reset();
  }

  void isTheColorGridWithItsMenu() {
    QCOMPARE(m_grid->parentWidget(), static_cast<QWidget*>(m_page));
    QCOMPARE(m_grid->objectName(), QString("dgCRAM"));
    const QStringList captions = {"&Set selected colors...",
                                  "&Load selected colors from PSP palette...",
                                  "&Save selected colors to PSP palette..."};
    QStringList shown;
    for (QAction* item : m_page->pmCRAM()->actions())
      shown << item->text();
    QCOMPARE(shown, captions);
  }

  void statusTextShowsTheFocusedColor() {
    m_host->PutColor(18, 0x0E00);
    m_grid->SetCurrentCell(1, 2);
    m_grid->grab();
    QCOMPARE(m_host->Status(), QString("Color [1,2] =$0E00 ($00FF0000)"));
    m_host->PutColor(63, 0x008E);
    QTest::keyClick(m_grid, Qt::Key_End);
    QTest::keyClick(m_grid, Qt::Key_Down);
    QTest::keyClick(m_grid, Qt::Key_Down);
    m_grid->grab();
    QCOMPARE(m_host->Status(), QString("Color [3,15] =$008E ($000092FF)"));
  }

  void selectedCellsShowTheirColorInsideAHighlightFrame() {
    m_host->PutColor(0, 0x000E);
    m_host->PutColor(1, 0x0E00);
    Select(0, 0, 0, 0);
    const QImage picture = m_grid->grab().toImage();
    const QRect selected = TColorGrid::CellRect(1, 1);
    const QRect plain = TColorGrid::CellRect(2, 1);
    const QColor highlight = m_grid->palette().color(QPalette::Highlight);
    QCOMPARE(picture.pixelColor(selected.topLeft() + QPoint(1, 1)), highlight);
    QCOMPARE(picture.pixelColor(selected.center()), QColor(255, 0, 0));
    QCOMPARE(picture.pixelColor(plain.center()), QColor(0, 0, 255));
    QVERIFY(picture.pixelColor(plain.topLeft() + QPoint(1, 1)) != highlight);
  }

  void staleModelIsReloadedBeforePainting() {
    WriteFieldValueAt(m_host->Layout(), m_host->Document().Image(), "VDP", "CRAM", 5 * 2, 0x00E0,
                      2);
    m_host->Stale = true;
    m_grid->grab();
    QCOMPARE(m_host->ImageToVDPCalls, 1);
    QCOMPARE(m_host->VDP().GetColor(5), uint16_t(0x00E0));
  }

  void mouseAndShiftArrowsSelectRectangles() {
    QTest::mouseClick(m_grid, Qt::LeftButton, {}, TColorGrid::CellRect(3, 2).center());
    QTest::keyClick(m_grid, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(m_grid, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(m_grid->Selection(), QRect(QPoint(2, 1), QPoint(3, 2)));
    QCOMPARE(m_page->SelectedEntries(), (std::vector<int>{18, 19, 34, 35}));
    QTest::keyClick(m_grid, Qt::Key_Left);
    QCOMPARE(m_grid->Selection(), QRect(2, 2, 1, 1));
    QTest::mousePress(m_grid, Qt::LeftButton, {}, TColorGrid::CellRect(16, 4).center());
    QTest::mouseMove(m_grid, TColorGrid::CellRect(14, 3).center());
    QTest::mouseRelease(m_grid, Qt::LeftButton, {}, TColorGrid::CellRect(14, 3).center());
    QCOMPARE(m_grid->Selection(), QRect(QPoint(13, 2), QPoint(15, 3)));
  }

  void enterSetsEverySelectedCellFromTheColorDialog() {
    FillDistinctColors();
    Select(1, 2, 2, 3);
    const QColor initial(QRgb(CRAMToRGB32(m_host->VDP().GetColor(2 * 16 + 3))));
    m_host->ScriptedDialogs.ColorAnswers.push_back(QColor(255, 0, 0));
    QTest::keyClick(m_grid, Qt::Key_Return);
    QCOMPARE(*m_host->ScriptedDialogs.LastInitialColor, initial);
    for (int entry : {18, 19, 34, 35}) {
      QCOMPARE(m_host->VDP().GetColor(uint8_t(entry)), uint16_t(0x000E));
      QCOMPARE(m_host->ImageColor(entry), uint16_t(0x000E));
    }
    QVERIFY(m_host->ImageColor(17) != 0x000E);
    QVERIFY(m_host->Document().Modified());
    QCOMPARE(m_host->ColorsChangedCalls, 1);
  }

  void setColorsChangesNothingWhenCancelledOrAlreadyEqual() {
    m_host->PutColor(0, 0x000E);
    m_host->ScriptedDialogs.ColorAnswers.push_back(std::nullopt);
    m_page->SetSelectedColors();
    m_host->ScriptedDialogs.ColorAnswers.push_back(QColor(255, 0, 0));
    m_page->SetSelectedColors();
    QCOMPARE(m_host->ModifiedCalls, 0);
    QCOMPARE(m_host->ColorsChangedCalls, 0);
  }

  void doubleClickOnAHeaderDoesNothing() {
    m_host->ScriptedDialogs.ColorAnswers.push_back(QColor(0, 0, 255));
    QTest::mouseDClick(m_grid, Qt::LeftButton, {}, HeaderCenter(3, 0));
    QVERIFY(!m_host->ScriptedDialogs.LastInitialColor);
    // A real double click starts with the press that selects the cell.
    QTest::mouseClick(m_grid, Qt::LeftButton, {}, TColorGrid::CellRect(3, 1).center());
    QTest::mouseDClick(m_grid, Qt::LeftButton, {}, TColorGrid::CellRect(3, 1).center());
    QCOMPARE(m_host->VDP().GetColor(2), uint16_t(0x0E00));
  }

  void draggingColumnHeaderSwapsOnlyThoseTwoColumns() {
    FillDistinctColors();
    std::array<uint16_t, 64> before{};
    for (int i = 0; i < 64; ++i)
      before[i] = m_host->VDP().GetColor(uint8_t(i));
    QTest::mousePress(m_grid, Qt::LeftButton, {}, HeaderCenter(4, 0));
    QTest::mouseMove(m_grid, HeaderCenter(7, 0));
    QTest::mouseRelease(m_grid, Qt::LeftButton, {}, HeaderCenter(10, 0));
    for (int line = 0; line < 4; ++line) {
      for (int index = 0; index < 16; ++index) {
        const int source = index == 3 ? 9 : index == 9 ? 3 : index;
        QCOMPARE(m_host->VDP().GetColor(uint8_t(line * 16 + index)), before[line * 16 + source]);
        QCOMPARE(m_host->ImageColor(line * 16 + index), before[line * 16 + source]);
      }
    }
    QVERIFY(m_host->Document().Modified());
    QCOMPARE(m_host->ColorsChangedCalls, 1);
  }

  void draggingRowHeaderSwapsTwoPaletteLines() {
    FillDistinctColors();
    std::array<uint16_t, 64> before{};
    for (int i = 0; i < 64; ++i)
      before[i] = m_host->VDP().GetColor(uint8_t(i));
    QTest::mousePress(m_grid, Qt::LeftButton, {}, HeaderCenter(0, 1));
    QTest::mouseRelease(m_grid, Qt::LeftButton, {}, HeaderCenter(0, 4));
    for (int index = 0; index < 16; ++index) {
      QCOMPARE(m_host->ImageColor(index), before[48 + index]);
      QCOMPARE(m_host->ImageColor(48 + index), before[index]);
      QCOMPARE(m_host->ImageColor(16 + index), before[16 + index]);
    }
  }

  void swappingEqualColumnsMarksNothing() {
    m_page->dgCRAMColumnMoved(1, 2);  // all black
    QCOMPARE(m_host->ModifiedCalls, 0);
    QCOMPARE(m_host->ColorsChangedCalls, 0);
  }

  void savedSelectionHoldsCount16AndZeroPadding() {
    FillDistinctColors();
    Select(1, 4, 2, 6);  // 2 lines x 3 indexes
    SavePalette(Path("six.pal"));
    QByteArray expected = "JASC-PAL\r\n0100\r\n16\r\n";
    for (int entry : {20, 21, 22, 36, 37, 38}) {
      const uint32_t rgb = CRAMToRGB32(m_host->VDP().GetColor(uint8_t(entry)));
      expected += QByteArray::number((rgb >> 16) & 255) + ' ' +
                  QByteArray::number((rgb >> 8) & 255) + ' ' + QByteArray::number(rgb & 255) +
                  "\r\n";
    }
    for (int i = 0; i < 10; ++i)
      expected += "0 0 0\r\n";
    QCOMPARE(ReadAll(Path("six.pal")), expected);
    QCOMPARE(m_host->ModifiedCalls, 0);
  }

  void moreThanSixteenCellsGive256Lines() {
    Select(0, 0, 1, 8);  // 18 cells
    SavePalette(Path("big.pal"));
    const QList<QByteArray> lines = ReadAll(Path("big.pal")).split('\n');
    QCOMPARE(lines[2], QByteArray("256\r"));
    QCOMPARE(lines.size(), 3 + 256 + 1);  // the text ends with a line end
  }

  void paletteFileReadsInAnIndependentReader() {
    FillDistinctColors();
    Select(0, 0, 1, 15);
    SavePalette(Path("gimp.pal"));
    // Reads the file the way GIMP's JASC importer does and prints the colours.
    const char* script = R"(
import sys
lines = open(sys.argv[1], 'rb').read().decode('ascii').split('\r\n')
assert lines[0] == 'JASC-PAL' and lines[1] == '0100', 'header'
count = int(lines[2])
colors = [tuple(int(v) for v in line.split(' ')) for line in lines[3:3 + count]]
assert len(colors) == count and all(len(c) == 3 and all(0 <= v <= 255 for v in c) for c in colors)
assert lines[3 + count:] == [''], 'trailing text'
print(count, ' '.join('%02x%02x%02x' % c for c in colors[:32]))
)";
    QProcess python;
    python.start("python3", {"-c", script, Path("gimp.pal")});
    QVERIFY(python.waitForFinished(10000));
    QCOMPARE(python.exitCode(), 0);
    QString expected = "256";
    for (int entry = 0; entry < 32; ++entry) {
      const uint32_t rgb = CRAMToRGB32(m_host->VDP().GetColor(uint8_t(entry)));
      expected += (entry == 0 ? " " : " ") + QString::asprintf("%06x", rgb & 0xFFFFFF);
    }
    QCOMPARE(QString::fromLatin1(python.readAllStandardOutput()).trimmed(), expected);
  }

  void saveThenLoadOfTheSameSelectionMarksNothing() {
    FillDistinctColors();
    Select(1, 1, 3, 5);
    SavePalette(Path("same.pal"));
    LoadPalette(Path("same.pal"));
    QCOMPARE(m_host->ModifiedCalls, 0);
    QCOMPARE(m_host->ColorsChangedCalls, 0);
    QVERIFY(!m_host->Document().Modified());
  }

  void loadedColorsGoToImageAndModelInSelectionOrder() {
    WriteAll(Path("two.pal"), "JASC-PAL\r\n0100\r\n2\r\n255 128 0\r\n0 0 255\r\n");
    Select(2, 7, 2, 8);
    LoadPalette(Path("two.pal"));
    QCOMPARE(m_host->VDP().GetColor(39), uint16_t(0x008E));
    QCOMPARE(m_host->ImageColor(39), uint16_t(0x008E));
    QCOMPARE(m_host->ImageColor(40), uint16_t(0x0E00));
    QVERIFY(m_host->Document().Modified());
    QCOMPARE(m_host->ColorsChangedCalls, 1);
    Select(2, 7, 2, 7);
    SavePalette(Path("back.pal"));
    QVERIFY(ReadAll(Path("back.pal")).startsWith("JASC-PAL\r\n0100\r\n16\r\n255 146 0\r\n"));
  }

  void cellsBeyondTheFileColorsStayUnchanged() {
    FillDistinctColors();
    const uint16_t third = m_host->VDP().GetColor(2);
    WriteAll(Path("short.pal"), "JASC-PAL\r\n0100\r\n2\r\n255 255 255\r\n255 255 255\r\n");
    Select(0, 0, 0, 3);
    LoadPalette(Path("short.pal"));
    QCOMPARE(m_host->ImageColor(1), uint16_t(0x0EEE));
    QCOMPARE(m_host->ImageColor(2), third);
  }

  void headerRules() {
    WriteAll(Path("lower.pal"), "\r\n  jasc-pal\r\n\r\n0100\r\n1\r\n0 0 255\r\n");
    LoadPalette(Path("lower.pal"));
    QCOMPARE(m_host->ImageColor(0), uint16_t(0x0E00));
    QVERIFY(m_host->ScriptedDialogs.Messages.empty());

    WriteAll(Path("blank.pal"), "JASC-PAL \r\n0100\r\n1\r\n255 255 255\r\n");
    LoadPalette(Path("blank.pal"));
    QCOMPARE(m_host->ScriptedDialogs.ErrorTexts(), QStringList{"Wrong File Type!"});
    QCOMPARE(m_host->ImageColor(0), uint16_t(0x0E00));
  }

  void countLineWithTrailingBlankReadsNothing() {
    WriteAll(Path("count.pal"), "JASC-PAL\r\n0100\r\n1 \r\n255 255 255\r\n");
    LoadPalette(Path("count.pal"));
    QCOMPARE(m_host->ImageColor(0), uint16_t(0));
    QCOMPARE(m_host->ModifiedCalls, 0);
    QVERIFY(m_host->ScriptedDialogs.Messages.empty());
  }

  void paletteDialogsKeepTheirFilterAndName() {
    TFileDialog& save = m_host->FileDialogs().sdlgMisc;
    save.FileName = "left by a memory page";
    SavePalette(Path("first.pal"));
    QCOMPARE(save.Filter, QString("Jasc Palette (*.pal; *.PspPalette)|*.pal;*.PspPalette|"
                                  "GIMP Palette (*.gpl)|*.gpl|Adobe Color Table (*.act)|*.act"));
    QVERIFY(save.OverwritePrompt);
    // The next palette command offers the same name again; the dialog here returns a new one.
    SavePalette(Path("second.pal"));
    QCOMPARE(save.FileName, Path("second.pal"));
    QVERIFY(QFile::exists(Path("second.pal")));
  }

  void unreadableFileShowsTheOpenError() {
    LoadPalette(Path("missing.pal"));
    QCOMPARE(m_host->ScriptedDialogs.ErrorTexts().size(), 1);
    QVERIFY(m_host->ScriptedDialogs.ErrorTexts()[0].startsWith("Cannot open file \""));
    SavePalette(Path("no/such/dir.pal"));
    QCOMPARE(m_host->ScriptedDialogs.ErrorTexts().size(), 2);
    QVERIFY(m_host->ScriptedDialogs.ErrorTexts()[1].startsWith("Cannot create file \""));
  }

  void followColorMovesTheCurrentCell() {
    m_page->FollowColor(37);
    QCOMPARE(m_grid->CurrentCell(), QPoint(5, 2));
    QCOMPARE(m_grid->Selection(), QRect(5, 2, 1, 1));
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::ColorRAMPageTest)
#include "ColorRAMPageTest.moc"
