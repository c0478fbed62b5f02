// Keys, mouse and wheel.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <array>

#include "hexedit/QuorHexEditorEx.h"

namespace vantor {
namespace {

// Digits as Shift turns them on a US keyboard: ) ! @ # $ % ^ & * (
constexpr std::array<int, 10> kShiftedDigits = {
    Qt::Key_ParenRight, Qt::Key_Exclam,    Qt::Key_At,          Qt::Key_NumberSign,
    Qt::Key_Dollar,     Qt::Key_Percent,   Qt::Key_AsciiCircum, Qt::Key_Ampersand,
    Qt::Key_Asterisk,   Qt::Key_ParenLeft,
};

int DigitOfKey(int key) {
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0;
  for (size_t i = 0; i < kShiftedDigits.size(); ++i) {
    if (kShiftedDigits[i] == key) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

bool TQuorHexEditorEx::IsEditorShortcut(const QKeyEvent* event) const {
  if (!(event->modifiers() & Qt::ControlModifier)) return false;
  switch (event->key()) {
    case Qt::Key_A:
    case Qt::Key_C:
    case Qt::Key_V:
    case Qt::Key_X:
    case Qt::Key_Z:
    case Qt::Key_T:
    case Qt::Key_Delete:
      return true;
    default:
      return DigitOfKey(event->key()) >= 0;
  }
}

bool TQuorHexEditorEx::event(QEvent* event) {
  // The editor's own Ctrl keys win over equal shortcuts of a context menu, so they act once.
  if (event->type() == QEvent::ShortcutOverride &&
      IsEditorShortcut(static_cast<QKeyEvent*>(event))) {
    event->accept();
    return true;
  }
  return QAbstractScrollArea::event(event);
}

bool TQuorHexEditorEx::focusNextPrevChild(bool) {
  return false;
}

void TQuorHexEditorEx::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event)) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TQuorHexEditorEx::HandleKey(QKeyEvent* event) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool alt = event->modifiers() & Qt::AltModifier;
  const auto move = [&](TCursorMove where, bool extend) {
    Track([&] { m_model.MoveCursor(where, extend, DataRowOfGridRow(m_topRow), VisibleRows()); });
  };
  switch (event->key()) {
    case Qt::Key_Left:
      move(ctrl ? TCursorMove::cmRowStart : TCursorMove::cmLeft, shift);
      return true;
    case Qt::Key_Right:
      move(ctrl ? TCursorMove::cmRowEnd : TCursorMove::cmRight, shift);
      return true;
    case Qt::Key_Up:
      move(TCursorMove::cmUp, shift);
      return true;
    case Qt::Key_Down:
      move(TCursorMove::cmDown, shift);
      return true;
    case Qt::Key_Home:
      move(ctrl ? TCursorMove::cmDataStart : TCursorMove::cmHome, shift);
      return true;
    case Qt::Key_End:
      move(ctrl ? TCursorMove::cmDataEnd : TCursorMove::cmEnd, shift);
      return true;
    case Qt::Key_PageUp:
      if (!ctrl) SetTopRow(m_topRow - VisibleRows());
      move(ctrl ? TCursorMove::cmPageTop : TCursorMove::cmPageUp, shift);
      return true;
    case Qt::Key_PageDown:
      if (!ctrl) SetTopRow(m_topRow + VisibleRows());
      move(ctrl ? TCursorMove::cmPageBottom : TCursorMove::cmPageDown, shift);
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      move(TCursorMove::cmSwitchField, false);
      return true;
    case Qt::Key_Backspace:
      move(TCursorMove::cmLeft, shift);
      return true;
    case Qt::Key_Insert:
      return true;  // no insert mode in a fixed-size editor
    case Qt::Key_Delete:
      if (ctrl) Track([&] { m_model.DeleteSelection(); });
      return true;
    default:
      break;
  }
  if (ctrl && !alt) {
    const int digit = DigitOfKey(event->key());
    if (digit >= 0) {
      if (shift) {
        m_model.ToggleBookmark(digit);
        viewport()->update(QRect(0, 0, m_layout.ColumnWidth(0), viewport()->height()));
      } else {
        Track([&] { m_model.GotoBookmark(digit); });
        viewport()->update(QRect(0, 0, m_layout.ColumnWidth(0), viewport()->height()));
      }
      return true;
    }
    switch (event->key()) {
      case Qt::Key_T:
        move(TCursorMove::cmSwitchField, false);
        return true;
      case Qt::Key_A:
        Track([&] { m_model.SelectAll(); });
        return true;
      case Qt::Key_C:
        if (CanCopy()) CopyToClipboard();
        return true;
      case Qt::Key_V:
        if (CanPaste()) PasteFromClipboard();
        return true;
      case Qt::Key_X:
        if (!NoSizeChange() && CanCopy()) {
          CopyToClipboard();
          Track([&] { m_model.DeleteSelection(); });
        }
        return true;
      case Qt::Key_Z:
        if (shift) {
          if (CanRedo()) Redo();
        } else if (CanUndo()) {
          Undo();
        }
        return true;
      default:
        return false;
    }
  }
  const QString text = event->text();
  if (alt || text.isEmpty()) return false;
  for (QChar ch : text) {
    if (ch.isSurrogate()) continue;
    TTypeResult result = TTypeResult::trIgnored;
    Track([&] { result = m_model.TypeChar(ch.unicode()); });
    if (result == TTypeResult::trInvalidKey) emit invalidKey();
  }
  return true;
}

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
