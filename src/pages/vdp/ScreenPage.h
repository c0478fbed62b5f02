// The "Screen" page (tsVDPScreen) of pcVDP: the picture the model composes, with a check box
// for each layer half and for the rendering options, and the plane maps for other tools. The
// pixel inspector names what made the pixel under the mouse in the status bar, and a click
// pins its whole account beside the picture, with links to where each piece lives; overlays
// (plane grids, the window band, sprite boxes, lines that drop sprites) are drawn over the
// picture, never into it. The page only reads the model.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>

#include "pages/ScreenInspection.h"
#include "pages/VDPPage.h"
#include "pages/vdp/ScreenPaintBox.h"
#include "pictureio/ScreenOverlayPainter.h"
#include "vdp/Bitmap.h"
#include "vdp/PlaneMap.h"

class QAction;
class QCheckBox;
class QGridLayout;
class QMenu;
class QPushButton;

namespace vantor {

class TPixelAccountPanel;

// The filter of the page's picture save dialog.
inline constexpr const char* kScreenPictureFilter =
    "Bitmap files (*.bmp; *.dib)|*.bmp;*.dib|All files (*.*)|*.*|PNG files (*.png)|*.png";

class TScreenPage : public TVDPPage {
  Q_OBJECT

 public:
  explicit TScreenPage(TPageHost& host, QWidget* parent = nullptr);

  // tsVDPScreenShow: renders when the page can be seen, else as soon as it is shown.
  void PageShow() override;
  // Renders the picture with the options of the check boxes (nothing while UpdateLock is up).
  void ScreenSettingsChange();
  // 0x0001 (the backdrop) plus the option bit of every checked box. "All sprites" is checked
  // by itself when the entire virtual screen is shown, until the user clears it there.
  uint16_t ScreenOptions() const;
  // ScreenBitmap: the last rendered picture, 8 bits per pixel with its colour table.
  const TIndexedBitmap& ScreenBitmap() const { return m_screenBitmap; }
  // "Save plane map": the plane's name table as a Tiled map with its tileset picture, or as
  // CSV; the file name's extension (.tmx, .csv), else the chosen filter, says which.
  void SavePlaneMap(TPlaneId plane);

  // The overlays of the checked overlay boxes (TScreenOverlay bits).
  uint8_t Overlays() const;
  TScreenPaintBox* pbScreen() const { return m_pbScreen; }
  // The pinned account beside the picture (hidden until a pixel is pinned).
  TPixelAccountPanel* AccountPanel() const { return m_accountPanel; }
  // A click on picture pixel `pixel`: its account is pinned and the pixel framed.
  void PinPixel(QPoint pixel);
  // "Save with overlays...": the picture as shown, overlays and all, in 32-bit colour.
  void SaveWithOverlays();

 signals:
  // A picture was rendered (one per option change or show).
  void pictureRendered();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void buildControls();
  void btnScrnToggleClick(int column);
  void chkScrnShowVirtualClick();
  void pmiScreenSaveBmpClick();
  // The inspector's and the overlays' part of the page (ScreenPageInspect.cpp).
  void buildInspector(QGridLayout* options);
  void pictureShown();
  void overlaysChanged();
  void hovered(QPoint pixel);
  void unpin();

  TPageHost& m_host;
  std::array<QCheckBox*, 13> m_checkBoxes{};
  // "All sprites" of the screen not shown (the entire virtual screen or the display).
  bool m_allSpritesOtherScreen = true;
  std::array<QPushButton*, 5> m_toggleButtons{};
  TScreenPaintBox* m_pbScreen = nullptr;
  QMenu* m_pmScreen = nullptr;
  QAction* m_pmiScreenSaveBmp = nullptr;
  QAction* m_pmiScreenSaveOverlays = nullptr;
  std::array<QCheckBox*, kScreenOverlayCount> m_overlayBoxes{};
  TPixelAccountPanel* m_accountPanel = nullptr;
  TIndexedBitmap m_screenBitmap;
  // The inspector and the overlays of the picture on show, built with it.
  TScreenInspection m_inspection;
  TScreenOverlayPainter m_overlays;
  bool m_renderOnShow = false;
};

}  // namespace vantor
