// Cursor, selection, bookmarks, typing and the placement of pasted and dropped bytes.
#include <algorithm>

#include "hexedit/HexCodePage.h"
#include "hexedit/HexEditorModel.h"
#include "hexedit/QuorHexEditorError.h"

namespace vantor {
namespace {

int HexDigit(char32_t ch) {
  if (ch >= '0' && ch <= '9') return static_cast<int>(ch - '0');
  if (ch >= 'a' && ch <= 'f') return static_cast<int>(ch - 'a' + 10);
  if (ch >= 'A' && ch <= 'F') return static_cast<int>(ch - 'A' + 10);
  return -1;
}

}  // namespace

void HexEditorModel::ClampCursor() {
  const int64_t last = std::max<int64_t>(DataSize() - 1, 0);
  m_cursorPos = std::clamp<int64_t>(m_cursorPos, 0, last);
  if (m_selStart >= DataSize() || m_selEnd >= DataSize()) ClearSelection();
}

void HexEditorModel::SetCursor(int64_t pos, bool inCharField, bool lowNibble, bool extend) {
  const int64_t old = m_cursorPos;
  m_cursorPos = pos;
  m_inCharField = inCharField;
  m_lowNibble = !inCharField && lowNibble;
  ClampCursor();
  if (!extend || DataSize() == 0) {
    ClearSelection();
    return;
  }
  if (!HasSelection() || m_anchor < 0) m_anchor = old;
  const int64_t unit = m_bytesPerUnit;
  const int64_t first = std::min(m_anchor, m_cursorPos);
  const int64_t last = std::max(m_anchor, m_cursorPos);
  m_selStart = first - first % unit;
  m_selEnd = std::min(last - last % unit + unit - 1, DataSize() - 1);
}

void HexEditorModel::MoveCursor(TCursorMove move, bool extend, int64_t topRow,
                                int64_t visibleRows) {
  const int64_t rowBytes = m_bytesPerRow;
  const int64_t last = std::max<int64_t>(DataSize() - 1, 0);
  const int64_t rowStart = m_cursorPos - m_cursorPos % rowBytes;
  const int64_t column = m_cursorPos % rowBytes;
  int64_t pos = m_cursorPos;
  bool inChar = m_inCharField;
  bool low = m_lowNibble;
  const int64_t nibble = 2 * pos + (low ? 1 : 0);
  switch (move) {
    case TCursorMove::cmLeft:
      if (inChar) {
        pos = std::max<int64_t>(pos - 1, 0);
      } else {
        pos = std::max<int64_t>(nibble - 1, 0) / 2;
        low = std::max<int64_t>(nibble - 1, 0) % 2;
      }
      break;
    case TCursorMove::cmRight:
      if (inChar) {
        pos = std::min(pos + 1, last);
      } else {
        pos = std::min(nibble + 1, 2 * last + 1) / 2;
        low = std::min(nibble + 1, 2 * last + 1) % 2;
      }
      break;
    case TCursorMove::cmUp:
      if (pos >= rowBytes) pos -= rowBytes;
      break;
    case TCursorMove::cmDown:
      if (pos + rowBytes <= last) pos += rowBytes;
      break;
    case TCursorMove::cmRowStart:
      pos = rowStart;
      inChar = low = false;
      break;
    case TCursorMove::cmRowEnd:
      pos = std::min(rowStart + rowBytes - 1, last);
      inChar = true;
      break;
    case TCursorMove::cmHome:
      pos = rowStart;
      low = false;
      break;
    case TCursorMove::cmEnd:
      pos = std::min(rowStart + rowBytes - 1, last);
      low = false;
      break;
    case TCursorMove::cmDataStart:
      pos = 0;
      low = false;
      break;
    case TCursorMove::cmDataEnd:
      pos = last;
      low = false;
      break;
    case TCursorMove::cmPageUp:
      pos -= visibleRows * rowBytes;
      if (pos < 0) pos = column;
      break;
    case TCursorMove::cmPageDown:
      pos += visibleRows * rowBytes;
      if (pos > last) pos = last / rowBytes * rowBytes + column;
      break;
    case TCursorMove::cmPageTop:
      pos = topRow * rowBytes + column;
      break;
    case TCursorMove::cmPageBottom:
      pos = (topRow + visibleRows - 1) * rowBytes + column;
      break;
    case TCursorMove::cmSwitchField:
      inChar = !inChar;
      low = false;
      break;
  }
  SetCursor(std::clamp<int64_t>(pos, 0, last), inChar, low, extend);
}

void HexEditorModel::SetCursorRow(int64_t row) {
  const int64_t first = std::max<int64_t>(row, 0) * m_bytesPerRow;
  SetCursor(first + m_cursorPos % m_bytesPerRow, m_inCharField, m_lowNibble);
}

void HexEditorModel::Select(int64_t start, int64_t end) {
  if (end == -1) {
    ClearSelection();
    return;
  }
  if (start < 0 || start >= DataSize()) throw EQuorHexEditor(kErrSelectionStart);
  if (end < -1 || end >= DataSize()) throw EQuorHexEditor(kErrSelectionEnd);
  m_anchor = start;
  m_selStart = std::min(start, end);
  m_selEnd = std::max(start, end);
}

void HexEditorModel::ClearSelection() {
  m_selStart = m_selEnd = m_anchor = -1;
}

void HexEditorModel::SelectAll() {
  if (DataSize() == 0) return;
  m_cursorPos = DataSize() - 1;
  m_lowNibble = false;
  Select(0, DataSize() - 1);
}

HexBookmark HexEditorModel::Bookmark(int index) const {
  if (index < 0 || index >= kBookmarkCount) throw EQuorHexEditor(kErrBookmarkIndex);
  return m_bookmarks[static_cast<size_t>(index)];
}

void HexEditorModel::ToggleBookmark(int index) {
  if (index < 0 || index >= kBookmarkCount) throw EQuorHexEditor(kErrBookmarkIndex);
  HexBookmark& mark = m_bookmarks[static_cast<size_t>(index)];
  if (mark.pos == m_cursorPos && mark.inCharField == m_inCharField) {
    mark = HexBookmark{};
  } else {
    mark = HexBookmark{m_cursorPos, m_inCharField};
  }
}

bool HexEditorModel::GotoBookmark(int index) {
  if (index < 0 || index >= kBookmarkCount) throw EQuorHexEditor(kErrBookmarkIndex);
  HexBookmark& mark = m_bookmarks[static_cast<size_t>(index)];
  if (mark.pos < 0) return false;
  if (mark.pos >= DataSize()) {
    mark = HexBookmark{};
    return false;
  }
  SetCursor(mark.pos, mark.inCharField, false);
  return true;
}

TTypeResult HexEditorModel::TypeChar(char32_t ch) {
  if (m_readOnlyView || ch < 32 || m_cursorPos >= DataSize()) return TTypeResult::trIgnored;
  ClearSelection();
  const uint8_t old = m_data.At(m_cursorPos);
  uint8_t value = 0;
  if (m_inCharField) {
    const auto byte = ByteOfChar(ch);
    if (!byte) return TTypeResult::trInvalidKey;
    value = *byte;
  } else {
    const int digit = HexDigit(ch);
    if (digit < 0) return TTypeResult::trInvalidKey;
    // With swapped nibbles the first digit cell shows the low nibble.
    const bool low = m_lowNibble != m_swapNibbles;
    value = static_cast<uint8_t>(low ? (old & 0xF0) | digit : (digit << 4) | (old & 0x0F));
  }
  TTypeResult result = TTypeResult::trUnchanged;
  if (value != old) {
    const int64_t pos = m_cursorPos;
    RecordSplice(TUndoKind::ukChange, pos, 1, 1, 1, {});
    m_data.Put(pos, value);
    m_marks.Set(pos, true);
    result = TTypeResult::trChanged;
    Notify({pos, 1, true, false});
  }
  MoveCursor(TCursorMove::cmRight, false);
  return result;
}

void HexEditorModel::DeleteSelection() {
  if (m_noSizeChange) throw EQuorHexEditor(kErrUndoStorage);
  if (m_readOnlyView || DataSize() == 0) return;
  const int64_t pos = HasSelection() ? m_selStart : m_cursorPos;
  const int64_t count = HasSelection() ? SelCount() : 1;
  const int64_t oldSize = DataSize();
  RecordSplice(TUndoKind::ukRemove, pos, count, 0, std::max<int64_t>(m_marks.Length() - pos, 0),
               {});
  m_data.Splice(pos, count, nullptr, 0);
  m_marks.ShrinkTo(pos);
  ClearSelection();
  m_cursorPos = pos;
  ClampCursor();
  Notify({pos, oldSize - pos, true, true});
}

void HexEditorModel::ReplaceRange(int64_t pos, std::span<const uint8_t> bytes,
                                  std::string_view description) {
  const auto count = static_cast<int64_t>(bytes.size());
  RecordSplice(TUndoKind::ukReplace, pos, count, count,
               std::max<int64_t>(m_marks.Length() - pos, 0), description);
  m_data.Write(pos, bytes.data(), count);
  m_marks.ShrinkTo(pos);
  m_selStart = m_anchor = pos;
  m_selEnd = pos + count - 1;
  m_cursorPos = m_selEnd;
  m_lowNibble = false;
  Notify({pos, DataSize() - pos, true, false});
}

int64_t HexEditorModel::PasteBytes(std::span<const uint8_t> bytes, std::string_view description) {
  if (m_readOnlyView || DataSize() == 0 || bytes.empty()) return 0;
  int64_t pos = 0;
  int64_t room = 0;
  if (HasSelection()) {
    pos = m_selStart;
    room = SelCount();
  } else {
    pos = m_cursorPos - m_cursorPos % m_bytesPerUnit;
    room = DataSize() - pos;
  }
  const int64_t count = std::min(static_cast<int64_t>(bytes.size()), room);
  if (count <= 0) return 0;
  ReplaceRange(pos, bytes.first(static_cast<size_t>(count)), description);
  return count;
}

int64_t HexEditorModel::DropBytes(std::span<const uint8_t> bytes, int64_t dropPos,
                                  std::string_view description) {
  if (m_readOnlyView || dropPos < 0 || dropPos >= DataSize() || bytes.empty()) return 0;
  int64_t pos = dropPos;
  int64_t room = DataSize() - dropPos;
  if (HasSelection() && IsSelected(dropPos)) {
    pos = m_selStart;
    room = SelCount();
  }
  const int64_t count = std::min(static_cast<int64_t>(bytes.size()), room);
  ReplaceRange(pos, bytes.first(static_cast<size_t>(count)), description);
  return count;
}

bool HexEditorModel::MoveSelectionTo(int64_t dropPos) {
  if (m_readOnlyView || !HasSelection() || dropPos < 0 || dropPos >= DataSize()) return false;
  if (IsSelected(dropPos)) return false;
  const std::vector<uint8_t> moved = SelectedBytes();
  const auto length = static_cast<int64_t>(moved.size());
  int64_t first = 0;
  int64_t target = 0;
  std::vector<uint8_t> range;
  if (dropPos < m_selStart) {
    // [dropPos, selEnd] becomes the selection, then the bytes it jumped over.
    first = target = dropPos;
    range = moved;
    const std::vector<uint8_t> rest = Bytes(dropPos, m_selStart - dropPos);
    range.insert(range.end(), rest.begin(), rest.end());
  } else {
    // [selStart, dropPos) becomes the bytes after the selection, then the selection.
    first = m_selStart;
    target = dropPos - length;
    range = Bytes(m_selEnd + 1, dropPos - m_selEnd - 1);
    range.insert(range.end(), moved.begin(), moved.end());
  }
  ReplaceRange(first, range, kMoveDescription);
  m_selStart = m_anchor = target;
  m_selEnd = target + length - 1;
  m_cursorPos = m_selEnd;
  return true;
}

}  // namespace vantor
