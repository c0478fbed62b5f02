// TCellStrip: a one-row grid of equally sized picture cells under a row of numbered header
// cells, scrolled sideways a whole column at a time. It paints the grid, the headers and the
// focus marks; the picture of each visible cell comes from the cell painter its owner sets.
#pragma once

#include <QAbstractScrollArea>
#include <functional>

namespace vantor {

class TCellStrip : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Paints the picture of cell `column` into rect; focused is true for the current cell while
  // the strip has the keyboard focus. Called only for cells that are at least partly visible.
  using TCellPainter =
      std::function<void(QPainter& painter, int column, const QRect& rect, bool focused)>;

  static constexpr int kHeaderHeight = 24;
  static constexpr int kGridLine = 1;

  explicit TCellStrip(QWidget* parent = nullptr);

  void SetCellPainter(TCellPainter painter) { m_painter = std::move(painter); }

  // Column count and the size of one picture cell in pixels. Keeps the current column when it
  // still exists (else the last one) and fixes the strip's height so that exactly the header
  // row, the picture row and the scroll bar show.
  void SetCells(int columnCount, int cellWidth, int cellHeight);
  int ColumnCount() const { return m_columnCount; }
  int CellWidth() const { return m_cellWidth; }
  int CellHeight() const { return m_cellHeight; }

  // The zoom factor the owner keeps with the strip (1, 2, 4, 6 or 8).
  int Zoom() const { return m_zoom; }
  void SetZoom(int zoom) { m_zoom = zoom; }

  int CurrentColumn() const { return m_current; }
  // Moves the current column as a user's choice does: currentChanging(old, new) first, then
  // the move, then the column is scrolled into view. Out-of-range columns are ignored.
  void SelectColumn(int column);

  // The leftmost visible column, and how many columns fit completely.
  int LeftColumn() const;
  void SetLeftColumn(int column);
  int VisibleColumnCount() const;

  // The rectangle of a column's picture cell in viewport coordinates.
  QRect CellRect(int column) const;
  // The column under a viewport x, or -1.
  int ColumnAt(int x) const;

 signals:
  // Before the current column moves from `from` to `to`.
  void currentChanging(int from, int to);
  // Enter, or a double click on a picture cell.
  void activated();
  // Right click (or the menu key); pos is in global coordinates.
  void menuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  int ColumnPitch() const { return m_cellWidth + kGridLine; }
  void UpdateScrollRange();
  void ScrollIntoView(int column);
  void PaintHeader(QPainter& painter, int column, const QRect& rect) const;
  static void PaintFocusMarks(QPainter& painter, const QRect& rect);

  TCellPainter m_painter;
  int m_columnCount = 0;
  int m_cellWidth = 8;
  int m_cellHeight = 8;
  int m_zoom = 1;
  int m_current = 0;
};

}  // namespace vantor
