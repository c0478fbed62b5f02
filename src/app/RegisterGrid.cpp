#include "app/RegisterGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace vantor {

// Creates the line editors of the value cells and reports their user edits to the grid.
class TGridCellDelegate : public QStyledItemDelegate {
 public:
  explicit TGridCellDelegate(TRegisterGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex& index) const override {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    m_grid.editorCreated(editor, index);
    return editor;
  }
  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    auto* line = static_cast<QLineEdit*>(editor);
    line->setText(index.data(Qt::EditRole).toString());
    line->selectAll();
  }

 private:
  TRegisterGrid& m_grid;
};

namespace {

// The widest texts each column must show whole: the headers, a 32-bit value in decimal and in
// binary. The columns keep their widths; the font gives way when it is too wide for them.
constexpr struct {
  int Column;
  const char* Text;
} kMustFit[] = {{1, "Hexadecimal"}, {2, "4294967295"}, {3, "%00000000000000000000000000000000"}};
constexpr int kCellPadding = 12;
constexpr qreal kSmallestPointSize = 6;

QFont fittingFont(QFont font) {
  for (;;) {
    const QFontMetrics metrics(font);
    bool fits = true;
    for (const auto& fit : kMustFit) {
      const int width = metrics.horizontalAdvance(QString::fromLatin1(fit.Text)) + kCellPadding;
      fits = fits && width <= TRegisterGrid::kColumnWidths[std::size_t(fit.Column)];
    }
    if (fits || font.pointSizeF() <= kSmallestPointSize) return font;
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
}

}  // namespace

TRegisterGrid::TRegisterGrid(QWidget* parent) : QTableWidget(0, kColumnCount, parent) {
  setFont(fittingFont(font()));
  horizontalHeader()->setFont(font());
  setItemDelegate(new TGridCellDelegate(*this));
  setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                  QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setShowGrid(true);
  setWordWrap(false);
  setTabKeyNavigation(true);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setMinimumSectionSize(kRowHeight);
  verticalHeader()->setDefaultSectionSize(kRowHeight);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setFixedHeight(kRowHeight + 2);
  for (int c = 0; c < kColumnCount; ++c)
    setColumnWidth(c, kColumnWidths[std::size_t(c)]);
  // Dragging the thumb scrolls at once, as the grid always did.
  verticalScrollBar()->setTracking(true);
  SetRowCount(2);
  connect(qApp, &QApplication::focusChanged, this, &TRegisterGrid::focusChanged);
}

TRegisterGrid::~TRegisterGrid() {
  Detach();
}

void TRegisterGrid::Detach() {
  disconnect(qApp, nullptr, this, nullptr);
  disconnect(this, nullptr, nullptr, nullptr);
}

QTableWidgetItem* TRegisterGrid::itemAt(int col, int row) const {
  if (row < kFixedRows || row >= RowCount() || col < 0 || col >= kColumnCount) return nullptr;
  return item(row - kFixedRows, col);
}

void TRegisterGrid::SetRowCount(int rows) {
  const int old = RowCount();
  if (rows <= old) return;
  setRowCount(rows - kFixedRows);
  const QBrush fixed = palette().brush(QPalette::Button);
  for (int r = std::max(old, kFixedRows); r < rows; ++r) {
    const auto hidden = m_hidden.take(r);
    for (int c = 0; c < kColumnCount; ++c) {
      auto* cell = new QTableWidgetItem(hidden[std::size_t(c)]);
      if (c < kFixedCols) {
        cell->setFlags(Qt::ItemIsEnabled);
        cell->setBackground(fixed);
      }
      setItem(r - kFixedRows, c, cell);
    }
  }
}

QString TRegisterGrid::Cell(int col, int row) const {
  if (row < RowCount()) {
    const auto* cell = itemAt(col, row);
    return cell ? cell->text() : QString();
  }
  const auto it = m_hidden.constFind(row);
  if (it == m_hidden.cend() || col < 0 || col >= kColumnCount) return {};
  return (*it)[std::size_t(col)];
}

void TRegisterGrid::SetCell(int col, int row, const QString& text) {
  if (col < 0 || col >= kColumnCount || row < kFixedRows) return;
  if (auto* cell = itemAt(col, row)) {
    if (cell->text() != text) cell->setText(text);
    return;
  }
  m_hidden[row][std::size_t(col)] = text;
}

QString TRegisterGrid::CellText(int col, int row) const {
  if (m_editor && m_editorIndex.isValid() && m_editorIndex.column() == col &&
      m_editorIndex.row() + kFixedRows == row) {
    return m_editor->text();
  }
  return Cell(col, row);
}

void TRegisterGrid::WriteHeaderTexts(const QStringList& texts) {
  setHorizontalHeaderLabels(texts);
}

int TRegisterGrid::Col() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.column() : kFixedCols;
}

int TRegisterGrid::Row() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? current.row() + kFixedRows : kFixedRows;
}

void TRegisterGrid::SelectCell(int col, int row) {
  if (row < kFixedRows || row >= RowCount()) return;
  setCurrentCell(row - kFixedRows, std::clamp(col, kFixedCols, kColumnCount - 1));
}

bool TRegisterGrid::IsLabelRow(int col, int row) const {
  int next = col + 1;
  if (next >= kColumnCount) next = kFixedCols;
  return CellText(next, row).isEmpty();
}

void TRegisterGrid::SetEditorText(const QString& text) {
  if (!m_editor) return;
  m_editor->setText(text);
  m_editor->selectAll();
}

void TRegisterGrid::editorCreated(QLineEdit* editor, const QModelIndex& index) {
  m_editor = editor;
  m_editorIndex = index;
  const int col = index.column();
  const int row = index.row() + kFixedRows;
  connect(editor, &QLineEdit::textEdited, this,
          [this, col, row](const QString& text) { emit editTextChanged(col, row, text); });
}

void TRegisterGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // The base class first stores the open editor's text into the cell being left.
  m_inCurrentChanged = true;
  QTableWidget::currentChanged(current, previous);
  m_inCurrentChanged = false;
  if (previous.isValid()) {
    const int targetRow = current.isValid() ? current.row() + kFixedRows : kFixedRows;
    const int targetCol = current.isValid() ? current.column() : kFixedCols;
    emit selectCell(previous.column(), previous.row() + kFixedRows, targetCol, targetRow);
  }
}

void TRegisterGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  const bool hadFocus = editor && editor->hasFocus();
  if (editor == m_editor) m_editor = nullptr;
  QTableWidget::closeEditor(editor, hint);
  if (m_inCurrentChanged) return;
  if (hint == QAbstractItemDelegate::SubmitModelCache) emit selectCell(Col(), Row(), Col(), Row());
  if (hadFocus && hint != QAbstractItemDelegate::EditNextItem &&
      hint != QAbstractItemDelegate::EditPreviousItem) {
    openEditor();
  }
}

void TRegisterGrid::openEditor() {
  const QModelIndex current = currentIndex();
  if (current.isValid() && current.column() >= kFixedCols && state() != EditingState) {
    edit(current);
  }
}

QModelIndex TRegisterGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = currentIndex();
  QModelIndex next = QTableWidget::moveCursor(action, modifiers);
  if (next.isValid() && next.column() < kFixedCols) {
    if (action == MoveLeft || action == MoveHome) return current;
    if (action == MovePrevious && next.row() > 0)
      return model()->index(next.row() - 1, kColumnCount - 1);
    next = model()->index(next.row(), kFixedCols);
  }
  return next;
}

void TRegisterGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && index.column() < kFixedCols) {
    setFocus(Qt::MouseFocusReason);
    return;
  }
  QTableWidget::mousePressEvent(event);
}

void TRegisterGrid::focusInEvent(QFocusEvent* event) {
  QTableWidget::focusInEvent(event);
  if (!currentIndex().isValid() && rowCount() > 0) setCurrentCell(0, kFixedCols);
  openEditor();
}

bool TRegisterGrid::inside(const QWidget* widget) const {
  return widget && (widget == this || isAncestorOf(widget));
}

void TRegisterGrid::focusChanged(QWidget* old, QWidget* now) {
  // Leaving the grid for another control commits the current cell; a window losing the
  // activation (now is null) is not leaving.
  if (now && inside(old) && !inside(now)) emit selectCell(Col(), Row(), Col(), Row());
}

}  // namespace vantor
