// No edit lost, no stale picture: edits of the VDP model reach the file whatever page is in
// front, a savestate shorter than its layout leaves nothing of the previous file behind, the
// horizontal scroll grid follows register 13, and the View menu draws the current image.
#include <QCheckBox>
#include <QTabBar>
#include <QTest>

#include "AppTestKit.h"
#include "app/HexPage.h"
#include "app/PageControl.h"
#include "app/RegisterGridSet.h"
#include "hexedit/QuorHexEditorEx.h"
#include "vdp/MegaDriveVDP.h"
#include "view/VantorView.h"

namespace vantor::test {

namespace {

// Where the built-in layout keeps things.
constexpr int kStateSize = 140408;
constexpr int kRegisters = 0xFA;  // VDP register 0; one byte each
constexpr int kColorRAM = 0x112;
constexpr int kMainRAM = 0x2478;
constexpr int kVideoRAM = 0x12478;

// A savestate of the built-in layout: "GST", then zeros.
QByteArray blankState() {
  QByteArray state(kStateSize, '\0');
  state.replace(0, 3, "GST");
  return state;
}

void setRegister(QByteArray& state, int reg, uint8_t value) {
  state[kRegisters + reg] = char(value);
}

// A big-endian word, as Video RAM and Colour RAM hold them.
void putWord(QByteArray& state, int offset, uint16_t word) {
  state[offset] = char(word >> 8);
  state[offset + 1] = char(word & 0xFF);
}

uint16_t wordAt(const QByteArray& bytes, int offset) {
  return uint16_t(uint8_t(bytes.at(offset)) << 8 | uint8_t(bytes.at(offset + 1)));
}

// A click on a tab, as the user changes pages.
void clickTab(TPageControl* pages, int index) {
  QTabBar* bar = pages->tabBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
  QCOMPARE(pages->currentIndex(), index);
}

uint32_t viewPixel(const TfrmView& view, int x = 0, int y = 0) {
  return view.ViewBitmap().Pixel(x, y);
}

}  // namespace

class ImageSyncTest : public QObject {
  Q_OBJECT

 private slots:
  void modelEditsReachTheFileWhateverPageIsInFront() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    const QString path = kit.Path("state.gs0");
    kit.WriteFile("state.gs0", blankState());
    window.RunCommand([&] { window.OpenSavestate(path); });

    // "Shadow / Highlight enabled" ticked, the "Main CPU (MC68000)" tab clicked, Ctrl+S.
    clickTab(window.pcMain(), int(TMainPageId::mpVDP));
    clickTab(window.pcVDP(), int(TVDPPageId::vpDecoded));
    auto* shadow = window.findChild<QCheckBox*>(QStringLiteral("chkShdwHilite"));
    QVERIFY(shadow);
    QTest::mouseClick(shadow, Qt::LeftButton);
    QVERIFY(shadow->isChecked());
    clickTab(window.pcMain(), int(TMainPageId::mpMainCPU));
    QVERIFY(window.windowTitle().endsWith(QLatin1Char('*')));
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + path);
    QCOMPARE(uint8_t(readAll(path).at(kRegisters + 12)), uint8_t(0x08));
    // Nothing is left over to reach the image later without a "*".
    clickTab(window.pcMain(), int(TMainPageId::mpVDP));
    clickTab(window.pcVDP(), int(TVDPPageId::vpRegisters));
    QVERIFY(!window.Document().Modified());
    QVERIFY(QByteArray(reinterpret_cast<const char*>(window.Document().Image().Data()),
                       qsizetype(window.Document().Image().Size())) == readAll(path));

    // A sprite position typed on "Patterns && Sprites", another main page, then closing:
    // "Save changes?" Yes writes it.
    clickTab(window.pcVDP(), int(TVDPPageId::vpPatterns));
    auto* hpos = window.findChild<QLineEdit*>(QStringLiteral("lbledSpriteHPos"));
    QVERIFY(hpos);
    hpos->setFocus();
    hpos->selectAll();
    QTest::keyClicks(hpos, QStringLiteral("77"));
    clickTab(window.pcMain(), int(TMainPageId::mpSubCPU));
    kit.Dialogs->Messages.clear();
    kit.Dialogs->MessageAnswers = {mbYes};
    QVERIFY(window.close());
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Save changes?"));
    // Sprite 0 of the table at Video RAM 0: its X is the entry's last word.
    QCOMPARE(wordAt(readAll(path), kVideoRAM + 6), uint16_t(77));
    QCOMPARE(uint8_t(readAll(path).at(kRegisters + 12)), uint8_t(0x08));
  }

  void aShortSavestateLeavesNothingOfThePreviousFile_data() {
    QTest::addColumn<bool>("viewShown");
    QTest::newRow("Main CPU RAM in front") << false;
    QTest::newRow("VDP registers in front, view window shown") << true;
  }

  void aShortSavestateLeavesNothingOfThePreviousFile() {
    QFETCH(bool, viewShown);
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    TfrmView view(&window);
    window.AttachViewWindow(&view);
    kit.ShowActive();

    QByteArray full = blankState();
    full.replace(kMainRAM, 65536, QByteArray(65536, char(0xA5)));
    setRegister(full, 1, 0x44);
    setRegister(full, 7, 0x21);
    setRegister(full, 13, 0x3F);
    putWord(full, kVideoRAM + 0xFC00, 0x1234);  // the first horizontal scroll word
    kit.WriteFile("full.gs0", full);
    QByteArray cut = blankState();
    cut.replace(kMainRAM, 65536, QByteArray(65536, char(0x5A)));
    setRegister(cut, 1, 0x64);
    setRegister(cut, 7, 0x05);
    cut.truncate(20000);  // Video RAM and most of main CPU RAM lie past the end
    kit.WriteFile("cut.gs0", cut);

    window.RunCommand([&] { window.OpenSavestate(kit.Path("full.gs0")); });
    TRegisterGrid* registers = window.Grid(TGridId::sgVDPRegs);
    if (viewShown) {
      window.ShowVDPPage(TVDPPageId::vpRegisters);
      QTest::keyClick(&window, Qt::Key_F7);
      QVERIFY(view.isVisible());
      QCOMPARE(viewPixel(view), 0x21u);  // the sprite picture's backdrop
      // Reg01's cell stands open in its editor while the next file loads.
      kit.ShowActive();
      registers->setFocus();
      registers->SelectCell(kHex, 2);
      QVERIFY(registers->Editor());
      QCOMPARE(registers->Editor()->text(), QStringLiteral("$44"));
    } else {
      window.ShowMainCPURAM();
    }
    THexPage* mainRAM = window.HexPage(THexPageId::hpMainRAM);
    QCOMPARE(mainRAM->Bytes()[0], uint8_t(0xA5));
    QCOMPARE(window.Grid(TGridId::sgHSRAM)->Cell(kHex, 1), QStringLiteral("$1234"));

    kit.Dialogs->Messages.clear();
    window.RunCommand([&] { window.OpenSavestate(kit.Path("cut.gs0")); });
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Stream read error"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Palavex - ") + kit.Path("cut.gs0"));

    // Every holder shows the new file; what lies past its end is empty or zero.
    const int ramRead = 20000 - kMainRAM;
    QCOMPARE(mainRAM->Bytes()[0], uint8_t(0x5A));
    QCOMPARE(mainRAM->Bytes()[std::size_t(ramRead - 1)], uint8_t(0x5A));
    QCOMPARE(mainRAM->Bytes()[std::size_t(ramRead)], uint8_t(0));
    QCOMPARE(window.HexPage(THexPageId::hpVideoRAM)->Bytes()[0xFC00], uint8_t(0));
    QCOMPARE(registers->Cell(kHex, 2), QStringLiteral("$64"));
    QCOMPARE(registers->Cell(kHex, 14), QStringLiteral("$00"));
    TRegisterGrid* hscroll = window.Grid(TGridId::sgHSRAM);
    QCOMPARE(hscroll->Cell(kHex, 1), QString());
    QCOMPARE(hscroll->Cell(kDec, 480), QString());
    QCOMPARE(window.VDP().GetReg(13), uint8_t(0));
    QCOMPARE(window.VDP().VRAMData()[0xFC01], uint8_t(0));
    if (viewShown) {
      QCOMPARE(viewPixel(view), 0x05u);
      QVERIFY(registers->Editor());
      QCOMPARE(registers->Editor()->text(), QStringLiteral("$64"));
    }

    // Saved as it is, the file holds exactly what was read from it.
    QTest::keyClick(&window, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
    QVERIFY(readAll(kit.Path("cut.gs0")) == cut);
  }

  void theHScrollGridShowsAndEditsTheTableOfRegister13() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    QByteArray state = blankState();
    setRegister(state, 13, 0x3F);
    putWord(state, kVideoRAM + 0x3F * 1024, 0x1111);
    putWord(state, kVideoRAM + 0x3E * 1024, 0x2222);
    kit.WriteFile("state.gs0", state);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("state.gs0")); });
    TRegisterGrid* hscroll = window.Grid(TGridId::sgHSRAM);
    QCOMPARE(hscroll->Cell(kHex, 1), QStringLiteral("$1111"));

    // Register 13 from $3F to $3E in the VDP grid.
    window.ShowVDPPage(TVDPPageId::vpRegisters);
    TRegisterGrid* registers = window.Grid(TGridId::sgVDPRegs);
    typeInto(registers, kHex, 14, QStringLiteral("3E"));
    pressDown(registers);
    clickTab(window.pcVDP(), int(TVDPPageId::vpScrollRAM));
    QCOMPARE(hscroll->Cell(kHex, 1), QStringLiteral("$2222"));
    // "+" steps the word the user sees.
    typeInto(hscroll, kDec, 1, QStringLiteral("+"));
    QCOMPARE(hscroll->Cell(kHex, 1), QStringLiteral("$2223"));
    const SavestateImage& image = window.Document().Image();
    QCOMPARE(image.Data()[kVideoRAM + 0x3E * 1024 + 1], uint8_t(0x23));
    QCOMPARE(image.Data()[kVideoRAM + 0x3F * 1024 + 1], uint8_t(0x11));

    // Back to $FC00 on "Registers decoded".
    clickTab(window.pcVDP(), int(TVDPPageId::vpDecoded));
    auto* base = window.findChild<QLineEdit*>(QStringLiteral("lbledHSRAM"));
    QVERIFY(base);
    base->setFocus();
    base->selectAll();
    QTest::keyClicks(base, QStringLiteral("$FC00"));
    QTest::keyClick(base, Qt::Key_Return);
    clickTab(window.pcVDP(), int(TVDPPageId::vpScrollRAM));
    QCOMPARE(hscroll->Cell(kHex, 1), QStringLiteral("$1111"));
  }

  void theViewMenuDrawsTheCurrentImage() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    TfrmView view(&window);
    window.AttachViewWindow(&view);
    kit.ShowActive();
    // Display on, H40, plane A at $C000 (empty) or, with register 2 = $38, at $E000 whose
    // cells all show pattern 1 in colour 1; plane B at $C000 too.
    QByteArray state = blankState();
    setRegister(state, 1, 0x44);
    setRegister(state, 2, 0x30);
    setRegister(state, 4, 0x06);
    setRegister(state, 12, 0x81);
    for (int cell = 0; cell < 32 * 32; ++cell)
      putWord(state, kVideoRAM + 0xE000 + 2 * cell, 0x0001);
    state.replace(kVideoRAM + 32, 32, QByteArray(32, char(0x11)));
    putWord(state, kColorRAM + 2, 0x0EEE);
    kit.WriteFile("state.gs0", state);
    window.RunCommand([&] { window.OpenSavestate(kit.Path("state.gs0")); });

    // F5 after a grid edit of register 2 with the view window hidden.
    window.ShowVDPPage(TVDPPageId::vpRegisters);
    TRegisterGrid* registers = window.Grid(TGridId::sgVDPRegs);
    typeInto(registers, kHex, 3, QStringLiteral("38"));
    pressDown(registers);
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY(view.isVisible());
    QCOMPARE(view.ViewMode(), vmScreen);
    QCOMPARE(viewPixel(view) & 0x3F, 1u);
    view.close();

    // F6 after typing into Video RAM, the editor still holding the bytes.
    clickTab(window.pcVDP(), int(TVDPPageId::vpVideoRAM));
    TQuorHexEditorEx* editor = window.HexEditor(THexPageId::hpVideoRAM);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("ab"));
    QVERIFY(editor->hasFocus());
    QTest::keyClick(&window, Qt::Key_F6);
    QCOMPARE(view.ViewMode(), vmPatterns);
    QCOMPARE(viewPixel(view) & 0x0F, 0x0Au);
    view.close();

    // F7 after a grid edit of the backdrop colour: it shows beside sprite 0's one cell.
    clickTab(window.pcVDP(), int(TVDPPageId::vpRegisters));
    typeInto(registers, kHex, 8, QStringLiteral("5"));
    pressDown(registers);
    QTest::keyClick(&window, Qt::Key_F7);
    QCOMPARE(view.ViewMode(), vmSprites);
    QCOMPARE(viewPixel(view, 16, 16), 0x05u);
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::ImageSyncTest)
#include "ImageSyncTest.moc"
