// The console's sprite and table rules as the main window's pages and the view window show
// them, on a small savestate the test writes: H40, sprites at $F800 (register 5 = $7D, whose
// bit 0 H40 ignores), the window table at $A000 (register 3 = $2A), and 21 one-cell sprites
// side by side on the screen's top line, of which the console draws 20.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "AppTestKit.h"
#include "app/PageControl.h"
#include "hexedit/HexGridLayout.h"
#include "hexedit/QuorHexEditorEx.h"
#include "panels/CellStrip.h"
#include "panels/PatternsSpritesPage.h"
#include "panels/ScreenPage.h"
#include "view/VantorView.h"

namespace vantor::test {

namespace {

// Where the built-in layout keeps the VDP in a Genecyst savestate.
constexpr int kRegisters = 0xFA;
constexpr int kCRAM = 0x112;
constexpr int kVRAM = 0x12478;

constexpr uint32_t kBackdrop = 0x01;     // CRAM entry 1
constexpr uint32_t kSpritePixel = 0x13;  // pattern 1 (colour 3) in palette line 1
constexpr int kTwentyFirstX = 160;       // where the 21st sprite would show

void putWord(QByteArray& state, int at, uint16_t word) {
  state[at] = char(word >> 8);
  state[at + 1] = char(word & 0xFF);
}

QByteArray consoleScene() {
  QByteArray state(140408, '\0');
  state.replace(0, 3, "GST");
  const std::pair<int, uint8_t> registers[] = {{1, 0x44},  {2, 0x30},  {3, 0x2A},
                                               {4, 0x07},  {5, 0x7D},  {7, 0x01},
                                               {12, 0x81}, {13, 0x3F}, {16, 0x01}};
  for (const auto& [reg, value] : registers)
    state[kRegisters + reg] = char(value);
  state[kCRAM + 2] = 0x0E;  // entry 1 red, stored least significant byte first
  state.replace(kVRAM + 0x20, 32, QByteArray(32, '\x33'));  // pattern 1: colour 3
  for (int i = 0; i < 21; ++i) {
    const int entry = kVRAM + 0xF800 + 8 * i;
    putWord(state, entry, 128);
    state[entry + 3] = char(i < 20 ? i + 1 : 0);
    putWord(state, entry + 4, 0x2001);
    putWord(state, entry + 6, uint16_t(128 + 8 * i));
  }
  putWord(state, kVRAM + 0xF800 + 50 * 8, 0x0290);  // sprite 50: Y word 0x0290
  return state;
}

template <typename T>
T* control(TfrmMain& window, const char* name) {
  T* w = window.findChild<T*>(name);
  if (!w) qFatal("no control %s", name);
  return w;
}

void clickBox(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

}  // namespace

class ConsoleRulesTest : public QObject {
  Q_OBJECT

 private:
  TWindowKit m_kit;

  TfrmMain& openScene() {
    TfrmMain& window = m_kit.Start();
    m_kit.ShowActive();
    m_kit.WriteFile("scene.gs0", consoleScene());
    window.RunCommand([&] { window.OpenSavestate(m_kit.Path("scene.gs0")); });
    return window;
  }

 private slots:
  void cleanup() { m_kit.Window.reset(); }

  // The screen follows the limits until "All sprites" is checked; the entire virtual screen
  // draws every sprite until it is cleared there; each keeps its own choice.
  void screenPageAllSprites() {
    TfrmMain& window = openScene();
    window.ShowVDPPage(TVDPPageId::vpScreen);
    auto* page = window.findChild<TScreenPage*>();
    auto* all = control<QCheckBox>(window, "chkScrnAllSprites");
    auto* virtualScreen = control<QCheckBox>(window, "chkScrnShowVirtual");
    QCOMPARE(all->text(), QStringLiteral("&All sprites"));
    QVERIFY(!all->isChecked());
    QCOMPARE(page->ScreenBitmap().Pixel(kTwentyFirstX - 8, 0), kSpritePixel);
    QCOMPARE(page->ScreenBitmap().Pixel(kTwentyFirstX, 0), kBackdrop);
    clickBox(all);
    QCOMPARE(page->ScreenBitmap().Pixel(kTwentyFirstX, 0), kSpritePixel);
    clickBox(all);

    clickBox(virtualScreen);
    QVERIFY(all->isChecked());
    QCOMPARE(page->ScreenBitmap().Pixel(128 + kTwentyFirstX, 128), kSpritePixel);
    clickBox(all);  // the limits asked for on the virtual screen
    QCOMPARE(page->ScreenBitmap().Pixel(128 + kTwentyFirstX, 128), kBackdrop);
    clickBox(virtualScreen);
    QVERIFY(!all->isChecked());
    clickBox(virtualScreen);
    QVERIFY(!all->isChecked());
  }

  void viewWindowAllSprites() {
    TfrmMain& window = openScene();
    TfrmView view(&window);
    window.AttachViewWindow(&view);
    window.ViewMenuItem(vmiScreen)->trigger();
    QCOMPARE(view.ViewBitmap().Pixel(kTwentyFirstX, 0), kBackdrop);
    const int builds = view.BuildCount();
    view.pmiAllSprites()->trigger();
    QCOMPARE(view.BuildCount(), builds + 1);
    QCOMPARE(view.ViewBitmap().Pixel(kTwentyFirstX, 0), kSpritePixel);
    // A load rebuilds the screen with the choice kept.
    window.RunCommand([&] { window.OpenSavestate(m_kit.Path("scene.gs0")); });
    QCOMPARE(view.ViewBitmap().Pixel(kTwentyFirstX, 0), kSpritePixel);
    window.AttachViewWindow(nullptr);
  }

  // 80 entries from $F800, nine-bit Y; Enter and edits reach the entry where the VDP reads it.
  void spriteBrowserOffersTheTableAsTheVDPReadsIt() {
    TfrmMain& window = openScene();
    window.ShowVDPPage(TVDPPageId::vpPatterns);
    auto* page = window.findChild<TPatternsSpritesPage*>();
    TCellStrip* strip = page->dgSprites();
    QCOMPARE(strip->ColumnCount(), 80);
    strip->setFocus();
    strip->SelectColumn(50);
    QCOMPARE(page->lbledSpriteVPos()->text(), QStringLiteral("144"));
    strip->SelectColumn(79);
    strip->grab();
    QCOMPARE(window.StatusText(), QStringLiteral("Sprite 79, Address $FA78"));

    QLineEdit* hpos = page->lbledSpriteHPos();
    hpos->setFocus();
    hpos->selectAll();
    QTest::keyClicks(hpos, "300");
    strip->setFocus();
    QTest::keyClick(strip, Qt::Key_Return);  // leaves the page: the model goes into the image
    QCOMPARE(window.CurrentVDPPage(), TVDPPageId::vpVideoRAM);
    const TQuorHexEditorEx* editor = window.HexEditor(THexPageId::hpVideoRAM);
    QCOMPARE(editor->Row(), GridRowOfByte(0xFA78, editor->BytesPerRow()));
    QCOMPARE(editor->Col(), GridHexColumn(0xFA78, editor->BytesPerRow()));
    const uint8_t* image = window.Document().Image().Data();
    QCOMPARE(int(image[kVRAM + 0xFA7E] << 8 | image[kVRAM + 0xFA7F]), 300);

    // H32: 64 entries from $FA00, register 5 bit 0 counts again.
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    clickBox(control<QCheckBox>(window, "chkH40Cell"));
    window.ShowVDPPage(TVDPPageId::vpPatterns);
    QCOMPARE(strip->ColumnCount(), 64);
    strip->setFocus();
    strip->grab();
    QCOMPARE(window.StatusText(), QStringLiteral("Sprite 63, Address $FBF8"));
  }

  void decodedPageShowsTheTablesTheVDPUses() {
    TfrmMain& window = openScene();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    auto* note = control<QLabel>(window, "lblIgnoredBits");
    QCOMPARE(control<QLineEdit>(window, "lbledSAT")->text(), QStringLiteral("$F800"));
    QCOMPARE(control<QLineEdit>(window, "lbledPNTWindow")->text(), QStringLiteral("$A000"));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("H40 ignores register 5 bit 0 (sprite table at $F800, "
                                          "not $FA00) and register 3 bit 1 (window table at "
                                          "$A000, not $A800)."));
    clickBox(control<QCheckBox>(window, "chkH40Cell"));
    QCOMPARE(control<QLineEdit>(window, "lbledSAT")->text(), QStringLiteral("$FA00"));
    QCOMPARE(control<QLineEdit>(window, "lbledPNTWindow")->text(), QStringLiteral("$A800"));
    QVERIFY(!note->isVisible());
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::ConsoleRulesTest)
#include "ConsoleRulesTest.moc"
