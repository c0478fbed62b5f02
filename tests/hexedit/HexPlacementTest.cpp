#include <gtest/gtest.h>

#include "hexedit/HexEditorModel.h"

namespace vantor {
namespace {

// A fixed-size editor of 16 bytes 00..0F with marks on every byte.
class HexPlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model.SetNoSizeChange(true);
    std::vector<uint8_t> bytes(16);
    for (int i = 0; i < 16; ++i)
      bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    model.LoadFromBytes(bytes.data(), bytes.size());
    for (int i = 0; i < 16; ++i) {
      model.SetCursor(i, true, false);
      model.TypeChar(U'x');
    }
    original = model.SaveToBytes();
  }
  static std::vector<uint8_t> Filled(size_t count, uint8_t value) {
    return std::vector<uint8_t>(count, value);
  }

  HexEditorModel model;
  std::vector<uint8_t> original;
};

TEST_F(HexPlacementTest, PasteNearTheEndIsCutAtTheEnd) {
  model.SetCursor(12, false, true);
  EXPECT_EQ(model.PasteBytes(Filled(10, 0xEE)), 4);
  EXPECT_EQ(model.DataSize(), 16);
  for (int i = 12; i < 16; ++i)
    EXPECT_EQ(model.ByteAt(i), 0xEE);
  EXPECT_EQ(model.ByteAt(11), 'x');
  EXPECT_EQ(model.CursorPos(), 15);
  EXPECT_EQ(model.SelStart(), 12);
  EXPECT_EQ(model.SelEnd(), 15);
  EXPECT_EQ(model.UndoDescription(), "Paste from Clipboard");
}

TEST_F(HexPlacementTest, PasteReplacesTheSelectionAndShrinksIt) {
  model.Select(4, 6);
  EXPECT_EQ(model.PasteBytes(Filled(10, 0xAB)), 3);
  EXPECT_EQ(model.ByteAt(7), 'x');
  model.Select(4, 6);
  EXPECT_EQ(model.PasteBytes(Filled(2, 0xCD)), 2);
  EXPECT_EQ(model.ByteAt(6), 0xAB);
  EXPECT_EQ(model.SelCount(), 2);
  EXPECT_EQ(model.CursorPos(), 5);
}

TEST_F(HexPlacementTest, PasteClearsMarksFromTheFirstReplacedByteAndUndoBringsThemBack) {
  model.SetCursor(5, false, false);
  model.PasteBytes(Filled(2, 0));
  for (int i = 0; i < 5; ++i)
    EXPECT_TRUE(model.IsMarked(i)) << i;
  for (int i = 5; i < 16; ++i)
    EXPECT_FALSE(model.IsMarked(i)) << i;
  model.Undo();
  EXPECT_EQ(model.SaveToBytes(), original);
  for (int i = 0; i < 16; ++i)
    EXPECT_TRUE(model.IsMarked(i)) << i;
  model.Redo();
  EXPECT_FALSE(model.IsMarked(15));
  EXPECT_EQ(model.ByteAt(5), 0);
}

TEST_F(HexPlacementTest, PasteGoesToTheUnitBoundary) {
  model.SetBytesPerUnit(4);
  model.SetCursor(6, false, false);
  model.PasteBytes(Filled(1, 0x55));
  EXPECT_EQ(model.ByteAt(4), 0x55);
}

TEST_F(HexPlacementTest, NothingIsPastedIntoAnEmptyOrReadOnlyEditor) {
  model.SetReadOnlyView(true);
  EXPECT_EQ(model.PasteBytes(Filled(3, 1)), 0);
  HexEditorModel empty;
  empty.SetNoSizeChange(true);
  EXPECT_EQ(empty.PasteBytes(Filled(3, 1)), 0);
  EXPECT_EQ(empty.DataSize(), 0);
}

TEST_F(HexPlacementTest, DropOverwritesFromTheByteUnderTheMouse) {
  EXPECT_EQ(model.DropBytes(Filled(5, 0x11), 14), 2);
  EXPECT_EQ(model.ByteAt(14), 0x11);
  EXPECT_EQ(model.UndoDescription(), "Data Dropped");
  EXPECT_FALSE(model.IsMarked(14));
  EXPECT_TRUE(model.IsMarked(13));
  EXPECT_EQ(model.DropBytes(Filled(5, 0x22), 16), 0);  // beyond the end: nothing
  model.Select(2, 3);
  EXPECT_EQ(model.DropBytes(Filled(5, 0x33), 3), 2);  // onto the selection: replaces it
  EXPECT_EQ(model.ByteAt(2), 0x33);
  EXPECT_EQ(model.ByteAt(4), 'x');
}

TEST_F(HexPlacementTest, MovingASelectionKeepsTheSizeAndIsOneStep) {
  std::vector<uint8_t> bytes(8);
  for (int i = 0; i < 8; ++i)
    bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
  model.LoadFromBytes(bytes.data(), bytes.size());
  model.Select(1, 2);
  ASSERT_TRUE(model.MoveSelectionTo(5));  // lands before byte 5
  EXPECT_EQ(model.SaveToBytes(), (std::vector<uint8_t>{0, 3, 4, 1, 2, 5, 6, 7}));
  EXPECT_EQ(model.SelStart(), 3);
  EXPECT_EQ(model.SelEnd(), 4);
  EXPECT_EQ(model.UndoDescription(), "Data Moved");
  ASSERT_TRUE(model.MoveSelectionTo(0));
  EXPECT_EQ(model.SaveToBytes(), (std::vector<uint8_t>{1, 2, 0, 3, 4, 5, 6, 7}));
  EXPECT_FALSE(model.MoveSelectionTo(1));  // onto itself
  model.Undo();
  model.Undo();
  EXPECT_EQ(model.SaveToBytes(), bytes);
}

}  // namespace
}  // namespace vantor
