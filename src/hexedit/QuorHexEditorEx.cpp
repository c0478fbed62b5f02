#include "hexedit/QuorHexEditorEx.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScrollBar>

#include "hexedit/QuorHexEditorError.h"

namespace vantor {
namespace {

QFont DefaultGridFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  font.setPixelSize(15);
  if (!QFontInfo(font).fixedPitch()) {
    font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(15);
  }
  return font;
}

}  // namespace

TQuorHexEditorEx::TQuorHexEditorEx(QWidget* parent)
    : QAbstractScrollArea(parent),
      m_colors(TQuorHColors::Defaults(palette())),
      m_formatChooser(&TFormatSelDialog::Ask) {
  m_errorReporter = [this](const QString& text) {
    QMessageBox::critical(this, QStringLiteral("Error"), text);
  };
  m_model.SetChangeHandler([this](const HexChange& change) { OnModelChange(change); });
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  verticalScrollBar()->setSingleStep(1);
  SetGridFont(DefaultGridFont());
}

TQuorHexEditorEx::~TQuorHexEditorEx() {
  // Our bytes leave the clipboard with us (they are not flushed).
  if (m_clipboardObject && QGuiApplication::instance() != nullptr &&
      QGuiApplication::clipboard()->mimeData() == m_clipboardObject.data()) {
    QGuiApplication::clipboard()->clear();
  }
}

void TQuorHexEditorEx::Report(const std::exception& error) {
  if (m_errorReporter) m_errorReporter(QString::fromUtf8(error.what()));
}

void TQuorHexEditorEx::OnModelChange(const HexChange& change) {
  if (change.sizeChanged) {
    Relayout();
  } else {
    RepaintBytes(change.offset, change.length);
  }
  if (change.dataChanged) emit changed();
}

void TQuorHexEditorEx::SetDataSize(int64_t size) {
  m_model.SetDataSize(size);
  EnsureCursorVisible();
}

void TQuorHexEditorEx::Refresh() {
  viewport()->update();
}

void TQuorHexEditorEx::LoadFromBytes(const uint8_t* bytes, size_t length) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  m_model.LoadFromBytes(bytes, length);
  QGuiApplication::restoreOverrideCursor();
  EnsureCursorVisible();
}

void TQuorHexEditorEx::SaveToFile(const QString& path, bool unmodify) {
  QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    m_model.SaveToFile(path.toStdString(), unmodify);
  } catch (...) {
    QGuiApplication::restoreOverrideCursor();
    throw;
  }
  QGuiApplication::restoreOverrideCursor();
}

bool TQuorHexEditorEx::Undo() {
  bool done = false;
  Track([&] { done = m_model.Undo(); });
  return done;
}

bool TQuorHexEditorEx::Redo() {
  bool done = false;
  Track([&] { done = m_model.Redo(); });
  return done;
}

void TQuorHexEditorEx::SetBytesPerRow(int bytes) {
  m_model.SetBytesPerRow(bytes);
  Relayout();
  EnsureCursorVisible();
}

void TQuorHexEditorEx::SetBytesPerColumn(int bytes) {
  m_model.SetBytesPerColumn(bytes);
  Relayout();
}

void TQuorHexEditorEx::SetOffsetFormat(const QString& format) {
  m_model.SetOffsetFormat(format.toStdString());
  Relayout();
}

void TQuorHexEditorEx::SetShowRuler(bool show) {
  m_showRuler = show;
  Relayout();
}

void TQuorHexEditorEx::SetDrawGridLines(bool draw) {
  m_drawGridLines = draw;
  viewport()->update();
}

void TQuorHexEditorEx::SetFocusFrame(bool frame) {
  m_focusFrame = frame;
  viewport()->update();
}

void TQuorHexEditorEx::SetOleDragDrop(bool enabled) {
  m_oleDragDrop = enabled;
  setAcceptDrops(enabled);
  viewport()->setAcceptDrops(enabled);
}

void TQuorHexEditorEx::SetColors(const TQuorHColors& colors) {
  m_colors = colors;
  m_glyphs.clear();
  m_hexPairs.clear();
  viewport()->update();
}

void TQuorHexEditorEx::SetGridFont(const QFont& font) {
  m_font = font;
  const QFontMetrics metrics(m_font);
  m_charWidth = std::max(1, metrics.horizontalAdvance(QLatin1Char('w')));
  m_rowHeight = metrics.height() + 2;
  m_ascent = metrics.ascent();
  m_glyphs.clear();
  m_hexPairs.clear();
  Relayout();
}

void TQuorHexEditorEx::Relayout() {
  const int offsetLength = static_cast<int>(m_model.WidestOffsetText().size());
  m_layout.Rebuild(BytesPerRow(), BytesPerColumn(), m_charWidth,
                   GutterWidth(offsetLength, m_charWidth));
  m_rulerHex = RulerHexText(BytesPerRow(), m_model.RulerUnit());
  m_rulerChars = RulerCharText(BytesPerRow(), m_model.RulerUnit());
  UpdateScrollBars();
  viewport()->update();
}

int TQuorHexEditorEx::VisibleRows() const {
  return std::max(1, (viewport()->height() - RulerHeight()) / m_rowHeight);
}

void TQuorHexEditorEx::UpdateScrollBars() {
  const int64_t dataRows = DataRowOfGridRow(GridRowCount(DataSize(), BytesPerRow()));
  const int64_t maxTop = std::max<int64_t>(dataRows - VisibleRows(), 0);
  verticalScrollBar()->setRange(0, static_cast<int>(std::min<int64_t>(maxTop, INT32_MAX)));
  verticalScrollBar()->setPageStep(VisibleRows());
  horizontalScrollBar()->setRange(0, std::max(0, m_layout.TotalWidth() - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setSingleStep(m_charWidth);
  m_topRow = GridRowOfDataRow(verticalScrollBar()->value());
}

void TQuorHexEditorEx::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void TQuorHexEditorEx::scrollContentsBy(int, int) {
  m_topRow = GridRowOfDataRow(verticalScrollBar()->value());
  viewport()->update();
}

void TQuorHexEditorEx::SetTopRow(int64_t row) {
  const int64_t value = DataRowOfGridRow(row);
  verticalScrollBar()->setValue(static_cast<int>(std::min<int64_t>(value, INT32_MAX)));
  m_topRow = GridRowOfDataRow(verticalScrollBar()->value());
}

int TQuorHexEditorEx::Col() const {
  return GridCursorColumn(m_model.CursorPos(), m_model.InCharField(), m_model.LowNibble(),
                          BytesPerRow());
}

void TQuorHexEditorEx::SetRow(int64_t row) {
  Track([&] { m_model.SetCursorRow(DataRowOfGridRow(row)); });
}

void TQuorHexEditorEx::SetCol(int col) {
  const int64_t rowStart = m_model.CursorRow() * BytesPerRow();
  const GridCursorPlace place = CursorAtColumn(col, rowStart, BytesPerRow());
  Track([&] { m_model.SetCursor(place.pos, place.inCharField, place.lowNibble); });
}

void TQuorHexEditorEx::GotoByte(int64_t offset) {
  const int64_t row = GridRowOfByte(std::max<int64_t>(offset, 0), BytesPerRow());
  SetTopRow(row);
  SetRow(row);
  SetCol(GridHexColumn(offset, BytesPerRow()));
}

void TQuorHexEditorEx::Select(int64_t start, int64_t end) {
  Track([&] { m_model.Select(start, end); });
}

int TQuorHexEditorEx::RowTop(int64_t row) const {
  if (!IsDataRow(row)) return 0;
  return RulerHeight() + static_cast<int>(row - m_topRow) * m_rowHeight;
}

int TQuorHexEditorEx::ColumnX(int col) const {
  if (col == 0) return 0;
  return m_layout.ColumnLeft(col) - horizontalScrollBar()->value();
}

QRect TQuorHexEditorEx::CellRect(int64_t row, int col) const {
  if (col < 0 || col >= m_layout.ColumnCount()) return {};
  const int height = IsDataRow(row) ? m_rowHeight : RulerHeight();
  return QRect(ColumnX(col), RowTop(row), m_layout.ColumnWidth(col), height);
}

void TQuorHexEditorEx::RepaintRow(int64_t row) {
  if (row < m_topRow || row > m_topRow + VisibleRows()) return;
  viewport()->update(QRect(0, RowTop(row), viewport()->width(), m_rowHeight));
}

void TQuorHexEditorEx::RepaintBytes(int64_t first, int64_t count) {
  if (count <= 0) return;
  const int bytesPerRow = BytesPerRow();
  if (count == 1) {
    const int64_t row = GridRowOfByte(first, bytesPerRow);
    const int hex = GridHexColumn(first, bytesPerRow);
    viewport()->update(CellRect(row, hex).united(CellRect(row, hex + 1)));
    viewport()->update(CellRect(row, GridCharColumn(first, bytesPerRow)));
    return;
  }
  const int64_t firstRow = std::max(GridRowOfByte(first, bytesPerRow), m_topRow);
  const int64_t lastRow =
      std::min(GridRowOfByte(first + count - 1, bytesPerRow), m_topRow + VisibleRows());
  if (lastRow < firstRow) return;
  const int top = RowTop(firstRow);
  viewport()->update(QRect(0, top, viewport()->width(), RowTop(lastRow) + m_rowHeight - top));
}

void TQuorHexEditorEx::Track(const std::function<void()>& action) {
  const HexEditorState before = m_model.State();
  const int beforeCol = Col();
  try {
    action();
  } catch (const std::exception& error) {
    Report(error);
  }
  const HexEditorState after = m_model.State();
  if (after.cursorPos != before.cursorPos || Col() != beforeCol) {
    RepaintRow(GridRowOfByte(before.cursorPos, BytesPerRow()));
    RepaintRow(Row());
    viewport()->update(QRect(0, 0, viewport()->width(), RulerHeight()));
    EnsureCursorVisible();
  }
  if (after.selStart != before.selStart || after.selEnd != before.selEnd) {
    const auto span = [](int64_t a, int64_t b) { return a < 0 ? b : (b < 0 ? a : std::min(a, b)); };
    const int64_t first = span(before.selStart, after.selStart);
    const int64_t last = std::max(before.selEnd, after.selEnd);
    if (first >= 0 && last >= first) RepaintBytes(first, std::max<int64_t>(last - first + 1, 2));
  }
}

void TQuorHexEditorEx::EnsureCursorVisible() {
  const int64_t row = Row();
  if (row < m_topRow) {
    SetTopRow(row);
  } else if (row > m_topRow + VisibleRows() - 1) {
    SetTopRow(row - VisibleRows() + 1);
  }
  const int col = Col();
  const int left = m_layout.ColumnLeft(col);
  const int right = left + m_layout.ColumnWidth(col);
  QScrollBar* bar = horizontalScrollBar();
  const int gutter = m_layout.ColumnWidth(0);
  if (left - bar->value() < gutter) {
    bar->setValue(left - gutter);
  } else if (right - bar->value() > viewport()->width()) {
    bar->setValue(right - viewport()->width());
  }
}

QRegion TQuorHexEditorEx::TakePaintedRegion() {
  const QRegion region = m_paintedRegion;
  m_paintedRegion = QRegion();
  return region;
}

}  // namespace vantor
