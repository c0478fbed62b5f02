#include "hexedit/HexEditorModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "hexedit/HexGridLayout.h"
#include "hexedit/QuorHexEditorError.h"

namespace vantor {
namespace {

// An editor as a memory page sets it up: fixed size, 16 bytes per row, 64 KiB of undo.
class HexEditorModelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model.SetNoSizeChange(true);
    model.SetMaxUndo(65536);
    model.SetOffsetFormat("-!10:$|");
    model.SetChangeHandler([this](const HexChange& change) { changes.push_back(change); });
  }
  void Load(std::vector<uint8_t> bytes) {
    model.LoadFromBytes(bytes.data(), bytes.size());
    changes.clear();
  }
  void Type(std::string_view text) {
    for (char c : text)
      model.TypeChar(static_cast<unsigned char>(c));
  }

  HexEditorModel model;
  std::vector<HexChange> changes;
};

TEST_F(HexEditorModelTest, TypingAHexDigitChangesOneNibbleRecordsMarksAndMovesOn) {
  Load({0x0A, 0x00});
  EXPECT_EQ(model.TypeChar('A'), TTypeResult::trChanged);
  EXPECT_EQ(model.ByteAt(0), 0xAA);
  EXPECT_TRUE(model.IsMarked(0));
  EXPECT_FALSE(model.IsMarked(1));
  EXPECT_EQ(model.UndoDescription(), "Change Byte(s)");
  EXPECT_EQ(model.UndoStorage().Count(), 1U);
  EXPECT_TRUE(model.LowNibble());
  ASSERT_EQ(changes.size(), 1U);
  EXPECT_EQ(changes[0].offset, 0);
  EXPECT_EQ(changes[0].length, 1);

  // The same value on the low nibble: nothing recorded, nothing announced, cursor moves on.
  EXPECT_EQ(model.TypeChar('a'), TTypeResult::trUnchanged);
  EXPECT_EQ(model.ByteAt(0), 0xAA);
  EXPECT_EQ(model.UndoStorage().Count(), 1U);
  EXPECT_EQ(changes.size(), 1U);
  EXPECT_EQ(model.CursorPos(), 1);
  EXPECT_FALSE(model.LowNibble());
}

TEST_F(HexEditorModelTest, TypingRefusesWhatTheFieldCannotTake) {
  Load({0x41, 0x42});
  EXPECT_EQ(model.TypeChar('g'), TTypeResult::trInvalidKey);
  EXPECT_EQ(model.TypeChar(U'\t'), TTypeResult::trIgnored);
  EXPECT_EQ(model.CursorPos(), 0);
  model.MoveCursor(TCursorMove::cmSwitchField, false);
  EXPECT_EQ(model.TypeChar(U'\u20AC'), TTypeResult::trChanged);  // the euro sign is $80
  EXPECT_EQ(model.ByteAt(0), 0x80);
  EXPECT_EQ(model.TypeChar(U'\u4E00'), TTypeResult::trInvalidKey);
  model.SetReadOnlyView(true);
  EXPECT_EQ(model.TypeChar('z'), TTypeResult::trIgnored);
  EXPECT_EQ(model.ByteAt(1), 0x42);
}

TEST_F(HexEditorModelTest, TypingAtTheLastNibbleStaysThere) {
  Load({0x00});
  Type("12");
  EXPECT_EQ(model.ByteAt(0), 0x12);
  EXPECT_EQ(model.TypeChar('3'), TTypeResult::trChanged);
  EXPECT_EQ(model.ByteAt(0), 0x13);
}

TEST_F(HexEditorModelTest, UndoRestoresBytesAndMarksRedoSetsThemAgain) {
  Load({0x0A, 0x00});
  model.TypeChar('A');
  ASSERT_TRUE(model.CanUndo());
  ASSERT_TRUE(model.Undo());
  EXPECT_EQ(model.ByteAt(0), 0x0A);
  EXPECT_FALSE(model.IsMarked(0));
  EXPECT_FALSE(model.LowNibble());
  EXPECT_FALSE(model.DataModified());
  EXPECT_EQ(model.UndoDescription(), "No Undo");
  ASSERT_TRUE(model.CanRedo());
  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(model.ByteAt(0), 0xAA);
  EXPECT_TRUE(model.IsMarked(0));
  EXPECT_TRUE(model.LowNibble());
  EXPECT_TRUE(model.DataModified());
  EXPECT_FALSE(model.CanRedo());
  EXPECT_TRUE(model.CanUndo());
}

TEST_F(HexEditorModelTest, OnlyTheStepUndoneLastCanBeRedone) {
  Load({0x00, 0x00});
  Type("12");  // byte 0 in two records
  Type("3");   // byte 1
  model.Undo();
  model.Undo();
  EXPECT_EQ(model.ByteAt(0), 0x10);
  EXPECT_EQ(model.ByteAt(1), 0x00);
  ASSERT_TRUE(model.Redo());
  EXPECT_EQ(model.ByteAt(0), 0x12);
  EXPECT_FALSE(model.Redo());
  EXPECT_EQ(model.ByteAt(1), 0x00);

  model.Undo();
  model.TypeChar('7');  // any new change drops the redo record
  EXPECT_FALSE(model.CanRedo());
}

TEST_F(HexEditorModelTest, UndoStorageStaysNearMaxUndoAndLosesTheOldestSteps) {
  Load(std::vector<uint8_t>(4096, 0));
  size_t largest = 0;
  for (int i = 0; i < 20000; ++i) {
    model.SetCursor(i % 4096, false, i % 2);
    model.TypeChar("0123456789ABCDEF"[i % 15 + 1]);
    largest = std::max(largest, model.UndoStorage().Size());
  }
  EXPECT_LE(largest, 65536U + 200U);
  EXPECT_GT(model.UndoStorage().Size(), 60000U);
  int undone = 0;
  while (model.Undo())
    ++undone;
  EXPECT_LT(undone, 20000);
  EXPECT_GT(undone, 500);
}

TEST_F(HexEditorModelTest, UndoBracketHidesUndoAndRecordsNothing) {
  Load({0, 0, 0});
  model.TypeChar('5');
  model.BeginUndoUpdate();
  EXPECT_FALSE(model.CanUndo());
  EXPECT_EQ(model.UndoDescription(), "No Undo");
  model.DataBuffer()[2] = 0x77;
  model.EndUndoUpdate();
  EXPECT_TRUE(model.CanUndo());
  EXPECT_FALSE(model.IsMarked(2));
  EXPECT_EQ(model.UndoStorage().Count(), 1U);
}

TEST_F(HexEditorModelTest, DataModifiedFalseEmptiesUndoAndMarks) {
  Load({0, 0});
  Type("11");
  ASSERT_TRUE(model.DataModified());
  model.SetDataModified(false);
  EXPECT_FALSE(model.CanUndo());
  EXPECT_FALSE(model.IsMarked(0));
  EXPECT_FALSE(changes.back().dataChanged);
}

TEST_F(HexEditorModelTest, FixedSizeEditorRefusesSizeChanges) {
  Load(std::vector<uint8_t>(8, 0xFF));
  EXPECT_THROW(
      {
        try {
          model.SetDataSize(9);
        } catch (const EQuorHexEditor& e) {
          EXPECT_STREQ(e.what(), "Cannot change fixed filesize");
          throw;
        }
      },
      EQuorHexEditor);
  model.Select(2, 4);
  try {
    model.DeleteSelection();
    ADD_FAILURE() << "Ctrl+Delete went through";
  } catch (const EQuorHexEditor& e) {
    EXPECT_STREQ(e.what(), "Cannot update undo storage");
  }
  EXPECT_EQ(model.DataSize(), 8);
  EXPECT_FALSE(model.CanUndo());

  model.SetDataSize(0);  // to and from zero is allowed
  model.SetDataSize(4);
  EXPECT_EQ(model.SaveToBytes(), std::vector<uint8_t>(4, 0));
}

TEST_F(HexEditorModelTest, ResizableEditorRecordsSizeChangesAndDeletes) {
  model.SetNoSizeChange(false);
  Load({1, 2, 3, 4});
  model.SetDataSize(6);
  EXPECT_EQ(model.UndoDescription(), "Append Buffer");
  model.Select(1, 2);
  model.DeleteSelection();
  EXPECT_EQ(model.SaveToBytes(), (std::vector<uint8_t>{1, 4, 0, 0}));
  EXPECT_EQ(model.UndoDescription(), "Remove Data");
  model.Undo();
  EXPECT_EQ(model.SaveToBytes(), (std::vector<uint8_t>{1, 2, 3, 4, 0, 0}));
  model.Undo();
  EXPECT_EQ(model.DataSize(), 4);
  model.Redo();
  EXPECT_EQ(model.DataSize(), 6);
}

TEST_F(HexEditorModelTest, SizeChangeInsideABracketDropsStaleRecords) {
  Load({1, 2});
  model.TypeChar('F');
  model.BeginUndoUpdate();
  model.SetDataSize(0);
  model.SetDataSize(100);
  model.EndUndoUpdate();
  EXPECT_FALSE(model.CanUndo());
}

// The model speaks in rows of bytes; the grid's ruler rows and spacer column are the layout's.
TEST_F(HexEditorModelTest, GridCoordinatesFollowTheRowLength) {
  Load(std::vector<uint8_t>(256, 0));
  model.SetCursor(0x25, false, false);
  EXPECT_EQ(model.CursorRow(), 0x25 / 16);
  EXPECT_EQ(GridRowOfDataRow(model.CursorRow()), 0x25 / 16 + 2);
  EXPECT_EQ(GridCursorColumn(0x25, false, false, 16), 2 + 2 * 5);
  EXPECT_EQ(GridCursorColumn(0x25, false, true, 16), 2 + 2 * 5 + 1);
  EXPECT_EQ(GridCursorColumn(0x25, true, false, 16), 2 * 16 + 3 + 5);

  // As the address jumps place the caret: row, then column.
  model.SetCursorRow(0x1230 / 16);
  EXPECT_EQ(model.CursorPos(), 255);  // clamped into the 256 bytes
  model.SetCursorRow(0x80 / 16);
  const GridCursorPlace hex = CursorAtColumn(6, model.CursorRow() * 16, 16);
  EXPECT_EQ(hex.pos, 0x82);
  EXPECT_FALSE(hex.inCharField);
  const GridCursorPlace character = CursorAtColumn(2 * 16 + 3 + 15, 0x80, 16);
  EXPECT_EQ(character.pos, 0x8F);
  EXPECT_TRUE(character.inCharField);
  EXPECT_EQ(CursorAtColumn(2 * 16 + 2, 0x80, 16).pos, 0x8F);  // the separator: last low nibble
  EXPECT_TRUE(CursorAtColumn(2 * 16 + 2, 0x80, 16).lowNibble);

  EXPECT_EQ(GridRowCount(0, 16), 3);
  EXPECT_EQ(GridRowCount(8192, 16), 514);
  EXPECT_EQ(GridRowCount(17, 16), 4);
}

TEST_F(HexEditorModelTest, ColumnWidthsLeaveAGapAfterEachGroup) {
  HexGridLayout layout;
  layout.Rebuild(4, 2, 9, 50);  // W = 9
  EXPECT_EQ(layout.ColumnCount(), 15);
  const std::vector<int> widths = {50, 6, 9, 9, 9, 18, 9, 9, 9, 18, 9, 10, 10, 10, 19};
  for (int c = 0; c < layout.ColumnCount(); ++c)
    EXPECT_EQ(layout.ColumnWidth(c), widths[c]) << c;
  EXPECT_EQ(layout.ColumnLeft(2), 56);
  EXPECT_EQ(layout.ColumnAt(56), 2);
  EXPECT_EQ(layout.ColumnAt(55), 1);
  EXPECT_EQ(layout.ColumnAt(layout.TotalWidth()), -1);
  layout.Rebuild(3, 1, 9, 50);
  EXPECT_EQ(layout.ColumnWidth(3), 18);
  EXPECT_EQ(layout.ColumnWidth(7), 18);
  EXPECT_EQ(GutterWidth(5, 9), 75);
}

TEST_F(HexEditorModelTest, MovementKeysAndShiftSelection) {
  Load(std::vector<uint8_t>(40, 0));
  model.MoveCursor(TCursorMove::cmRight, false);
  EXPECT_EQ(model.CursorPos(), 0);
  EXPECT_TRUE(model.LowNibble());
  model.MoveCursor(TCursorMove::cmDown, false);
  EXPECT_EQ(model.CursorPos(), 16);
  model.MoveCursor(TCursorMove::cmEnd, false);
  EXPECT_EQ(model.CursorPos(), 31);
  model.MoveCursor(TCursorMove::cmRowStart, false);
  EXPECT_EQ(model.CursorPos(), 16);
  model.MoveCursor(TCursorMove::cmRowEnd, false);
  EXPECT_TRUE(model.InCharField());
  EXPECT_EQ(model.CursorPos(), 31);
  model.MoveCursor(TCursorMove::cmDown, false);
  EXPECT_EQ(model.CursorPos(), 31);  // no byte below
  model.MoveCursor(TCursorMove::cmDataEnd, false);
  EXPECT_EQ(model.CursorPos(), 39);
  model.MoveCursor(TCursorMove::cmPageUp, false, 0, 10);
  EXPECT_EQ(model.CursorPos(), 7);

  model.SetCursor(21, false, false);
  model.MoveCursor(TCursorMove::cmRight, true);
  model.MoveCursor(TCursorMove::cmRight, true);
  EXPECT_EQ(model.SelStart(), 21);
  EXPECT_EQ(model.SelEnd(), 22);
  model.MoveCursor(TCursorMove::cmUp, true);  // back across the anchor
  EXPECT_EQ(model.SelStart(), 6);
  EXPECT_EQ(model.SelEnd(), 21);
  model.MoveCursor(TCursorMove::cmLeft, false);
  EXPECT_FALSE(model.HasSelection());

  model.SetBytesPerUnit(4);
  model.SetCursor(5, false, false);
  model.MoveCursor(TCursorMove::cmDown, true);
  EXPECT_EQ(model.SelStart(), 4);
  EXPECT_EQ(model.SelEnd(), 23);
}

TEST_F(HexEditorModelTest, SelectionBoundsAreChecked) {
  Load(std::vector<uint8_t>(8, 0));
  EXPECT_THROW(model.Select(-1, 3), EQuorHexEditor);
  EXPECT_THROW(model.Select(0, 8), EQuorHexEditor);
  model.SelectAll();
  EXPECT_EQ(model.SelCount(), 8);
  EXPECT_EQ(model.CursorPos(), 7);
}

TEST_F(HexEditorModelTest, BookmarksToggleGoAndVanishBeyondTheData) {
  Load(std::vector<uint8_t>(64, 0));
  model.SetCursor(40, true, false);
  model.ToggleBookmark(3);
  EXPECT_EQ(model.Bookmark(3).pos, 40);
  EXPECT_TRUE(model.Bookmark(3).inCharField);
  model.SetCursor(0, false, false);
  EXPECT_TRUE(model.GotoBookmark(3));
  EXPECT_EQ(model.CursorPos(), 40);
  EXPECT_TRUE(model.InCharField());
  model.ToggleBookmark(3);
  EXPECT_EQ(model.Bookmark(3).pos, -1);

  model.ToggleBookmark(4);
  model.SetNoSizeChange(false);
  model.SetDataSize(16);
  EXPECT_FALSE(model.GotoBookmark(4));
  EXPECT_EQ(model.Bookmark(4).pos, -1);
  EXPECT_THROW(model.ToggleBookmark(10), EQuorHexEditor);
}

TEST_F(HexEditorModelTest, SettingsRefuseValuesOutOfRange) {
  auto message = [](auto action) {
    try {
      action();
    } catch (const EQuorHexEditor& e) {
      return std::string(e.what());
    }
    return std::string("no error");
  };
  EXPECT_EQ(message([&] { model.SetBytesPerRow(0); }), "Invalid bytes per line argument");
  EXPECT_EQ(message([&] { model.SetBytesPerColumn(257); }), "Invalid bytes per column argument");
  EXPECT_EQ(message([&] { model.SetBytesPerUnit(3); }),
            "Invalid bytes per unit value 3, allowed: 1,2,4,8");
  EXPECT_EQ(message([&] { model.SetRulerBytesPerUnit(0); }),
            "Invalid ruler bytes per unit value 0, allowed: -1,1,2,4,8");
  EXPECT_EQ(message([&] { model.SetOffsetFormat("-!10$|"); }), "Missing char in offset format: :");
  EXPECT_EQ(model.OffsetFormat(), "-!10:$|");  // the failed format was not taken
  EXPECT_EQ(message([&] { model.SetOffsetFormat("R%-!10:|"); }),
            "Invalid bytes per unit value 16, allowed: 1,2,4,8");
}

TEST_F(HexEditorModelTest, CtrlWheelChangesTheRowLengthWithinOneTo256) {
  Load(std::vector<uint8_t>(8192, 0));
  model.ChangeBytesPerRowBy(1);
  EXPECT_EQ(model.BytesPerRow(), 17);
  EXPECT_EQ(model.OffsetText(17), "$0011");
  model.ChangeBytesPerRowBy(-20);
  EXPECT_EQ(model.BytesPerRow(), 1);
  model.ChangeBytesPerRowBy(-1);
  EXPECT_EQ(model.BytesPerRow(), 1);
  model.ChangeBytesPerRowBy(300);
  EXPECT_EQ(model.BytesPerRow(), 256);
  EXPECT_EQ(model.WidestOffsetText(), "$1F00");
}

TEST_F(HexEditorModelTest, OffsetsOfTheMemoryPages) {
  Load(std::vector<uint8_t>(8192, 0));
  EXPECT_EQ(model.OffsetText(0), "$0000");
  EXPECT_EQ(model.WidestOffsetText(), "$1FF0");
  Load(std::vector<uint8_t>(65536, 0));
  EXPECT_EQ(model.WidestOffsetText(), "$FFF0");
}

TEST_F(HexEditorModelTest, SaveToFileWritesAllBytesAndGuardsItsOwnFile) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "hexedit-model-test";
  fs::create_directories(dir);
  const std::string path = (dir / "dump.bin").string();
  Load({1, 2, 3});
  model.TypeChar('F');
  model.SaveToFile(path, false);
  EXPECT_EQ(fs::file_size(path), 3U);
  EXPECT_TRUE(model.IsMarked(0));
  EXPECT_EQ(model.FileName(), "---");

  try {
    model.SaveToFile("---", false);
    ADD_FAILURE();
  } catch (const EQuorHexEditor& e) {
    EXPECT_STREQ(e.what(), "Cannot save readonly file ---.");
  }

  model.SaveToFile(path, true);
  EXPECT_FALSE(model.IsMarked(0));
  EXPECT_FALSE(model.CanUndo());
  EXPECT_EQ(model.FileName(), path);
  model.SaveToFile(path, false);  // own file now: the old one becomes the backup
  EXPECT_TRUE(fs::exists(path + ".bak"));

  try {
    model.SaveToFile((dir / "missing" / "x.bin").string(), false);
    ADD_FAILURE();
  } catch (const EQuorHexEditor& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot create file \"", 0), 0U);
  }
  fs::remove_all(dir);
}

TEST_F(HexEditorModelTest, LoadingReplacesDataAndForgetsHistory) {
  Load({1, 2, 3});
  model.TypeChar('F');
  model.SetCursor(2, false, false);
  std::vector<uint8_t> two = {9, 9};
  model.LoadFromBytes(two.data(), two.size());
  EXPECT_EQ(model.DataSize(), 2);  // a fixed-size editor still follows what it loads
  EXPECT_FALSE(model.CanUndo());
  EXPECT_FALSE(model.IsMarked(0));
  EXPECT_EQ(model.CursorPos(), 1);
  ASSERT_FALSE(changes.empty());
  EXPECT_TRUE(changes.back().sizeChanged);
}

}  // namespace
}  // namespace vantor
