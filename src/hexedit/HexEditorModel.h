#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "hexedit/HexChangeMarks.h"
#include "hexedit/HexOffsetFormat.h"
#include "hexedit/QuorHMemoryStream.h"
#include "hexedit/QuorHUndoStorage.h"

namespace vantor {

// A change reported to the view: the bytes [offset, offset + length) must be repainted.
// dataChanged is false when only change marks moved; sizeChanged asks for a new layout.
struct HexChange {
  int64_t offset = 0;
  int64_t length = 0;
  bool dataChanged = true;
  bool sizeChanged = false;
};

enum class TTypeResult : uint8_t { trIgnored, trInvalidKey, trUnchanged, trChanged };

enum class TCursorMove : uint8_t {
  cmLeft,
  cmRight,
  cmUp,
  cmDown,
  cmRowStart,  // Ctrl+Left: first nibble cell of the row
  cmRowEnd,    // Ctrl+Right: last character cell of the row
  cmHome,
  cmEnd,
  cmDataStart,
  cmDataEnd,
  cmPageUp,
  cmPageDown,
  cmPageTop,
  cmPageBottom,
  cmSwitchField,
};

struct HexBookmark {
  int64_t pos = -1;
  bool inCharField = false;
};

inline constexpr int kBookmarkCount = 10;
inline constexpr std::string_view kNoUndo = "No Undo";
inline constexpr std::string_view kPasteDescription = "Paste from Clipboard";
inline constexpr std::string_view kDropDescription = "Data Dropped";
inline constexpr std::string_view kMoveDescription = "Data Moved";

// The hex editor without its window: data, change marks, cursor, selection, bookmarks,
// settings and undo. Every data change is reported through the change handler as the
// range it touched, so a view repaints only that.
class HexEditorModel {
 public:
  HexEditorModel();
  using ChangeHandler = std::function<void(const HexChange&)>;
  void SetChangeHandler(ChangeHandler handler) { m_onChange = std::move(handler); }

  // --- Data access
  int64_t DataSize() const { return m_data.Size(); }
  // Refused with "Cannot change fixed filesize" between two non-zero sizes of a fixed-size
  // editor; recorded as "Append Buffer" / "Remove Data" unless an undo bracket is open.
  void SetDataSize(int64_t size);
  // Direct access: writing through it records nothing and marks nothing.
  uint8_t* DataBuffer() { return m_data.Data(); }
  const uint8_t* DataBuffer() const { return m_data.Data(); }
  uint8_t ByteAt(int64_t pos) const { return m_data.At(pos); }
  std::vector<uint8_t> Bytes(int64_t pos, int64_t length) const;
  // Data := the bytes; undo emptied, marks cleared, the change reported.
  void LoadFromBytes(const uint8_t* bytes, size_t length);
  std::vector<uint8_t> SaveToBytes() const { return Bytes(0, DataSize()); }
  void SaveToFile(const std::string& path, bool unmodify);
  const std::string& FileName() const { return m_fileName; }

  // --- Settings
  int BytesPerRow() const { return m_bytesPerRow; }
  void SetBytesPerRow(int bytes);
  // Ctrl+wheel: one byte per notch, kept within 1..256.
  void ChangeBytesPerRowBy(int notches);
  int BytesPerColumn() const { return m_bytesPerColumn; }
  void SetBytesPerColumn(int bytes);
  int BytesPerUnit() const { return m_bytesPerUnit; }
  void SetBytesPerUnit(int bytes);
  int RulerBytesPerUnit() const { return m_rulerBytesPerUnit; }
  void SetRulerBytesPerUnit(int bytes);
  int RulerUnit() const { return m_rulerBytesPerUnit < 0 ? m_bytesPerUnit : m_rulerBytesPerUnit; }
  const std::string& OffsetFormat() const { return m_offsetFormatText; }
  // A format that fails raises its message and the previous one stays.
  void SetOffsetFormat(const std::string& text);
  std::string OffsetText(int64_t offset) const;
  // The gutter text of the last data row (the widest one).
  std::string WidestOffsetText() const;
  bool HexLowerCase() const { return m_hexLowerCase; }
  void SetHexLowerCase(bool lower) { m_hexLowerCase = lower; }
  bool NoSizeChange() const { return m_noSizeChange; }
  void SetNoSizeChange(bool fixed) { m_noSizeChange = fixed; }
  bool ReadOnlyView() const { return m_readOnlyView; }
  void SetReadOnlyView(bool readOnly) { m_readOnlyView = readOnly; }
  int64_t MaxUndo() const { return m_undo.MaxUndo(); }
  void SetMaxUndo(int64_t bytes) { m_undo.SetMaxUndo(bytes); }
  bool CreateBackup() const { return m_createBackup; }
  void SetCreateBackup(bool backup) { m_createBackup = backup; }
  const std::string& BackupExtension() const { return m_backupExtension; }
  void SetBackupExtension(const std::string& ext) { m_backupExtension = ext; }
  bool SwapNibbles() const { return m_swapNibbles; }
  void SetSwapNibbles(bool swap) { m_swapNibbles = swap; }
  bool ClipboardAsHexText() const { return m_clipboardAsHexText; }
  void SetClipboardAsHexText(bool hex) { m_clipboardAsHexText = hex; }

  // --- Change marks
  bool IsMarked(int64_t pos) const { return m_marks.Get(pos); }
  const HexChangeMarks& Marks() const { return m_marks; }
  bool DataModified() const { return m_dataModified; }
  // False empties the undo storage and clears every change mark.
  void SetDataModified(bool modified);

  // --- Cursor and selection
  int64_t CursorPos() const { return m_cursorPos; }
  bool InCharField() const { return m_inCharField; }
  bool LowNibble() const { return m_lowNibble; }
  // extend: select from the anchor to the new position, else clear the selection.
  void SetCursor(int64_t pos, bool inCharField, bool lowNibble, bool extend = false);
  // topRow (the first row of bytes shown) and visibleRows serve the page moves.
  void MoveCursor(TCursorMove move, bool extend, int64_t topRow = 0, int64_t visibleRows = 1);
  // The row of bytes the cursor is in (byte / BytesPerRow).
  int64_t CursorRow() const { return m_cursorPos / m_bytesPerRow; }
  // Moves the cursor to a row of bytes, keeping its place in the row; clamped into the data.
  void SetCursorRow(int64_t row);

  bool HasSelection() const { return m_selStart >= 0; }
  int64_t SelStart() const { return m_selStart; }
  int64_t SelEnd() const { return m_selEnd; }
  int64_t SelCount() const { return HasSelection() ? m_selEnd - m_selStart + 1 : 0; }
  bool IsSelected(int64_t pos) const { return pos >= m_selStart && pos <= m_selEnd; }
  // end -1 clears the selection.
  void Select(int64_t start, int64_t end);
  void ClearSelection();
  void SelectAll();
  std::vector<uint8_t> SelectedBytes() const { return Bytes(m_selStart, SelCount()); }

  // --- Bookmarks
  HexBookmark Bookmark(int index) const;
  // Sets bookmark n at the cursor; the same position and field again removes it.
  void ToggleBookmark(int index);
  // Moves to bookmark n; one beyond the data is removed instead. True when moved.
  bool GotoBookmark(int index);

  // --- Modification (overwrite mode)
  TTypeResult TypeChar(char32_t ch);
  // Ctrl+Delete: refused in a fixed-size editor with "Cannot update undo storage".
  void DeleteSelection();
  // Returns the number of bytes written.
  int64_t PasteBytes(std::span<const uint8_t> bytes,
                     std::string_view description = kPasteDescription);
  int64_t DropBytes(std::span<const uint8_t> bytes, int64_t dropPos,
                    std::string_view description = kDropDescription);
  // Moves the selection so that it lands before the byte at dropPos; the size stays.
  bool MoveSelectionTo(int64_t dropPos);

  // --- Undo
  void BeginUndoUpdate() { ++m_undoBracket; }
  void EndUndoUpdate() { m_undoBracket = m_undoBracket > 0 ? m_undoBracket - 1 : 0; }
  bool CanUndo() const { return m_undoBracket == 0 && !m_undo.Empty(); }
  bool Undo();
  bool CanRedo() const { return m_undo.HasRedo(); }
  bool Redo();
  std::string UndoDescription() const;
  const TQuorHUndoStorage& UndoStorage() const { return m_undo; }

  HexEditorState State() const;

 private:
  void Notify(const HexChange& change) const;
  void ClampCursor();
  void RestoreState(const HexEditorState& state);
  void RecordSplice(TUndoKind kind, int64_t pos, int64_t oldLength, int64_t newLength,
                    int64_t markCount, std::string_view description);
  UndoRecord ApplyRecord(const UndoRecord& record);
  void ReplaceRange(int64_t pos, std::span<const uint8_t> bytes, std::string_view description);
  void BackUpOwnFile(const std::string& path) const;

  TQuorHMemoryStream m_data;
  HexChangeMarks m_marks;
  TQuorHUndoStorage m_undo;
  ChangeHandler m_onChange;
  std::array<HexBookmark, kBookmarkCount> m_bookmarks{};

  int64_t m_cursorPos = 0;
  bool m_inCharField = false;
  bool m_lowNibble = false;
  int64_t m_selStart = -1;
  int64_t m_selEnd = -1;
  int64_t m_anchor = -1;

  int m_bytesPerRow = 16;
  int m_bytesPerColumn = 2;
  int m_bytesPerUnit = 1;
  int m_rulerBytesPerUnit = -1;
  std::string m_offsetFormatText = "-!10:0x|";
  HexOffsetFormat m_offsetFormat;
  bool m_hexLowerCase = false;
  bool m_noSizeChange = false;
  bool m_readOnlyView = false;
  bool m_createBackup = true;
  std::string m_backupExtension = ".bak";
  bool m_swapNibbles = false;
  bool m_clipboardAsHexText = false;

  bool m_dataModified = false;
  int m_undoBracket = 0;
  std::string m_fileName = "---";
  bool m_fileReadOnly = true;  // a new editor's own file counts as read-only
};

}  // namespace vantor
