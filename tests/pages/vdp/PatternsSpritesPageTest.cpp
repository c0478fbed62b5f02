// The "Patterns && Sprites" page driven through its real controls with a stand-in main window:
// keys, clicks and menu items in; the model, the status text and saved pictures out.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include "document/FieldValues.h"
#include "hexedit/HexGridLayout.h"
#include "hexedit/QuorHexEditorEx.h"
#include "pages/vdp/PatternsSpritesPage.h"
#include "support/FakePageHost.h"
#include "widgets/CellStrip.h"
#include "widgets/LinkLabel.h"

namespace vantor::test {

namespace {

// Register 12 bits: 0x81 H40, 0x06 interlace mode 2.
constexpr uint8_t kH40 = 0x81;
constexpr uint8_t kInterlace2 = 0x06;

uint16_t ReadBmpWord(const QByteArray& bmp, int at) {
  return uint16_t(uint8_t(bmp[at]) | uint8_t(bmp[at + 1]) << 8);
}
int32_t ReadBmpLong(const QByteArray& bmp, int at) {
  return int32_t(ReadBmpWord(bmp, at) | uint32_t(ReadBmpWord(bmp, at + 2)) << 16);
}

}  // namespace

class PatternsSpritesPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TFakePageHost> m_host;
  TPatternsSpritesPage* m_page = nullptr;
  std::unique_ptr<QTemporaryDir> m_dir;

  TMegaDriveVDP& VDP() { return m_host->VDP(); }
  void ShowWithRegister12(uint8_t value) {
    VDP().SetReg(12, value);
    m_page->PageShow();
  }
  // Triggers item `caption` of the strip's pop-up menu, opened as a right click would.
  void ChooseMenuItem(TCellStrip* strip, const QString& caption) {
    strip->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 30),
                            strip->mapToGlobal(QPoint(5, 30)));
    QApplication::sendEvent(strip->viewport(), &event);
    QMenu* menu = m_page->pmPatSpr();
    QList<QAction*> items = menu->actions();
    for (QAction* item : menu->actions()) {
      if (item->menu()) items += item->menu()->actions();
    }
    menu->close();
    for (QAction* item : items) {
      if (item->text() == caption) {
        item->trigger();
        return;
      }
    }
    QFAIL(qPrintable("no menu item " + caption));
  }
  QByteArray SaveSheet(TCellStrip* strip, const char* name) {
    const QString path = m_dir->filePath(name);
    m_host->ScriptedDialogs.FileAnswers.push_back(path);
    ChooseMenuItem(strip, "&Save all to Bitmap...");
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
  }

 private slots:
  void init() {
    m_host = std::make_unique<TFakePageHost>();
    m_page = new TPatternsSpritesPage(*m_host);
    m_host->Install(TVDPPageId::vpPatterns, m_page);
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_host->ShowWindow(800, 600));
    m_page->PageShow();
  }
  void cleanup() {
    m_host.reset();
    m_dir.reset();
  }

  void controlsKeepTheirCaptionsItemsAndTabOrder() {
    QCOMPARE(m_page->cbPalLine()->itemText(3), QString("Use Palette Line 3"));
    QCOMPARE(m_page->cbPatternSrc()->itemText(1), QString("Read from Main RAM"));
    QCOMPARE(m_page->cbSpriteSize()->count(), 16);
    QCOMPARE(m_page->cbSpriteSize()->itemText(1), QString("1x2"));
    QCOMPARE(m_page->cbSpriteSize()->itemText(4), QString("2x1"));
    QCOMPARE(m_page->chkSpritePriority()->text(), QString("Hi&Priority"));
    QCOMPARE(m_page->LinkDataLabel()->text(), QString("&LinkData"));
    QCOMPARE(m_page->FirstPatternLabel()->text(), QString("&First Pattern"));
    QCOMPARE(m_page->lbledSpritePattern()->maxLength(), 4);
    const QList<QWidget*> order = {
        m_page->cbPalLine(),         m_page->cbPatternSrc(),    m_page->dgPatterns(),
        m_page->dgSprites(),         m_page->lbledSpriteHPos(), m_page->lbledSpriteVPos(),
        m_page->cbSpriteSize(),      m_page->lbledSpriteLink(), m_page->chkSpritePriority(),
        m_page->cbSpritePal(),       m_page->chkSpriteHF(),     m_page->chkSpriteVF(),
        m_page->lbledSpritePattern()};
    order[0]->setFocus();
    for (int i = 1; i < order.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), order[i]);
    }
  }

  void lastPatternStatusText() {
    TCellStrip* strip = m_page->dgPatterns();
    QCOMPARE(strip->ColumnCount(), 2048);
    strip->setFocus();
    QTest::keyClick(strip, Qt::Key_End);
    strip->grab();
    QCOMPARE(m_host->Status(), QString("Pattern 2047, Address $FFE0"));
  }

  void tallCellsGive1024PatternsOf64Bytes() {
    ShowWithRegister12(kInterlace2);
    TCellStrip* strip = m_page->dgPatterns();
    QCOMPARE(strip->ColumnCount(), 1024);
    QCOMPARE(strip->CellHeight(), 16 * 8);
    strip->setFocus();
    QTest::keyClick(strip, Qt::Key_End);
    strip->grab();
    QCOMPARE(m_host->Status(), QString("Pattern 1023, Address $FFC0"));
  }

  void patternPixelsComeFromTheChosenSource() {
    // Pattern 1's first row: pixel 0 colour 1 in Video RAM, colour 2 in main RAM.
    SavestateImage& image = m_host->Document().Image();
    WriteFieldValueAt(m_host->Layout(), image, "VDP", "RAM", 32, 0x10, 1);
    WriteFieldValueAt(m_host->Layout(), image, "CPU MC68000", "RAM", 32, 0x20, 1);
    VDP().SetColor(1, 0x000E);
    VDP().SetColor(2, 0x0E00);
    TCellStrip* strip = m_page->dgPatterns();
    const QPoint pixel = strip->CellRect(1).topLeft() + QPoint(2, 2);
    QCOMPARE(strip->viewport()->grab().toImage().pixelColor(pixel), QColor(255, 0, 0));
    m_page->cbPatternSrc()->setCurrentIndex(1);
    QCOMPARE(m_host->PatternSource(), TPatternSource::psMainRAM);
    QCOMPARE(strip->viewport()->grab().toImage().pixelColor(pixel), QColor(0, 0, 255));
  }

  // The view window's patterns follow the source through the main window (ViewWindowTest).
  void sourceChangeByTheUserTellsTheMainWindow() {
    m_page->cbPatternSrc()->setCurrentIndex(1);
    QCOMPARE(m_host->PatternsChangedCalls, 1);
    // Showing the page sets the list to the host's source without telling anyone.
    m_host->SetPatternSource(TPatternSource::psVideoRAM);
    m_page->PageShow();
    QCOMPARE(m_page->cbPatternSrc()->currentIndex(), 0);
    QCOMPARE(m_host->PatternsChangedCalls, 1);
  }

  void enterOnMainRAMPatternsOpensMainRAM() {
    m_page->cbPatternSrc()->setCurrentIndex(1);
    TCellStrip* strip = m_page->dgPatterns();
    strip->setFocus();
    strip->SelectColumn(5);
    QTest::keyClick(strip, Qt::Key_Return);
    QCOMPARE(m_host->pcVDPChangingCalls, 1);
    QCOMPARE(m_host->ShowMainCPURAMCalls, 1);
    QVERIFY(m_host->PagesShown.empty());
    const TQuorHexEditorEx& editor = *m_host->HexEditor(THexPageId::hpMainRAM);
    QCOMPARE(editor.Row(), GridRowOfByte(5 * 32, editor.BytesPerRow()));
    QCOMPARE(editor.Col(), GridHexColumn(5 * 32, editor.BytesPerRow()));
  }

  void enterOnSpritesOpensVideoRAM() {
    VDP().SetReg(5, 0x7E);
    TCellStrip* strip = m_page->dgSprites();
    strip->SelectColumn(2);
    QTest::mouseDClick(strip->viewport(), Qt::LeftButton, {}, strip->CellRect(2).center());
    // The double click itself, then the page change to "Video RAM".
    QCOMPARE(m_host->pcVDPChangingCalls, 2);
    QCOMPARE(m_host->PagesShown, std::vector<TVDPPageId>{TVDPPageId::vpVideoRAM});
    const TQuorHexEditorEx& editor = *m_host->HexEditor(THexPageId::hpVideoRAM);
    const int64_t entry2 = 0xFC00 + 2 * 8;  // register 5 = $7E: sprite table at $FC00
    QCOMPARE(editor.Row(), GridRowOfByte(entry2, editor.BytesPerRow()));
    QCOMPARE(editor.Col(), GridHexColumn(entry2, editor.BytesPerRow()));
    QTest::mouseDClick(strip->viewport(), Qt::LeftButton, {}, QPoint(5, 5));  // header row
    QCOMPARE(m_host->pcVDPChangingCalls, 2);
  }

  void typedHPosGoesIntoTheSpriteBeingLeft() {
    QLineEdit* hpos = m_page->lbledSpriteHPos();
    hpos->setFocus();
    hpos->selectAll();
    QTest::keyClicks(hpos, "123");
    m_page->dgSprites()->SelectColumn(3);
    QCOMPARE(VDP().GetSprite(0).X, uint16_t(123));
    QCOMPARE(VDP().GetSprite(3).X, uint16_t(0));
    QCOMPARE(hpos->text(), QString("0"));
    QVERIFY(m_host->Document().Modified());
  }

  void attributeControlsMapToTheEntry() {
    TSpriteEntry entry;
    entry.Y = 200;
    entry.Size = 0x0E;  // 4 wide, 3 high
    entry.Link = 7;
    entry.Attr = 0xC000 | 0x0800 | 300;  // priority, line 2, HFlip, pattern 300
    entry.X = 260;
    VDP().SetSprite(1, entry);
    m_page->dgSprites()->SelectColumn(1);
    QCOMPARE(m_page->lbledSpriteVPos()->text(), QString("200"));
    QCOMPARE(m_page->cbSpriteSize()->currentText(), QString("4x3"));
    QCOMPARE(m_page->lbledSpriteLink()->text(), QString("7"));
    QVERIFY(m_page->chkSpritePriority()->isChecked());
    QCOMPARE(m_page->cbSpritePal()->currentIndex(), 2);
    QVERIFY(m_page->chkSpriteHF()->isChecked());
    QVERIFY(!m_page->chkSpriteVF()->isChecked());
    QCOMPARE(m_page->lbledSpritePattern()->text(), QString("300"));
    QCOMPARE(m_page->lbledSpriteHPos()->text(), QString("260"));
    QCOMPARE(m_host->ModifiedCalls, 0);

    QTest::mouseClick(m_page->chkSpriteVF(), Qt::LeftButton);
    QCOMPARE(VDP().GetSprite(1).Attr, uint16_t(0xC000 | 0x1800 | 300));
    QCOMPARE(m_host->ModifiedCalls, 1);
  }

  void textThatIsNoNumberOrNoPatternKeepsTheOldValue() {
    TSpriteEntry entry;
    entry.Attr = 0x2000 | 55;
    entry.X = 9;
    VDP().SetSprite(0, entry);
    m_page->PageShow();
    m_page->lbledSpriteHPos()->setText("abc");
    m_page->lbledSpritePattern()->setText("4095");  // would set HFlip and palette bits
    m_page->SpriteAttributeChange();
    QCOMPARE(VDP().GetSprite(0).X, uint16_t(9));
    QCOMPARE(VDP().GetSprite(0).Attr, uint16_t(0x2000 | 55));
    QCOMPARE(m_page->lbledSpritePattern()->text(), QString("55"));
    QCOMPARE(m_host->ModifiedCalls, 0);
    m_page->lbledSpritePattern()->setText("$7FF");
    m_page->SpriteAttributeChange();
    QCOMPARE(VDP().GetSprite(0).Attr, uint16_t(0x2000 | 0x7FF));
  }

  void linkLabelSelectsTheLinkedSpriteOrBeeps() {
    QLineEdit* link = m_page->lbledSpriteLink();
    link->setText("5");
    QTest::mouseClick(m_page->LinkDataLabel(), Qt::RightButton);
    QCOMPARE(m_page->dgSprites()->CurrentColumn(), 0);
    QTest::mouseClick(m_page->LinkDataLabel(), Qt::LeftButton);
    QCOMPARE(m_page->dgSprites()->CurrentColumn(), 5);
    QCOMPARE(VDP().GetSprite(0).Link, uint8_t(5));  // the typed link went into sprite 0
    QVERIFY(m_page->dgSprites()->hasFocus());

    // H32: 64 sprites; link 100 names a column that does not exist.
    link->setText("100");
    QTest::mouseClick(m_page->LinkDataLabel(), Qt::LeftButton);
    QCOMPARE(m_host->ScriptedDialogs.Beeps, 1);
    QCOMPARE(m_page->dgSprites()->CurrentColumn(), 5);
  }

  void firstPatternLabelScrollsThePatternStrip() {
    TCellStrip* strip = m_page->dgPatterns();
    m_page->lbledSpritePattern()->setText("700");
    QTest::mouseClick(m_page->FirstPatternLabel(), Qt::LeftButton);
    QCOMPARE(strip->CurrentColumn(), 700);
    QCOMPARE(strip->LeftColumn(), 700);
    QVERIFY(strip->hasFocus());
    m_page->lbledSpritePattern()->setText("2047");
    QTest::mouseClick(m_page->FirstPatternLabel(), Qt::LeftButton);
    QCOMPARE(strip->CurrentColumn(), 2047);
    QCOMPARE(strip->LeftColumn(), 2048 - strip->VisibleColumnCount());
  }

  void zoomX1MakesSpriteCells32PixelsWideAndTheRowFollows() {
    TCellStrip* sprites = m_page->dgSprites();
    QCOMPARE(sprites->CellWidth(), 128);
    QApplication::processEvents();
    const int rowTop = m_page->lbledSpriteHPos()->mapTo(m_page, QPoint(0, 0)).y();
    ChooseMenuItem(sprites, "x1");
    QCOMPARE(sprites->Zoom(), 1);
    QCOMPARE(sprites->CellWidth(), 32);
    QCOMPARE(m_page->dgPatterns()->Zoom(), 8);
    QApplication::processEvents();
    const int newTop = m_page->lbledSpriteHPos()->mapTo(m_page, QPoint(0, 0)).y();
    QCOMPARE(rowTop - newTop, 96);
    QVERIFY(newTop > sprites->mapTo(m_page, QPoint(0, sprites->height())).y());
  }

  void zoomMenuChecksTheFocusedStripsZoom() {
    ChooseMenuItem(m_page->dgPatterns(), "x2");
    QCOMPARE(m_page->dgPatterns()->CellWidth(), 16);
    m_page->dgPatterns()->setFocus();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 30), QPoint(5, 30));
    QApplication::sendEvent(m_page->dgPatterns()->viewport(), &event);
    QMenu* zoom = m_page->pmPatSpr()->findChild<QAction*>("pmiPatSprZoom")->menu();
    for (QAction* item : zoom->actions())
      QCOMPARE(item->isChecked(), item->text() == "x2");
    m_page->pmPatSpr()->close();
  }

  // Pictures load into patterns: the item is there for the pattern strip only.
  void loadFromBitmapIsForThePatternStrip() {
    QAction* load = m_page->pmPatSpr()->findChild<QAction*>("pmiPatSprLoad");
    QCOMPARE(load->text(), QString("&Load from Bitmap..."));
    for (TCellStrip* strip : {m_page->dgSprites(), m_page->dgPatterns()}) {
      strip->setFocus();
      QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 30), QPoint(5, 30));
      QApplication::sendEvent(strip->viewport(), &event);
      QCOMPARE(load->isEnabled(), strip == m_page->dgPatterns());
      m_page->pmPatSpr()->close();
    }
  }

  void spriteSheetOfH32Is512By128() {
    const QByteArray bmp = SaveSheet(m_page->dgSprites(), "sprites.bmp");
    QCOMPARE(bmp.left(2), QByteArray("BM"));
    QCOMPARE(ReadBmpLong(bmp, 18), 512);
    QCOMPARE(std::abs(ReadBmpLong(bmp, 22)), 128);
    QCOMPARE(ReadBmpWord(bmp, 28), uint16_t(8));
    QCOMPARE(m_host->FileDialogs().sdlgBmp.Filter,
             QString("Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*"));
    ShowWithRegister12(kH40);
    const QByteArray wide = SaveSheet(m_page->dgSprites(), "sprites40.bmp");
    QCOMPARE(ReadBmpLong(wide, 18), 512);
    QCOMPARE(std::abs(ReadBmpLong(wide, 22)), 32 * VDP().GetMetric(mkSpriteCount) / 16);
  }

  void patternSheetIsFourBit512By256EvenWithTallCells() {
    for (uint8_t reg12 : {uint8_t(0), kInterlace2}) {
      ShowWithRegister12(reg12);
      const QByteArray bmp = SaveSheet(m_page->dgPatterns(), "patterns.bmp");
      QCOMPARE(ReadBmpLong(bmp, 18), 512);
      QCOMPARE(std::abs(ReadBmpLong(bmp, 22)), 256);
      QCOMPARE(ReadBmpWord(bmp, 28), uint16_t(4));
    }
  }

  void pngNameWritesPng() {
    const QByteArray png = SaveSheet(m_page->dgSprites(), "sprites.png");
    QCOMPARE(png.mid(1, 3), QByteArray("PNG"));
    QImage image;
    QVERIFY(image.loadFromData(png));
    QCOMPARE(image.size(), QSize(512, 128));
  }

  void spriteCellsDrawTheSpriteOverTheBackground() {
    VDP().SetReg(7, 0x03);  // background: entry 3
    VDP().SetColor(3, 0x00E0);
    VDP().SetColor(1, 0x000E);
    VDP().SetReg(5, 0x7C);  // sprite table at $F800
    m_page->PageShow();
    TSpriteEntry entry;
    entry.Attr = 1;  // pattern 1
    VDP().SetSprite(0, entry);
    VDP().VRAMData()[32] = 0x11;  // pattern 1, first row, pixels 0 and 1
    TCellStrip* strip = m_page->dgSprites();
    const QImage picture = strip->viewport()->grab().toImage();
    const QPoint origin = strip->CellRect(0).topLeft();
    QCOMPARE(picture.pixelColor(origin + QPoint(5, 2)), QColor(255, 0, 0));
    QCOMPARE(picture.pixelColor(origin + QPoint(5, 20)), QColor(0, 255, 0));
    strip->setFocus();
    QTest::keyClick(strip, Qt::Key_Right);
    strip->grab();
    QCOMPARE(m_host->Status(), QString("Sprite 1, Address $F808"));
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::PatternsSpritesPageTest)
#include "PatternsSpritesPageTest.moc"
