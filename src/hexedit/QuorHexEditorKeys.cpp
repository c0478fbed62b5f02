// Keys: two tables, read by the shortcut override and by the key handling alike.
#include <QKeyEvent>
#include <array>
#include <optional>

#include "hexedit/QuorHexEditorEx.h"

namespace vantor {

// Keys that move the cursor, with any modifiers: the move, the move with Ctrl, whether Shift
// extends the selection, and the rows a page key scrolls first (without Ctrl).
struct TQuorHexEditorEx::TMoveKey {
  int Key;
  TCursorMove Plain;
  TCursorMove WithCtrl;
  bool ShiftSelects;
  int PageScroll;
};

// The editor's own Ctrl keys. They win over equal shortcuts of a context menu, so that each
// acts exactly once. Ctrl+digit (also as Shift turns the digit) goes to a bookmark, with
// Shift sets it.
enum class TQuorHexEditorEx::TCtrlCommand : uint8_t {
  ccSelectAll,
  ccCopy,
  ccPaste,
  ccCut,
  ccUndoRedo,  // with Shift: redo
  ccSwitchField,
  ccDeleteSelection,
  ccBookmark,
};

namespace {

using TMoveKey = TQuorHexEditorEx::TMoveKey;
using TCtrlCommand = TQuorHexEditorEx::TCtrlCommand;

constexpr std::array<TMoveKey, 11> kMoveKeys = {{
    {Qt::Key_Left, TCursorMove::cmLeft, TCursorMove::cmRowStart, true, 0},
    {Qt::Key_Right, TCursorMove::cmRight, TCursorMove::cmRowEnd, true, 0},
    {Qt::Key_Up, TCursorMove::cmUp, TCursorMove::cmUp, true, 0},
    {Qt::Key_Down, TCursorMove::cmDown, TCursorMove::cmDown, true, 0},
    {Qt::Key_Home, TCursorMove::cmHome, TCursorMove::cmDataStart, true, 0},
    {Qt::Key_End, TCursorMove::cmEnd, TCursorMove::cmDataEnd, true, 0},
    {Qt::Key_PageUp, TCursorMove::cmPageUp, TCursorMove::cmPageTop, true, -1},
    {Qt::Key_PageDown, TCursorMove::cmPageDown, TCursorMove::cmPageBottom, true, +1},
    {Qt::Key_Tab, TCursorMove::cmSwitchField, TCursorMove::cmSwitchField, false, 0},
    {Qt::Key_Backtab, TCursorMove::cmSwitchField, TCursorMove::cmSwitchField, false, 0},
    {Qt::Key_Backspace, TCursorMove::cmLeft, TCursorMove::cmLeft, true, 0},
}};

struct TCtrlKey {
  int Key;
  TCtrlCommand Command;
};
constexpr std::array<TCtrlKey, 7> kCtrlKeys = {{
    {Qt::Key_A, TCtrlCommand::ccSelectAll},
    {Qt::Key_C, TCtrlCommand::ccCopy},
    {Qt::Key_V, TCtrlCommand::ccPaste},
    {Qt::Key_X, TCtrlCommand::ccCut},
    {Qt::Key_Z, TCtrlCommand::ccUndoRedo},
    {Qt::Key_T, TCtrlCommand::ccSwitchField},
    {Qt::Key_Delete, TCtrlCommand::ccDeleteSelection},
}};

// Digits as Shift turns them on a US keyboard: ) ! @ # $ % ^ & * (
constexpr std::array<int, 10> kShiftedDigits = {
    Qt::Key_ParenRight, Qt::Key_Exclam,    Qt::Key_At,          Qt::Key_NumberSign,
    Qt::Key_Dollar,     Qt::Key_Percent,   Qt::Key_AsciiCircum, Qt::Key_Ampersand,
    Qt::Key_Asterisk,   Qt::Key_ParenLeft,
};

int DigitOfKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
  for (size_t i = 0; i < kShiftedDigits.size(); ++i) {
    if (kShiftedDigits[i] == key) return static_cast<int>(i);
  }
  return -1;
}

const TMoveKey* MoveKeyOf(int key) {
  for (const TMoveKey& entry : kMoveKeys) {
    if (entry.Key == key) return &entry;
  }
  return nullptr;
}

std::optional<TCtrlCommand> CtrlCommandOf(int key) {
  for (const TCtrlKey& entry : kCtrlKeys) {
    if (entry.Key == key) return entry.Command;
  }
  if (DigitOfKey(key) >= 0) return TCtrlCommand::ccBookmark;
  return std::nullopt;
}

}  // namespace

bool TQuorHexEditorEx::IsEditorShortcut(const QKeyEvent* event) const {
  return (event->modifiers() & Qt::ControlModifier) && CtrlCommandOf(event->key());
}

bool TQuorHexEditorEx::event(QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride &&
      IsEditorShortcut(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

// Tab switches between the hexadecimal and the character field; it never leaves the editor.
bool TQuorHexEditorEx::focusNextPrevChild(bool) {
  return false;
}

void TQuorHexEditorEx::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event)) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TQuorHexEditorEx::HandleKey(QKeyEvent* event) {
  const int key = event->key();
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool alt = event->modifiers() & Qt::AltModifier;
  if (const TMoveKey* move = MoveKeyOf(key)) {
    MoveByKey(*move, ctrl, shift);
    return true;
  }
  // Insert does nothing (no insert mode in a fixed-size editor); Delete deletes only with Ctrl.
  if (key == Qt::Key_Insert || key == Qt::Key_Delete) {
    if (ctrl && key == Qt::Key_Delete) RunCtrlCommand(TCtrlCommand::ccDeleteSelection, key, shift);
    return true;
  }
  if (ctrl && !alt) {
    const std::optional<TCtrlCommand> command = CtrlCommandOf(key);
    if (command) RunCtrlCommand(*command, key, shift);
    return command.has_value();
  }
  if (alt) return false;
  return TypeText(event->text());
}

void TQuorHexEditorEx::MoveByKey(const TMoveKey& move, bool ctrl, bool shift) {
  if (!ctrl && move.PageScroll != 0) SetTopRow(m_topRow + move.PageScroll * VisibleRows());
  const TCursorMove where = ctrl ? move.WithCtrl : move.Plain;
  const bool extend = move.ShiftSelects && shift;
  Track([&] { m_model.MoveCursor(where, extend, DataRowOfGridRow(m_topRow), VisibleRows()); });
}

void TQuorHexEditorEx::RunCtrlCommand(TCtrlCommand command, int key, bool shift) {
  switch (command) {
    case TCtrlCommand::ccSelectAll:
      Track([&] { m_model.SelectAll(); });
      break;
    case TCtrlCommand::ccCopy:
      if (CanCopy()) CopyToClipboard();
      break;
    case TCtrlCommand::ccPaste:
      if (CanPaste()) PasteFromClipboard();
      break;
    case TCtrlCommand::ccCut:
      if (!NoSizeChange() && CanCopy()) {
        CopyToClipboard();
        Track([&] { m_model.DeleteSelection(); });
      }
      break;
    case TCtrlCommand::ccUndoRedo:
      if (shift) {
        if (CanRedo()) Redo();
      } else if (CanUndo()) {
        Undo();
      }
      break;
    case TCtrlCommand::ccSwitchField:
      Track([&] { m_model.MoveCursor(TCursorMove::cmSwitchField, false); });
      break;
    case TCtrlCommand::ccDeleteSelection:
      Track([&] { m_model.DeleteSelection(); });
      break;
    case TCtrlCommand::ccBookmark:
      GoToBookmarkKey(DigitOfKey(key), shift);
      break;
  }
}

void TQuorHexEditorEx::GoToBookmarkKey(int digit, bool set) {
  if (set) {
    m_model.ToggleBookmark(digit);
  } else {
    Track([&] { m_model.GotoBookmark(digit); });
  }
  viewport()->update(QRect(0, 0, m_layout.ColumnWidth(0), viewport()->height()));
}

// Every character of the text is typed into the field of the cursor; one the field cannot take
// is reported. An empty text is no key of this editor.
bool TQuorHexEditorEx::TypeText(const QString& text) {
  if (text.isEmpty()) return false;
  for (QChar ch : text) {
    if (ch.isSurrogate()) continue;
    TTypeResult result = TTypeResult::trIgnored;
    Track([&] { result = m_model.TypeChar(ch.unicode()); });
    if (result == TTypeResult::trInvalidKey) emit invalidKey();
  }
  return true;
}

}  // namespace vantor
