// The memory pages inside the real main window, driven as a user would: pages chosen, bytes
// typed, dumps loaded, the savestate saved and loaded again.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>
#include <deque>
#include <set>

#include "TestData.h"
#include "app/PageControl.h"
#include "app/VantorMain.h"
#include "document/Layout.h"
#include "hexedit/QuorHexEditorEx.h"
#include "vdp/MegaDriveVDP.h"
#include "view/MemoryPages.h"
#include "view/VantorView.h"

namespace vantor {
namespace {

// Answers file dialogs from a script (an empty name cancels) and records every message.
class WindowDialogs : public TDialogs {
 public:
  std::deque<QString> Answers;
  std::vector<QString> Messages;

  bool GetOpenFileName(TFileDialog& dialog) override { return answer(dialog); }
  bool GetSaveFileName(TFileDialog& dialog) override { return answer(dialog); }
  TMsgDlgBtn ShowMessage(TMsgDlgType, const QString& text, TMsgDlgButtons) override {
    Messages.push_back(text);
    return mbNo;
  }
  std::optional<QColor> ChooseColor(const QColor&) override { return std::nullopt; }
  void Beep() override {}

 private:
  bool answer(TFileDialog& dialog) {
    const QString name = Answers.empty() ? QString() : Answers.front();
    if (!Answers.empty()) Answers.pop_front();
    if (name.isEmpty()) return false;
    dialog.FileName = name;
    return true;
  }
};

QString fixture(const char* name) {
  return QString::fromStdString(testdata::TestDataPath(std::string("emulator-h40/") + name));
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const char* sectionOf(THexPageId page) {
  constexpr const char* kSections[] = {"CPU MC68000", "CPU Z80", "VDP"};
  return kSections[int(page)];
}

// The main window on temporary folders, with the fixture's layout file beside the program.
class Window {
 public:
  Window() {
    for (const char* sub : {"system", "program", "user"})
      QDir(m_dir.path()).mkpath(sub);
    if (!QFile::copy(fixture("layout.ini"), Path("program/vantor.ini")))
      qFatal("cannot copy %s", qPrintable(fixture("layout.ini")));
    TLayoutLocations where;
    where.FileName = "vantor.ini";
    where.SystemDir = Path("system").toStdString();
    where.ProgramDir = Path("program").toStdString();
    where.UserDir = Path("user").toStdString();
    auto dialogs = std::make_unique<WindowDialogs>();
    Dialogs = dialogs.get();
    Main = std::make_unique<TfrmMain>(where, std::move(dialogs));
    Main->show();
    QApplication::setActiveWindow(Main.get());
    if (!QTest::qWaitForWindowActive(Main.get())) qWarning("the main window is not active");
  }

  QString Path(const QString& name) const { return m_dir.filePath(name); }
  QString Path(const char* name) const { return Path(QString::fromLatin1(name)); }

  void Load(const QString& path) {
    Dialogs->Answers = {path};
    Main->LoadSavestate();
  }

  TQuorHexEditorEx& Show(THexPageId page) {
    switch (page) {
      case THexPageId::hpMainRAM:
        Main->ShowMainCPURAM();
        break;
      case THexPageId::hpSubRAM:
        Main->ShowMainPage(TMainPageId::mpSubCPU);
        Main->pcSubCPU()->setCurrentIndex(1);
        break;
      case THexPageId::hpVideoRAM:
        Main->ShowVDPPage(TVDPPageId::vpVideoRAM);
        break;
    }
    return *Main->HexEditor(page);
  }

  // Types the byte's two hexadecimal digits over it.
  void TypeByte(THexPageId page, int64_t pos, uint8_t value) {
    TQuorHexEditorEx& editor = Show(page);
    editor.setFocus();
    editor.GotoByte(pos);
    QTest::keyClicks(&editor, QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')));
  }

  int64_t BlockOffset(THexPageId page) const {
    return Main->Layout().ReadFieldSpec(sectionOf(page), "RAM").Offset;
  }

  WindowDialogs* Dialogs = nullptr;
  std::unique_ptr<TfrmMain> Main;

 private:
  QTemporaryDir m_dir;
};

// The view window attached to the main window for one test, detached again before it goes.
class ViewAttachment {
 public:
  ViewAttachment(TfrmMain& main, TfrmView& view) : m_main(main) { m_main.AttachViewWindow(&view); }
  ~ViewAttachment() { m_main.AttachViewWindow(nullptr); }
  ViewAttachment(const ViewAttachment&) = delete;
  ViewAttachment& operator=(const ViewAttachment&) = delete;

 private:
  TfrmMain& m_main;
};

}  // namespace

class MemoryPagesWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void editedBytesSurviveSaveAndReload();
  void pagesShowTheirBlocks();
  void popupFollowsTheShownPage();
  void loadedDumpMarksTheDocumentAndReachesTheImage();
  void editorKeysActOnceInTheWindow();
  void videoRamTypingRedrawsTheViewPerChangedByte();
  void mainRamTypingStoresNothingForAVideoRamView();
};

void MemoryPagesWindowTest::editedBytesSurviveSaveAndReload() {
  QVERIFY(QFile::exists(fixture("state.gs0")));
  Window window;
  window.Load(fixture("state.gs0"));
  const QByteArray original = readAll(fixture("state.gs0"));
  QCOMPARE(window.Main->windowTitle(), QStringLiteral("Palavex - ") + fixture("state.gs0"));

  // Each edit writes the inverse of the byte, so that every one is a real change.
  struct Edit {
    THexPageId page;
    int64_t pos;
  };
  const Edit edits[] = {{THexPageId::hpMainRAM, 0x0101},
                        {THexPageId::hpMainRAM, 0xFFFF},
                        {THexPageId::hpSubRAM, 0x0010},
                        {THexPageId::hpVideoRAM, 0x0020},
                        {THexPageId::hpVideoRAM, 0xC001}};
  QByteArray expected = original;
  for (const Edit& edit : edits) {
    const qsizetype at = qsizetype(window.BlockOffset(edit.page) + edit.pos);
    const auto value = uint8_t(~uint8_t(original[at]));
    window.TypeByte(edit.page, edit.pos, value);
    expected[at] = char(value);
  }
  QVERIFY(window.Main->windowTitle().endsWith(QLatin1Char('*')));

  const QString saved = window.Path("edited.gs0");
  window.Dialogs->Answers = {saved};
  window.Main->SaveSavestateAs();
  QVERIFY(window.Dialogs->Messages.empty());
  const QByteArray written = readAll(saved);
  QCOMPARE(written.size(), original.size());
  std::set<int64_t> differing;
  for (qsizetype i = 0; i < written.size(); ++i) {
    if (written[i] != original[i]) differing.insert(i);
  }
  QCOMPARE(differing.size(), std::size(edits));
  QVERIFY(written == expected);

  window.Load(saved);
  for (const Edit& edit : edits) {
    TQuorHexEditorEx& editor = window.Show(edit.page);
    const qsizetype at = qsizetype(window.BlockOffset(edit.page) + edit.pos);
    QCOMPARE(editor.DataBuffer()[edit.pos], uint8_t(expected[at]));
    QVERIFY(!editor.Model().IsMarked(edit.pos));  // a load resets the marks
    QVERIFY(!editor.CanUndo());
  }
}

void MemoryPagesWindowTest::pagesShowTheirBlocks() {
  Window window;
  TQuorHexEditorEx& z80 = window.Show(THexPageId::hpSubRAM);
  QCOMPARE(z80.DataSize(), int64_t(8192));
  QCOMPARE(z80.DataSize() / z80.BytesPerRow(), int64_t(512));
  QCOMPARE(QString::fromStdString(z80.Model().OffsetText(0)), QStringLiteral("$0000"));
  QCOMPARE(QString::fromStdString(z80.Model().WidestOffsetText()), QStringLiteral("$1FF0"));
  for (THexPageId page : {THexPageId::hpMainRAM, THexPageId::hpVideoRAM}) {
    TQuorHexEditorEx& editor = window.Show(page);
    QCOMPARE(editor.DataSize(), int64_t(65536));
    QCOMPARE(QString::fromStdString(editor.Model().WidestOffsetText()), QStringLiteral("$FFF0"));
  }
}

void MemoryPagesWindowTest::popupFollowsTheShownPage() {
  Window window;
  TMemoryPages& pages = window.Main->MemoryPages();
  window.Show(THexPageId::hpMainRAM);
  pages.pmHexEditPopup();
  QVERIFY(pages.pmiHexBytesPerColItem(1)->isChecked());
  window.Show(THexPageId::hpSubRAM);
  pages.pmHexEditPopup();
  QVERIFY(pages.pmiHexBytesPerColItem(0)->isChecked());
  pages.pmiHexBytesPerColItem(2)->trigger();
  QCOMPARE(window.Main->HexEditor(THexPageId::hpSubRAM)->BytesPerColumn(), 4);
  QCOMPARE(window.Main->HexEditor(THexPageId::hpMainRAM)->BytesPerColumn(), 2);
  QCOMPARE(window.Main->HexEditor(THexPageId::hpVideoRAM)->BytesPerColumn(), 1);

  // A right click on an editor opens the shared menu.
  TQuorHexEditorEx& vram = window.Show(THexPageId::hpVideoRAM);
  QCOMPARE(vram.contextMenuPolicy(), Qt::CustomContextMenu);
  emit vram.customContextMenuRequested(QPoint(5, 5));
  QVERIFY(pages.pmHexEdit()->isVisible());
  QVERIFY(pages.pmiHexBytesPerColItem(0)->isChecked());
  pages.pmHexEdit()->close();
}

void MemoryPagesWindowTest::loadedDumpMarksTheDocumentAndReachesTheImage() {
  Window window;
  QFile dump(window.Path("z80.bin"));
  QVERIFY(dump.open(QIODevice::WriteOnly));
  dump.write("0123456789");
  dump.close();

  TQuorHexEditorEx& z80 = window.Show(THexPageId::hpSubRAM);
  z80.setFocus();
  QVERIFY(!window.Main->windowTitle().endsWith(QLatin1Char('*')));
  window.Dialogs->Answers = {window.Path("z80.bin")};
  window.Main->MemoryPages().pmiHexLoadFileClick();
  QVERIFY(window.Dialogs->Messages.empty());
  QVERIFY(window.Main->windowTitle().endsWith(QLatin1Char('*')));

  // The image receives the block when the editor loses the focus.
  z80.setFocus();
  window.Main->pcMain()->setFocus();
  const SavestateImage& image = window.Main->Document().Image();
  const int64_t offset = window.BlockOffset(THexPageId::hpSubRAM);
  QCOMPARE(QByteArray(reinterpret_cast<const char*>(image.Data() + offset), 10),
           QByteArray("0123456789"));
}

void MemoryPagesWindowTest::editorKeysActOnceInTheWindow() {
  Window window;
  TQuorHexEditorEx& vram = window.Show(THexPageId::hpVideoRAM);
  vram.setFocus();
  QVERIFY(vram.hasFocus());
  vram.GotoByte(0x40);
  QTest::keyClicks(&vram, QStringLiteral("abcd"));
  QTest::keyClick(&vram, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(vram.DataBuffer()[0x41], uint8_t(0xC0));
  QCOMPARE(vram.DataBuffer()[0x40], uint8_t(0xAB));

  // Copy two bytes and paste them once at $50.
  vram.Select(0x40, 0x41);
  QTest::keyClick(&vram, Qt::Key_C, Qt::ControlModifier);
  vram.GotoByte(0x50);
  QTest::keyClick(&vram, Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(vram.DataBuffer()[0x50], uint8_t(0xAB));
  QCOMPARE(vram.DataBuffer()[0x51], uint8_t(0xC0));
  QCOMPARE(vram.DataBuffer()[0x52], uint8_t(0));
  QCOMPARE(vram.DataSize(), int64_t(65536));
  TMemoryPages& pages = window.Main->MemoryPages();
  pages.pmHexEditPopup();
  QCOMPARE(pages.pmiHexUndo()->text(), QStringLiteral("&Undo: Paste from Clipboard"));
  QVERIFY(window.Dialogs->Messages.empty());
}

// The view window shows the screen; every changed byte of Video RAM rebuilds it, a digit that
// leaves the byte as it was does nothing at all.
void MemoryPagesWindowTest::videoRamTypingRedrawsTheViewPerChangedByte() {
  QVERIFY(QFile::exists(fixture("state.gs0")));
  Window window;
  TfrmView view(window.Main.get());
  const ViewAttachment attached(*window.Main, view);
  window.Load(fixture("state.gs0"));
  window.Main->ViewMenuItem(vmiScreen)->trigger();  // F5
  QVERIFY(view.isVisible());
  QCOMPARE(view.ViewMode(), vmScreen);
  QVERIFY(!window.Main->Document().Modified());

  TQuorHexEditorEx& vram = window.Show(THexPageId::hpVideoRAM);
  vram.setFocus();
  const int64_t pos = 0x0100;
  const uint8_t old = vram.DataBuffer()[pos];
  const auto digit = [](int nibble) { return QString::number(nibble, 16); };
  vram.GotoByte(pos);
  const int builds = view.BuildCount();
  QTest::keyClicks(&vram, digit(old >> 4));  // the high nibble as it is
  QCOMPARE(view.BuildCount(), builds);
  QVERIFY(!window.Main->Document().Modified());

  QTest::keyClicks(&vram, digit((old & 0x0F) ^ 0x0F));  // a new low nibble
  QCOMPARE(view.BuildCount(), builds + 1);
  QVERIFY(window.Main->Document().Modified());
  const int64_t at = window.BlockOffset(THexPageId::hpVideoRAM) + pos;
  QCOMPARE(window.Main->Document().Image().Data()[at], uint8_t(old ^ 0x0F));
  QCOMPARE(window.Main->VDP().VRAMData()[pos], uint8_t(old ^ 0x0F));

  // Both digits of the next byte change it: two more pictures.
  const auto next = uint8_t(vram.DataBuffer()[pos + 1] ^ 0xFF);
  QTest::keyClicks(&vram, digit(next >> 4) + digit(next & 0x0F));
  QCOMPARE(view.BuildCount(), builds + 3);
}

// The view window shows patterns read from Video RAM: typing in main CPU RAM neither stores
// the block nor redraws; leaving the editor stores it, still without a redraw.
void MemoryPagesWindowTest::mainRamTypingStoresNothingForAVideoRamView() {
  Window window;
  TfrmView view(window.Main.get());
  const ViewAttachment attached(*window.Main, view);
  QCOMPARE(window.Main->PatternSource(), TPatternSource::psVideoRAM);
  window.Main->ViewMenuItem(vmiPatterns)->trigger();  // F6
  QVERIFY(view.isVisible());
  QCOMPARE(view.ViewMode(), vmPatterns);
  const int builds = view.BuildCount();

  window.TypeByte(THexPageId::hpMainRAM, 0x20, 0x5A);
  QVERIFY(window.Main->Document().Modified());
  const int64_t at = window.BlockOffset(THexPageId::hpMainRAM) + 0x20;
  const SavestateImage& image = window.Main->Document().Image();
  QCOMPARE(image.Data()[at], uint8_t(0));
  QCOMPARE(view.BuildCount(), builds);

  window.Main->pcMain()->setFocus();
  QCOMPARE(image.Data()[at], uint8_t(0x5A));
  QCOMPARE(view.BuildCount(), builds);
}

}  // namespace vantor

QTEST_MAIN(vantor::MemoryPagesWindowTest)
#include "MemoryPagesWindowTest.moc"
