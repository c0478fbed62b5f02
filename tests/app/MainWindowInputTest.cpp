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
#include "app/PageControl.h"
#include "app/RegisterGridSet.h"
#include "app/ScrollLock.h"
#include "hexedit/QuorHexEditorEx.h"
#include "panels/ColorGrid.h"
#include "panels/LinkLabel.h"
#include "vdp/MegaDriveVDP.h"
#include "view/VantorView.h"

namespace vantor::test {

namespace {

template <typename T>
T* control(TfrmMain& window, const char* name) {
  T* widget = window.findChild<T*>(QLatin1String(name));
  if (!widget) qFatal("no control %s", name);
  return widget;
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

};

}  // namespace vantor::test

QTEST_MAIN(vantor::test::MainWindowInputTest)
#include "MainWindowInputTest.moc"
