// The main window under the keyboard, the mouse wheel and drag and drop as a user drives it:
// rules that hold for every page and every dialog of the program.
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "AppTestKit.h"
#include "app/RegisterGridSet.h"
#include "app/ScrollLock.h"
#include "hexedit/QuorHexEditorEx.h"
#include "vdp/MegaDriveVDP.h"
#include "viewwindow/VantorView.h"
#include "widgets/ColorGrid.h"
#include "widgets/LinkLabel.h"
#include "widgets/PageControl.h"

namespace vantor::test {

namespace {

template <typename T>
T* control(TfrmMain& window, const char* name) {
  T* widget = window.findChild<T*>(QLatin1String(name));
  if (!widget) qFatal("no control %s", name);
  return widget;
}

// One notch of the wheel over a widget, toward the user (scrolling down).
void wheelDown(QWidget* widget) {
  const QPointF at = QRectF(widget->rect()).center();
  QWheelEvent turn(at, widget->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &turn);
}

// The vertical scroll bar of the scrolled page a widget sits on.
QScrollBar* pageScrollBar(QWidget* widget) {
  for (QWidget* up = widget->parentWidget(); up; up = up->parentWidget()) {
    if (auto* area = qobject_cast<QAbstractScrollArea*>(up)) return area->verticalScrollBar();
  }
  return nullptr;
}

}  // namespace

class MainWindowInputTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { SetScrollLockOverride(false); }
  void cleanup() { SetScrollLockOverride(std::nullopt); }

  // Bytes dragged out of a memory editor carry a dump file, but they are no savestate.
  void bytesFromAMemoryEditorAreNoSavestateDrop() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.SetModified(true);
    const QString caption = window.windowTitle();
    TQuorHexEditorEx* vram = window.HexEditor(THexPageId::hpVideoRAM);
    vram->Select(0, 15);
    const std::unique_ptr<QMimeData> bytes(vram->NewDataObject());
    QVERIFY(bytes->hasUrls());  // the dump file other programs take

    const QPoint centre = window.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, bytes.get(), Qt::LeftButton, {});
    QApplication::sendEvent(&window, &enter);
    QVERIFY(!enter.isAccepted());
    QDropEvent drop(centre, Qt::CopyAction | Qt::MoveAction, bytes.get(), Qt::LeftButton, {});
    QApplication::sendEvent(&window, &drop);
    QTest::qWait(20);
    QVERIFY(kit.Dialogs->Messages.empty());
    QCOMPARE(window.windowTitle(), caption);
    QVERIFY(window.Document().Modified());
  }

  // Wheeling over the sprite attributes scrolls the page; the lists change only once they
  // have the focus.
  void theWheelScrollsOverControlsWithoutFocus() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpPatterns);
    QTest::qWait(20);
    auto* size = control<QComboBox>(window, "cbSpriteSize");
    // A real wheel turn hands the focus to a wheel-focus control before anything sees it.
    QVERIFY(size->focusPolicy() != Qt::WheelFocus);
    QScrollBar* scroll = pageScrollBar(size);
    QVERIFY(scroll && scroll->maximum() > 0);  // the page scrolls at the default size
    control<QComboBox>(window, "cbPalLine")->setFocus();
    const int index = size->currentIndex();
    const int top = scroll->value();
    wheelDown(size);
    QCOMPARE(size->currentIndex(), index);
    QVERIFY(scroll->value() > top);
    QVERIFY(!window.Document().Modified());

    window.ShowVDPPage(TVDPPageId::vpDecoded);
    auto* scrollSize = control<QComboBox>(window, "cbScrollSize");
    const int scrollSizeIndex = scrollSize->currentIndex();
    wheelDown(scrollSize);
    QCOMPARE(scrollSize->currentIndex(), scrollSizeIndex);
    QVERIFY(!window.Document().Modified());

    window.ShowVDPPage(TVDPPageId::vpPatterns);
    size->setFocus();
    wheelDown(size);
    QCOMPARE(size->currentIndex(), index + 1);
    QVERIFY(window.Document().Modified());
  }

  // Options > Scroll Lock does what the key does where the key cannot: "-" is typed, not a
  // step, so a negative decimal goes in. The status bar shows it.
  void theScrollLockSwitchTypesOperatorsAsText() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    auto* item = window.findChild<QAction*>(QStringLiteral("miScrollLock"));
    QVERIFY(item);
    QVERIFY(item->isCheckable() && !item->isChecked());
    auto* lamp = control<QLabel>(window, "lblScrollLock");
    QVERIFY(lamp->isVisible() && !lamp->isEnabled());

    TRegisterGrid* grid = window.Grid(TGridId::sgMainCPURegs);
    typeInto(grid, kDec, 1, QStringLiteral("+"));  // D0 steps at once
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 1);

    item->trigger();
    QVERIFY(lamp->isEnabled());
    typeInto(grid, kDec, 2, QStringLiteral("-3"));
    QCOMPARE(grid->Editor()->text(), QStringLiteral("-3"));
    pressDown(grid);
    QCOMPARE(field(window, "CPU MC68000", "Line001"), 0xFFFFFFFD);

    item->trigger();
    QVERIFY(!lamp->isEnabled());
    typeInto(grid, kDec, 1, QStringLiteral("+"));
    QCOMPARE(field(window, "CPU MC68000", "Line000"), 2);
  }

  // Message boxes and file dialogs open in front of the view window, which stays on top of the
  // program's other windows.
  void dialogsOpenInFrontOfTheViewWindow() {
    TWindowKit kit;
    TfrmMain window(kit.Where());  // the desktop's own dialogs
    TfrmView view(&window);
    window.AttachViewWindow(&view);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto onTop = [](QWidget* widget) {
      return widget->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    };
    // Runs command; answers the first modal window it opens with Escape.
    auto openedOnTop = [&](const std::function<void()>& command) {
      bool opened = false;
      bool inFront = false;
      QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        opened = modal != nullptr;
        if (!modal) return;
        inFront = onTop(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
      });
      command();
      return opened && inFront;
    };

    QVERIFY(!openedOnTop([&] { window.SaveSavestateAs(); }));  // no view window: nothing on top
    window.ViewMenuItem(vmiScreen)->trigger();
    QVERIFY(view.isVisible());
    QTest::keyClicks(&view, QStringLiteral("***"));
    QCOMPARE(view.Zoom(), 4);
    QVERIFY(openedOnTop([&] { window.SaveSavestateAs(); }));
    QVERIFY(openedOnTop([&] { view.pmiSaveBmp()->trigger(); }));
    QTRY_COMPARE(QApplication::activeWindow(), &view);  // the keys go on to the picture
    window.SetModified(true);
    QVERIFY(openedOnTop([&] { window.CloseQuery(); }));
  }

  // The "Background Color" link selects the colour in both grids of "Color RAM".
  void theBackgroundColorLinkSelectsTheSwatch() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpDecoded);
    auto* background = control<QLineEdit>(window, "lbledBgColor");
    background->setFocus();
    background->selectAll();
    QTest::keyClicks(background, QStringLiteral("$25"));  // palette line 2, colour 5
    QTest::mouseClick(control<TLinkLabel>(window, "lbledBgColorLabel"), Qt::LeftButton, {},
                      QPoint(3, 3));
    QCOMPARE(window.CurrentVDPPage(), TVDPPageId::vpColorRAM);
    QCOMPARE(window.Grid(TGridId::sgCRAM)->Row(), 1 + 0x25);
    QCOMPARE(control<TColorGrid>(window, "dgCRAM")->CurrentCell(), QPoint(5, 2));
  }

  // Alt+H, Alt+V and Alt+F belong to the page in front where it has such access keys, and to
  // the Help, View and File menus elsewhere; F10 opens the menus everywhere.
  void thePageInFrontOwnsItsAccessKeys() {
    TWindowKit kit;
    TfrmMain& window = kit.Start();
    kit.ShowActive();
    window.ShowVDPPage(TVDPPageId::vpPatterns);
    QTest::qWait(20);
    auto* hFlip = control<QCheckBox>(window, "chkSpriteHF");
    auto* vFlip = control<QCheckBox>(window, "chkSpriteVF");
    QTest::keyClick(&window, Qt::Key_H, Qt::AltModifier);
    QTest::keyClick(&window, Qt::Key_V, Qt::AltModifier);
    QVERIFY(hFlip->isChecked());
    QVERIFY(vFlip->isChecked());
    QCOMPARE(window.VDP().GetSprite(0).Attr & 0x1800, 0x1800);
    QTest::keyClick(&window, Qt::Key_F, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), control<QWidget>(window, "lbledSpritePattern"));
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    // F10 reaches the menus there.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
    auto* file = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(file);
    QCOMPARE(file->title(), QStringLiteral("&File"));
    file->close();

    window.ShowVDPPage(TVDPPageId::vpRegisters);
    for (const auto& [key, title] :
         {std::pair{Qt::Key_H, "&Help"}, std::pair{Qt::Key_F, "&File"}}) {
      QTest::keyClick(&window, key, Qt::AltModifier);
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      QCOMPARE(menu->title(), QLatin1String(title));
      menu->close();
    }
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::MainWindowInputTest)
#include "MainWindowInputTest.moc"
