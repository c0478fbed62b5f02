// The memory editors' settings and the shared context menu, over real editors with the fake
// main window of tests/support.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <deque>

#include "hexedit/QuorHexEditorEx.h"
#include "pages/memory/MemoryPages.h"
#include "support/FakePageHost.h"

namespace vantor {
using test::TFakePageHost;

namespace {

std::vector<uint8_t> counting(std::size_t size, uint8_t first = 1) {
  std::vector<uint8_t> bytes(size);
  for (std::size_t i = 0; i < size; ++i)
    bytes[i] = uint8_t(first + i);
  return bytes;
}

void writeFile(const QString& path, const std::vector<uint8_t>& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
}

QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray asArray(const std::vector<uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

}  // namespace

class MemoryPagesTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void editorsTakeThePageSettings();
  void offsetsNameEveryRow();
  void popupShowsEachEditorsColumnGrouping();
  void bytesPerColumnItemsSetTheActiveEditor();
  void undoCaptionNamesTheNewestStep();
  void shortcutsActOnce();
  void pastingKeepsTheBlockSize();
  void copiedSelectionOffersADumpFile();
  void shortDumpIsZeroFilled();
  void longDumpIsCut();
  void unreadableDumpChangesNothing();
  void dumpCommandsClearAForeignFilter();
  void savedDumpHoldsExactlyTheBlock();
  void unwritableDumpIsReported();
  void commandsWithoutActiveEditorDoNothing();

 private:
  TQuorHexEditorEx& editor(THexPageId page) { return *m_editors[std::size_t(page)]; }
  void activate(THexPageId page) { m_active = &editor(page); }
  QString path(const char* name) const { return m_dir->filePath(QString::fromLatin1(name)); }

  std::unique_ptr<TFakePageHost> m_host;
  TQuorHexEditorEx* m_active = nullptr;
  std::unique_ptr<TMemoryPages> m_pages;
  std::array<std::unique_ptr<TQuorHexEditorEx>, 3> m_editors;
  std::unique_ptr<QTemporaryDir> m_dir;
};

void MemoryPagesTest::init() {
  m_host = std::make_unique<TFakePageHost>();
  m_pages = std::make_unique<TMemoryPages>(*m_host, [this] { return m_active; });
  m_dir = std::make_unique<QTemporaryDir>();
  constexpr int64_t kSizes[] = {65536, 8192, 65536};
  for (int i = 0; i < 3; ++i) {
    auto edit = std::make_unique<TQuorHexEditorEx>();
    ConfigureMemoryEditor(*edit, THexPageId(i));
    m_pages->Attach(*edit);
    edit->SetFormatChooser([](QWidget*, const QStringList&, int, bool) {
      return std::optional<TFormatChoice>(TFormatChoice{});
    });
    // Filled the way the main window fills them: inside an undo bracket, then reset.
    edit->BeginUndoUpdate();
    edit->SetDataSize(kSizes[i]);
    edit->SetDataModified(false);
    edit->EndUndoUpdate();
    edit->resize(600, 400);
    m_editors[std::size_t(i)] = std::move(edit);
  }
  activate(THexPageId::hpMainRAM);
}

void MemoryPagesTest::cleanup() {
  m_pages.reset();
  for (auto& edit : m_editors)
    edit.reset();
  m_host.reset();
  m_dir.reset();
}

void MemoryPagesTest::editorsTakeThePageSettings() {
  for (int i = 0; i < 3; ++i) {
    const TQuorHexEditorEx& edit = editor(THexPageId(i));
    QCOMPARE(edit.BytesPerRow(), 16);
    QCOMPARE(edit.BytesPerColumn(), i == 0 ? 2 : 1);
    QCOMPARE(edit.OffsetFormat(), QStringLiteral("-!10:$|"));
    QVERIFY(edit.NoSizeChange());
    QCOMPARE(edit.MaxUndo(), int64_t(65536));
    QVERIFY(edit.ShowRuler());
    QVERIFY(edit.DrawGridLines());
    QVERIFY(edit.FocusFrame());
    QVERIFY(edit.OleDragDrop());
    QVERIFY(!edit.CreateBackup());
    QCOMPARE(edit.Colors().ChangedBackground, QColor(255, 255, 168));
    QCOMPARE(edit.Colors().ChangedText, QColor(128, 0, 0));
    QCOMPARE(edit.GridFont().pixelSize(), 15);
    QVERIFY(IsMonospaced(edit.GridFont()));
    QCOMPARE(edit.viewport()->cursor().shape(), Qt::IBeamCursor);
  }
}

void MemoryPagesTest::offsetsNameEveryRow() {
  const HexEditorModel& z80 = editor(THexPageId::hpSubRAM).Model();
  QCOMPARE(z80.DataSize() / z80.BytesPerRow(), int64_t(512));
  QCOMPARE(QString::fromStdString(z80.OffsetText(0)), QStringLiteral("$0000"));
  QCOMPARE(QString::fromStdString(z80.WidestOffsetText()), QStringLiteral("$1FF0"));
  const HexEditorModel& vram = editor(THexPageId::hpVideoRAM).Model();
  QCOMPARE(QString::fromStdString(vram.OffsetText(0x1230)), QStringLiteral("$1230"));
  QCOMPARE(QString::fromStdString(vram.WidestOffsetText()), QStringLiteral("$FFF0"));
}

void MemoryPagesTest::popupShowsEachEditorsColumnGrouping() {
  // The tag of the one checked radio item; 0 when none or several are checked.
  const auto checkedTag = [&] {
    m_pages->pmHexEditPopup();
    int tag = 0;
    int checked = 0;
    for (int i = 0; i < 3; ++i) {
      if (m_pages->pmiHexBytesPerColItem(i)->isChecked()) {
        ++checked;
        tag = m_pages->pmiHexBytesPerColItem(i)->data().toInt();
      }
    }
    return checked == 1 ? tag : 0;
  };
  QCOMPARE(checkedTag(), 2);
  activate(THexPageId::hpSubRAM);
  QCOMPARE(checkedTag(), 1);
  activate(THexPageId::hpVideoRAM);
  QCOMPARE(checkedTag(), 1);
  // Opening the menu for real runs the same preparation.
  activate(THexPageId::hpMainRAM);
  m_pages->pmHexEdit()->popup(QPoint(10, 10));
  QVERIFY(m_pages->pmiHexBytesPerColItem(1)->isChecked());
  m_pages->pmHexEdit()->close();
}

void MemoryPagesTest::bytesPerColumnItemsSetTheActiveEditor() {
  activate(THexPageId::hpVideoRAM);
  m_pages->pmiHexBytesPerColItem(2)->trigger();
  QCOMPARE(editor(THexPageId::hpVideoRAM).BytesPerColumn(), 4);
  QCOMPARE(editor(THexPageId::hpMainRAM).BytesPerColumn(), 2);
  QCOMPARE(editor(THexPageId::hpSubRAM).BytesPerColumn(), 1);
  m_pages->pmHexEditPopup();
  QVERIFY(m_pages->pmiHexBytesPerColItem(2)->isChecked());
  QVERIFY(!m_pages->pmiHexBytesPerColItem(0)->isChecked());
}

void MemoryPagesTest::undoCaptionNamesTheNewestStep() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpMainRAM);
  m_pages->pmHexEditPopup();
  QCOMPARE(m_pages->pmiHexUndo()->text(), QStringLiteral("&Undo: No Undo"));
  QVERIFY(!m_pages->pmiHexUndo()->isEnabled());
  QVERIFY(!m_pages->pmiHexRedo()->isEnabled());
  QVERIFY(!m_pages->pmiHexCopy()->isEnabled());

  edit.GotoByte(0);
  QTest::keyClicks(&edit, "5");
  m_pages->pmHexEditPopup();
  QCOMPARE(m_pages->pmiHexUndo()->text(), QStringLiteral("&Undo: Change Byte(s)"));
  QVERIFY(m_pages->pmiHexUndo()->isEnabled());

  QApplication::clipboard()->setText(QStringLiteral("AB"));
  edit.GotoByte(16);
  m_pages->pmHexEditPopup();
  QVERIFY(m_pages->pmiHexPaste()->isEnabled());
  m_pages->pmiHexPaste()->trigger();
  QCOMPARE(edit.DataBuffer()[16], uint8_t('A'));
  m_pages->pmHexEditPopup();
  QCOMPARE(m_pages->pmiHexUndo()->text(), QStringLiteral("&Undo: Paste from Clipboard"));

  m_pages->pmiHexUndo()->trigger();
  m_pages->pmHexEditPopup();
  QCOMPARE(m_pages->pmiHexUndo()->text(), QStringLiteral("&Undo: Change Byte(s)"));
  QVERIFY(m_pages->pmiHexRedo()->isEnabled());
  QCOMPARE(m_pages->pmiHexRedo()->text(), QStringLiteral("&Redo"));
  QCOMPARE(edit.DataBuffer()[16], uint8_t(0));
}

void MemoryPagesTest::shortcutsActOnce() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpSubRAM);
  activate(THexPageId::hpSubRAM);
  edit.show();
  QVERIFY(QTest::qWaitForWindowActive(&edit));
  edit.setFocus();
  edit.GotoByte(0);
  QTest::keyClicks(&edit, "1122");
  QCOMPARE(edit.DataBuffer()[0], uint8_t(0x11));
  QCOMPARE(edit.DataBuffer()[1], uint8_t(0x22));

  QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(edit.DataBuffer()[1], uint8_t(0x20));  // one step: the last digit typed
  QCOMPARE(edit.DataBuffer()[0], uint8_t(0x11));
  QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(edit.DataBuffer()[1], uint8_t(0x22));

  // A paste that ran twice would also fill bytes 10 and 11.
  auto* data = new QMimeData;
  data->setText(QStringLiteral("xy"));
  QApplication::clipboard()->setMimeData(data);
  edit.GotoByte(8);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(edit.DataBuffer()[8], uint8_t('x'));
  QCOMPARE(edit.DataBuffer()[9], uint8_t('y'));
  QCOMPARE(edit.DataBuffer()[10], uint8_t(0));
  QCOMPARE(edit.DataBuffer()[11], uint8_t(0));
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts().empty());
}

void MemoryPagesTest::pastingKeepsTheBlockSize() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpSubRAM);
  activate(THexPageId::hpSubRAM);
  QApplication::clipboard()->setText(QStringLiteral("0123456789"));
  edit.GotoByte(8192 - 4);
  m_pages->pmiHexPaste()->trigger();
  QCOMPARE(edit.DataSize(), int64_t(8192));
  QCOMPARE(edit.DataBuffer()[8191], uint8_t('3'));
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts().empty());
}

void MemoryPagesTest::copiedSelectionOffersADumpFile() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpVideoRAM);
  activate(THexPageId::hpVideoRAM);
  const std::vector<uint8_t> bytes = counting(8, 0x40);
  std::copy(bytes.begin(), bytes.end(), edit.DataBuffer() + 32);
  edit.Select(32, 39);
  m_pages->pmHexEditPopup();
  QVERIFY(m_pages->pmiHexCopy()->isEnabled());
  m_pages->pmiHexCopy()->trigger();

  const QMimeData* data = QApplication::clipboard()->mimeData();
  QVERIFY(data && data->hasUrls());
  const QString file = data->urls().value(0).toLocalFile();
  QCOMPARE(QFileInfo(file).fileName(), QStringLiteral("Dump of ---.bin"));
  QCOMPARE(readFile(file), asArray(bytes));
}

void MemoryPagesTest::shortDumpIsZeroFilled() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpSubRAM);
  activate(THexPageId::hpSubRAM);
  std::fill_n(edit.DataBuffer(), 8192, uint8_t(0xEE));
  edit.GotoByte(0);
  QTest::keyClicks(&edit, "7");
  QSignalSpy changes(&edit, &TQuorHexEditorEx::changed);
  writeFile(path("ten.bin"), counting(10));
  m_host->ScriptedDialogs.FileAnswers = {path("ten.bin")};
  m_pages->pmiHexLoadFile()->trigger();

  QVERIFY(m_host->ScriptedDialogs.ErrorTexts().empty());
  std::vector<uint8_t> expected = counting(10);
  expected.resize(8192, 0);
  QCOMPARE(asArray(edit.SaveToBytes()), asArray(expected));
  QCOMPARE(edit.DataSize(), int64_t(8192));
  QVERIFY(!changes.isEmpty());
  QVERIFY(!edit.Model().IsMarked(0));
  m_pages->pmHexEditPopup();
  QVERIFY(!m_pages->pmiHexUndo()->isEnabled());
  QCOMPARE(m_pages->pmiHexUndo()->text(), QStringLiteral("&Undo: No Undo"));
}

void MemoryPagesTest::longDumpIsCut() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpVideoRAM);
  activate(THexPageId::hpVideoRAM);
  const std::vector<uint8_t> dump = counting(100000, 3);
  writeFile(path("long.bin"), dump);
  m_host->ScriptedDialogs.FileAnswers = {path("long.bin")};
  m_pages->pmiHexLoadFileClick();
  QCOMPARE(edit.DataSize(), int64_t(65536));
  QCOMPARE(asArray(edit.SaveToBytes()), asArray(dump).left(65536));
}

void MemoryPagesTest::unreadableDumpChangesNothing() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpMainRAM);
  edit.GotoByte(0);
  QTest::keyClicks(&edit, "9");
  const std::vector<uint8_t> before = edit.SaveToBytes();
  QSignalSpy changes(&edit, &TQuorHexEditorEx::changed);

  const QString missing = path("missing.bin");
  m_host->ScriptedDialogs.FileAnswers = {missing, m_dir->path()};
  m_pages->pmiHexLoadFileClick();
  m_pages->pmiHexLoadFileClick();  // a folder cannot be read as a dump either

  QCOMPARE(m_host->ScriptedDialogs.ErrorTexts().size(), 2);
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts()[0].startsWith(
      QStringLiteral("Cannot open file \"%1\". ").arg(missing)));
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts()[1].startsWith(
      QStringLiteral("Cannot open file \"%1\". ").arg(m_dir->path())));
  QVERIFY(changes.isEmpty());
  QVERIFY(edit.SaveToBytes() == before);
  QVERIFY(edit.CanUndo());
  QVERIFY(edit.Model().IsMarked(0));
}

void MemoryPagesTest::dumpCommandsClearAForeignFilter() {
  const QString palette = QStringLiteral("Jasc Palette (*.pal; *.PspPalette)|*.pal;*.PspPalette");
  m_host->FileDialogs().odlgMisc.Filter = palette;
  m_host->FileDialogs().odlgMisc.FileName = QStringLiteral("colours.pal");
  m_host->FileDialogs().sdlgMisc.Filter = palette;
  m_host->FileDialogs().sdlgMisc.FileName = QStringLiteral("colours.pal");
  m_pages->pmiHexLoadFileClick();  // cancelled
  m_pages->pmiHexSaveFileClick();  // cancelled
  const auto& asked = m_host->ScriptedDialogs.FileDialogs;
  QCOMPARE(asked.size(), std::size_t(2));
  for (const TFileDialog& dialog : asked) {
    QVERIFY(dialog.Filter.isEmpty());
    QVERIFY(dialog.FileName.isEmpty());
  }
  QVERIFY(!asked[0].OverwritePrompt);
  QVERIFY(asked[1].OverwritePrompt);
  QCOMPARE(editor(THexPageId::hpMainRAM).DataSize(), int64_t(65536));

  // Without a filter the last dump name is offered again.
  m_host->FileDialogs().sdlgMisc.FileName = QStringLiteral("ram.bin");
  m_pages->pmiHexSaveFileClick();
  QCOMPARE(asked.back().FileName, QStringLiteral("ram.bin"));
}

void MemoryPagesTest::savedDumpHoldsExactlyTheBlock() {
  TQuorHexEditorEx& edit = editor(THexPageId::hpSubRAM);
  activate(THexPageId::hpSubRAM);
  const std::vector<uint8_t> block = counting(8192, 7);
  std::copy(block.begin(), block.end(), edit.DataBuffer());
  edit.GotoByte(5);
  QTest::keyClicks(&edit, "F");
  std::vector<uint8_t> expected = block;
  expected[5] = uint8_t(0xF0 | (block[5] & 0x0F));

  writeFile(path("old.bin"), counting(20000));  // overwritten, not merged
  m_host->ScriptedDialogs.FileAnswers = {path("old.bin")};
  m_pages->pmiHexSaveFile()->trigger();
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts().empty());
  QCOMPARE(readFile(path("old.bin")), asArray(expected));
  // Saving a dump keeps the marks and the undo history.
  QVERIFY(edit.Model().IsMarked(5));
  QVERIFY(edit.CanUndo());
}

void MemoryPagesTest::unwritableDumpIsReported() {
  const QString target = path("no-such-folder/ram.bin");
  m_host->ScriptedDialogs.FileAnswers = {target};
  m_pages->pmiHexSaveFileClick();
  QCOMPARE(m_host->ScriptedDialogs.ErrorTexts().size(), 1);
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts()[0].startsWith(
      QStringLiteral("Cannot create file \"%1\". ").arg(target)));
  QVERIFY(!QFile::exists(target));
}

void MemoryPagesTest::commandsWithoutActiveEditorDoNothing() {
  m_pages->pmHexEditPopup();
  const QString caption = m_pages->pmiHexUndo()->text();
  m_active = nullptr;
  m_host->ScriptedDialogs.FileAnswers = {path("never.bin")};
  m_pages->pmiHexLoadFileClick();
  m_pages->pmiHexSaveFileClick();
  m_pages->pmiHexBytesPerColClick(4);
  m_pages->pmiHexUndoClick();
  m_pages->pmHexEditPopup();
  QVERIFY(m_host->ScriptedDialogs.FileDialogs.empty());
  QVERIFY(m_host->ScriptedDialogs.ErrorTexts().empty());
  QCOMPARE(m_pages->pmiHexUndo()->text(), caption);
  QVERIFY(m_pages->pmiHexBytesPerColItem(1)->isChecked());
  for (const auto& edit : m_editors)
    QVERIFY(edit->BytesPerColumn() != 4);
}

}  // namespace vantor

QTEST_MAIN(vantor::MemoryPagesTest)
#include "MemoryPagesTest.moc"
