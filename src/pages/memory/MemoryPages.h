// The memory pages: the settings of the three hex editors over main CPU RAM, Z80 RAM and Video
// RAM, and their shared context menu pmHexEdit with clipboard, undo, column grouping and raw
// dump files. Moving bytes between the image and the editors is the main window's business.
#pragma once

#include <QObject>
#include <QPalette>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "hexedit/QuorHColors.h"
#include "pages/PageHost.h"

class QAction;
class QFont;
class QMenu;

namespace vantor {

class TQuorHexEditorEx;

// The fixed settings every memory editor shares.
inline constexpr int kMemoryBytesPerRow = 16;
inline constexpr const char* kMemoryOffsetFormat = "-!10:$|";
inline constexpr int64_t kMemoryMaxUndo = 65536;
inline constexpr int kMemoryFontPixels = 15;

// 2 for main CPU RAM (the editor's default), 1 for Z80 RAM and Video RAM.
int MemoryBytesPerColumn(THexPageId page);
// The memory editors' colours: the editor's defaults, taken from the desktop's palette.
TQuorHColors MemoryEditorColors(const QPalette& palette);
// True when every character of the font is equally wide.
bool IsMonospaced(const QFont& font);
// "Courier New" at 15 pixels, or the desktop's fixed-pitch font when it is missing.
QFont MemoryEditorFont();
// Applies every setting of a memory page's editor (fixed size, offsets, undo limit, ruler, grid
// lines, drag and drop, colours, font, I-beam cursor).
void ConfigureMemoryEditor(TQuorHexEditorEx& editor, THexPageId page);

// A raw dump as a block of blockSize bytes: the file's first bytes, zero-filled when the file is
// shorter, cut when it is longer. Throws EFileError "Cannot open file "%s". %s".
std::vector<uint8_t> ReadDumpFile(const std::string& path, std::size_t blockSize);

// The context menu shared by the three memory editors. Every command acts on the active editor
// and does nothing without one.
class TMemoryPages : public QObject {
  Q_OBJECT

 public:
  // The editor of the memory page the user sees, or null.
  using TActiveEditor = std::function<TQuorHexEditorEx*()>;

  TMemoryPages(TPageHost& host, TActiveEditor activeEditor, QObject* parent = nullptr);
  ~TMemoryPages() override;

  // Gives the editor the shared context menu and routes its messages to the error report.
  void Attach(TQuorHexEditorEx& editor);

  QMenu* pmHexEdit() const { return m_menu.get(); }
  QAction* pmiHexCopy() const { return m_copy; }
  QAction* pmiHexPaste() const { return m_paste; }
  QAction* pmiHexUndo() const { return m_undo; }
  QAction* pmiHexRedo() const { return m_redo; }
  QAction* pmiHexBytesPerCol() const { return m_bytesPerCol; }
  // The radio items "&1", "&2", "&4" in that order.
  QAction* pmiHexBytesPerColItem(int index) const { return m_bytesPerColItems.at(index); }
  QAction* pmiHexLoadFile() const { return m_loadFile; }
  QAction* pmiHexSaveFile() const { return m_saveFile; }

  // Handlers; public so that the main window and tests can run them as the menu does.
  void pmHexEditPopup();
  void pmiHexCopyClick();
  void pmiHexPasteClick();
  void pmiHexUndoClick();
  void pmiHexRedoClick();
  void pmiHexBytesPerColClick(int tag);
  void pmiHexLoadFileClick();
  void pmiHexSaveFileClick();

 private:
  void createMenu();
  template <typename Action>
  void onActiveEditor(Action action);

  TPageHost& m_host;
  TActiveEditor m_activeEditor;
  std::unique_ptr<QMenu> m_menu;
  QAction* m_copy = nullptr;
  QAction* m_paste = nullptr;
  QAction* m_undo = nullptr;
  QAction* m_redo = nullptr;
  QAction* m_bytesPerCol = nullptr;
  std::array<QAction*, 3> m_bytesPerColItems{};
  QAction* m_loadFile = nullptr;
  QAction* m_saveFile = nullptr;
};

}  // namespace vantor
