// A register grid: a fixed name column and three value columns (hexadecimal, decimal, binary)
// whose current value cell always shows its editor.
#pragma once

#include <QHash>
#include <QPointer>
#include <QTableWidget>
#include <array>

#include <QLineEdit>

namespace vantor {

// Rows and columns are counted as the layout's grids count them: row 0 is the header row
// (shown as the table's header), data rows start at 1; column 0 holds the names.
class TRegisterGrid : public QTableWidget {
  Q_OBJECT

 public:
  static constexpr int kColumnCount = 4;
  static constexpr int kFixedCols = 1;
  static constexpr int kFixedRows = 1;
  static constexpr int kRowHeight = 20;
  static constexpr std::array<int, kColumnCount> kColumnWidths = {150, 80, 76, 220};

  explicit TRegisterGrid(QWidget* parent = nullptr);
  ~TRegisterGrid() override;
  // Stops all notifications (the window is closing).
  void Detach();

  // Header row included (a fresh grid has 2 rows). Only ever grows while filling.
  int RowCount() const { return rowCount() + kFixedRows; }
  void SetRowCount(int rows);
  int ColCount() const { return kColumnCount; }

  // Cells beyond the row count are kept and appear when the grid grows.
  QString Cell(int col, int row) const;
  void SetCell(int col, int row, const QString& text);
  // The text the user sees in a cell: the open editor's text for the cell being edited.
  QString CellText(int col, int row) const;
  void WriteHeaderTexts(const QStringList& texts);

  int Col() const;
  int Row() const;
  // Makes (col, row) the current cell, committing the cell being left.
  void SelectCell(int col, int row);

  // The value cell right of col (wrapping to the first value column) is empty: a label or
  // blank row, which takes no input.
  bool IsLabelRow(int col, int row) const;

  // The cell editor, while one is open (null otherwise).
  QLineEdit* Editor() const { return m_editor; }
  // Replaces the open editor's text (selected entirely), without raising editTextChanged.
  void SetEditorText(const QString& text);

 signals:
  // The current cell (col, row) is left for (targetCol, targetRow), the grid lost the focus
  // (target = current), or Enter was pressed in the editor.
  void selectCell(int col, int row, int targetCol, int targetRow);
  // The user changed the editor's text.
  void editTextChanged(int col, int row, const QString& text);

 protected:
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  friend class TGridCellDelegate;
  void editorCreated(QLineEdit* editor, const QModelIndex& index);
  void focusChanged(QWidget* old, QWidget* now);
  void openEditor();
  bool inside(const QWidget* widget) const;
  QTableWidgetItem* itemAt(int col, int row) const;

  QPointer<QLineEdit> m_editor;
  QPersistentModelIndex m_editorIndex;
  QHash<int, std::array<QString, kColumnCount>> m_hidden;  // cells of rows past the count
  bool m_inCurrentChanged = false;
};

}  // namespace vantor
