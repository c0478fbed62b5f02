// The "Screen" page (tsVDPScreen) of pcVDP: the picture the model composes, with a check box
// for each layer half and for the rendering options, and the plane maps for other tools. The
// page only reads the model.
#pragma once

#include <QPixmap>
#include <QWidget>
#include <array>
#include <cstdint>

#include "pages/VDPPage.h"
#include "vdp/Bitmap.h"
#include "vdp/PlaneMap.h"

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;

namespace vantor {

// pbScreen: draws the last picture unscaled from its top-left; the rest shows the page's
// background. Qt paints widgets double-buffered, so redrawing does not flicker.
class TScreenPaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit TScreenPaintBox(QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return m_picture; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap m_picture;
};

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

  TPageHost& m_host;
  std::array<QCheckBox*, 13> m_checkBoxes{};
  // "All sprites" of the screen not shown (the entire virtual screen or the display).
  bool m_allSpritesOtherScreen = true;
  std::array<QPushButton*, 5> m_toggleButtons{};
  TScreenPaintBox* m_pbScreen = nullptr;
  QMenu* m_pmScreen = nullptr;
  QAction* m_pmiScreenSaveBmp = nullptr;
  TIndexedBitmap m_screenBitmap;
  bool m_renderOnShow = false;
};

}  // namespace vantor
