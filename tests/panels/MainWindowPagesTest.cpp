// The "Registers decoded" and "Screen" pages inside the real main window.
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include "app/AppTestKit.h"
#include "app/PageControl.h"
#include "app/RegisterGrid.h"
#include "app/RegisterGridSet.h"
#include "hexedit/QuorHexEditorEx.h"
#include "panels/DecodedRegistersPage.h"
#include "panels/LinkLabel.h"
#include "panels/ScreenPage.h"
#include "vdp/MegaDriveVDP.h"

using namespace vantor;
using vantor::test::TWindowKit;

namespace {

constexpr int kHexColumn = 1;
constexpr int kFirstRegisterOffset = 0xFA;  // Reg00 of the built-in layout

template <typename T>
T* control(TfrmMain& window, const char* name) {
  T* w = window.findChild<T*>(name);
  if (!w) qFatal("no control %s", name);
  return w;
}

void clickLink(TfrmMain& window, const char* editName) {
  auto* label = control<TLinkLabel>(window, (QString(editName) + "Label").toLatin1().constData());
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
}

QString fixture(const char* name) {
  return vantor::test::FixturePath("emulator-h40/") + QString::fromLatin1(name);
}

}  // namespace

class MainWindowPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void leavingTheDecodedPageShowsTheRegistersInTheGrid() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    auto* h40 = control<QCheckBox>(window, "chkH40Cell");
    QTest::mouseClick(h40, Qt::LeftButton, {}, QPoint(6, h40->height() / 2));
    QCOMPARE(window.VDP().GetReg(12), uint8_t(0x81));
    QVERIFY(window.windowTitle().endsWith("*"));

    window.pcVDP()->setCurrentIndex(int(TVDPPageId::vpRegisters));
    QCOMPARE(window.Grid(TGridId::sgVDPRegs)->Cell(kHexColumn, 13), QStringLiteral("$81"));
  }

  void anEditThenAnImmediateSaveStoresTheValue() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    auto* autoInc = control<QLineEdit>(window, "lbledAutoInc");
    autoInc->setFocus(Qt::MouseFocusReason);
    autoInc->selectAll();
    QTest::keyClicks(autoInc, "$22");

    kit.Dialogs->FileAnswers.push_back(kit.Path("saved.gs0"));
    window.SaveSavestateAs();
    QFile saved(kit.Path("saved.gs0"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(uint8_t(saved.readAll().at(kFirstRegisterOffset + 15)), uint8_t(0x22));
    QCOMPARE(autoInc->text(), QStringLiteral("34"));
  }

  // A value typed into a box of the decoded or the sprite page and not yet taken is a change
  // the close query asks about, and a save stores it.
  void aValueTypedInABoxCountsForTheCloseQuery() {
    const std::pair<TVDPPageId, const char*> boxes[] = {
        {TVDPPageId::vpDecoded, "lbledHIRQTiming"}, {TVDPPageId::vpPatterns, "lbledSpriteHPos"}};
    for (const auto& [page, name] : boxes) {
      TWindowKit kit;
      TfrmMain& window = kit.Start();
      kit.ShowActive();
      window.ShowVDPPage(page);
      auto* edit = control<QLineEdit>(window, name);
      edit->setFocus(Qt::MouseFocusReason);
      edit->selectAll();
      QTest::keyClicks(edit, "77");
      QVERIFY(!window.Document().Modified());

      kit.Dialogs->MessageAnswers = {mbYes};
      kit.Dialogs->FileAnswers = {kit.Path("saved.gs0")};
      QVERIFY(window.CloseQuery());
      QCOMPARE(kit.Dialogs->Messages.size(), std::size_t(1));
      QCOMPARE(kit.Dialogs->Messages[0].Text, QStringLiteral("Save changes?"));
      QVERIFY(!window.Document().Modified());
      const QByteArray saved = vantor::test::readAll(kit.Path("saved.gs0"));
      QVERIFY(!saved.isEmpty());
      if (page == TVDPPageId::vpDecoded) {
        QCOMPARE(uint8_t(saved.at(kFirstRegisterOffset + 10)), uint8_t(77));
      } else {
        QCOMPARE(window.VDP().GetSprite(0).X, uint16_t(77));
      }
    }
  }

  // The pages go before the model when the window closes; an edit still being typed in must
  // not reach a model that is gone.
  void closingWithAnEditOpen() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    auto* edit = control<QLineEdit>(window, "lbledHIRQTiming");
    edit->setFocus(Qt::MouseFocusReason);
    QTest::keyClicks(edit, "7");
    kit.Window.reset();
  }

  // "Ignore &H Scrolling" and "Ignore &V Scrolling" share their keys with "&Help" and "&View":
  // the page's boxes answer while the page shows, the menus everywhere else.
  void accessKeysOfTheScreenPage() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpScreen);
    auto* page = window.findChild<TScreenPage*>();
    QSignalSpy rendered(page, &TScreenPage::pictureRendered);
    for (Qt::Key key : {Qt::Key_H, Qt::Key_V, Qt::Key_E, Qt::Key_S})
      QTest::keyClick(&window, key, Qt::AltModifier);
    // The entire virtual screen (Alt+E) draws every sprite: "All sprites" is checked there.
    QCOMPARE(page->ScreenOptions(),
             uint16_t(0x01FF | 0x0200 | 0x0400 | 0x1000 | 0x0800 | kRenderAllSprites));
    QCOMPARE(rendered.count(), 4);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);

    window.pcVDP()->setCurrentIndex(int(TVDPPageId::vpRegisters));
    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&View"));
    menu->close();
    QCOMPARE(page->ScreenOptions() & 0x0400, 0x0400);
  }

  void linksOpenTheHexEditorsOnTheByte() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    // Set in the model the page shows: the page change reloads it from the image first.
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    window.VDP().SetReg(2, 0x30);  // Scroll A at $C000
    window.VDP().SetReg(21, 0x00);
    window.VDP().SetReg(22, 0xC0);
    window.VDP().SetReg(23, 0x7F);  // DMA source $FF8000
    window.findChild<TDecodedRegistersPage*>()->PageShow();

    clickLink(window, "lbledPNTScrollA");
    QCOMPARE(window.pcVDP()->currentIndex(), int(TVDPPageId::vpVideoRAM));
    TQuorHexEditorEx* vram = window.HexEditor(THexPageId::hpVideoRAM);
    QCOMPARE(vram->Model().CursorPos(), 0xC000);
    QCOMPARE(vram->TopRow(), 0xC000 / vram->BytesPerRow() + 2);
    QVERIFY(vram->hasFocus());

    window.pcVDP()->setCurrentIndex(int(TVDPPageId::vpDecoded));
    clickLink(window, "lbledDMASrc");
    QCOMPARE(window.pcMain()->currentIndex(), int(TMainPageId::mpMainCPU));
    QCOMPARE(window.pcMainCPU()->currentIndex(), 1);
    TQuorHexEditorEx* ram = window.HexEditor(THexPageId::hpMainRAM);
    QCOMPARE(ram->Model().CursorPos(), 0x8000);
    QCOMPARE(ram->TopRow(), 0x8000 / ram->BytesPerRow() + 2);
    QVERIFY(ram->hasFocus());
    QCOMPARE(kit.Dialogs->Beeps, 0);
  }

  void theScreenFollowsALoadOnlyWhenSeen() {
    TWindowKit kit;
    QFile layout(fixture("layout.ini"));
    QVERIFY2(layout.open(QIODevice::ReadOnly), qPrintable(layout.fileName()));
    kit.WriteLayout(layout.readAll());
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpScreen);
    auto* page = window.findChild<TScreenPage*>();
    QVERIFY(page);
    QCOMPARE(page->ScreenBitmap().Width(), 256);  // the blank document is H32

    // Selected but out of sight: nothing renders until the VDP page is in front again.
    window.ShowMainPage(TMainPageId::mpMainCPU);
    QSignalSpy rendered(page, &TScreenPage::pictureRendered);
    window.OpenSavestate(fixture("state.gs0"));
    QVERIFY(kit.Dialogs->Messages.empty());
    QCOMPARE(rendered.count(), 0);
    window.ShowMainPage(TMainPageId::mpVDP);
    QTest::qWait(20);
    QCOMPARE(rendered.count(), 1);
    QCOMPARE(page->ScreenBitmap().Width(), 320);
    QCOMPARE(page->ScreenBitmap().Height(), 224);

    // In sight: a load renders at once.
    window.OpenSavestate(fixture("state.gs0"));
    QCOMPARE(rendered.count(), 2);
  }
};

QTEST_MAIN(MainWindowPagesTest)
#include "MainWindowPagesTest.moc"
