// The main window driving the floating view window: the View menu, loads and live redraws.
#include <QAction>
#include <QKeyEvent>
#include <QTest>

#include "AppTestKit.h"
#include "app/PageControl.h"
#include "view/VantorView.h"

namespace vantor::test {

namespace {

QString fixture(const char* name) {
  return FixturePath(name);
}

// The checked View items as identifiers.
QList<int> checkedItems(const TfrmMain& window) {
  QList<int> checked;
  for (int id : {vmiScreen, vmiPatterns, vmiSprites}) {
    if (window.ViewMenuItem(id)->isChecked()) checked << id;
  }
  return checked;
}

}  // namespace

class ViewWindowTest : public QObject {
  Q_OBJECT

 private:
  TWindowKit m_kit;
  std::unique_ptr<TfrmView> m_view;

  TfrmMain& start() {
    TfrmMain& window = m_kit.Start();
    m_view = std::make_unique<TfrmView>(&window);
    window.AttachViewWindow(m_view.get());
    return window;
  }

 private slots:
  void cleanup() {
    m_view.reset();
    m_kit.Window.reset();
  }

  void viewMenuTogglesSwitchesAndFollowsClosing() {
    TfrmMain& window = start();
    m_kit.ShowActive();
    // F5: screen shown, "&Screen" checked.
    QTest::keyClick(&window, Qt::Key_F5);
    QVERIFY(m_view->isVisible());
    QCOMPARE(m_view->ViewMode(), vmScreen);
    QCOMPARE(checkedItems(window), QList<int>{vmiScreen});
    // F5 again: hidden, nothing checked.
    window.ViewMenuItem(vmiScreen)->trigger();
    QVERIFY(!m_view->isVisible());
    QCOMPARE(checkedItems(window), QList<int>{});
    // F6: patterns; F5 while patterns are shown switches without hiding.
    window.ViewMenuItem(vmiPatterns)->trigger();
    QVERIFY(m_view->isVisible());
    QCOMPARE(m_view->ViewMode(), vmPatterns);
    QCOMPARE(checkedItems(window), QList<int>{vmiPatterns});
    window.ViewMenuItem(vmiScreen)->trigger();
    QVERIFY(m_view->isVisible());
    QCOMPARE(m_view->ViewMode(), vmScreen);
    QCOMPARE(checkedItems(window), QList<int>{vmiScreen});
    // Esc in the view window closes it and clears the marks; F7 brings it back with sprites.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(m_view.get(), &escape);
    QVERIFY(!m_view->isVisible());
    QCOMPARE(checkedItems(window), QList<int>{});
    window.ViewMenuItem(vmiSprites)->trigger();
    QVERIFY(m_view->isVisible());
    QCOMPARE(m_view->ViewMode(), vmSprites);
    QCOMPARE(checkedItems(window), QList<int>{vmiSprites});
    // Its own close box likewise.
    m_view->close();
    QCOMPARE(checkedItems(window), QList<int>{});
  }

  void loadRebuildsThePictureEvenWhileHidden() {
    QVERIFY(QFile::exists(fixture("emulator-h40/state.gs0")));
    TfrmMain& window = start();
    window.ViewMenuItem(vmiSprites)->trigger();
    m_view->close();
    const int builds = m_view->BuildCount();
    window.OpenSavestate(fixture("emulator-h40/state.gs0"));
    QVERIFY(!m_view->isVisible());
    QCOMPARE(m_view->BuildCount(), builds + 1);
    QCOMPARE(m_view->ViewMode(), vmSprites);
    // The fixture's 40-cell mode: 16 sprites to a row.
    QCOMPARE(m_view->ViewBitmap().Width(), 512);
  }

  void editsRedrawOnlyOnVDPPagesWhileShown() {
    TfrmMain& window = start();
    window.ShowMainPage(TMainPageId::mpVDP);
    window.ShowVDPPage(TVDPPageId::vpScrollRAM);
    window.SetModified(true);
    QCOMPARE(m_view->BuildCount(), 0);  // hidden: nothing drawn
    window.ViewMenuItem(vmiScreen)->trigger();
    int builds = m_view->BuildCount();
    window.SetModified(true);
    QCOMPARE(m_view->BuildCount(), ++builds);
    window.ShowMainPage(TMainPageId::mpMainCPU);
    window.SetModified(true);
    QCOMPARE(m_view->BuildCount(), builds);
  }

  void mainRAMShownAsPatternsFollowsItsEdits() {
    TfrmMain& window = start();
    window.SetPatternSource(TPatternSource::psMainRAM);
    window.ViewMenuItem(vmiPatterns)->trigger();
    window.ShowMainCPURAM();
    const int builds = m_view->BuildCount();
    window.SetModified(true);
    QCOMPARE(m_view->BuildCount(), builds + 1);
    // In the Screen picture the same edit is not followed.
    window.ViewMenuItem(vmiScreen)->trigger();
    window.SetModified(true);
    QCOMPARE(m_view->BuildCount(), builds + 2);
  }

  void savingUsesTheMainWindowsDialogs() {
    TfrmMain& window = start();
    window.ViewMenuItem(vmiScreen)->trigger();
    m_kit.Dialogs->FileAnswers = {m_kit.Path("missing/screen.bmp")};
    m_view->pmiSaveBmp()->trigger();
    QCOMPARE(m_kit.Dialogs->FileDialogs.size(), std::size_t(1));
    QVERIFY(m_kit.Dialogs->FileDialogs[0].Filter.startsWith(
        QStringLiteral("Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*|")));
    QCOMPARE(m_kit.Dialogs->Messages.size(), std::size_t(1));
    QCOMPARE(m_kit.Dialogs->Messages[0].Type, TMsgDlgType::mtError);
    QVERIFY(m_kit.Dialogs->Messages[0].Text.startsWith(QStringLiteral("Cannot create file")));
  }
};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::ViewWindowTest)
#include "ViewWindowTest.moc"
