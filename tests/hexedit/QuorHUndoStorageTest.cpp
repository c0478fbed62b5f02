#include "hexedit/QuorHUndoStorage.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

UndoRecord ByteRecord(int64_t pos, uint8_t old, std::string description = {}) {
  UndoRecord record;
  record.kind = TUndoKind::ukChange;
  record.pos = pos;
  record.newLength = 1;
  record.bytes = {old};
  record.markCount = 1;
  record.marks = {1};
  record.state.cursorPos = pos;
  record.state.lowNibble = true;
  record.description = std::move(description);
  return record;
}

TEST(QuorHUndoStorage, RecordsComeBackNewestFirstWithAllTheirFields) {
  TQuorHUndoStorage storage;
  storage.Append(ViewOf(ByteRecord(5, 0x0A)));
  storage.Append(ViewOf(ByteRecord(9, 0x33, "Paste from Clipboard")));
  ASSERT_EQ(storage.Count(), 2U);
  EXPECT_EQ(storage.NewestDescription(), "Paste from Clipboard");

  const UndoRecord newest = storage.PopNewest();
  EXPECT_EQ(newest.pos, 9);
  EXPECT_EQ(newest.bytes, std::vector<uint8_t>{0x33});
  EXPECT_EQ(newest.description, "Paste from Clipboard");
  EXPECT_TRUE(newest.state.lowNibble);
  EXPECT_EQ(storage.NewestDescription(), "Change Byte(s)");

  const UndoRecord oldest = storage.PopNewest();
  EXPECT_EQ(oldest.pos, 5);
  EXPECT_EQ(oldest.marks, std::vector<uint8_t>{1});
  EXPECT_TRUE(storage.Empty());
  EXPECT_EQ(storage.Size(), 0U);
}

TEST(QuorHUndoStorage, KindsDescribeThemselves) {
  EXPECT_EQ(UndoKindDescription(TUndoKind::ukChange), "Change Byte(s)");
  EXPECT_EQ(UndoKindDescription(TUndoKind::ukRemove), "Remove Data");
  EXPECT_EQ(UndoKindDescription(TUndoKind::ukReplace), "Replace");
  EXPECT_EQ(UndoKindDescription(TUndoKind::ukAppend), "Append Buffer");
  EXPECT_EQ(UndoKindDescription(TUndoKind::ukCursorMove), "Cursor movement");
  EXPECT_EQ(UndoKindDescription(TUndoKind::ukAllData), "All data saved");
}

TEST(QuorHUndoStorage, StaysWithinMaxUndoPlusTheNewestRecordDroppingTheOldest) {
  TQuorHUndoStorage storage;
  storage.SetMaxUndo(1000);
  size_t recordSize = 0;
  for (int i = 0; i < 500; ++i) {
    const size_t before = storage.Size();
    storage.Append(ViewOf(ByteRecord(i, static_cast<uint8_t>(i))));
    if (i == 0) recordSize = storage.Size() - before;
    ASSERT_LE(storage.Size(), 1000U + recordSize);
  }
  EXPECT_GT(storage.Size(), 1000U - recordSize);
  // The newest steps are kept, the oldest are gone.
  int64_t expected = 499;
  while (!storage.Empty())
    EXPECT_EQ(storage.PopNewest().pos, expected--);
  EXPECT_GT(expected, 400);
}

TEST(QuorHUndoStorage, NoLimitKeepsEverything) {
  TQuorHUndoStorage storage;
  storage.SetMaxUndo(0);
  for (int i = 0; i < 300; ++i)
    storage.Append(ViewOf(ByteRecord(i, 0)));
  EXPECT_EQ(storage.Count(), 300U);
}

TEST(QuorHUndoStorage, HoldsOneRedoRecordUntilTakenOrCleared) {
  TQuorHUndoStorage storage;
  storage.SetRedo(ByteRecord(1, 1));
  storage.SetRedo(ByteRecord(2, 2));
  ASSERT_TRUE(storage.HasRedo());
  EXPECT_EQ(storage.TakeRedo()->pos, 2);
  EXPECT_FALSE(storage.HasRedo());
  storage.SetRedo(ByteRecord(3, 3));
  storage.Clear();
  EXPECT_FALSE(storage.HasRedo());
}

}  // namespace
}  // namespace vantor
