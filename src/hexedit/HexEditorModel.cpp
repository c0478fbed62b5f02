#include "hexedit/HexEditorModel.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "hexedit/QuorHexEditorError.h"

namespace vantor {
namespace {

std::string Formatted(const char* pattern, const std::string& a, const std::string& b = {}) {
  std::string text(std::strlen(pattern) + a.size() + b.size(), '\0');
  const int length = std::snprintf(text.data(), text.size() + 1, pattern, a.c_str(), b.c_str());
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

std::string UnitError(const char* pattern, int value) {
  char text[96];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

}  // namespace

HexEditorModel::HexEditorModel() {
  m_offsetFormat = *ParseOffsetFormat(m_offsetFormatText).format;
}

void HexEditorModel::Notify(const HexChange& change) const {
  if (m_onChange) m_onChange(change);
}

std::vector<uint8_t> HexEditorModel::Bytes(int64_t pos, int64_t length) const {
  std::vector<uint8_t> bytes(static_cast<size_t>(std::max<int64_t>(length, 0)));
  m_data.Read(pos, length, bytes.data());
  return bytes;
}

void HexEditorModel::SetDataSize(int64_t size) {
  const int64_t old = DataSize();
  if (size < 0) throw EQuorHexEditor(kErrOutOfBounds);
  if (size == old) return;
  if (m_noSizeChange && old != 0 && size != 0) throw EQuorHexEditor(kErrFixedFileSize);
  if (m_undoBracket == 0) {
    if (size > old) {
      RecordSplice(TUndoKind::ukAppend, old, 0, size - old, 0, {});
    } else {
      RecordSplice(TUndoKind::ukRemove, size, old - size, 0,
                   std::max<int64_t>(m_marks.Length() - size, 0), {});
    }
  } else {
    // Records made before would no longer fit the data.
    m_undo.Clear();
  }
  m_data.SetSize(size);
  m_marks.ShrinkTo(size);
  ClampCursor();
  Notify({0, std::max(size, old), true, true});
}

void HexEditorModel::LoadFromBytes(const uint8_t* bytes, size_t length) {
  m_data.Assign(bytes, length);
  m_undo.Clear();
  m_marks.Clear();
  m_dataModified = false;
  ClearSelection();
  ClampCursor();
  Notify({0, DataSize(), true, true});
}

void HexEditorModel::BackUpOwnFile(const std::string& path) const {
  namespace fs = std::filesystem;
  const std::string backup = path + m_backupExtension;
  std::error_code error;
  if (fs::exists(backup, error)) {
    if (!fs::remove(backup, error)) {
      throw EQuorHexEditor(
          Formatted("Cannot delete previous backup %s. (%s)", backup, error.message()));
    }
  }
  if (!fs::exists(path, error)) return;
  fs::rename(path, backup, error);
  if (error) {
    throw EQuorHexEditor(Formatted("Cannot create backup %s. (%s)", backup, error.message()));
  }
}

void HexEditorModel::SaveToFile(const std::string& path, bool unmodify) {
  if (path == m_fileName) {
    if (m_fileReadOnly) throw EQuorHexEditor(Formatted("Cannot save readonly file %s.", path));
    if (m_createBackup) BackUpOwnFile(path);
  }
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    throw EQuorHexEditor(Formatted("Cannot create file \"%s\". %s", path, std::strerror(errno)));
  }
  file.write(reinterpret_cast<const char*>(m_data.Data()),
             static_cast<std::streamsize>(DataSize()));
  file.close();
  if (!file) {
    throw EQuorHexEditor(Formatted("Cannot create file \"%s\". %s", path, std::strerror(errno)));
  }
  if (unmodify) {
    m_fileName = path;
    m_fileReadOnly = false;
    SetDataModified(false);
  }
}

void HexEditorModel::SetBytesPerRow(int bytes) {
  if (bytes < 1 || bytes > 256) throw EQuorHexEditor(kErrBytesPerLine);
  m_bytesPerRow = bytes;
}

void HexEditorModel::ChangeBytesPerRowBy(int notches) {
  SetBytesPerRow(std::clamp(m_bytesPerRow + notches, 1, 256));
}

void HexEditorModel::SetBytesPerColumn(int bytes) {
  if (bytes < 1 || bytes > 256) throw EQuorHexEditor(kErrBytesPerColumn);
  m_bytesPerColumn = bytes;
}

void HexEditorModel::SetBytesPerUnit(int bytes) {
  if (bytes != 1 && bytes != 2 && bytes != 4 && bytes != 8) {
    throw EQuorHexEditor(UnitError("Invalid bytes per unit value %d, allowed: 1,2,4,8", bytes));
  }
  m_bytesPerUnit = bytes;
}

void HexEditorModel::SetRulerBytesPerUnit(int bytes) {
  if (bytes != -1 && bytes != 1 && bytes != 2 && bytes != 4 && bytes != 8) {
    throw EQuorHexEditor(
        UnitError("Invalid ruler bytes per unit value %d, allowed: -1,1,2,4,8", bytes));
  }
  m_rulerBytesPerUnit = bytes;
}

void HexEditorModel::SetOffsetFormat(const std::string& text) {
  const OffsetFormatParse parse = ParseOffsetFormat(text);
  if (!parse.format) throw EQuorHexEditor(parse.error);
  const std::string unitError =
      OffsetUnitError(*parse.format, m_bytesPerRow, m_bytesPerColumn, RulerUnit());
  if (!unitError.empty()) throw EQuorHexEditor(unitError);
  m_offsetFormat = *parse.format;
  m_offsetFormatText = text;
}

std::string HexEditorModel::OffsetText(int64_t offset) const {
  const int64_t lastRow = DataSize() > 0 ? (DataSize() - 1) / m_bytesPerRow * m_bytesPerRow : 0;
  const int unit = OffsetUnitBytes(m_offsetFormat, m_bytesPerRow, m_bytesPerColumn, RulerUnit());
  return FormatOffset(m_offsetFormat, offset, unit, lastRow, m_hexLowerCase);
}

std::string HexEditorModel::WidestOffsetText() const {
  return OffsetText(DataSize() > 0 ? (DataSize() - 1) / m_bytesPerRow * m_bytesPerRow : 0);
}

void HexEditorModel::SetDataModified(bool modified) {
  m_dataModified = modified;
  if (modified) return;
  m_undo.Clear();
  m_marks.Clear();
  Notify({0, DataSize(), false, false});
}

HexEditorState HexEditorModel::State() const {
  HexEditorState state;
  state.cursorPos = m_cursorPos;
  state.selStart = m_selStart;
  state.selEnd = m_selEnd;
  state.anchor = m_anchor;
  state.inCharField = m_inCharField;
  state.lowNibble = m_lowNibble;
  state.dataModified = m_dataModified;
  state.bytesPerUnit = static_cast<uint8_t>(m_bytesPerUnit);
  return state;
}

void HexEditorModel::RestoreState(const HexEditorState& state) {
  m_cursorPos = state.cursorPos;
  m_inCharField = state.inCharField;
  m_lowNibble = state.lowNibble;
  m_selStart = state.selStart;
  m_selEnd = state.selEnd;
  m_anchor = state.anchor;
  m_dataModified = state.dataModified;
  if (state.bytesPerUnit == 1 || state.bytesPerUnit == 2 || state.bytesPerUnit == 4 ||
      state.bytesPerUnit == 8) {
    m_bytesPerUnit = state.bytesPerUnit;
  }
  ClampCursor();
}

void HexEditorModel::RecordSplice(TUndoKind kind, int64_t pos, int64_t oldLength, int64_t newLength,
                                  int64_t markCount, std::string_view description) {
  m_undo.ClearRedo();
  if (m_undoBracket > 0) return;
  uint8_t smallMarks[8];
  std::vector<uint8_t> largeMarks;
  uint8_t* marks = smallMarks;
  if (markCount > 64) {
    largeMarks.resize(static_cast<size_t>((markCount + 7) / 8));
    marks = largeMarks.data();
  }
  m_marks.CopyBits(pos, markCount, marks);
  m_data.CheckRange(pos, oldLength);
  UndoRecordView record;
  record.kind = kind;
  record.pos = pos;
  record.newLength = newLength;
  record.bytes = {m_data.Data() + pos, static_cast<size_t>(oldLength)};
  record.markCount = markCount;
  record.marks = {marks, static_cast<size_t>((markCount + 7) / 8)};
  record.state = State();
  record.description = description;
  m_undo.Append(record);
  m_dataModified = true;
}

UndoRecord HexEditorModel::ApplyRecord(const UndoRecord& record) {
  m_data.CheckRange(record.pos, record.newLength);
  UndoRecord inverse;
  inverse.kind = record.kind;
  inverse.pos = record.pos;
  inverse.newLength = static_cast<int64_t>(record.bytes.size());
  inverse.bytes = Bytes(record.pos, record.newLength);
  inverse.markCount = record.markCount;
  inverse.marks.resize(static_cast<size_t>((record.markCount + 7) / 8));
  m_marks.CopyBits(record.pos, record.markCount, inverse.marks.data());
  inverse.state = State();
  inverse.description = record.description;

  const int64_t oldSize = DataSize();
  m_data.Splice(record.pos, record.newLength, record.bytes.data(),
                static_cast<int64_t>(record.bytes.size()));
  m_marks.RestoreBits(record.pos, record.markCount, record.marks.data());
  m_marks.ShrinkTo(DataSize());
  RestoreState(record.state);
  const bool sized = DataSize() != oldSize;
  const int64_t length = sized ? std::max(oldSize, DataSize()) - record.pos
                               : std::max(inverse.newLength, record.markCount);
  Notify({record.pos, length, true, sized});
  return inverse;
}

bool HexEditorModel::Undo() {
  if (!CanUndo()) return false;
  UndoRecord record = m_undo.PopNewest();
  m_undo.SetRedo(ApplyRecord(record));
  return true;
}

bool HexEditorModel::Redo() {
  std::optional<UndoRecord> record = m_undo.TakeRedo();
  if (!record) return false;
  const UndoRecord inverse = ApplyRecord(*record);
  m_undo.Append(ViewOf(inverse));
  return true;
}

std::string HexEditorModel::UndoDescription() const {
  return CanUndo() ? m_undo.NewestDescription() : std::string(kNoUndo);
}

}  // namespace vantor
