// Mouse, wheel and focus.
#include <QApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include "hexedit/QuorHexEditorEx.h"

namespace vantor {

TQuorHexEditorEx::CellHit TQuorHexEditorEx::HitTest(const QPoint& point, bool nearest) const {
  CellHit hit;
  if (DataSize() == 0) return hit;
  const int gutter = m_layout.ColumnWidth(0);
  int64_t row = m_topRow + (point.y() - RulerHeight()) / m_rowHeight;
  if (point.y() < RulerHeight()) {
    if (!nearest) return hit;
    row = m_topRow - (point.y() < 0 ? 1 : 0);
  }
  int col = m_layout.ColumnAt(std::max(point.x(), gutter) + horizontalScrollBar()->value());
  if (point.x() < gutter && !nearest) return hit;
  if (col < 0) {
    if (!nearest) return hit;
    col = m_layout.ColumnCount() - 1;
  }
  const GridColumnInfo info = GridColumnOf(col, BytesPerRow());
  if (!nearest && info.area != TGridArea::gaHex && info.area != TGridArea::gaChar) return hit;
  int64_t pos = FirstByteOfGridRow(row, BytesPerRow());
  hit.inCharField = info.area == TGridArea::gaChar;
  if (info.area == TGridArea::gaHex || info.area == TGridArea::gaChar) {
    pos += info.byteInRow;
    hit.lowNibble = info.lowNibble;
  } else if (info.area == TGridArea::gaSeparator) {
    pos += BytesPerRow() - 1;
  }
  if (pos >= DataSize()) {
    if (!nearest) return hit;
    pos = DataSize() - 1;
  }
  hit.valid = true;
  hit.pos = pos;
  return hit;
}

void TQuorHexEditorEx::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const CellHit hit = HitTest(event->position().toPoint(), false);
  if (!hit.valid) return;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (m_oleDragDrop && !shift && m_model.IsSelected(hit.pos)) {
    m_dragArmed = true;
    m_pressPoint = event->position().toPoint();
    return;
  }
  Track([&] { m_model.SetCursor(hit.pos, hit.inCharField, hit.lowNibble, shift); });
  m_mouseSelecting = true;
}

void TQuorHexEditorEx::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (!(event->buttons() & Qt::LeftButton)) {
    const CellHit hit = HitTest(point, false);
    const bool overSelection = m_oleDragDrop && hit.valid && m_model.IsSelected(hit.pos);
    viewport()->setCursor(overSelection ? Qt::ArrowCursor : Qt::IBeamCursor);
    return;
  }
  if (m_dragArmed) {
    if ((point - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
      m_dragArmed = false;
      StartDrag();
    }
    return;
  }
  if (!m_mouseSelecting) return;
  if (point.y() < RulerHeight()) SetTopRow(m_topRow - 1);
  if (point.y() > viewport()->height()) SetTopRow(m_topRow + 1);
  const CellHit hit = HitTest(point, true);
  if (hit.valid) {
    Track([&] { m_model.SetCursor(hit.pos, hit.inCharField, hit.lowNibble, true); });
  }
}

void TQuorHexEditorEx::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragArmed) {
    // A click on the selection that did not become a drag: clear it, move there.
    const CellHit hit = HitTest(event->position().toPoint(), false);
    if (hit.valid) Track([&] { m_model.SetCursor(hit.pos, hit.inCharField, hit.lowNibble); });
  }
  m_dragArmed = false;
  m_mouseSelecting = false;
}

void TQuorHexEditorEx::mouseDoubleClickEvent(QMouseEvent* event) {
  const CellHit hit = HitTest(event->position().toPoint(), false);
  if (hit.valid) Track([&] { m_model.SetCursor(hit.pos, hit.inCharField, hit.lowNibble); });
  m_mouseSelecting = false;
  m_dragArmed = false;
}

void TQuorHexEditorEx::wheelEvent(QWheelEvent* event) {
  m_wheelRest += event->angleDelta().y();
  const int notches = m_wheelRest / 120;
  m_wheelRest %= 120;
  event->accept();
  if (notches == 0) return;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  if (ctrl && m_zoomOnWheel) {
    ApplyWheelZoom(notches, shift);
    return;
  }
  // Turned away from the user (positive): the cursor goes up a row.
  const TCursorMove where = notches > 0 ? TCursorMove::cmUp : TCursorMove::cmDown;
  Track([&] {
    for (int i = 0; i < std::abs(notches); ++i)
      m_model.MoveCursor(where, false);
  });
}

void TQuorHexEditorEx::ApplyWheelZoom(int notches, bool fontSize) {
  if (fontSize) {
    QFont font = m_font;
    int size = font.pixelSize() > 0 ? font.pixelSize() : font.pointSize();
    for (int i = 0; i < std::abs(notches); ++i) {
      if (notches > 0)
        ++size;
      else if (size >= 3)
        --size;
    }
    if (font.pixelSize() > 0) {
      font.setPixelSize(size);
    } else {
      font.setPointSize(size);
    }
    SetGridFont(font);
  } else {
    m_model.ChangeBytesPerRowBy(notches);
    Relayout();
  }
  EnsureCursorVisible();
}

void TQuorHexEditorEx::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  RepaintRow(Row());
}

void TQuorHexEditorEx::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  RepaintRow(Row());
  emit exited();
}

}  // namespace vantor
