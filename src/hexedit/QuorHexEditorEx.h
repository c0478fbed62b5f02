#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QHash>
#include <QMimeData>
#include <QPixmap>
#include <QPointer>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "hexedit/FormatSelDialog.h"
#include "hexedit/HexEditorModel.h"
#include "hexedit/HexGridLayout.h"
#include "hexedit/QuorHColors.h"

namespace vantor {

// The hex and character editor of the memory pages: a custom-painted grid over a
// HexEditorModel with change marks, undo, bookmarks, the system clipboard and drag and drop.
// The model speaks in bytes; rows and columns here are grid coordinates, mapped to bytes by
// HexGridLayout.h (byte p lies in row p / BytesPerRow + 2, its high nibble in column
// 2 + 2 (p mod BytesPerRow)).
class TQuorHexEditorEx : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit TQuorHexEditorEx(QWidget* parent = nullptr);
  ~TQuorHexEditorEx() override;

  HexEditorModel& Model() { return m_model; }
  const HexEditorModel& Model() const { return m_model; }

  // --- Data
  int64_t DataSize() const { return m_model.DataSize(); }
  void SetDataSize(int64_t size);
  // Direct access: records and marks nothing; call Refresh() after writing through it.
  uint8_t* DataBuffer() { return m_model.DataBuffer(); }
  void Refresh();
  void LoadFromBytes(const uint8_t* bytes, size_t length);
  void LoadFromBytes(const std::vector<uint8_t>& bytes) {
    LoadFromBytes(bytes.data(), bytes.size());
  }
  std::vector<uint8_t> SaveToBytes() const { return m_model.SaveToBytes(); }
  void SaveToFile(const QString& path, bool unmodify);
  bool DataModified() const { return m_model.DataModified(); }
  // False empties the undo storage and clears the change marks.
  void SetDataModified(bool modified) { m_model.SetDataModified(modified); }

  // --- Undo
  void BeginUndoUpdate() { m_model.BeginUndoUpdate(); }
  void EndUndoUpdate() {
    m_model.EndUndoUpdate();
    viewport()->update();
  }
  bool CanUndo() const { return m_model.CanUndo(); }
  bool Undo();
  bool CanRedo() const { return m_model.CanRedo(); }
  bool Redo();
  QString UndoDescription() const { return QString::fromStdString(m_model.UndoDescription()); }

  // --- Clipboard and drag and drop
  bool CanCopy() const { return DataSize() > 0 && m_model.HasSelection(); }
  void CopyToClipboard();
  bool CanPaste() const;
  void PasteFromClipboard();
  // Pastes from any data object as the clipboard paste does (the drop path uses it too).
  int64_t PasteFrom(const QMimeData* mime);
  // The selected bytes as the clipboard and a drag carry them; the caller owns the object.
  QMimeData* NewDataObject();
  // Answers the "Select Data Format" question; tests install their own.
  void SetFormatChooser(TFormatChooser chooser) { m_formatChooser = std::move(chooser); }
  // Shows the component's messages; by default a message box titled "Error".
  void SetErrorReporter(std::function<void(const QString&)> reporter) {
    m_errorReporter = std::move(reporter);
  }

  // --- Settings
  int BytesPerRow() const { return m_model.BytesPerRow(); }
  void SetBytesPerRow(int bytes);
  int BytesPerColumn() const { return m_model.BytesPerColumn(); }
  void SetBytesPerColumn(int bytes);
  QString OffsetFormat() const { return QString::fromStdString(m_model.OffsetFormat()); }
  void SetOffsetFormat(const QString& format);
  bool NoSizeChange() const { return m_model.NoSizeChange(); }
  void SetNoSizeChange(bool fixed) { m_model.SetNoSizeChange(fixed); }
  bool ReadOnlyView() const { return m_model.ReadOnlyView(); }
  void SetReadOnlyView(bool readOnly) { m_model.SetReadOnlyView(readOnly); }
  int64_t MaxUndo() const { return m_model.MaxUndo(); }
  void SetMaxUndo(int64_t bytes) { m_model.SetMaxUndo(bytes); }
  bool ShowRuler() const { return m_showRuler; }
  void SetShowRuler(bool show);
  bool DrawGridLines() const { return m_drawGridLines; }
  void SetDrawGridLines(bool draw);
  bool FocusFrame() const { return m_focusFrame; }
  void SetFocusFrame(bool frame);
  bool OleDragDrop() const { return m_oleDragDrop; }
  void SetOleDragDrop(bool enabled);
  bool ZoomOnWheel() const { return m_zoomOnWheel; }
  void SetZoomOnWheel(bool zoom) { m_zoomOnWheel = zoom; }
  bool CreateBackup() const { return m_model.CreateBackup(); }
  void SetCreateBackup(bool backup) { m_model.SetCreateBackup(backup); }
  bool ClipboardAsHexText() const { return m_model.ClipboardAsHexText(); }
  void SetClipboardAsHexText(bool hex) { m_model.SetClipboardAsHexText(hex); }
  const TQuorHColors& Colors() const { return m_colors; }
  void SetColors(const TQuorHColors& colors);
  // The grid font; its pixel size is the character height.
  void SetGridFont(const QFont& font);
  const QFont& GridFont() const { return m_font; }

  // --- Grid coordinates and cursor
  int64_t TopRow() const { return m_topRow; }
  void SetTopRow(int64_t row);
  int64_t Row() const { return GridRowOfDataRow(m_model.CursorRow()); }
  void SetRow(int64_t row);
  int Col() const;
  void SetCol(int col);
  // The byte's row on top, the caret on its first hex digit.
  void GotoByte(int64_t offset);
  int VisibleRows() const;
  int64_t SelStart() const { return m_model.SelStart(); }
  int64_t SelEnd() const { return m_model.SelEnd(); }
  void Select(int64_t start, int64_t end);

  // --- Geometry (viewport pixels)
  int CharWidth() const { return m_charWidth; }
  int RowHeight() const { return m_rowHeight; }
  int RulerHeight() const { return m_showRuler ? m_rowHeight + 3 : 0; }
  QRect CellRect(int64_t row, int col) const;
  // The region painted since the last call (to check that edits repaint only what changed).
  QRegion TakePaintedRegion();
  // Paints the contents that fall into the region of the viewport.
  void PaintTo(QPainter& painter, const QRect& region);

 signals:
  // After every change of the data or its size; not when a typed value equals the old one.
  void changed();
  // The editor lost the input focus.
  void exited();
  // A typed character the field cannot take.
  void invalidKey();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 public:
  // The key tables (QuorHexEditorKeys.cpp).
  struct TMoveKey;
  enum class TCtrlCommand : uint8_t;

 private:
  struct CellHit {
    bool valid = false;
    int64_t pos = 0;
    bool inCharField = false;
    bool lowNibble = false;
  };

  void OnModelChange(const HexChange& change);
  void Relayout();
  void UpdateScrollBars();
  void EnsureCursorVisible();
  void RepaintBytes(int64_t first, int64_t count);
  void RepaintRow(int64_t row);
  // Runs an action that may move the cursor or the selection and repaints what moved.
  void Track(const std::function<void()>& action);
  void Report(const std::exception& error);
  // Keys (QuorHexEditorKeys.cpp): both read the same tables.
  bool IsEditorShortcut(const QKeyEvent* event) const;
  bool HandleKey(QKeyEvent* event);
  void MoveByKey(const TMoveKey& move, bool ctrl, bool shift);
  void RunCtrlCommand(TCtrlCommand command, int key, bool shift);
  void GoToBookmarkKey(int digit, bool set);
  bool TypeText(const QString& text);
  CellHit HitTest(const QPoint& point, bool nearest) const;
  void StartDrag();
  // The drag was started by this editor (its own selection is being dragged).
  bool IsOwnDrag(const QDropEvent& event) const;
  // Where a drop at point lands; invalid for a drag of this editor over its own selection,
  // which changes nothing.
  CellHit DropTarget(const QDropEvent& event) const;
  void ApplyWheelZoom(int notches, bool fontSize);
  std::vector<uint8_t> BytesToPaste(const QMimeData* mime, size_t maxBytes, bool linkDrop,
                                    bool* chosen);
  int RowTop(int64_t row) const;
  int ColumnX(int col) const;
  // Opaque strips of the glyphs in a text colour on a ground colour.
  const QPixmap& Glyphs(const QColor& color, const QColor& ground);
  const QPixmap& HexPairs(const QColor& color, const QColor& ground);
  void PaintRow(QPainter& painter, int64_t row, const QRect& region);
  void PaintGutter(QPainter& painter, const QRect& region);
  void PaintRuler(QPainter& painter, const QRect& region);
  void PaintBookmark(QPainter& painter, int x, int y, int index, bool inCharField) const;

  HexEditorModel m_model;
  HexGridLayout m_layout;
  TQuorHColors m_colors;
  QFont m_font;
  int m_charWidth = 8;
  int m_rowHeight = 17;
  int m_ascent = 12;
  int64_t m_topRow = GridRowOfDataRow(0);
  bool m_showRuler = false;
  bool m_drawGridLines = false;
  bool m_focusFrame = true;
  bool m_oleDragDrop = false;
  bool m_zoomOnWheel = true;
  QHash<quint64, QPixmap> m_glyphs;
  QHash<quint64, QPixmap> m_hexPairs;
  std::string m_rulerHex;
  std::string m_rulerChars;

  bool m_mouseSelecting = false;
  bool m_dragArmed = false;
  QPoint m_pressPoint;
  int m_wheelRest = 0;
  bool m_hexTextChoice = false;
  QString m_lastFormat;
  TFormatChooser m_formatChooser;
  std::function<void(const QString&)> m_errorReporter;
  QPointer<QMimeData> m_clipboardObject;
  QRegion m_paintedRegion;
};

}  // namespace vantor
