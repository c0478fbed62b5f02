#include "widgets/CellStrip.h"

#include <qdrawutil.h>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

namespace vantor {

TCellStrip::TCellStrip(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  horizontalScrollBar()->setSingleStep(1);
  // The picture cells cover the viewport; its own background would only flicker through.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
}

void TCellStrip::SetCells(int columnCount, int cellWidth, int cellHeight) {
  m_columnCount = std::max(0, columnCount);
  m_cellWidth = std::max(1, cellWidth);
  m_cellHeight = std::max(1, cellHeight);
  m_current = std::clamp(m_current, 0, std::max(0, m_columnCount - 1));
  const int rows = kHeaderHeight + kGridLine + m_cellHeight + kGridLine;
  setFixedHeight(rows + horizontalScrollBar()->sizeHint().height() + 2 * frameWidth());
  UpdateScrollRange();
  viewport()->update();
}

int TCellStrip::LeftColumn() const {
  return horizontalScrollBar()->value();
}

void TCellStrip::SetLeftColumn(int column) {
  horizontalScrollBar()->setValue(column);
}

int TCellStrip::VisibleColumnCount() const {
  return std::max(1, viewport()->width() / ColumnPitch());
}

QRect TCellStrip::CellRect(int column) const {
  const int x = (column - LeftColumn()) * ColumnPitch();
  return QRect(x, kHeaderHeight + kGridLine, m_cellWidth, m_cellHeight);
}

int TCellStrip::ColumnAt(int x) const {
  if (x < 0) return -1;
  const int column = LeftColumn() + x / ColumnPitch();
  return column < m_columnCount ? column : -1;
}

void TCellStrip::SelectColumn(int column) {
  if (column < 0 || column >= m_columnCount) return;
  if (column != m_current) {
    emit currentChanging(m_current, column);
    m_current = column;
  }
  ScrollIntoView(column);
  viewport()->update();
}

void TCellStrip::UpdateScrollRange() {
  QScrollBar* bar = horizontalScrollBar();
  const int visible = VisibleColumnCount();
  bar->setRange(0, std::max(0, m_columnCount - visible));
  bar->setPageStep(visible);
}

void TCellStrip::ScrollIntoView(int column) {
  const int left = LeftColumn();
  const int visible = VisibleColumnCount();
  if (column < left) {
    SetLeftColumn(column);
  } else if (column >= left + visible) {
    SetLeftColumn(column - visible + 1);
  }
}

void TCellStrip::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  const int gridBottom = kHeaderHeight + kGridLine + m_cellHeight + kGridLine;
  const int width = viewport()->width();
  const bool focused = hasFocus();
  // Only the columns that reach into the viewport are painted.
  for (int column = LeftColumn(), x = 0; column < m_columnCount && x < width;
       ++column, x += ColumnPitch()) {
    painter.fillRect(QRect(x, 0, ColumnPitch(), gridBottom), palette().color(QPalette::Dark));
    PaintHeader(painter, column, QRect(x, 0, m_cellWidth, kHeaderHeight));
    const QRect cell = CellRect(column);
    const bool isFocused = focused && column == m_current;
    if (m_painter) {
      painter.save();
      painter.setClipRect(cell);
      m_painter(painter, column, cell, isFocused);
      painter.restore();
    }
    if (isFocused) PaintFocusMarks(painter, cell);
  }
}

void TCellStrip::PaintHeader(QPainter& painter, int column, const QRect& rect) const {
  const bool current = column == m_current;
  const QPalette& pal = palette();
  qDrawWinPanel(&painter, rect, pal, false,
                &pal.brush(current ? QPalette::Highlight : QPalette::Button));
  const QRect inner = rect.adjusted(2, 2, -2, -2);
  painter.save();
  painter.setClipRect(inner);
  painter.setPen(pal.color(current ? QPalette::HighlightedText : QPalette::ButtonText));
  painter.drawText(inner.adjusted(3, 1, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   QString::number(column));
  painter.restore();
}

void TCellStrip::PaintFocusMarks(QPainter& painter, const QRect& rect) {
  // Three dotted rectangles, each one pixel inside the previous, seen on any picture.
  painter.save();
  QRect r = rect.adjusted(0, 0, -1, -1);
  for (int i = 0; i < 3; ++i, r.adjust(1, 1, -1, -1)) {
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(r);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(r);
  }
  painter.restore();
}

void TCellStrip::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void TCellStrip::keyPressEvent(QKeyEvent* event) {
  const int page = VisibleColumnCount();
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit activated();
      return;
    case Qt::Key_Left:
      SelectColumn(std::max(0, m_current - 1));
      return;
    case Qt::Key_Right:
      SelectColumn(std::min(m_columnCount - 1, m_current + 1));
      return;
    case Qt::Key_Home:
      SelectColumn(0);
      return;
    case Qt::Key_End:
      SelectColumn(m_columnCount - 1);
      return;
    case Qt::Key_PageUp:
      SelectColumn(std::max(0, m_current - page));
      return;
    case Qt::Key_PageDown:
      SelectColumn(std::min(m_columnCount - 1, m_current + page));
      return;
    default:
      QAbstractScrollArea::keyPressEvent(event);
  }
}

void TCellStrip::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  const QPoint pos = event->position().toPoint();
  // The header row is fixed: only a picture cell can become current.
  if (pos.y() > kHeaderHeight) SelectColumn(ColumnAt(pos.x()));
}

void TCellStrip::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const int column = ColumnAt(pos.x());
  if (event->button() == Qt::LeftButton && column >= 0 && CellRect(column).contains(pos)) {
    emit activated();
  }
}

void TCellStrip::contextMenuEvent(QContextMenuEvent* event) {
  emit menuRequested(event->globalPos());
}

void TCellStrip::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TCellStrip::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

void TCellStrip::scrollContentsBy(int, int) {
  viewport()->update();
}

}  // namespace vantor
