// The hex editor as the memory pages use it (fixed size): the private clipboard block and
// hex text from anywhere, then random sequences of typing, moving, selecting, pasting,
// dropping, moving blocks, undo and redo. After every step the size is unchanged, the undo
// storage keeps its bound, and an undo followed by a redo gives back the same bytes and marks.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "hexedit/HexClipboardData.h"
#include "hexedit/HexEditorModel.h"
#include "hexedit/QuorHexEditorError.h"

using namespace vantor;

namespace {

struct Snapshot {
  std::vector<uint8_t> bytes;
  std::vector<bool> marks;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const HexEditorModel& model) {
  Snapshot s{model.SaveToBytes(), {}};
  for (int64_t i = 0; i < model.DataSize(); ++i)
    s.marks.push_back(model.IsMarked(i));
  return s;
}

constexpr int64_t kMaxUndo = 512;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::span<const uint8_t> input(data, size);
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)DecodeClipboardBlock(input);
  (void)DecodeRegEditHexData(input);
  (void)ReadHexText(text, size & 1);
  (void)BytesOfText(text);
  (void)BitmapFileOfDib(input);

  if (size < 2) return 0;
  HexEditorModel model;
  model.SetNoSizeChange(true);
  model.SetMaxUndo(kMaxUndo);
  const int64_t dataSize = data[0] % 200 + 1;
  std::vector<uint8_t> initial(static_cast<std::size_t>(dataSize));
  for (std::size_t i = 0; i < initial.size(); ++i)
    initial[i] = static_cast<uint8_t>(i * 7);
  model.LoadFromBytes(initial.data(), initial.size());
  model.SetBytesPerRow(data[1] % 32 + 1);

  std::size_t at = 2;
  auto next = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
  while (at < size) {
    const uint8_t op = next();
    const uint8_t a = next();
    const uint8_t b = next();
    try {
      switch (op % 12) {
        case 0:
          model.TypeChar(U"0123456789abcdefXYZ g"[a % 21]);
          break;
        case 1:
          model.MoveCursor(static_cast<TCursorMove>(a % 12), b & 1, 0, b % 8 + 1);
          break;
        case 2:
          model.SetCursor(a % (dataSize + 2), b & 1, b & 2);
          break;
        case 3:
          model.Select(a % dataSize, b % dataSize);
          break;
        case 4: {
          const std::vector<uint8_t> bytes(static_cast<std::size_t>(a % 40), b);
          model.PasteBytes(bytes);
          break;
        }
        case 5: {
          const std::vector<uint8_t> bytes(static_cast<std::size_t>(a % 40), b);
          model.DropBytes(bytes, b % (dataSize + 4));
          break;
        }
        case 6:
          model.MoveSelectionTo(a % (dataSize + 2));
          break;
        case 7: {
          const Snapshot before = snapshot(model);
          if (model.Undo()) {
            if (!model.Redo()) std::abort();
            if (!(snapshot(model) == before)) std::abort();
          }
          break;
        }
        case 8:
          model.Undo();
          break;
        case 9:
          model.Redo();
          break;
        case 10:
          model.DeleteSelection();
          break;
        case 11:
          model.SetDataSize(a + 1);
          break;  // to 0 is allowed: a reload does that
      }
    } catch (const EQuorHexEditor&) {
      // A refused edit: nothing may have changed size.
    }
    if (model.DataSize() != dataSize) std::abort();
    // The storage may exceed its bound only by the newest record (at most the data and a
    // fixed header plus the marks of the bytes).
    if (model.UndoStorage().Size() > static_cast<std::size_t>(kMaxUndo + 4 * dataSize + 1024)) {
      std::abort();
    }
  }
  return 0;
}
