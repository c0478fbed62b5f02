#include "hexedit/QuorHUndoStorage.h"

#include <array>
#include <cstring>

namespace vantor {
namespace {

constexpr std::array<std::string_view, 11> kKindDescriptions = {
    "Change Byte(s)",  "Remove Data",           "Insert Buffer",  "Replace",
    "Append Buffer",   "Insert Nibble",         "Delete Nibble",  "Convert",
    "Cursor movement", "Multiple Modification", "All data saved",
};

enum StateFlags : uint8_t {
  kInCharField = 1,
  kLowNibble = 2,
  kInsertMode = 4,
  kDataModified = 8,
};

// A record in the block:
//   RecordHeader | bytes | packed marks | description | uint32 total length
// The header starts with the same total length so that the oldest can be dropped.
struct RecordHeader {
  uint32_t totalLength;
  uint8_t kind;
  uint8_t flags;
  uint8_t translation;
  uint8_t bytesPerUnit;
  int64_t pos;
  int64_t newLength;
  int64_t byteCount;
  int64_t markCount;
  int64_t cursorPos;
  int64_t selStart;
  int64_t selEnd;
  int64_t anchor;
  uint32_t descriptionLength;
  uint32_t reserved;
};

RecordHeader HeaderAt(const std::vector<uint8_t>& block, size_t start) {
  RecordHeader header;
  std::memcpy(&header, block.data() + start, sizeof header);
  return header;
}

uint8_t FlagsOf(const HexEditorState& state) {
  return static_cast<uint8_t>(
      (state.inCharField ? kInCharField : 0) | (state.lowNibble ? kLowNibble : 0) |
      (state.insertMode ? kInsertMode : 0) | (state.dataModified ? kDataModified : 0));
}

}  // namespace

std::string_view UndoKindDescription(TUndoKind kind) {
  const auto index = static_cast<size_t>(kind);
  return index < kKindDescriptions.size() ? kKindDescriptions[index] : std::string_view{};
}

UndoRecordView ViewOf(const UndoRecord& record) {
  return UndoRecordView{record.kind,      record.pos,   record.newLength, record.bytes,
                        record.markCount, record.marks, record.state,     record.description};
}

void TQuorHUndoStorage::Append(const UndoRecordView& record) {
  while (m_maxUndo > 0 && m_count > 0 && Size() > static_cast<size_t>(m_maxUndo))
    DropOldest();

  const size_t markBytes = static_cast<size_t>((record.markCount + 7) / 8);
  const size_t total = sizeof(RecordHeader) + record.bytes.size() + markBytes +
                       record.description.size() + sizeof(uint32_t);
  RecordHeader header{};
  header.totalLength = static_cast<uint32_t>(total);
  header.kind = static_cast<uint8_t>(record.kind);
  header.flags = FlagsOf(record.state);
  header.translation = record.state.translation;
  header.bytesPerUnit = record.state.bytesPerUnit;
  header.pos = record.pos;
  header.newLength = record.newLength;
  header.byteCount = static_cast<int64_t>(record.bytes.size());
  header.markCount = record.markCount;
  header.cursorPos = record.state.cursorPos;
  header.selStart = record.state.selStart;
  header.selEnd = record.state.selEnd;
  header.anchor = record.state.anchor;
  header.descriptionLength = static_cast<uint32_t>(record.description.size());

  size_t at = m_block.size();
  m_block.resize(at + total);
  uint8_t* out = m_block.data() + at;
  std::memcpy(out, &header, sizeof header);
  out += sizeof header;
  if (!record.bytes.empty()) std::memcpy(out, record.bytes.data(), record.bytes.size());
  out += record.bytes.size();
  if (markBytes) std::memcpy(out, record.marks.data(), markBytes);
  out += markBytes;
  if (!record.description.empty()) {
    std::memcpy(out, record.description.data(), record.description.size());
  }
  out += record.description.size();
  const uint32_t length = header.totalLength;
  std::memcpy(out, &length, sizeof length);
  ++m_count;
}

size_t TQuorHUndoStorage::NewestStart() const {
  uint32_t length;
  std::memcpy(&length, m_block.data() + m_block.size() - sizeof length, sizeof length);
  return m_block.size() - length;
}

void TQuorHUndoStorage::DropOldest() {
  m_head += HeaderAt(m_block, m_head).totalLength;
  --m_count;
  if (m_count == 0) {
    m_block.clear();
    m_head = 0;
  } else if (m_head > m_block.size() / 2) {
    // Compact only now and then, so dropping stays cheap on average.
    m_block.erase(m_block.begin(), m_block.begin() + static_cast<ptrdiff_t>(m_head));
    m_head = 0;
  }
}

UndoRecord TQuorHUndoStorage::PopNewest() {
  const size_t start = NewestStart();
  const RecordHeader header = HeaderAt(m_block, start);
  UndoRecord record;
  record.kind = static_cast<TUndoKind>(header.kind);
  record.pos = header.pos;
  record.newLength = header.newLength;
  record.markCount = header.markCount;
  record.state.cursorPos = header.cursorPos;
  record.state.selStart = header.selStart;
  record.state.selEnd = header.selEnd;
  record.state.anchor = header.anchor;
  record.state.inCharField = header.flags & kInCharField;
  record.state.lowNibble = header.flags & kLowNibble;
  record.state.insertMode = header.flags & kInsertMode;
  record.state.dataModified = header.flags & kDataModified;
  record.state.translation = header.translation;
  record.state.bytesPerUnit = header.bytesPerUnit;

  const uint8_t* in = m_block.data() + start + sizeof header;
  record.bytes.assign(in, in + header.byteCount);
  in += header.byteCount;
  const size_t markBytes = static_cast<size_t>((header.markCount + 7) / 8);
  record.marks.assign(in, in + markBytes);
  in += markBytes;
  record.description.assign(reinterpret_cast<const char*>(in), header.descriptionLength);

  m_block.resize(start);
  --m_count;
  if (m_count == 0) {
    m_block.clear();
    m_head = 0;
  }
  return record;
}

TUndoKind TQuorHUndoStorage::NewestKind() const {
  return static_cast<TUndoKind>(HeaderAt(m_block, NewestStart()).kind);
}

std::string TQuorHUndoStorage::NewestDescription() const {
  const size_t start = NewestStart();
  const RecordHeader header = HeaderAt(m_block, start);
  if (header.descriptionLength == 0)
    return std::string(UndoKindDescription(TUndoKind(header.kind)));
  const size_t at = start + sizeof header + static_cast<size_t>(header.byteCount) +
                    static_cast<size_t>((header.markCount + 7) / 8);
  return std::string(reinterpret_cast<const char*>(m_block.data() + at), header.descriptionLength);
}

std::optional<UndoRecord> TQuorHUndoStorage::TakeRedo() {
  std::optional<UndoRecord> record = std::move(m_redo);
  m_redo.reset();
  return record;
}

void TQuorHUndoStorage::Clear() {
  m_block.clear();
  m_head = 0;
  m_count = 0;
  m_redo.reset();
}

}  // namespace vantor
