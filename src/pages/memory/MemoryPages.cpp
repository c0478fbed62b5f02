#include "pages/memory/MemoryPages.h"

#include <QActionGroup>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMenu>

#include "document/FileIO.h"
#include "hexedit/QuorHexEditorEx.h"

namespace vantor {
namespace {

// The "&Bytes per column" radio items: caption and tag.
struct BytesPerColItem {
  const char* caption;
  int tag;
};
constexpr std::array<BytesPerColItem, 3> kBytesPerColItems{{{"&1", 1}, {"&2", 2}, {"&4", 4}}};

constexpr const char* kUndoCaption = "&Undo: %1";

std::string localPath(const QString& fileName) {
  return QFile::encodeName(fileName).toStdString();
}

// Offers all files and no name when another command left its filter in the shared dialog.
void clearForeignFilter(TFileDialog& dialog) {
  if (dialog.Filter.isEmpty()) return;
  dialog.Filter.clear();
  dialog.FileName.clear();
}

}  // namespace

int MemoryBytesPerColumn(THexPageId page) {
  return page == THexPageId::hpMainRAM ? 2 : 1;
}

TQuorHColors MemoryEditorColors(const QPalette& palette) {
  const auto system = [&](QPalette::ColorRole role) {
    return palette.color(QPalette::Active, role);
  };
  TQuorHColors colors;
  colors.Offset = QColor(0, 0, 0);                          // black
  colors.OddColumn = QColor(0, 0, 255);                     // blue
  colors.EvenColumn = QColor(0, 0, 128);                    // navy
  colors.CursorFrame = QColor(0, 0, 128);                   // navy
  colors.NonFocusCursorFrame = QColor(0, 255, 255);         // aqua
  colors.Background = system(QPalette::Base);               // window colour
  colors.ChangedText = QColor(128, 0, 0);                   // maroon
  colors.ChangedBackground = QColor(255, 255, 168);         // pale yellow
  colors.CurrentOffsetBackground = system(QPalette::Dark);  // button shadow
  colors.OffsetBackGround = system(QPalette::Button);       // button face
  colors.CurrentOffset = system(QPalette::Light);           // button highlight
  colors.Grid = system(QPalette::Button);                   // button face
  return colors;
}

bool IsMonospaced(const QFont& font) {
  // Measured rather than asked: some fixed-pitch fonts do not declare themselves as such.
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(QLatin1Char('W'));
  return width > 0 && metrics.horizontalAdvance(QLatin1Char('i')) == width &&
         metrics.horizontalAdvance(QLatin1Char('.')) == width;
}

QFont MemoryEditorFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(kMemoryFontPixels);
  // Where "Courier New" and its stand-ins are missing, a proportional font would break the
  // columns: the desktop's fixed-pitch font, or any installed one, takes over then.
  if (!IsMonospaced(font)) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(kMemoryFontPixels);
  }
  if (!IsMonospaced(font)) {
    for (const QString& family : QFontDatabase::families()) {
      QFont candidate(family);
      candidate.setPixelSize(kMemoryFontPixels);
      if (QFontDatabase::isFixedPitch(family) && IsMonospaced(candidate)) return candidate;
    }
  }
  return font;
}

void ConfigureMemoryEditor(TQuorHexEditorEx& editor, THexPageId page) {
  editor.SetNoSizeChange(true);
  editor.SetBytesPerRow(kMemoryBytesPerRow);
  editor.SetBytesPerColumn(MemoryBytesPerColumn(page));
  editor.SetOffsetFormat(QString::fromLatin1(kMemoryOffsetFormat));
  editor.SetMaxUndo(kMemoryMaxUndo);
  editor.SetShowRuler(true);
  editor.SetDrawGridLines(true);
  editor.SetFocusFrame(true);
  editor.SetOleDragDrop(true);
  editor.SetCreateBackup(false);
  editor.SetColors(MemoryEditorColors(editor.palette()));
  editor.SetGridFont(MemoryEditorFont());
  editor.viewport()->setCursor(Qt::IBeamCursor);
}

std::vector<uint8_t> ReadDumpFile(const std::string& path, std::size_t blockSize) {
  std::vector<uint8_t> bytes = ReadFileBytes(path, blockSize);
  bytes.resize(blockSize, 0);
  return bytes;
}

TMemoryPages::TMemoryPages(TPageHost& host, TActiveEditor activeEditor, QObject* parent)
    : QObject(parent),
      m_host(host),
      m_activeEditor(std::move(activeEditor)),
      m_menu(std::make_unique<QMenu>()) {
  createMenu();
}

TMemoryPages::~TMemoryPages() = default;

void TMemoryPages::createMenu() {
  QMenu& menu = *m_menu;
  menu.setObjectName(QStringLiteral("pmHexEdit"));
  // The shortcuts are shown in the menu but never registered as shortcuts of their own: the
  // focused editor handles these keys itself, so each key press acts exactly once.
  const auto item = [&](const char* name, const char* caption, const QKeySequence& keys,
                        void (TMemoryPages::*handler)()) {
    QAction* action = menu.addAction(tr(caption));
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  m_copy = item("pmiHexCopy", "&Copy to Clipboard", QKeySequence(Qt::CTRL | Qt::Key_C),
                &TMemoryPages::pmiHexCopyClick);
  m_paste = item("pmiHexPaste", "&Paste from Clipboard", QKeySequence(Qt::CTRL | Qt::Key_V),
                 &TMemoryPages::pmiHexPasteClick);
  m_undo = item("pmiHexUndo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z),
                &TMemoryPages::pmiHexUndoClick);
  m_redo = item("pmiHexRedo", "&Redo", QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_Z),
                &TMemoryPages::pmiHexRedoClick);
  menu.addSeparator();

  QMenu* columns = menu.addMenu(tr("&Bytes per column"));
  m_bytesPerCol = columns->menuAction();
  m_bytesPerCol->setObjectName(QStringLiteral("pmiHexBytesPerCol"));
  auto* group = new QActionGroup(columns);
  group->setExclusive(true);
  for (std::size_t i = 0; i < kBytesPerColItems.size(); ++i) {
    const BytesPerColItem& entry = kBytesPerColItems[i];
    QAction* action = columns->addAction(tr(entry.caption));
    action->setObjectName(QStringLiteral("pmiHexBytesPerCol%1").arg(entry.tag));
    action->setCheckable(true);
    action->setData(entry.tag);
    group->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, tag = entry.tag] { pmiHexBytesPerColClick(tag); });
    m_bytesPerColItems[i] = action;
  }
  menu.addSeparator();

  m_loadFile = item("pmiHexLoadFile", "&Load from file...", QKeySequence(),
                    &TMemoryPages::pmiHexLoadFileClick);
  m_saveFile = item("pmiHexSaveFile", "&Save to file...", QKeySequence(),
                    &TMemoryPages::pmiHexSaveFileClick);
  connect(&menu, &QMenu::aboutToShow, this, &TMemoryPages::pmHexEditPopup);
}

void TMemoryPages::Attach(TQuorHexEditorEx& editor) {
  editor.setContextMenuPolicy(Qt::CustomContextMenu);
  connect(&editor, &QWidget::customContextMenuRequested, this,
          [this, &editor](const QPoint& at) { m_menu->popup(editor.viewport()->mapToGlobal(at)); });
  editor.SetErrorReporter([this](const QString& text) { ReportError(m_host.Dialogs(), text); });
}

template <typename Action>
void TMemoryPages::onActiveEditor(Action action) {
  RunCommand(m_host.Dialogs(), [&] {
    if (TQuorHexEditorEx* editor = m_activeEditor()) action(*editor);
  });
}

void TMemoryPages::pmHexEditPopup() {
  TQuorHexEditorEx* editor = m_activeEditor();
  if (!editor) return;
  m_undo->setEnabled(editor->CanUndo());
  m_undo->setText(tr(kUndoCaption).arg(editor->UndoDescription()));
  m_redo->setEnabled(editor->CanRedo());
  m_copy->setEnabled(editor->CanCopy());
  m_paste->setEnabled(editor->CanPaste());
  for (QAction* action : m_bytesPerColItems) {
    action->setChecked(action->data().toInt() == editor->BytesPerColumn());
  }
}

void TMemoryPages::pmiHexCopyClick() {
  onActiveEditor([](TQuorHexEditorEx& editor) { editor.CopyToClipboard(); });
}

void TMemoryPages::pmiHexPasteClick() {
  onActiveEditor([](TQuorHexEditorEx& editor) { editor.PasteFromClipboard(); });
}

void TMemoryPages::pmiHexUndoClick() {
  onActiveEditor([](TQuorHexEditorEx& editor) { editor.Undo(); });
}

void TMemoryPages::pmiHexRedoClick() {
  onActiveEditor([](TQuorHexEditorEx& editor) { editor.Redo(); });
}

void TMemoryPages::pmiHexBytesPerColClick(int tag) {
  onActiveEditor([tag](TQuorHexEditorEx& editor) { editor.SetBytesPerColumn(tag); });
}

void TMemoryPages::pmiHexLoadFileClick() {
  TFileDialog& dialog = m_host.FileDialogs().odlgMisc;
  clearForeignFilter(dialog);
  dialog.OverwritePrompt = false;
  if (!m_activeEditor() || !m_host.Dialogs().GetOpenFileName(dialog)) return;
  onActiveEditor([&](TQuorHexEditorEx& editor) {
    // The whole file is read before the editor is touched: a failure leaves it as it was.
    const auto size = static_cast<std::size_t>(editor.DataSize());
    editor.LoadFromBytes(ReadDumpFile(localPath(dialog.FileName), size));
  });
}

void TMemoryPages::pmiHexSaveFileClick() {
  TFileDialog& dialog = m_host.FileDialogs().sdlgMisc;
  clearForeignFilter(dialog);
  dialog.OverwritePrompt = true;
  if (!m_activeEditor() || !m_host.Dialogs().GetSaveFileName(dialog)) return;
  onActiveEditor([&](TQuorHexEditorEx& editor) {
    WriteFileSafely(localPath(dialog.FileName), editor.SaveToBytes());
  });
}

}  // namespace vantor
