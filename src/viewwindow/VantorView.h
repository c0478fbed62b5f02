// TfrmView: the floating view window. A small always-on-top tool window that keeps the composed
// screen, all patterns or all sprites in view at an integer zoom while the user edits. Over the
// screen it offers the pixel inspector (a summary of the pixel under the mouse as a status
// text, a click pins its account in a small panel beside the window, with links) and the
// overlays (plane grids, the window band, sprite boxes, lines that drop sprites).
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "pages/PageHost.h"
#include "pages/ScreenInspection.h"
#include "pages/UpdateLock.h"
#include "pictureio/ScreenOverlayPainter.h"
#include "vdp/Bitmap.h"

class QAction;
class QMenu;
class QPainter;

namespace vantor {

class TDialogs;
class TMegaDriveVDP;
class TPixelAccountPanel;
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
  void mouseReleaseEvent(QMouseEvent* event) override;

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
  // The overlays of the Screen picture, as checkable items of the "Overlays" submenu whose
  // keys work while the window is active (kScreenOverlayItems), and "Save with overlays...".
  QAction* pmiOverlay(int index) const { return m_pmiOverlays[std::size_t(index)]; }
  QAction* pmiSaveOverlays() const { return m_pmiSaveOverlays; }
  uint8_t Overlays() const;

  // The pixel inspector of the Screen picture: the pinned account (shown beside the window)
  // and the picture pixel under a point of the picture area.
  TPixelAccountPanel* AccountPanel() const { return m_accountPanel; }
  QPoint PicturePixel(QPoint at) const;

  // The dialogs through which the window asks the user, and the bitmap save dialog it shares
  // with the main window (its filter gains a PNG entry here). Until they are set (or after
  // null is set), the desktop's own dialogs are used.
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
  // The pixel inspector: the summary of the pixel under the mouse, and the links of the
  // pinned account (as the pages state them, TVDPPage).
  void statusText(const QString& text);
  void jumpToMemory(vantor::THexPageId page, int64_t offset);
  void showPattern(int pattern, int paletteLine);
  void showSprite(int sprite);
  void colorEntryChosen(int entry);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
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
  void PanelMouseUp(const QMouseEvent& event);
  void FormMouseWheel(int delta);
  void LiftModalWindow();
  void pmiSaveBmpClick(const QAction* sender);

  // The common frame of the Show operations around build, which fills m_ViewBitmap.
  template <typename Build>
  void BuildPicture(TViewMode mode, Build&& build);
  QString AskSaveFileName();
  void SaveZoomedPicture(const QString& fileName) const;
  void CopyPicture() const;
  void PictureChanged();
  void ApplyZoomSize();
  void SetZoom(int zoom);
  void ToggleHalftone();
  void InvalidateView();
  // The inspector and the overlays (ViewInspect.cpp).
  void buildInspectorMenu();
  void screenShown(const TMegaDriveVDP& vdp, uint16_t options);
  void overlaysChanged();
  void PinPixel(QPoint pixel);
  void placeAccountPanel();
  void unpin();
  void paintOverScreen(QPainter& painter) const;
  void SaveWithOverlays();

  TIndexedBitmap m_ViewBitmap;
  QPixmap m_pixmap;  // m_ViewBitmap as the screen draws it, renewed when a pixel changes
  int m_Zoom = 1;
  bool m_Halftone = false;
  TViewMode m_ViewMode = vmScreen;
  int m_PalLine = 0;
  int m_Alpha = kMaxAlpha;
  TUpdateLock m_ResizeLock;  // raised while the window changes its own size: no snapping
  bool m_placed = false;
  int m_buildCount = 0;
  int m_invalidateCount = 0;

  QWidget* m_mainWindow = nullptr;
  TPaintPanel* m_panel = nullptr;
  QMenu* m_pmViewMain = nullptr;
  QAction* m_pmiSaveBmp = nullptr;
  QAction* m_pmiCopyToCB = nullptr;
  QAction* m_pmiAllSprites = nullptr;
  std::array<QAction*, kScreenOverlayCount> m_pmiOverlays{};
  QAction* m_pmiSaveOverlays = nullptr;
  TScreenInspection m_inspection;
  TScreenOverlayPainter m_overlays;
  TPixelAccountPanel* m_accountPanel = nullptr;
  QPoint m_pinned{-1, -1};
  // A left press on the picture, until it is released (a click) or the window is dragged.
  QPoint m_pressed{-1, -1};
  std::unique_ptr<TDialogs> m_desktopDialogs;
  TDialogs* m_dialogs = nullptr;
  TFileDialog* m_bitmapDialog = nullptr;
  TModifierQuery m_modifierQuery;
};

}  // namespace vantor
