// TfrmView: the floating view window. A small always-on-top tool window that keeps the composed
// screen, all patterns or all sprites in view at an integer zoom while the user edits.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <span>

#include "vdp/Bitmap.h"

class QAction;
class QMenu;
class QPainter;

namespace vantor {

class TDialogs;
class TMegaDriveVDP;
class TfrmView;
struct TFileDialog;

// Which picture the view window holds.
enum TViewMode : uint8_t { vmScreen = 0, vmPatterns = 1, vmSprites = 2 };

// The picture area. It fills the window's client area and draws the picture from its top-left
// corner at the window's zoom; presses and moves of the mouse go to the window.
class TPaintPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TPaintPanel(TfrmView& owner);

  void Paint(QPainter& painter);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  TfrmView& m_owner;
};

class TfrmView : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kMinAlpha = 32;
  static constexpr int kMaxAlpha = 255;

  // The keyboard modifiers held at this moment (not those recorded in an event).
  using TModifierQuery = std::function<Qt::KeyboardModifiers()>;

  // mainWindow (may be null) is the window the view stays above and is centred over when it
  // is first shown. The view is created hidden.
  explicit TfrmView(QWidget* mainWindow = nullptr);
  ~TfrmView() override;

  // Build a picture from the model; none of them shows the window (the caller does).
  // The screen follows the console's sprite limits unless "All sprites" is checked.
  void ShowScreen(const TMegaDriveVDP& vdp, uint16_t options);
  // data: the 65536-byte pattern source; a shorter span shows colour 0 of the line past its end.
  void ShowPatterns(const TMegaDriveVDP& vdp, std::span<const uint8_t> source);
  void ShowSprites(const TMegaDriveVDP& vdp);
  // Switches the Patterns picture to another palette line without decoding it again.
  void SetPalLineBits(int line);

  TViewMode ViewMode() const { return m_ViewMode; }
  int PalLine() const { return m_PalLine; }
  int Zoom() const { return m_Zoom; }
  int Alpha() const { return m_Alpha; }
  bool Halftone() const { return m_Halftone; }
  // The picture, unscaled, with its 256 colours.
  const TIndexedBitmap& ViewBitmap() const { return m_ViewBitmap; }
  // The picture's size on screen: the bitmap's size times the zoom.
  QSize ZoomedSize() const;
  // The caption for the current mode, zoom, alpha value and palette line.
  QString CaptionText() const;

  QMenu* pmViewMain() const { return m_pmViewMain; }
  QAction* pmiSaveBmp() const { return m_pmiSaveBmp; }
  QAction* pmiCopyToCB() const { return m_pmiCopyToCB; }
  // "All sprites": the Screen picture draws every chained sprite.
  QAction* pmiAllSprites() const { return m_pmiAllSprites; }
  bool AllSprites() const;

  // The dialogs through which the window asks the user, and the bitmap save dialog it shares
  // with the main window (its filter gains a PNG entry here). Until they are set, the
  // desktop's own save dialog and message box are used.
  void SetDialogs(TDialogs* dialogs, TFileDialog* bitmapDialog);
  void SetModifierQuery(TModifierQuery query) { m_modifierQuery = std::move(query); }

  // How often a picture was built and how often the window asked for a repaint; they let
  // tests tell a rebuild from a repaint and a repaint from nothing at all.
  int BuildCount() const { return m_buildCount; }
  int InvalidateCount() const { return m_invalidateCount; }

  // The bitmap save dialog's filter with the PNG entry after the bitmap ones.
  static QString WithPngFilter(const QString& filter);

 signals:
  // The window was closed (Esc, its close box or close()); it is then hidden.
  void closed();
  // "All sprites" was switched: the Screen picture should be built again.
  void screenOptionsChanged();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  friend class TPaintPanel;

  // Returns whether the key was handled (and consumed).
  bool FormKeyPress(const QKeyEvent& event);
  // Snaps a size the user gave the client area to a zoom; returns whether it changed it.
  bool FormCanResize(const QSize& proposed);
  void FormMouseDown(const QMouseEvent& event);
  void PanelMouseMove(const QMouseEvent& event);
  void FormMouseWheel(int delta);
  void LiftModalWindow();
  void pmiSaveBmpClick(const QAction* sender);

  // The common frame of the Show operations around build, which fills m_ViewBitmap.
  template <typename Build>
  void BuildPicture(TViewMode mode, Build&& build);
  QString AskSaveFileName();
  void ReportError(const QString& text);
  void SaveZoomedPicture(const QString& fileName) const;
  void CopyPicture() const;
  void PictureChanged();
  void ApplyZoomSize();
  void SetZoom(int zoom);
  void ToggleHalftone();
  void InvalidateView();

  TIndexedBitmap m_ViewBitmap;
  QPixmap m_pixmap;  // m_ViewBitmap as the screen draws it, renewed when a pixel changes
  int m_Zoom = 1;
  bool m_Halftone = false;
  TViewMode m_ViewMode = vmScreen;
  int m_PalLine = 0;
  int m_Alpha = kMaxAlpha;
  int m_ResizeLock = 0;
  bool m_placed = false;
  int m_buildCount = 0;
  int m_invalidateCount = 0;

  QWidget* m_mainWindow = nullptr;
  TPaintPanel* m_panel = nullptr;
  QMenu* m_pmViewMain = nullptr;
  QAction* m_pmiSaveBmp = nullptr;
  QAction* m_pmiCopyToCB = nullptr;
  QAction* m_pmiAllSprites = nullptr;
  TDialogs* m_dialogs = nullptr;
  TFileDialog* m_bitmapDialog = nullptr;
  TModifierQuery m_modifierQuery;
};

}  // namespace vantor
