// TColorGrid: the 4 x 16 grid of colour swatches with hexadecimal headers. It keeps the
// rectangular selection and reports what the user asks for (set colours, swap two columns or
// two palette lines); the colours themselves come from the colour function its owner sets, at
// every paint.
#pragma once

#include <QRect>
#include <QWidget>
#include <functional>

namespace vantor {

class TColorGrid : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kLines = 4;
  static constexpr int kIndexes = 16;
  static constexpr int kHeaderSize = 20;
  static constexpr int kCellSize = 32;
  static constexpr int kGridLine = 1;
  static constexpr int kFrame = 4;  // the highlight frame around a selected swatch

  // The colour of entry (line, index); focused is true for the current cell while the grid has
  // the keyboard focus.
  using TColorFunction = std::function<QColor(int line, int index, bool focused)>;

  explicit TColorGrid(QWidget* parent = nullptr);

  void SetColorFunction(TColorFunction function) { m_color = std::move(function); }
  // Run before every paint (the owner may bring its colours up to date there).
  void SetBeforePaint(std::function<void()> hook) { m_beforePaint = std::move(hook); }

  // The current cell (line, index) and the selected rectangle (x = index, y = line).
  QPoint CurrentCell() const { return m_current; }
  QRect Selection() const;
  // Makes (line, index) current; extend keeps the anchor and selects the rectangle between.
  void SetCurrentCell(int line, int index, bool extend = false);

  // The rectangle of a cell in grid coordinates: column 0 and row 0 are the headers.
  static QRect CellRect(int gridColumn, int gridRow);
  // Grid column / row under a point, -1 outside.
  static int GridColumnAt(int x);
  static int GridRowAt(int y);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 signals:
  // Enter, or a double click on a colour cell.
  void activated();
  // A column header (index from) was dragged onto column `to`; indexes 0..15.
  void columnMoved(int from, int to);
  // A row header (palette line from) was dragged onto line `to`; lines 0..3.
  void rowMoved(int from, int to);
  void menuRequested(const QPoint& globalPos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  enum class TDrag { dgNone, dgSelect, dgColumn, dgRow };

  void PaintHeader(QPainter& painter, int gridColumn, int gridRow) const;
  void PaintSwatch(QPainter& painter, int line, int index, bool focused) const;
  void EndHeaderDrag();

  TColorFunction m_color;
  std::function<void()> m_beforePaint;
  QPoint m_anchor{0, 0};   // x = index, y = line
  QPoint m_current{0, 0};  // x = index, y = line
  TDrag m_drag = TDrag::dgNone;
  int m_dragFrom = -1;
  int m_dragOver = -1;
};

}  // namespace vantor
