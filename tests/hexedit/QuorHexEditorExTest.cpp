#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <memory>

#include "hexedit/QuorHDataObject.h"
#include "hexedit/QuorHexEditorEx.h"

using namespace vantor;

namespace {

using Bytes = std::vector<uint8_t>;

// An editor set up as a memory page: fixed size, "$" offsets, ruler and grid lines.
std::unique_ptr<TQuorHexEditorEx> MemoryPageEditor(const Bytes& bytes) {
  auto editor = std::make_unique<TQuorHexEditorEx>();
  editor->SetNoSizeChange(true);
  editor->SetMaxUndo(65536);
  editor->SetOffsetFormat(QStringLiteral("-!10:$|"));
  editor->SetShowRuler(true);
  editor->SetDrawGridLines(true);
  editor->SetOleDragDrop(true);
  editor->SetCreateBackup(false);
  editor->LoadFromBytes(bytes);
  editor->resize(700, 300);
  return editor;
}

Bytes Counting(size_t count) {
  Bytes bytes(count);
  for (size_t i = 0; i < count; ++i)
    bytes[i] = static_cast<uint8_t>(i);
  return bytes;
}

int Area(const QRegion& region) {
  int area = 0;
  for (const QRect& rect : region)
    area += rect.width() * rect.height();
  return area;
}

}  // namespace

class QuorHexEditorExTest : public QObject {
  Q_OBJECT

 private slots:
  void typingChangesNibblesMarksAndAnnouncesOnlyRealChanges();
  void typingRepaintsOnlyTheCellsAndTheCursorRows();
  void shiftWithArrowsSelects();
  void undoAndRedoKeys();
  void ctrlKeysTakenByTheEditorAreTheOnesItHandles();
  void copyAndPasteBetweenTwoEditorsThroughTheClipboard();
  void copiedDataCarriesTextAndADumpFile();
  void textPasteAsksForTheFormatAndReadsHexText();
  void badClipboardContentsChangeNothing();
  void dropsPlaceBytesAndSurviveUnreadableFiles();
  void aDragInsideTheEditorMovesAndOntoItselfDoesNothing();
  void gridCoordinatesPlaceTheCaret();
  void ctrlWheelChangesTheRowLength();
  void refusedEditsAreReportedAndChangeNothing();
  void losingTheFocusIsReported();
};

void QuorHexEditorExTest::typingChangesNibblesMarksAndAnnouncesOnlyRealChanges() {
  auto editor = MemoryPageEditor({0x0A, 0x00, 0x00});
  QSignalSpy changed(editor.get(), &TQuorHexEditorEx::changed);
  QTest::keyClicks(editor.get(), QStringLiteral("A"));
  QCOMPARE(editor->SaveToBytes(), (Bytes{0xAA, 0x00, 0x00}));
  QVERIFY(editor->Model().IsMarked(0));
  QCOMPARE(changed.count(), 1);
  QTest::keyClicks(editor.get(), QStringLiteral("a"));  // the same value: no change
  QCOMPARE(changed.count(), 1);
  QCOMPARE(editor->Col(), 4);  // on to byte 1
  QCOMPARE(editor->UndoDescription(), QStringLiteral("Change Byte(s)"));

  QTest::keyClick(editor.get(), Qt::Key_Tab);
  QTest::keyClicks(editor.get(), QStringLiteral("Z"));
  QCOMPARE(editor->SaveToBytes()[1], uint8_t{'Z'});
  QSignalSpy invalid(editor.get(), &TQuorHexEditorEx::invalidKey);
  QTest::keyClick(editor.get(), Qt::Key_Tab);
  QTest::keyClicks(editor.get(), QStringLiteral("q"));
  QCOMPARE(invalid.count(), 1);
}

void QuorHexEditorExTest::typingRepaintsOnlyTheCellsAndTheCursorRows() {
  auto editor = MemoryPageEditor(Bytes(65536, 0));
  editor->show();
  QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
  editor->GotoByte(0x100);
  QTest::qWait(20);
  QVERIFY(Area(editor->TakePaintedRegion()) > 0);
  QTest::keyClicks(editor.get(), QStringLiteral("5"));
  QTest::qWait(20);
  const QRegion painted = editor->TakePaintedRegion();
  const int rowArea = editor->viewport()->width() * editor->RowHeight();
  QVERIFY(Area(painted) > 0);
  // The cursor row and the ruler at most, never the view.
  QVERIFY2(Area(painted) <= 3 * rowArea, qPrintable(QString::number(Area(painted))));
}

void QuorHexEditorExTest::shiftWithArrowsSelects() {
  auto editor = MemoryPageEditor(Counting(64));
  QTest::keyClick(editor.get(), Qt::Key_Right);
  QTest::keyClick(editor.get(), Qt::Key_Right);  // byte 1, high nibble
  QTest::keyClick(editor.get(), Qt::Key_Down, Qt::ShiftModifier);
  QTest::keyClick(editor.get(), Qt::Key_Right, Qt::ShiftModifier);
  QCOMPARE(editor->SelStart(), int64_t{1});
  QCOMPARE(editor->SelEnd(), int64_t{17});
  QVERIFY(editor->CanCopy());
  QTest::keyClick(editor.get(), Qt::Key_Left);
  QCOMPARE(editor->SelStart(), int64_t{-1});
  QTest::keyClick(editor.get(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(editor->SelEnd(), int64_t{63});
}

void QuorHexEditorExTest::undoAndRedoKeys() {
  auto editor = MemoryPageEditor({0x00, 0x00});
  QTest::keyClicks(editor.get(), QStringLiteral("12"));
  QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(editor->SaveToBytes(), (Bytes{0x10, 0x00}));
  QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(editor->SaveToBytes(), (Bytes{0x00, 0x00}));
  QVERIFY(!editor->CanUndo());
  QCOMPARE(editor->UndoDescription(), QStringLiteral("No Undo"));
  QTest::keyClick(editor.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(editor->SaveToBytes(), (Bytes{0x10, 0x00}));
  QVERIFY(!editor->CanRedo());  // only the step undone last
}

void QuorHexEditorExTest::copyAndPasteBetweenTwoEditorsThroughTheClipboard() {
  const Bytes source = {0x41, 0x00, 0xFF, 0x10, 0x00};
  auto from = MemoryPageEditor(source);
  auto to = MemoryPageEditor(Bytes(8, 0xEE));
  from->Select(0, 4);
  QTest::keyClick(from.get(), Qt::Key_C, Qt::ControlModifier);
  QVERIFY(QApplication::clipboard()->mimeData()->hasFormat(QLatin1String(kPrivateMimeType)));
  QVERIFY(to->CanPaste());
  QSignalSpy changed(to.get(), &TQuorHexEditorEx::changed);
  to->SetCol(2 + 2 * 5);  // byte 5: only three bytes fit
  QTest::keyClick(to.get(), Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(to->SaveToBytes(), (Bytes{0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0x41, 0x00, 0xFF}));
  QCOMPARE(to->DataSize(), int64_t{8});
  QCOMPARE(to->UndoDescription(), QStringLiteral("Paste from Clipboard"));
  QCOMPARE(changed.count(), 1);
  QCOMPARE(to->SelStart(), int64_t{5});
  QCOMPARE(to->SelEnd(), int64_t{7});
  QVERIFY(!to->Model().IsMarked(5));
  to->Undo();
  QCOMPARE(to->SaveToBytes(), Bytes(8, 0xEE));

  // Destroying the source takes its bytes off the clipboard.
  from.reset();
  const QMimeData* left = QApplication::clipboard()->mimeData();
  QVERIFY(left == nullptr || !left->hasFormat(QLatin1String(kPrivateMimeType)));
}

void QuorHexEditorExTest::copiedDataCarriesTextAndADumpFile() {
  auto editor = MemoryPageEditor({'H', 'i', 0x00, 'x'});
  editor->Select(0, 3);
  editor->CopyToClipboard();
  const QMimeData* data = QApplication::clipboard()->mimeData();
  QCOMPARE(data->text(), QStringLiteral("Hi"));
  QCOMPARE(data->data(QLatin1String(kOctetStreamMimeType)), QByteArray("Hi\0x", 4));
  QCOMPARE(data->urls().size(), 1);
  const QString dump = data->urls().front().toLocalFile();
  QCOMPARE(QFileInfo(dump).fileName(), QStringLiteral("Dump of ---.bin"));
  QFile file(dump);
  QVERIFY(file.open(QIODevice::ReadOnly));
  QCOMPARE(file.readAll(), QByteArray("Hi\0x", 4));

  editor->SetClipboardAsHexText(true);
  editor->CopyToClipboard();
  QCOMPARE(QApplication::clipboard()->mimeData()->text(), QStringLiteral("48690078"));
}

void QuorHexEditorExTest::textPasteAsksForTheFormatAndReadsHexText() {
  auto editor = MemoryPageEditor(Bytes(4, 0));
  QStringList offered;
  editor->SetFormatChooser([&](QWidget*, const QStringList& names, int, bool) {
    offered = names;
    return std::optional<TFormatChoice>(TFormatChoice{0, true});
  });
  QApplication::clipboard()->setText(QStringLiteral("0a 1B zz c"));
  editor->PasteFromClipboard();
  QVERIFY(offered.contains(QStringLiteral("Text")));
  QVERIFY(offered.contains(QStringLiteral("Unicode Text")));
  QCOMPARE(editor->SaveToBytes(), (Bytes{0x0A, 0x1B, 0x00, 0x00}));

  editor->SetFormatChooser([](QWidget*, const QStringList& names, int, bool) {
    return std::optional<TFormatChoice>(TFormatChoice{int(names.indexOf("Unicode Text")), false});
  });
  editor->Select(2, 3);
  editor->PasteFromClipboard();
  QCOMPARE(editor->SaveToBytes(), (Bytes{0x0A, 0x1B, '0', 0x00}));

  editor->SetFormatChooser(
      [](QWidget*, const QStringList&, int, bool) { return std::optional<TFormatChoice>(); });
  editor->SetCol(2);
  editor->PasteFromClipboard();  // cancelled
  QCOMPARE(editor->SaveToBytes(), (Bytes{0x0A, 0x1B, '0', 0x00}));
}

void QuorHexEditorExTest::badClipboardContentsChangeNothing() {
  auto editor = MemoryPageEditor(Bytes(16, 0x77));
  editor->SetFormatChooser([](QWidget*, const QStringList& names, int, bool) {
    return std::optional<TFormatChoice>(TFormatChoice{int(names.indexOf("Text")), false});
  });
  QApplication::clipboard()->clear();
  QVERIFY(!editor->CanPaste());
  editor->PasteFromClipboard();

  auto* broken = new QMimeData;
  const char header[] = {'Q', 'H', 'X', 'E', 1, 0, 1, 0, char(0xFF), 0, 0, 0, 'a', 'b'};
  // The count claims 255 bytes, the block holds two.
  broken->setData(QLatin1String(kPrivateMimeType), QByteArray(header, sizeof header));
  QApplication::clipboard()->setMimeData(broken);
  QVERIFY(editor->CanPaste());
  editor->PasteFromClipboard();
  QCOMPARE(editor->SaveToBytes(), Bytes(16, 0x77));
  QVERIFY(!editor->CanUndo());

  // 100 MiB of text: cut at the end of the data.
  QApplication::clipboard()->setText(QString(100 * 1024 * 1024, QLatin1Char('k')));
  editor->SetCol(2 + 2 * 10);
  editor->PasteFromClipboard();
  QCOMPARE(editor->DataSize(), int64_t{16});
  QCOMPARE(editor->SaveToBytes()[10], uint8_t{'k'});
  QCOMPARE(editor->SaveToBytes()[15], uint8_t{'k'});
  QCOMPARE(editor->SaveToBytes()[9], uint8_t{0x77});
  QApplication::clipboard()->clear();
}

void QuorHexEditorExTest::dropsPlaceBytesAndSurviveUnreadableFiles() {
  auto editor = MemoryPageEditor(Bytes(64, 0));
  editor->show();
  QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
  const QRect cell = editor->CellRect(2 + 1, 2 + 2 * 3);  // byte 19
  auto drop = [&](QMimeData* data, Qt::DropAction action) {
    QDragEnterEvent enter(cell.center(), action, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &enter);
    QDropEvent event(QPointF(cell.center()), action, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(editor->viewport(), &event);
  };

  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("bytes.bin"));
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write("\x01\x02\x03", 3);
  file.close();
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile(path)});
  drop(&files, Qt::CopyAction);
  QCOMPARE(editor->SaveToBytes()[19], uint8_t{1});
  QCOMPARE(editor->SaveToBytes()[21], uint8_t{3});
  QCOMPARE(editor->UndoDescription(), QStringLiteral("Data Dropped"));

  QMimeData missing;
  missing.setUrls({QUrl::fromLocalFile(dir.filePath(QStringLiteral("gone.bin")))});
  const Bytes before = editor->SaveToBytes();
  drop(&missing, Qt::CopyAction);
  QCOMPARE(editor->SaveToBytes(), before);
  QCOMPARE(editor->DataSize(), int64_t{64});

  drop(&files, Qt::LinkAction);  // a link drop gives the names
  const QByteArray name = path.toLocal8Bit();
  QCOMPARE(editor->SaveToBytes()[19], uint8_t(name[0]));
}

// The drag's own data object is what a drop inside the same program receives.
void QuorHexEditorExTest::aDragInsideTheEditorMovesAndOntoItselfDoesNothing() {
  auto editor = MemoryPageEditor(Counting(64));
  editor->show();
  QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
  auto dropAt = [&](int64_t pos, Qt::KeyboardModifiers modifiers) {
    const QPoint at = editor->CellRect(pos / 16 + 2, 2 + 2 * int(pos % 16)).center();
    const std::unique_ptr<QMimeData> data(editor->NewDataObject());
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, offered, data.get(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(editor->viewport(), &enter);
    QDragMoveEvent move(at, offered, data.get(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(editor->viewport(), &move);
    if (!move.isAccepted()) return false;
    QDropEvent drop(QPointF(at), offered, data.get(), Qt::LeftButton, modifiers);
    QApplication::sendEvent(editor->viewport(), &drop);
    return drop.isAccepted();
  };
  editor->Select(4, 7);
  QVERIFY(dropAt(20, Qt::NoModifier));
  Bytes moved = Counting(64);
  moved.erase(moved.begin() + 4, moved.begin() + 8);
  moved.insert(moved.begin() + 16, {4, 5, 6, 7});
  QCOMPARE(editor->SaveToBytes(), moved);
  QCOMPARE(editor->UndoDescription(), QStringLiteral("Data Moved"));
  QCOMPARE(editor->SelStart(), int64_t{16});
  QCOMPARE(editor->SelEnd(), int64_t{19});

  // A slight drag that ends on the dragged bytes themselves: no step, the marks stay.
  editor->GotoByte(40);
  QTest::keyClicks(editor.get(), QStringLiteral("FF"));
  moved[40] = 0xFF;
  editor->SetTopRow(2);
  editor->Select(16, 19);
  QVERIFY(!dropAt(17, Qt::NoModifier));
  QVERIFY(!dropAt(18, Qt::ControlModifier));
  QCOMPARE(editor->SaveToBytes(), moved);
  QCOMPARE(editor->UndoDescription(), QStringLiteral("Change Byte(s)"));
  QVERIFY(editor->Model().IsMarked(40));

  // Ctrl copies instead.
  QVERIFY(dropAt(0, Qt::ControlModifier));
  QCOMPARE(editor->SaveToBytes()[0], uint8_t{4});
  QCOMPARE(editor->SaveToBytes()[16], uint8_t{4});
  QCOMPARE(editor->UndoDescription(), QStringLiteral("Data Dropped"));
}

// A Ctrl key the editor claims before a menu's shortcut can take it is one it handles, and the
// other way round: both read one table.
void QuorHexEditorExTest::ctrlKeysTakenByTheEditorAreTheOnesItHandles() {
  auto editor = MemoryPageEditor(Bytes(256, 0));
  QStringList claimed;
  for (int key = Qt::Key_0; key <= Qt::Key_Z; ++key) {
    if (key > Qt::Key_9 && key < Qt::Key_A) continue;
    QKeyEvent shortcut(QEvent::ShortcutOverride, key, Qt::ControlModifier);
    shortcut.ignore();
    QApplication::sendEvent(editor.get(), &shortcut);
    QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier);
    QApplication::sendEvent(editor.get(), &press);
    QVERIFY2(shortcut.isAccepted() == press.isAccepted(), qPrintable(QKeySequence(key).toString()));
    if (press.isAccepted()) claimed << QKeySequence(key).toString();
  }
  QCOMPARE(claimed, QStringList({"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "C", "T",
                                 "V", "X", "Z"}));
}

void QuorHexEditorExTest::gridCoordinatesPlaceTheCaret() {
  auto editor = MemoryPageEditor(Bytes(65536, 0));
  editor->show();
  QVERIFY(QTest::qWaitForWindowExposed(editor.get()));
  editor->GotoByte(0x1234);
  QCOMPARE(editor->TopRow(), int64_t{0x1234 / 16 + 2});
  QCOMPARE(editor->Row(), int64_t{0x1234 / 16 + 2});
  QCOMPARE(editor->Col(), 0x4 * 2 + 2);
  QCOMPARE(editor->Model().CursorPos(), int64_t{0x1234});

  editor->SetTopRow(0x100 / 16 + 2);
  editor->SetRow(0x100 / 16 + 2);
  editor->SetCol(GridCharColumn(7, 16));
  QCOMPARE(editor->Model().CursorPos(), int64_t{0x107});
  QVERIFY(editor->Model().InCharField());
  QCOMPARE(editor->Model().OffsetText(0xFFF0), std::string("$FFF0"));
}

void QuorHexEditorExTest::ctrlWheelChangesTheRowLength() {
  auto editor = MemoryPageEditor(Bytes(256, 0));
  auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(editor->viewport(), &event);
  };
  wheel(120, Qt::ControlModifier);
  QCOMPARE(editor->BytesPerRow(), 17);
  wheel(-240, Qt::ControlModifier);
  QCOMPARE(editor->BytesPerRow(), 15);
  const int pixels = editor->GridFont().pixelSize();
  wheel(120, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(editor->GridFont().pixelSize(), pixels + 1);
  wheel(-120, Qt::NoModifier);  // toward the user: one row down
  QCOMPARE(editor->Model().CursorPos(), int64_t{15});
}

void QuorHexEditorExTest::refusedEditsAreReportedAndChangeNothing() {
  auto editor = MemoryPageEditor(Counting(8));
  QStringList reports;
  editor->SetErrorReporter([&](const QString& text) { reports << text; });
  editor->Select(1, 2);
  QTest::keyClick(editor.get(), Qt::Key_Delete, Qt::ControlModifier);
  QTest::keyClick(editor.get(), Qt::Key_X, Qt::ControlModifier);
  QTest::keyClick(editor.get(), Qt::Key_Insert);
  QTest::keyClick(editor.get(), Qt::Key_Backspace);
  QCOMPARE(reports, QStringList{QStringLiteral("Cannot update undo storage")});
  QCOMPARE(editor->SaveToBytes(), Counting(8));
  try {
    editor->SetDataSize(9);
    QFAIL("the size changed");
  } catch (const std::exception& error) {
    QCOMPARE(QString(error.what()), QStringLiteral("Cannot change fixed filesize"));
  }
}

void QuorHexEditorExTest::losingTheFocusIsReported() {
  QWidget window;
  auto* editor = new TQuorHexEditorEx(&window);
  auto* other = new TQuorHexEditorEx(&window);
  other->move(0, 200);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  QSignalSpy exited(editor, &TQuorHexEditorEx::exited);
  editor->setFocus();
  QTRY_VERIFY(editor->hasFocus());
  other->setFocus();
  QTRY_COMPARE(exited.count(), 1);
}

QTEST_MAIN(QuorHexEditorExTest)
#include "QuorHexEditorExTest.moc"
