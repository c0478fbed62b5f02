#include "hexedit/HexGridLayout.h"

#include <algorithm>

namespace vantor {

int64_t GridRowCount(int64_t dataSize, int bytesPerRow) {
  if (dataSize <= 0) return GridRowOfDataRow(1);
  return GridRowOfDataRow((dataSize + bytesPerRow - 1) / bytesPerRow);
}

GridColumnInfo GridColumnOf(int column, int bytesPerRow) {
  GridColumnInfo info;
  if (column <= 0) return info;
  if (column == 1) {
    info.area = TGridArea::gaSpacer;
  } else if (column <= 2 * bytesPerRow + 1) {
    info.area = TGridArea::gaHex;
    info.byteInRow = (column - kFirstHexColumn) / 2;
    info.lowNibble = (column - kFirstHexColumn) % 2 != 0;
  } else if (column == 2 * bytesPerRow + 2) {
    info.area = TGridArea::gaSeparator;
  } else {
    info.area = TGridArea::gaChar;
    info.byteInRow = std::min(column - (2 * bytesPerRow + 3), bytesPerRow - 1);
  }
  return info;
}

GridCursorPlace CursorAtColumn(int column, int64_t rowStart, int bytesPerRow) {
  const GridColumnInfo info = GridColumnOf(column, bytesPerRow);
  switch (info.area) {
    case TGridArea::gaGutter:
    case TGridArea::gaSpacer:
      return {rowStart, false, false};
    case TGridArea::gaSeparator:
      return {rowStart + bytesPerRow - 1, false, true};
    case TGridArea::gaHex:
      return {rowStart + info.byteInRow, false, info.lowNibble};
    case TGridArea::gaChar:
      return {rowStart + info.byteInRow, true, false};
  }
  return {rowStart, false, false};
}

void HexGridLayout::Rebuild(int bytesPerRow, int bytesPerColumn, int charWidth, int gutterWidth) {
  const int nibbles = 2 * bytesPerRow;
  const int group = 2 * bytesPerColumn;
  m_widths.assign(static_cast<size_t>(GridColumnCount(bytesPerRow)), charWidth);
  m_widths[0] = gutterWidth;
  m_widths[1] = 6;
  for (int k = 0; k < nibbles; ++k) {
    const bool lastOfGroup = (k + 1) % group == 0 || k == nibbles - 1;
    m_widths[static_cast<size_t>(kFirstHexColumn + k)] = lastOfGroup ? 2 * charWidth : charWidth;
  }
  // The separator keeps W; character cells follow it.
  for (int b = 0; b < bytesPerRow; ++b) {
    m_widths[static_cast<size_t>(nibbles + 3 + b)] =
        b == bytesPerRow - 1 ? 2 * charWidth + 1 : charWidth + 1;
  }
  m_lefts.resize(m_widths.size());
  int left = 0;
  for (size_t c = 0; c < m_widths.size(); ++c) {
    m_lefts[c] = left;
    left += m_widths[c];
  }
}

int HexGridLayout::ColumnAt(int x) const {
  if (m_lefts.empty() || x < 0) return m_lefts.empty() ? -1 : 0;
  const auto it = std::upper_bound(m_lefts.begin(), m_lefts.end(), x);
  const int column = static_cast<int>(it - m_lefts.begin()) - 1;
  return x >= TotalWidth() ? -1 : column;
}

}  // namespace vantor
