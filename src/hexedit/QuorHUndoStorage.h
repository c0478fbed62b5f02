#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vantor {

enum class TUndoKind : uint8_t {
  ukChange = 0,
  ukRemove = 1,
  ukInsert = 2,
  ukReplace = 3,
  ukAppend = 4,
  ukNibbleInsert = 5,
  ukNibbleDelete = 6,
  ukConvert = 7,
  ukCursorMove = 8,
  ukGroup = 9,
  ukAllData = 10,
};

// The description of a record whose caller gave none.
std::string_view UndoKindDescription(TUndoKind kind);

// The editor state kept with every record, restored by Undo and Redo.
struct HexEditorState {
  int64_t cursorPos = 0;
  int64_t selStart = -1;
  int64_t selEnd = -1;
  int64_t anchor = -1;
  bool inCharField = false;
  bool lowNibble = false;
  bool insertMode = false;
  bool dataModified = false;
  uint8_t translation = 0;
  uint8_t bytesPerUnit = 1;

  bool operator==(const HexEditorState&) const = default;
};

// One step as a splice: applying it puts `bytes` in place of the `newLength` bytes at
// `pos` (so the data size may change), sets the marks of [pos, pos + markCount) from
// `marks` (packed, bit i = position pos + i) and restores `state`.
struct UndoRecord {
  TUndoKind kind = TUndoKind::ukChange;
  int64_t pos = 0;
  int64_t newLength = 0;
  std::vector<uint8_t> bytes;
  int64_t markCount = 0;
  std::vector<uint8_t> marks;
  HexEditorState state;
  std::string description;
};

// A record not yet stored, given as views so that appending copies straight into the block.
struct UndoRecordView {
  TUndoKind kind = TUndoKind::ukChange;
  int64_t pos = 0;
  int64_t newLength = 0;
  std::span<const uint8_t> bytes;
  int64_t markCount = 0;
  std::span<const uint8_t> marks;
  HexEditorState state;
  std::string_view description;
};

UndoRecordView ViewOf(const UndoRecord& record);

// The undo records in one growable block, each followed by its length word so that the
// newest is found from the end; the oldest are dropped from the front while the block
// holds more than MaxUndo bytes, so it exceeds MaxUndo by the newest record at most.
// Beside the block: the single redo record.
class TQuorHUndoStorage {
 public:
  // 0 or less: no limit.
  void SetMaxUndo(int64_t bytes) { m_maxUndo = bytes; }
  int64_t MaxUndo() const { return m_maxUndo; }

  void Append(const UndoRecordView& record);
  bool Empty() const { return m_count == 0; }
  size_t Count() const { return m_count; }
  // Bytes held by the undo records (the redo record not counted).
  size_t Size() const { return m_block.size() - m_head; }

  UndoRecord PopNewest();
  TUndoKind NewestKind() const;
  std::string NewestDescription() const;

  void SetRedo(UndoRecord record) { m_redo = std::move(record); }
  std::optional<UndoRecord> TakeRedo();
  bool HasRedo() const { return m_redo.has_value(); }
  void ClearRedo() { m_redo.reset(); }

  void Clear();

 private:
  size_t NewestStart() const;
  void DropOldest();

  std::vector<uint8_t> m_block;
  size_t m_head = 0;  // start of the oldest record; the bytes before it are dropped
  size_t m_count = 0;
  int64_t m_maxUndo = 1048576;
  std::optional<UndoRecord> m_redo;
};

}  // namespace vantor
