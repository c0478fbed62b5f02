#include "widgets/ColorGrid.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace vantor {

namespace {

constexpr int kPitch = TColorGrid::kCellSize + TColorGrid::kGridLine;
constexpr int kFirstCell = TColorGrid::kHeaderSize + TColorGrid::kGridLine;

// Grid coordinate (0 = header) under a pixel coordinate along one axis, -1 past the end.
int GridIndexAt(int pos, int cells) {
  if (pos < 0) return -1;
  if (pos < kFirstCell) return 0;
  const int cell = (pos - kFirstCell) / kPitch + 1;
  return cell <= cells ? cell : -1;
}

// The colour cell (0-based) nearest to a pixel coordinate: a drag past an edge stops at the
// first or last cell.
int NearestCell(int pos, int cells) {
  if (pos < kFirstCell) return 0;
  return std::min((pos - kFirstCell) / kPitch, cells - 1);
}

}  // namespace

TColorGrid::TColorGrid(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize TColorGrid::sizeHint() const {
  return QSize(kFirstCell + kIndexes * kPitch, kFirstCell + kLines * kPitch);
}

QRect TColorGrid::CellRect(int gridColumn, int gridRow) {
  const int x = gridColumn == 0 ? 0 : kFirstCell + (gridColumn - 1) * kPitch;
  const int y = gridRow == 0 ? 0 : kFirstCell + (gridRow - 1) * kPitch;
  return QRect(x, y, gridColumn == 0 ? kHeaderSize : kCellSize,
               gridRow == 0 ? kHeaderSize : kCellSize);
}

int TColorGrid::GridColumnAt(int x) {
  return GridIndexAt(x, kIndexes);
}
int TColorGrid::GridRowAt(int y) {
  return GridIndexAt(y, kLines);
}

QRect TColorGrid::Selection() const {
  return QRect(
      QPoint(std::min(m_anchor.x(), m_current.x()), std::min(m_anchor.y(), m_current.y())),
      QPoint(std::max(m_anchor.x(), m_current.x()), std::max(m_anchor.y(), m_current.y())));
}

void TColorGrid::SetCurrentCell(int line, int index, bool extend) {
  m_current = QPoint(std::clamp(index, 0, kIndexes - 1), std::clamp(line, 0, kLines - 1));
  if (!extend) m_anchor = m_current;
  update();
}

void TColorGrid::paintEvent(QPaintEvent*) {
  if (m_beforePaint) m_beforePaint();
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  const QSize used = sizeHint();
  painter.fillRect(QRect(QPoint(0, 0), used), palette().color(QPalette::Dark));
  const bool focused = hasFocus();
  for (int row = 0; row <= kLines; ++row) {
    for (int column = 0; column <= kIndexes; ++column) {
      if (row == 0 || column == 0) {
        PaintHeader(painter, column, row);
      } else {
        const bool isFocused = focused && m_current == QPoint(column - 1, row - 1);
        PaintSwatch(painter, row - 1, column - 1, isFocused);
      }
    }
  }
}

void TColorGrid::PaintHeader(QPainter& painter, int gridColumn, int gridRow) const {
  const QRect cell = CellRect(gridColumn, gridRow);
  const QPalette& pal = palette();
  const int n = std::max(gridColumn, gridRow) - 1;
  const bool dragTarget =
      (m_drag == TDrag::dgColumn && gridRow == 0 && n == m_dragOver && gridColumn > 0) ||
      (m_drag == TDrag::dgRow && gridColumn == 0 && n == m_dragOver && gridRow > 0);
  qDrawWinPanel(&painter, cell, pal, dragTarget, &pal.brush(QPalette::Button));
  if (n < 0) return;  // the corner stays empty
  painter.save();
  painter.setClipRect(cell);
  painter.setPen(pal.color(QPalette::ButtonText));
  painter.drawText(cell.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   QString::number(n, 16).toUpper());
  painter.restore();
}

void TColorGrid::PaintSwatch(QPainter& painter, int line, int index, bool focused) const {
  const QRect cell = CellRect(index + 1, line + 1);
  const QColor color = m_color ? m_color(line, index, focused) : QColor(Qt::black);
  const bool selected = Selection().contains(index, line);
  painter.fillRect(cell, palette().color(selected ? QPalette::Highlight : QPalette::Base));
  painter.fillRect(cell.adjusted(kFrame, kFrame, -kFrame, -kFrame), color);
}

void TColorGrid::keyPressEvent(QKeyEvent* event) {
  const bool extend = event->modifiers() & Qt::ShiftModifier;
  const int line = m_current.y();
  const int index = m_current.x();
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit activated();
      return;
    case Qt::Key_Left:
      SetCurrentCell(line, index - 1, extend);
      return;
    case Qt::Key_Right:
      SetCurrentCell(line, index + 1, extend);
      return;
    case Qt::Key_Up:
      SetCurrentCell(line - 1, index, extend);
      return;
    case Qt::Key_Down:
      SetCurrentCell(line + 1, index, extend);
      return;
    case Qt::Key_Home:
      SetCurrentCell(line, 0, extend);
      return;
    case Qt::Key_End:
      SetCurrentCell(line, kIndexes - 1, extend);
      return;
    default:
      QWidget::keyPressEvent(event);
  }
}

void TColorGrid::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const QPoint pos = event->position().toPoint();
  const int column = GridColumnAt(pos.x());
  const int row = GridRowAt(pos.y());
  if (column < 0 || row < 0) return;
  if (row == 0 && column > 0) {
    m_drag = TDrag::dgColumn;
    m_dragFrom = m_dragOver = column - 1;
  } else if (column == 0 && row > 0) {
    m_drag = TDrag::dgRow;
    m_dragFrom = m_dragOver = row - 1;
  } else if (row > 0 && column > 0) {
    m_drag = TDrag::dgSelect;
    SetCurrentCell(row - 1, column - 1, event->modifiers() & Qt::ShiftModifier);
  }
  update();
}

void TColorGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const int index = NearestCell(pos.x(), kIndexes);
  const int line = NearestCell(pos.y(), kLines);
  switch (m_drag) {
    case TDrag::dgSelect:
      if (QPoint(index, line) != m_current) SetCurrentCell(line, index, true);
      break;
    case TDrag::dgColumn:
      m_dragOver = index;
      update();
      break;
    case TDrag::dgRow:
      m_dragOver = line;
      update();
      break;
    case TDrag::dgNone:
      break;
  }
}

void TColorGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  mouseMoveEvent(event);
  EndHeaderDrag();
}

void TColorGrid::EndHeaderDrag() {
  const TDrag drag = m_drag;
  const int from = m_dragFrom;
  const int to = m_dragOver;
  m_drag = TDrag::dgNone;
  m_dragFrom = m_dragOver = -1;
  update();
  if (from < 0 || to < 0 || from == to) return;
  if (drag == TDrag::dgColumn) emit columnMoved(from, to);
  if (drag == TDrag::dgRow) emit rowMoved(from, to);
}

void TColorGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && GridColumnAt(pos.x()) > 0 && GridRowAt(pos.y()) > 0) {
    emit activated();
  }
}

void TColorGrid::contextMenuEvent(QContextMenuEvent* event) {
  emit menuRequested(event->globalPos());
}

void TColorGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TColorGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace vantor
