#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantor {

// The editor's grid, and the one place that maps bytes to it. The model speaks in bytes and
// rows of bytes; the widget paints and takes clicks in grid rows and columns. With B bytes per
// row:
//   row 0 the ruler, row 1 empty (height 0), row of bytes r in grid row r + 2;
//   column 0 the offset gutter, 1 a spacer, 2 .. 2B+1 the nibble cells (high nibble of
//   byte p at 2 + 2 (p mod B)), 2B+2 a separator, 2B+3 .. 3B+2 the character cells.
inline constexpr int kFirstDataRow = 2;
inline constexpr int kFirstHexColumn = 2;

inline int64_t GridRowOfDataRow(int64_t dataRow) {
  return dataRow + kFirstDataRow;
}
// The row of bytes a grid row shows; the ruler rows give row 0.
inline int64_t DataRowOfGridRow(int64_t gridRow) {
  return gridRow > kFirstDataRow ? gridRow - kFirstDataRow : 0;
}
inline bool IsDataRow(int64_t gridRow) {
  return gridRow >= kFirstDataRow;
}
inline int64_t GridRowOfByte(int64_t pos, int bytesPerRow) {
  return GridRowOfDataRow(pos / bytesPerRow);
}
// The first byte a grid row shows (the ruler rows: the first of the data).
inline int64_t FirstByteOfGridRow(int64_t gridRow, int bytesPerRow) {
  return DataRowOfGridRow(gridRow) * bytesPerRow;
}
inline int GridHexColumn(int64_t pos, int bytesPerRow) {
  return kFirstHexColumn + 2 * static_cast<int>(pos % bytesPerRow);
}
inline int GridCharColumn(int64_t pos, int bytesPerRow) {
  return 2 * bytesPerRow + 3 + static_cast<int>(pos % bytesPerRow);
}
// The column of the cursor: its nibble cell, or its character cell in the character field.
inline int GridCursorColumn(int64_t pos, bool inCharField, bool lowNibble, int bytesPerRow) {
  if (inCharField) return GridCharColumn(pos, bytesPerRow);
  return GridHexColumn(pos, bytesPerRow) + (lowNibble ? 1 : 0);
}
inline int GridColumnCount(int bytesPerRow) {
  return 3 * bytesPerRow + 3;
}
// Data rows plus the ruler and the empty row; an empty editor still has one data row.
int64_t GridRowCount(int64_t dataSize, int bytesPerRow);

enum class TGridArea : uint8_t { gaGutter, gaSpacer, gaHex, gaSeparator, gaChar };

// What a grid column shows: the byte index inside the row and the nibble for hex cells.
struct GridColumnInfo {
  TGridArea area = TGridArea::gaGutter;
  int byteInRow = 0;
  bool lowNibble = false;
};
GridColumnInfo GridColumnOf(int column, int bytesPerRow);

// Where the cursor goes when a column of the row starting at rowStart is chosen: the gutter
// and the spacer give the row's first nibble, the separator its last byte's low nibble.
struct GridCursorPlace {
  int64_t pos = 0;
  bool inCharField = false;
  bool lowNibble = false;
};
GridCursorPlace CursorAtColumn(int column, int64_t rowStart, int bytesPerRow);

// Pixel widths and left edges of the columns for a character width W:
//   nibble cell W, 2W for the last of each column group and of the row; separator W;
//   character cell W + 1, the last 2W + 1; spacer 6; gutter as given.
class HexGridLayout {
 public:
  void Rebuild(int bytesPerRow, int bytesPerColumn, int charWidth, int gutterWidth);

  int ColumnCount() const { return static_cast<int>(m_widths.size()); }
  int ColumnWidth(int column) const { return m_widths[static_cast<size_t>(column)]; }
  int ColumnLeft(int column) const { return m_lefts[static_cast<size_t>(column)]; }
  int TotalWidth() const { return m_lefts.empty() ? 0 : m_lefts.back() + m_widths.back(); }
  // The column under x, or -1 beyond the last one.
  int ColumnAt(int x) const;

 private:
  std::vector<int> m_widths;
  std::vector<int> m_lefts;
};

// The gutter is (length of the widest offset text + 1) x W + 21 pixels wide.
inline int GutterWidth(int widestOffsetLength, int charWidth) {
  return (widestOffsetLength + 1) * charWidth + 21;
}

}  // namespace vantor
